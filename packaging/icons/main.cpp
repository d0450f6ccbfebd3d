// Draws the menu icons of both programs into a hicolor icon tree:
//   <out>/hicolor/<N>x<N>/apps/lorvane.png and lorvane-manager.png for every size N given.
// Both are drawn as shapes at each size, so the large ones are as sharp as the small.
#include "icons.h"
#include "managerart.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The control panel's icon: the shield keeping a heart of its window icon, on the same
// green-to-blue ground, with the browser's globe peeking in so the two read as a pair.
QImage managerIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    ManagerArt::DrawShieldMark(p, 1);

    const QImage globe = RenderLogo(size * 13 / 32);
    p.resetTransform();
    p.drawImage(QPointF(size - globe.width() - size / 64.0, size - globe.height() - size / 64.0), globe);
    return img;
}

bool save(const QImage& image, const QString& path)
{
    if (!QDir().mkpath(QFileInfo(path).path()) || !image.save(path, "PNG")) {
        std::fprintf(stderr, "lorvane-icongen: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // Drawing into images needs no display: a build step runs without one.
    QCoreApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 2; i < argc; ++i) {
        bool number = false;
        const int size = QByteArray(argv[i]).toInt(&number);
        if (!number || size < 16 || size > 1024) {
            std::fprintf(stderr, "lorvane-icongen: %s is no icon size (16 to 1024)\n", argv[i]);
            return 2;
        }
        sizes.append(size);
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: lorvane-icongen <output folder> <size>...\n");
        return 2;
    }
    const QString root = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    bool ok = true;
    for (int size : sizes) {
        const QString apps = QStringLiteral("%1/hicolor/%2x%2/apps/").arg(root).arg(size);
        ok = save(RenderLogo(size), apps + QStringLiteral("lorvane.png")) && ok;
        ok = save(managerIcon(size), apps + QStringLiteral("lorvane-manager.png")) && ok;
    }
    return ok ? 0 : 1;
}
