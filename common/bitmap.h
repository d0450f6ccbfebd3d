#pragma once

#include "lorvanecommon_export.h"

#include <QImage>
#include <QRect>
#include <QString>

class QWidget;

// A copy of a rectangle of what the widget shows (clipped to the widget); a null
// image when there is nothing to copy.
LORVANECOMMON_EXPORT QImage CopyDCToBitmap(QWidget* widget, const QRect& rect);
// Writes the image as a Windows BMP file; non-zero on success. The file is complete
// or absent: a failed write leaves no partial file behind.
LORVANECOMMON_EXPORT int SaveToFile(const QImage& bitmap, const QString& path);
