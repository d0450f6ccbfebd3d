// A window of another program for the keyboard-grab test: it says "ready" once it is
// shown and then "key X" for every key that reaches it.

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

class Probe : public QWidget
{
protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        std::printf("key %s\n", qPrintable(event->text()));
        std::fflush(stdout);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    Probe probe;
    probe.setWindowTitle(QStringLiteral("lorvane-keyprobe"));
    probe.resize(200, 100);
    probe.show();
    QTimer::singleShot(300, [] {
        std::printf("ready\n");
        std::fflush(stdout);
    });
    return app.exec();
}
