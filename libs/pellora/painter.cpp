#include "painter.h"

#include "colorref.h"

#include <QLinearGradient>
#include <QPainter>

namespace Pellora {

void CPainter::DrawGradientRect(QPainter* painter, int direction, const QRect& rect, unsigned long from,
                                unsigned long to)
{
    if (!painter || rect.isEmpty())
        return;
    const QRectF r(rect);
    QPointF start = r.topLeft();
    QPointF stop = r.topRight();
    switch (direction) {
    case TopToBottom:
        stop = r.bottomLeft();
        break;
    case RightToLeft:
        start = r.topRight();
        stop = r.topLeft();
        break;
    case BottomToTop:
        start = r.bottomLeft();
        stop = r.topLeft();
        break;
    default:
        break;
    }
    QLinearGradient gradient(start, stop);
    gradient.setColorAt(0, ColorRefToQColor(from));
    gradient.setColorAt(1, ColorRefToQColor(to));
    painter->fillRect(rect, gradient);
}

} // namespace Pellora
