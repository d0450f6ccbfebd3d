// Blocks the task keys the way the browser does and says "held" once the keyboard
// is its own. It then takes commands, one a line, on standard input:
//   menu, completer, combo   open that popup (closed by whoever presses Escape)
//   dialog, message          run a modal dialog / message box (Escape closes it)
//   lock                     run the lock screen; "unlock" answers its password prompt
//   focus                    empties the window's edit and gives it the focus
//   text                     says "text <what the edit holds>"
//   state                    says "held 1" or "held 0", from CTaskKeyManager::IsKeyboardHeld
//   noregrab                 leaves a lost grab lost (the fault the tests must see)
//   ungrab                   lets go of the keyboard behind the task-key manager's back,
//                            as code nobody foresaw would: "ungrabbed"
//   release                  releases the task keys: "released" (or "still held")
// Every window of its own that shows or hides is announced as "shown <class>" and
// "hidden <class>".

#include "browserconfig.h"
#include "configmanager.h"
#include "lockscreendlg.h"
#include "md5a.h"
#include "messagebox.h"
#include "taskkeymanager.h"
#include "timeupdlg.h"

#include <pellora/coolbutton.h>
#include <pellora/cooledit.h>

#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

const char kPassword[] = "open sesame";

void say(const QByteArray& line)
{
    std::printf("%s\n", line.constData());
    std::fflush(stdout);
}

// Announces the program's own windows as they come and go.
class WindowWatcher : public QObject
{
public:
    explicit WindowWatcher(QWidget* main)
        : m_main(main)
    {
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow() && w != m_main)
                say((event->type() == QEvent::Show ? "shown " : "hidden ") + QByteArray(w->metaObject()->className()));
        }
        return false;
    }

private:
    QWidget* m_main;
};

class Grabber : public QWidget
{
public:
    Grabber()
    {
        setWindowTitle(QStringLiteral("lorvane-keygrabber"));
        auto* layout = new QVBoxLayout(this);
        m_edit = new QLineEdit(this);
        auto* completer = new QCompleter(QStringList{"apple", "apricot", "avocado", "banana"}, m_edit);
        m_edit->setCompleter(completer);
        m_combo = new QComboBox(this);
        m_combo->addItems({"red", "green", "blue"});
        layout->addWidget(m_edit);
        layout->addWidget(m_combo);
        resize(300, 120);
    }

    void Run(const QByteArray& command)
    {
        if (command == "menu") {
            auto* menu = new QMenu(this);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->addAction(QStringLiteral("one"));
            menu->addAction(QStringLiteral("two"));
            menu->popup(mapToGlobal(rect().center()));
        } else if (command == "completer") {
            m_edit->completer()->setCompletionPrefix(QStringLiteral("a"));
            m_edit->completer()->complete();
        } else if (command == "combo") {
            m_combo->showPopup();
        } else if (command == "dialog") {
            QDialog dialog(this);
            dialog.setWindowTitle(QStringLiteral("a dialog"));
            dialog.resize(200, 100);
            dialog.exec();
        } else if (command == "message") {
            showMessage(this, QStringLiteral("a message"), QStringLiteral("提醒"));
        } else if (command == "lock") {
            CLockScreenDlg lock(this);
            lock.exec();
            say("granted " + QByteArray::number(lock.GrantedMinutes()));
        } else if (command == "unlock") {
            unlock();
        } else if (command == "focus") {
            m_edit->clear();
            activateWindow();
            m_edit->setFocus();
            say("focused");
        } else if (command == "text") {
            say("text " + m_edit->text().toUtf8());
        } else if (command == "state") {
            say(CTaskKeyManager::IsKeyboardHeld() ? "held 1" : "held 0");
        } else if (command == "noregrab") {
            CTaskKeyManager::SetRegrabEnabled(false);
            say("noregrab");
        } else if (command == "ungrab") {
            xcb_connection_t* c = qApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
            xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
            xcb_flush(c);
            say("ungrabbed");
        } else if (command == "release") {
            CTaskKeyManager::Disable(1, 0, 0);
            CTaskKeyManager::Disable(2, 0, 1);
            CTaskKeyManager::Disable(4, 0, 0);
            say(CTaskKeyManager::IsKeyboardHeld() ? "still held" : "released");
        } else {
            say("unknown " + command);
        }
    }

private:
    // Answers the lock's prompt the way a parent would: the password, a number of
    // minutes, the button.
    void unlock()
    {
        auto* prompt = qobject_cast<CTimeUpDlg*>(QApplication::activeModalWidget());
        if (!prompt) {
            say("no prompt");
            return;
        }
        prompt->PasswordEdit()->setText(QString::fromUtf8(kPassword));
        prompt->MinutesEdit()->setText(QStringLiteral("7"));
        prompt->UnlockButton()->click();
    }

    QLineEdit* m_edit;
    QComboBox* m_combo;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The lock's prompt checks the parents' password against this hash.
    const QByteArray hash = CMd5A().MDString(kPassword);
    std::strncpy(BrowserConfig().m_record.m_szPassword, hash.constData(),
                 sizeof BrowserConfig().m_record.m_szPassword - 1);

    Grabber window;
    WindowWatcher watcher(&window);
    app.installEventFilter(&watcher);
    window.show();

    CTaskKeyManager::Disable(1, 1, 0);
    CTaskKeyManager::Disable(2, 1, 1);
    CTaskKeyManager::Disable(4, 1, 0);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (CTaskKeyManager::IsKeyboardHeld()) {
            poll.stop();
            say("held");
        }
    });
    poll.start(20);

    // Commands run from the event loop, not from inside the notifier, so that a modal
    // dialog's own loop still hears the next one ("unlock").
    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            input.setEnabled(false);
            return;
        }
        pending.append(buf, n);
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QByteArray command = pending.left(end).trimmed();
            pending.remove(0, end + 1);
            if (!command.isEmpty())
                QTimer::singleShot(0, &window, [&window, command] { window.Run(command); });
        }
    });
    return app.exec();
}
