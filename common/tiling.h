#pragma once

#include "lorvanecommon_export.h"

#include <QList>
#include <QRect>
#include <QSize>

// How the skins repeat a bitmap along a span: (span div tile length) copies, plus one
// more when that count is not zero, the last copy cut to what is left of the span. A
// tile longer than the span is therefore not drawn at all.
LORVANECOMMON_EXPORT int TileCount(int span, int tileLength);

struct TileSpan {
    int offset; // from the start of the span
    int length; // the visible length; the tile's own length except for the cut last one
};
// The copies TileCount describes that have something to show (a last copy cut to
// nothing is left out).
LORVANECOMMON_EXPORT QList<TileSpan> TileSpans(int span, int tileLength);

// Three-piece drawing of a skinned face inside `area`: a left cap at the left edge, a
// right cap ending at the right edge and the middle bitmap tiled from `inset` pixels
// inside over (width - 2 * inset); everything stretched to the area's height.
struct ThreePieceLayout {
    QRect left;
    QRect right;
    struct Tile {
        QRect target;    // where the tile goes
        int sourceWidth; // how much of the middle bitmap it shows
    };
    QList<Tile> middle;
};
LORVANECOMMON_EXPORT ThreePieceLayout LayoutThreePiece(const QRect& area, int inset, const QSize& leftSize,
                                                       const QSize& middleSize, const QSize& rightSize);
