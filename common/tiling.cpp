#include "tiling.h"

int TileCount(int span, int tileLength)
{
    if (span <= 0 || tileLength <= 0)
        return 0;
    const int whole = span / tileLength;
    return whole ? whole + 1 : 0;
}

QList<TileSpan> TileSpans(int span, int tileLength)
{
    QList<TileSpan> out;
    const int count = TileCount(span, tileLength);
    for (int i = 0; i < count; ++i) {
        const int offset = i * tileLength;
        const int length = qMin(tileLength, span - offset);
        if (length > 0)
            out.append({offset, length});
    }
    return out;
}

ThreePieceLayout LayoutThreePiece(const QRect& area, int inset, const QSize& leftSize, const QSize& middleSize,
                                  const QSize& rightSize)
{
    ThreePieceLayout layout;
    const int h = area.height();
    for (const TileSpan& t : TileSpans(area.width() - 2 * inset, middleSize.width()))
        layout.middle.append({QRect(area.left() + inset + t.offset, area.top(), t.length, h), t.length});
    layout.left = QRect(area.left(), area.top(), leftSize.width(), h);
    layout.right = QRect(area.left() + area.width() - rightSize.width(), area.top(), rightSize.width(), h);
    return layout;
}
