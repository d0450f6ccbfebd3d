#include "output.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr int kCoverage = 128;
constexpr QRgb kMagenta = 0xffff00ff;

} // namespace

QImage KeyedBitmap(const QImage& picture, const QColor& matte)
{
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            const int a = qAlpha(in[x]);
            if (a < kCoverage) {
                line[x] = kMagenta;
                continue;
            }
            auto over = [a](int c, int m) { return (c * a + m * (255 - a) + 127) / 255; };
            QRgb c = qRgb(over(qRed(in[x]), matte.red()), over(qGreen(in[x]), matte.green()),
                          over(qBlue(in[x]), matte.blue()));
            if (c == kMagenta)
                c = qRgb(254, 0, 255); // a drawn pixel must never read as transparent
            line[x] = c;
        }
    }
    return out;
}

QImage MaskBitmap(const QImage& picture)
{
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x)
            line[x] = qAlpha(in[x]) < kCoverage ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    }
    return out;
}

QList<QImage> Slice(const QImage& whole, int leftWidth, int middleWidth, int rightWidth)
{
    const int h = whole.height();
    return {whole.copy(0, 0, leftWidth, h), whole.copy(leftWidth, 0, middleWidth, h),
            whole.copy(whole.width() - rightWidth, 0, rightWidth, h)};
}

QByteArray EncodeImage(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

bool WriteIfChanged(const QString& path, const QByteArray& bytes)
{
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.size() == bytes.size() && existing.readAll() == bytes)
        return true;
    existing.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
