#pragma once

#include "messagebox.h"

#include <QList>
#include <QString>

// Installs itself as the message-box handler while it lives: records every box that
// would have been shown and answers from a queue (Ok, or No for a Yes/No box, when
// the queue is empty), so no test ever blocks on a modal box.
class MessageRecorder
{
public:
    struct Box {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(MsgResult answer) { m_answers.append(answer); }
    const QList<Box>& boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    const Box& last() const { return m_boxes.last(); }
    void clear() { m_boxes.clear(); }

private:
    QList<Box> m_boxes;
    QList<MsgResult> m_answers;
    MessageHandler m_previous;
};
