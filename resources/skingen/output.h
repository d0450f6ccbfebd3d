#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>

// Turning drawn pictures into the files the skins ship.

// A skin bitmap: pixels less than half covered become magenta (the skins' transparent
// colour); the others are laid over `matte`, the colour they will mostly be seen on,
// so their soft edges do not fringe.
QImage KeyedBitmap(const QImage& picture, const QColor& matte);
// A button mask: black where the picture shows, white where it is transparent.
QImage MaskBitmap(const QImage& picture);
// The left, middle and right pieces of a picture drawn whole.
QList<QImage> Slice(const QImage& whole, int leftWidth, int middleWidth, int rightWidth);

QByteArray EncodeImage(const QImage& image, const char* format);
// Writes the file only when its bytes differ from what is there; false on failure.
bool WriteIfChanged(const QString& path, const QByteArray& bytes);
