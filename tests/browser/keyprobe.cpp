// A window of another program for the keyboard-grab test: it says "ready" once it is
// shown and then "key X" for every key that reaches it. With "--screens" it only says
// which screens Qt sees: "screen X Y W H" for each, "primary" after the primary one.

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
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
    if (app.arguments().contains(QStringLiteral("--screens"))) {
        for (QScreen* s : QGuiApplication::screens()) {
            const QRect g = s->geometry();
            std::printf("screen %d %d %d %d%s\n", g.x(), g.y(), g.width(), g.height(),
                        s == QGuiApplication::primaryScreen() ? " primary" : "");
        }
        return 0;
    }
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
