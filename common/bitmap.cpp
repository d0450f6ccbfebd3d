#include "bitmap.h"

#include <QPixmap>
#include <QSaveFile>
#include <QWidget>

QImage CopyDCToBitmap(QWidget* widget, const QRect& rect)
{
    if (!widget)
        return QImage();
    const QRect clipped = rect.intersected(widget->rect());
    if (clipped.isEmpty())
        return QImage();
    return widget->grab(clipped).toImage();
}

int SaveToFile(const QImage& bitmap, const QString& path)
{
    if (bitmap.isNull())
        return 0;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    // BMP has no alpha in the form other programs read; flatten to 24 bits.
    if (!bitmap.convertToFormat(QImage::Format_RGB888).save(&file, "BMP")) {
        file.cancelWriting();
        return 0;
    }
    return file.commit() ? 1 : 0;
}
