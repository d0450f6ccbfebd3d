#include "messagebox.h"

#include <QInputDialog>
#include <QMessageBox>

namespace {

MessageHandler& handler()
{
    static MessageHandler h;
    return h;
}

MsgResult realBox(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                  MsgButtons buttons)
{
    QMessageBox::Icon qicon = QMessageBox::NoIcon;
    switch (icon) {
    case MsgIcon::None: break;
    case MsgIcon::Information: qicon = QMessageBox::Information; break;
    case MsgIcon::Warning: qicon = QMessageBox::Warning; break;
    case MsgIcon::Error: qicon = QMessageBox::Critical; break;
    case MsgIcon::Question: qicon = QMessageBox::Question; break;
    }
    QMessageBox::StandardButtons qbuttons = QMessageBox::Ok;
    if (buttons == MsgButtons::OkCancel)
        qbuttons = QMessageBox::Ok | QMessageBox::Cancel;
    else if (buttons == MsgButtons::YesNo)
        qbuttons = QMessageBox::Yes | QMessageBox::No;

    QMessageBox box(qicon, caption, text, qbuttons, parent);
    // The browser's windows stay on top; a box under them could never be answered.
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    default: return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
}

PromptHandler& promptHandler()
{
    static PromptHandler h;
    return h;
}

MsgResult realPrompt(QWidget* parent, const QString& text, const QString& caption, QString* value)
{
    QInputDialog box(parent);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowTitle(caption);
    box.setLabelText(text);
    box.setTextValue(*value);
    if (box.exec() != QDialog::Accepted)
        return MsgResult::Cancel;
    *value = box.textValue();
    return MsgResult::Ok;
}

} // namespace

MsgResult showMessage(QWidget* parent, const QString& text, const QString& caption, MsgIcon icon,
                      MsgButtons buttons)
{
    if (handler())
        return handler()(parent, text, caption, icon, buttons);
    return realBox(parent, text, caption, icon, buttons);
}

MessageHandler setMessageHandler(MessageHandler h)
{
    MessageHandler previous = std::move(handler());
    handler() = std::move(h);
    return previous;
}

MsgResult showPrompt(QWidget* parent, const QString& text, const QString& caption, QString* value)
{
    if (promptHandler())
        return promptHandler()(parent, text, caption, value);
    return realPrompt(parent, text, caption, value);
}

PromptHandler setPromptHandler(PromptHandler h)
{
    PromptHandler previous = std::move(promptHandler());
    promptHandler() = std::move(h);
    return previous;
}
