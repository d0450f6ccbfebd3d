#pragma once

#include "messagebox.h"

#include <QList>
#include <QString>
#include <QStringList>

// Installs itself as the message-box and prompt handler while it lives: records every
// box that would have been shown and answers from a queue (Ok, or No for a Yes/No box,
// when the queue is empty; a prompt is cancelled unless an answer text is queued), so
// no test ever blocks on a modal box.
class MessageRecorder
{
public:
    struct Box {
        QString text;
        QString caption;
        MsgIcon icon;
        MsgButtons buttons;
        QString suggested; // a prompt's suggested answer
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answerNext(MsgResult answer) { m_answers.append(answer); }
    // The next prompt is answered with Ok and this text.
    void answerNextPrompt(const QString& text) { m_promptAnswers.append(text); }
    const QList<Box>& boxes() const { return m_boxes; }
    int count() const { return int(m_boxes.size()); }
    const Box& last() const { return m_boxes.last(); }
    void clear() { m_boxes.clear(); }

private:
    QList<Box> m_boxes;
    QList<MsgResult> m_answers;
    QStringList m_promptAnswers;
    MessageHandler m_previous;
    PromptHandler m_previousPrompt;
};
