#include "bitmap.h"

#include "commonlog.h"

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
    // BMP has no alpha in the form other programs read; flatten to 24 bits.
    if (!file.open(QIODevice::WriteOnly) || !bitmap.convertToFormat(QImage::Format_RGB888).save(&file, "BMP")
        || !file.commit()) {
        qCWarning(lcCommon) << "cannot write the picture" << path << ":" << file.errorString();
        file.cancelWriting();
        return 0;
    }
    return 1;
}
