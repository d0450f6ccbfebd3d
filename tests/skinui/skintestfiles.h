#pragma once

// Small skin files written into a test's temporary folder.

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>

namespace SkinTest {

// A bitmap of one colour; returns its path.
inline QString writeSolid(const QString& folder, const QString& name, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    const QString path = QDir(folder).filePath(name);
    image.save(path, "BMP");
    return path;
}

// A bitmap drawn by the caller.
inline QString writeImage(const QString& folder, const QString& name, const QImage& image)
{
    const QString path = QDir(folder).filePath(name);
    image.save(path, "BMP");
    return path;
}

inline QString writeText(const QString& folder, const QString& name, const QByteArray& text)
{
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(text);
    return path;
}

inline bool sameColor(QRgb pixel, QColor expected, int tolerance = 2)
{
    return qAbs(qRed(pixel) - expected.red()) <= tolerance && qAbs(qGreen(pixel) - expected.green()) <= tolerance
        && qAbs(qBlue(pixel) - expected.blue()) <= tolerance;
}

} // namespace SkinTest
