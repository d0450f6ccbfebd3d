#pragma once

#include "pellora_export.h"

#include <QRect>

class QPainter;

namespace Pellora {

// Linear colour gradients for control faces.
class PELLORA_EXPORT CPainter
{
public:
    enum Direction { LeftToRight = 0, TopToBottom = 1, RightToLeft = 2, BottomToTop = 3 };
    // Fills `rect` from `from` to `to` (COLORREFs) along `direction`; an unknown
    // direction runs left to right.
    static void DrawGradientRect(QPainter* painter, int direction, const QRect& rect, unsigned long from,
                                 unsigned long to);
};

} // namespace Pellora
