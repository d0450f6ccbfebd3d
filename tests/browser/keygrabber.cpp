// Blocks the task keys the way the browser does and says "held" once the keyboard
// is its own; a line "release" on standard input releases them ("released").

#include "taskkeymanager.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    CTaskKeyManager::Disable(1, 1, 0);
    CTaskKeyManager::Disable(2, 1, 1);
    CTaskKeyManager::Disable(4, 1, 0);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&poll] {
        if (CTaskKeyManager::IsKeyboardHeld()) {
            poll.stop();
            std::printf("held\n");
            std::fflush(stdout);
        }
    });
    poll.start(20);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buf[64];
        if (::read(STDIN_FILENO, buf, sizeof buf) <= 0)
            input.setEnabled(false);
        CTaskKeyManager::Disable(1, 0, 0);
        CTaskKeyManager::Disable(2, 0, 1);
        CTaskKeyManager::Disable(4, 0, 0);
        std::printf("%s\n", CTaskKeyManager::IsKeyboardHeld() ? "still held" : "released");
        std::fflush(stdout);
    });
    return app.exec();
}
