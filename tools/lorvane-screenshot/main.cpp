// lorvane-screenshot OUT.png [MAX_SECONDS [X,Y,W,H [WIDTH]]]
// Waits until the screen has shown the same picture for two seconds (a page has
// finished loading and painting), or MAX_SECONDS have passed, then saves it: the
// whole screen, or the rectangle X,Y,W,H of it, shrunk to WIDTH pixels when given.

#include <QElapsedTimer>
#include <QHash>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QScreen>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>

// The colours that cover most pixels (a screen of flat controls and pages is nearly all
// of them, so the picture shrinks to a third without visible banding), and a coarse
// cube of 27 for the small bright icons the most used ones would miss.
QList<QRgb> mostUsedColours(const QImage& picture)
{
    QList<QRgb> table;
    for (int r : {0, 128, 255})
        for (int g : {0, 128, 255})
            for (int b : {0, 128, 255})
                table.append(qRgb(r, g, b));
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, qint64> counts;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            ++counts[line[x]];
    }
    QList<std::pair<qint64, QRgb>> byUse;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        byUse.append({it.value(), it.key()});
    std::sort(byUse.begin(), byUse.end(), std::greater<>());
    for (qsizetype i = 0; i < byUse.size() && table.size() < 256; ++i) {
        if (!table.contains(byUse.at(i).second))
            table.append(byUse.at(i).second);
    }
    return table;
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: lorvane-screenshot OUT.png [MAX_SECONDS [X,Y,W,H [WIDTH]]]\n");
        return 2;
    }
    const int maxSeconds = argc > 2 ? std::atoi(argv[2]) : 30;
    QRect crop;
    if (argc > 3) {
        const QStringList parts = QString::fromLocal8Bit(argv[3]).split(QLatin1Char(','));
        if (parts.size() == 4)
            crop = QRect(parts[0].toInt(), parts[1].toInt(), parts[2].toInt(), parts[3].toInt());
        if (!crop.isValid()) {
            std::fprintf(stderr, "lorvane-screenshot: %s is not X,Y,W,H\n", argv[3]);
            return 2;
        }
    }
    const int width = argc > 4 ? std::atoi(argv[4]) : 0;
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
    if (!last.isNull() && crop.isValid())
        last = last.copy(crop);
    if (!last.isNull() && width > 0 && width < last.width())
        last = last.scaledToWidth(width, Qt::SmoothTransformation);
    if (!last.isNull())
        last = last.convertToFormat(QImage::Format_Indexed8, mostUsedColours(last), Qt::ThresholdDither);
    if (last.isNull() || !last.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "lorvane-screenshot: cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
