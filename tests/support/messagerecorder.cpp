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
    m_previousPrompt = setPromptHandler([this](QWidget*, const QString& text, const QString& caption, QString* value) {
        m_boxes.append({text, caption, MsgIcon::Question, MsgButtons::OkCancel, *value});
        if (m_promptAnswers.isEmpty())
            return MsgResult::Cancel;
        *value = m_promptAnswers.takeFirst();
        return MsgResult::Ok;
    });
}

MessageRecorder::~MessageRecorder()
{
    setMessageHandler(std::move(m_previous));
    setPromptHandler(std::move(m_previousPrompt));
}
