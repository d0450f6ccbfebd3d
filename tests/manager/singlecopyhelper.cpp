// Starts the control panel the way the program does, with every message box and modal
// dialog announced on the standard output ("message:<caption>|<text>", "dialog:<class>").
// Dialogs really run, so a first copy stays up until it is killed.

#include "managerapp.h"
#include "messagebox.h"

#include <QApplication>
#include <QDialog>

#include <cstdio>

int main(int argc, char* argv[])
{
    CManagerApp::PrepareProcess();
    QApplication app(argc, argv);
    setMessageHandler([](QWidget*, const QString& text, const QString& caption, MsgIcon, MsgButtons) {
        std::printf("message:%s|%s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        std::fflush(stdout);
        return MsgResult::Ok;
    });
    CManagerApp manager;
    manager.SetModalRunner([](QDialog& dialog) {
        std::printf("dialog:%s\n", dialog.metaObject()->className());
        std::fflush(stdout);
        return dialog.exec();
    });
    manager.InitInstance();
    std::printf("ended\n");
    return 0;
}
