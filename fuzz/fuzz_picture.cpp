// Skin and list pictures as the controls use them: decoded from any bytes, turned into
// window shapes and masks, drawn in pieces, and written back as a bitmap that reads
// back pixel for pixel.

#include "fuzzsupport.h"

#include "bitmap.h"
#include "skinselect.h"

#include <pellora/skinpaint.h>

#include <QPainter>

namespace {

constexpr QRgb kMagenta = 0xffff00ff;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::EnsureApplication();
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("/picture.bmp");
    Fuzz::WriteFile(path, QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    const QImage image = Pellora::LoadSkinImage(path);
    if (image.isNull())
        return 0;
    // Big pictures only cost time: their rules are the same as a small one's.
    if (qint64(image.width()) * image.height() > 256 * 256)
        return 0;

    const QRegion shape = SkinSelect::WindowShape(image);
    FUZZ_CHECK(image.rect().contains(shape.boundingRect()) || shape.isEmpty(), QStringLiteral("shape outside the picture"));
    const QRegion mask = Pellora::BitmapToRegion(image, QColor(kMagenta));
    const bool small = image.width() * image.height() <= 64 * 64;
    for (int y = 0; small && y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const bool magenta = (image.pixel(x, y) | 0xff000000) == kMagenta;
            FUZZ_CHECK(shape.contains(QPoint(x, y)) == !magenta,
                       QStringLiteral("window shape wrong at %1,%2 of %3x%4").arg(x).arg(y).arg(image.width()).arg(image.height()));
            FUZZ_CHECK(mask.contains(QPoint(x, y)) == !magenta, QStringLiteral("mask wrong at %1,%2").arg(x).arg(y));
        }
    }

    const QPixmap piece = QPixmap::fromImage(image);
    QImage canvas(97, 41, QImage::Format_ARGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    Pellora::DrawThreePiece(painter, canvas.rect(), 3, piece, piece, piece);
    Pellora::DrawTiledAcross(painter, canvas.rect(), piece);
    Pellora::DrawTiledDown(painter, canvas.rect(), piece);
    painter.end();
    (void)Pellora::ComposeMaskedBitmap(image, image.mirrored());

    const QString copy = Fuzz::ScratchFolder() + QStringLiteral("/copy.bmp");
    FUZZ_CHECK(SaveToFile(image, copy) != 0, QStringLiteral("a picture could not be saved"));
    const QImage reread(copy);
    FUZZ_CHECK(reread.convertToFormat(QImage::Format_RGB888) == image.convertToFormat(QImage::Format_RGB888),
               QStringLiteral("the saved bitmap reads back differently"));
    return 0;
}
