#include "messagerecorder.h"

MessageRecorder::MessageRecorder()
{
    m_previous = setMessageHandler([this](QWidget*, const QString& text, const QString& caption, MsgIcon icon,
                                          MsgButtons buttons) {
        m_boxes.append({text, caption, icon, buttons});
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    });
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler(std::move(m_previous));
}
