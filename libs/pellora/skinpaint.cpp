#include "skinpaint.h"

#include "skinlog.h"
#include "tiling.h"

#include <QCache>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace Pellora {

namespace {

constexpr QRgb kMagenta = 0xffff00ff;
// Every picture of a skin or two, decoded, fits well within this.
constexpr qsizetype kDecodedCacheBytes = 48 * 1024 * 1024;

// A bitmap file shorter than its header says is cut off: the reader would fill the
// missing rows with black instead of failing.
bool isTruncatedBitmap(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return true;
    const QByteArray header = file.read(6);
    if (header.size() < 6 || !header.startsWith("BM"))
        return false;
    const quint32 declared = quint32(uchar(header[2])) | quint32(uchar(header[3])) << 8
        | quint32(uchar(header[4])) << 16 | quint32(uchar(header[5])) << 24;
    return declared != 0 && quint64(file.size()) < declared;
}

// Decoded pictures by path, time and size; `keyed` ones have their magenta made transparent.
QImage decodeOnce(const QString& path, bool keyed)
{
    // The usable check and then every control of a kind ask for the same pictures:
    // each is decoded once while its file keeps its time and size.
    static std::mutex mutex;
    static QCache<QString, QImage> decoded(kDecodedCacheBytes);
    const QFileInfo info(path);
    const QString key = path + QLatin1Char('\n') + QString::number(info.lastModified().toMSecsSinceEpoch())
        + QLatin1Char('\n') + QString::number(info.size()) + (keyed ? QLatin1String("\nkeyed") : QLatin1String());
    {
        std::lock_guard lock(mutex);
        if (const QImage* hit = decoded.object(key))
            return *hit;
    }
    QImage image;
    if (info.isFile() && !isTruncatedBitmap(path))
        image = QImageReader(path).read();
    if (image.isNull())
        return QImage();
    if (keyed) {
        image = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] | 0xff000000) == kMagenta)
                    line[x] = 0;
            }
        }
    }
    std::lock_guard lock(mutex);
    decoded.insert(key, new QImage(image), std::max<qsizetype>(1, image.sizeInBytes()));
    return image;
}

} // namespace

QImage LoadSkinImage(const QString& path)
{
    // No path is no picture asked for (no skin applied yet), not a failure.
    if (path.isEmpty())
        return QImage();
    const QImage image = decodeOnce(path, true);
    if (image.isNull())
        qCWarning(lcSkin) << "cannot load the skin picture" << path;
    return image;
}

QImage LoadPictureImage(const QString& path)
{
    return path.isEmpty() ? QImage() : decodeOnce(path, false);
}

QPixmap LoadSkinBitmap(const QString& path)
{
    const QImage image = LoadSkinImage(path);
    return image.isNull() ? QPixmap() : QPixmap::fromImage(image);
}

QPixmap ComposeMaskedBitmap(const QImage& image, const QImage& mask)
{
    if (image.isNull())
        return QPixmap();
    if (mask.isNull())
        return QPixmap::fromImage(image);
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QImage m = mask.size() == out.size() ? mask : mask.scaled(out.size());
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb mp = m.pixel(x, y);
            // A transparent mask pixel (magenta keyed) counts as light: nothing shows there.
            if (qAlpha(mp) < 128 || qGray(mp) > 127)
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(out);
}

void DrawThreePiece(QPainter& painter, const QRect& area, int inset, const QPixmap& left, const QPixmap& middle,
                    const QPixmap& right)
{
    if (area.isEmpty())
        return;
    const ThreePieceLayout layout = LayoutThreePiece(area, inset, left.size(), middle.size(), right.size());
    if (!middle.isNull()) {
        for (const ThreePieceLayout::Tile& tile : layout.middle)
            painter.drawPixmap(tile.target, middle, QRect(0, 0, tile.sourceWidth, middle.height()));
    }
    if (!left.isNull())
        painter.drawPixmap(layout.left, left, left.rect());
    if (!right.isNull())
        painter.drawPixmap(layout.right, right, right.rect());
}

void DrawTiledAcross(QPainter& painter, const QRect& area, const QPixmap& tile)
{
    if (tile.isNull())
        return;
    for (const TileSpan& t : TileSpans(area.width(), tile.width()))
        painter.drawPixmap(QRect(area.left() + t.offset, area.top(), t.length, area.height()), tile,
                           QRect(0, 0, t.length, tile.height()));
}

void DrawTiledDown(QPainter& painter, const QRect& area, const QPixmap& tile)
{
    if (tile.isNull())
        return;
    for (const TileSpan& t : TileSpans(area.height(), tile.height()))
        painter.drawPixmap(QPoint(area.left(), area.top() + t.offset), tile, QRect(0, 0, tile.width(), t.length));
}

QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight)
{
    if (rect.isEmpty())
        return QRegion();
    const double rx = qMin(ellipseWidth, rect.width()) / 2.0;
    const double ry = qMin(ellipseHeight, rect.height()) / 2.0;
    const int cornerRows = int(std::ceil(ry));
    if (rx <= 0 || ry <= 0 || cornerRows == 0)
        return QRegion(rect);
    QRegion region(rect.adjusted(0, cornerRows, 0, -cornerRows));
    for (int row = 0; row < cornerRows; ++row) {
        const double dy = ry - (row + 0.5);
        const double dx = dy <= 0 ? rx : rx * std::sqrt(1.0 - (dy * dy) / (ry * ry));
        const int inset = int(std::lround(rx - dx));
        const int width = rect.width() - 2 * inset;
        if (width <= 0)
            continue;
        region += QRect(rect.left() + inset, rect.top() + row, width, 1);
        region += QRect(rect.left() + inset, rect.bottom() - row, width, 1);
    }
    return region;
}

QRegion BitmapToRegion(const QImage& image, QColor transparent, int tolerance)
{
    QList<QRect> runs;
    const QImage img = image.convertToFormat(QImage::Format_ARGB32);
    auto isTransparent = [&](QRgb c) {
        return qAbs(qRed(c) - transparent.red()) <= tolerance && qAbs(qGreen(c) - transparent.green()) <= tolerance
            && qAbs(qBlue(c) - transparent.blue()) <= tolerance;
    };
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        int x = 0;
        while (x < img.width()) {
            while (x < img.width() && isTransparent(line[x]))
                ++x;
            const int start = x;
            while (x < img.width() && !isTransparent(line[x]))
                ++x;
            if (x > start)
                runs.append(QRect(start, y, x - start, 1));
        }
    }
    QRegion region;
    region.setRects(runs.constData(), int(runs.size()));
    return region;
}

const QCursor& LinkCursor()
{
    static const QCursor cursor(Qt::PointingHandCursor);
    return cursor;
}

} // namespace Pellora
