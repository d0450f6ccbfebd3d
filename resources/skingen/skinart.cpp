#include "skinart.h"

#include "icons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

QLinearGradient vertical(double top, double bottom, const QColor& from, const QColor& to)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, from);
    g.setColorAt(1, to);
    return g;
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// A rectangle whose top corners (and bottom ones when asked) are rounded.
QPainterPath roundedTop(const QRectF& r, double radius, bool roundBottom = false)
{
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    path.lineTo(r.left(), r.top() + radius);
    path.quadTo(r.left(), r.top(), r.left() + radius, r.top());
    path.lineTo(r.right() - radius, r.top());
    path.quadTo(r.right(), r.top(), r.right(), r.top() + radius);
    if (roundBottom) {
        path.lineTo(r.right(), r.bottom() - radius);
        path.quadTo(r.right(), r.bottom(), r.right() - radius, r.bottom());
        path.lineTo(r.left() + radius, r.bottom());
        path.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - radius);
    } else {
        path.lineTo(r.right(), r.bottom());
    }
    path.closeSubpath();
    return path;
}

QPainterPath roundedBottom(const QRectF& r, double radius)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right(), r.top());
    path.lineTo(r.right(), r.bottom() - radius);
    path.quadTo(r.right(), r.bottom(), r.right() - radius, r.bottom());
    path.lineTo(r.left() + radius, r.bottom());
    path.quadTo(r.left(), r.bottom(), r.left(), r.bottom() - radius);
    path.closeSubpath();
    return path;
}

QColor toolbarTop(const Theme& t)
{
    return Mix(t.light, Qt::white, 0.35);
}

QColor toolbarBottom(const Theme& t)
{
    return Mix(t.light, t.main, 0.5);
}

} // namespace

QColor ToolbarMidColor(const Theme& t)
{
    return Mix(toolbarTop(t), toolbarBottom(t), 0.5);
}

QColor TabStripColor(const Theme& t)
{
    return Mix(t.main, t.deep, 0.15);
}

QImage ToolbarBackground(const Theme& t)
{
    QImage image = canvas(200, 72);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(image.rect(), vertical(0, 72, toolbarTop(t), toolbarBottom(t)));
    // Decorations stay inside the tile so that copies side by side join seamlessly.
    const bool clouds = t.motif == Theme::Motif::Clouds;
    const QColor deco = clouds ? QColor(255, 255, 255, 230) : withAlpha(t.main, 70);
    if (clouds) {
        // White clouds need a soft edge to show on the pale sky.
        DrawMotif(p, t.motif, QPointF(53, 23.5), 23, withAlpha(t.main, 90));
        DrawMotif(p, t.motif, QPointF(151, 47.5), 15, withAlpha(t.main, 90));
    }
    DrawMotif(p, t.motif, QPointF(52, 22), 22, deco);
    DrawMotif(p, t.motif, QPointF(150, 46), 14, deco);
    DrawMotif(p, t.motif, QPointF(104, 14), 9, withAlpha(t.accent, 110));
    p.fillRect(QRectF(0, 69, 200, 3), t.main);
    p.fillRect(QRectF(0, 71, 200, 1), t.deep);
    return image;
}

QImage TabStripBackground(const Theme& t)
{
    QImage image = canvas(40, 31);
    QPainter p(&image);
    p.fillRect(image.rect(), vertical(0, 31, Mix(t.main, Qt::white, 0.12), Mix(t.main, t.deep, 0.3)));
    p.fillRect(QRect(0, 0, 40, 1), Mix(t.main, Qt::white, 0.45));
    p.fillRect(QRect(0, 30, 40, 1), t.deep);
    return image;
}

QImage TabArrow(const Theme& t, bool forward, ArrowLook look)
{
    QImage image = canvas(19, 25);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(0.5, 0.5, 18, 24);
    QColor fill = look == ArrowLook::Press ? t.deep : look == ArrowLook::Disable ? Mix(t.main, t.light, 0.45) : t.light;
    QColor arrow = look == ArrowLook::Press ? QColor(Qt::white)
                 : look == ArrowLook::Disable ? Mix(t.main, t.light, 0.1)
                                              : t.deep;
    p.setPen(QPen(withAlpha(t.deep, look == ArrowLook::Disable ? 90 : 200), 1));
    p.setBrush(vertical(0, 25, Mix(fill, Qt::white, 0.35), fill));
    p.drawRoundedRect(box, 5, 5);
    QPolygonF head;
    if (forward)
        head << QPointF(7, 7) << QPointF(13, 12.5) << QPointF(7, 18);
    else
        head << QPointF(12, 7) << QPointF(6, 12.5) << QPointF(12, 18);
    p.setPen(QPen(arrow, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(arrow);
    p.drawPolygon(head);
    return image;
}

QImage TabWhole(const Theme& t, bool active)
{
    QImage image = canvas(24, 25);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // One pixel left free at each side keeps neighbouring tabs apart.
    const QRectF shape(1, 1, 22, 25);
    const QPainterPath path = roundedTop(shape, 6);
    if (active)
        p.fillPath(path, vertical(1, 25, Qt::white, t.light));
    else
        p.fillPath(path, vertical(1, 25, Mix(t.light, Qt::white, 0.2), Mix(t.light, t.main, 0.4)));
    p.save();
    p.setClipPath(path);
    if (active)
        p.fillRect(QRectF(0, 0, 24, 4), t.accent);
    else
        p.fillRect(QRectF(0, 24, 24, 1), withAlpha(t.deep, 110));
    p.restore();
    p.setPen(QPen(withAlpha(t.deep, active ? 200 : 150), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedTop(shape.adjusted(0.5, 0.5, -0.5, 2), 6));
    return image;
}

QImage TabClose(const Theme& t)
{
    QImage image = canvas(16, 16);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Mix(QColor(0xe8, 0x4a, 0x3c), t.deep, 0.15));
    p.drawEllipse(QPointF(8, 8), 7.2, 7.2);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5.2, 5.2), QPointF(10.8, 10.8));
    p.drawLine(QPointF(10.8, 5.2), QPointF(5.2, 10.8));
    return image;
}

QImage FieldWhole(const Theme& t)
{
    QImage image = canvas(32, 32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Mix(t.main, t.deep, 0.45), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 8, 8);
    // A soft inner shadow along the top edge.
    p.setPen(QPen(withAlpha(t.deep, 40), 1));
    p.drawLine(QPointF(7, 3.5), QPointF(25, 3.5));
    return image;
}

QImage FieldButton(const Theme& t, bool pressed)
{
    QImage image = canvas(22, 18);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = pressed ? t.deep : t.main;
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(0, 18, Mix(fill, Qt::white, pressed ? 0.1 : 0.3), fill));
    p.drawRoundedRect(QRectF(0.5, 0.5, 21, 17), 5, 5);
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::white, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double dy = pressed ? 1 : 0;
    p.drawPolygon(QPolygonF() << QPointF(6.5, 7 + dy) << QPointF(15.5, 7 + dy) << QPointF(11, 12 + dy));
    return image;
}

QImage DialogTitleWhole(const Theme& t)
{
    QImage image = canvas(58, 15);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = roundedTop(QRectF(0, 0, 58, 15), 7);
    p.fillPath(path, vertical(0, 15, Mix(t.main, Qt::white, 0.3), t.main));
    p.save();
    p.setClipPath(path);
    p.fillRect(QRectF(0, 0, 58, 1), withAlpha(Qt::white, 140));
    p.restore();
    p.setPen(QPen(withAlpha(t.deep, 170), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedTop(QRectF(0.5, 0.5, 57, 16), 7));
    return image;
}

QImage DialogBorder(const Theme& t, bool right)
{
    QImage image = canvas(15, 15);
    QPainter p(&image);
    p.fillRect(image.rect(), t.main);
    p.fillRect(QRect(0, 0, 1, 15), withAlpha(t.deep, 200));
    p.fillRect(QRect(1, 0, 2, 15), Mix(t.main, Qt::white, 0.2));
    p.fillRect(QRect(12, 0, 1, 15), Mix(t.main, Qt::white, 0.45));
    p.fillRect(QRect(13, 0, 2, 15), Mix(t.main, t.deep, 0.5));
    p.end();
    return right ? image.mirrored(true, false) : image;
}

QImage DialogBottomWhole(const Theme& t)
{
    QImage image = canvas(58, 15);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPainterPath path = roundedBottom(QRectF(0, 0, 58, 15), 7);
    p.fillPath(path, vertical(0, 15, t.main, Mix(t.main, t.deep, 0.3)));
    p.save();
    p.setClipPath(path);
    p.fillRect(QRectF(0, 0, 58, 2), Mix(t.main, t.deep, 0.5));
    p.fillRect(QRectF(0, 2, 58, 1), Mix(t.main, Qt::white, 0.45));
    p.restore();
    p.setPen(QPen(withAlpha(t.deep, 200), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedBottom(QRectF(0.5, -2, 57, 16.5), 7));
    return image;
}

QImage ButtonWhole(const Theme& t, FaceLook look)
{
    QImage image = canvas(28, 30);
    image.fill(t.dialog); // the faces sit on dialogs: their corners take the dialog's colour
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF pill(1, 1, 26, 28);
    switch (look) {
    case FaceLook::Normal:
        p.setPen(QPen(Mix(t.main, t.deep, 0.35), 1.5));
        p.setBrush(vertical(1, 29, Qt::white, t.light));
        break;
    case FaceLook::Hover:
        p.setPen(QPen(t.accent.darker(125), 1.8));
        p.setBrush(vertical(1, 29, Qt::white, Mix(t.light, t.accent, 0.45)));
        break;
    case FaceLook::Press:
        p.setPen(QPen(t.deep, 1.8));
        p.setBrush(vertical(1, 29, Mix(t.light, t.main, 0.55), t.light));
        break;
    }
    p.drawRoundedRect(pill, 9, 9);
    return image;
}

QImage PreviewDialogBackground(const Theme& t)
{
    QImage image = canvas(480, 360);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body(1, 1, 478, 358);
    QPainterPath shape;
    shape.addRoundedRect(body, 22, 22);
    p.fillPath(shape, vertical(0, 360, t.light, t.dialog));
    p.save();
    p.setClipPath(shape);
    p.fillRect(QRectF(0, 0, 480, 58), vertical(0, 58, Mix(t.main, Qt::white, 0.25), t.main));
    const QColor deco = t.motif == Theme::Motif::Clouds ? QColor(255, 255, 255, 190) : withAlpha(Qt::white, 120);
    DrawMotif(p, t.motif, QPointF(60, 30), 30, deco);
    DrawMotif(p, t.motif, QPointF(420, 26), 24, deco);
    DrawMotif(p, t.motif, QPointF(360, 40), 12, withAlpha(t.accent, 200));
    DrawMotif(p, t.motif, QPointF(44, 326), 26, withAlpha(t.main, 60));
    DrawMotif(p, t.motif, QPointF(440, 320), 34, withAlpha(t.main, 60));
    p.fillRect(QRectF(0, 58, 480, 2), t.deep);
    p.restore();
    p.setPen(QPen(t.deep, 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(body.adjusted(1, 1, -1, -1), 21, 21);
    return image;
}

QImage PreviewCard(const Theme& t, FaceLook look)
{
    QImage image = canvas(132, 100);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card(4, 4, 124, 92);
    if (look != FaceLook::Normal) {
        p.setPen(Qt::NoPen);
        p.setBrush(look == FaceLook::Hover ? t.accent : t.deep);
        p.drawRoundedRect(card.adjusted(-3.5, -3.5, 3.5, 3.5), 12, 12);
    }
    QPainterPath shape;
    shape.addRoundedRect(card, 9, 9);
    p.save();
    p.setClipPath(shape);
    p.fillRect(card, Qt::white);
    // A small browser in the skin's colours: toolbar, tabs, page and status line.
    p.fillRect(QRectF(4, 4, 124, 18), vertical(4, 22, toolbarTop(t), toolbarBottom(t)));
    p.fillRect(QRectF(4, 22, 124, 11), TabStripColor(t));
    p.fillRect(QRectF(14, 24, 30, 9), Qt::white);
    p.fillRect(QRectF(14, 24, 30, 2), t.accent);
    p.fillRect(QRectF(46, 25, 28, 8), Mix(t.light, t.main, 0.3));
    p.fillRect(QRectF(4, 86, 124, 10), t.deep);
    const QImage badge = RenderBadge(Glyph::Home, t.main, 14, ButtonLook::Normal);
    p.drawImage(QPointF(8, 6), badge);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(28, 9, 70, 8), 4, 4);
    DrawMotif(p, t.motif, QPointF(100, 56), 34, withAlpha(t.main, 200));
    DrawMotif(p, t.motif, QPointF(78, 70), 14, withAlpha(t.accent, 220));
    p.setBrush(Mix(t.light, t.main, 0.25));
    p.drawRoundedRect(QRectF(12, 42, 46, 6), 3, 3);
    p.drawRoundedRect(QRectF(12, 54, 38, 6), 3, 3);
    p.drawRoundedRect(QRectF(12, 66, 42, 6), 3, 3);
    if (look == FaceLook::Press)
        p.fillRect(card, QColor(0, 0, 0, 40));
    p.restore();
    p.setPen(QPen(withAlpha(t.deep, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 9, 9);
    return image;
}
