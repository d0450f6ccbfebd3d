// lorvane-screenshot OUT.png [MAX_SECONDS]
// Waits until the screen has shown the same picture for two seconds (a page has
// finished loading and painting), or MAX_SECONDS have passed, then saves it.

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lorvane-screenshot OUT.png [MAX_SECONDS]\n");
        return 2;
    }
    const int maxSeconds = argc > 2 ? std::atoi(argv[2]) : 30;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) {
        std::fprintf(stderr, "lorvane-screenshot: no screen\n");
        return 1;
    }

    QElapsedTimer total;
    total.start();
    QElapsedTimer steady;
    steady.start();
    QImage last;
    while (total.elapsed() < qint64(maxSeconds) * 1000) {
        QThread::msleep(500);
        app.processEvents();
        const QImage now = screen->grabWindow(0).toImage();
        if (now != last) {
            last = now;
            steady.restart();
        } else if (steady.elapsed() >= 2000 && total.elapsed() >= 3000) {
            break;
        }
    }
    if (last.isNull() || !last.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "lorvane-screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
