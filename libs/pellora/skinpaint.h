#pragma once

#include "pellora_export.h"

#include <QColor>
#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QRegion>
#include <QString>

class QPainter;

namespace Pellora {

// Loading and drawing the skin bitmaps the way every control of this library does.
// Magenta, RGB(255, 0, 255), is the transparent colour of all skin bitmaps.

// The bitmap at `path` with its magenta pixels made transparent; a null image when the
// path names no readable image (a folder, a missing, truncated or foreign file), which
// is logged with the path in "lorvane.skin". An empty path gives a null image quietly.
PELLORA_EXPORT QImage LoadSkinImage(const QString& path);
PELLORA_EXPORT QPixmap LoadSkinBitmap(const QString& path);
// A picture as it stands (no colour made transparent), or a null image, quietly: the
// caller says what it was for. Like the skin bitmaps, each is decoded once while its
// file keeps its time and size, from any thread, so a start can decode ahead.
PELLORA_EXPORT QImage LoadPictureImage(const QString& path);
// A two-bitmap button face: where the mask is light the face is transparent, where it
// is dark the image shows. Without a mask the image is returned as it is.
PELLORA_EXPORT QPixmap ComposeMaskedBitmap(const QImage& image, const QImage& mask);

// Three-piece drawing: the middle bitmap tiled from `inset` pixels inside the area over
// (width - 2 * inset) (a tile wider than that span is not drawn), then the left cap at
// the left edge and the right cap ending at the right edge, all stretched to the area's
// height. A null piece is left out.
PELLORA_EXPORT void DrawThreePiece(QPainter& painter, const QRect& area, int inset, const QPixmap& left,
                                   const QPixmap& middle, const QPixmap& right);
// A background repeated from the left edge at its own width, each copy stretched to the
// area's height, the last one cut.
PELLORA_EXPORT void DrawTiledAcross(QPainter& painter, const QRect& area, const QPixmap& tile);
// A border repeated downwards from the top at its own size, the last copy cut.
PELLORA_EXPORT void DrawTiledDown(QPainter& painter, const QRect& area, const QPixmap& tile);

// A rectangle with its corners rounded by ellipses of the given size, as window shapes use.
PELLORA_EXPORT QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight);
// Every pixel whose colour is not within `tolerance` (per channel) of `transparent`,
// collected row by row as runs.
PELLORA_EXPORT QRegion BitmapToRegion(const QImage& image, QColor transparent, int tolerance = 0);

// The hand shown over clickable parts, shared by the controls of this library.
PELLORA_EXPORT const QCursor& LinkCursor();

} // namespace Pellora
