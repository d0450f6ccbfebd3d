#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>

namespace {

QPainterPath starPath(const QPointF& c, double outer, double inner, double rotation = -M_PI / 2)
{
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = rotation + i * M_PI / 5;
        const QPointF p(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

QPainterPath heartPath(const QPointF& c, double s)
{
    QPainterPath path;
    path.moveTo(c.x(), c.y() + 0.45 * s);
    path.cubicTo(c.x() - 0.75 * s, c.y() - 0.05 * s, c.x() - 0.45 * s, c.y() - 0.65 * s, c.x(), c.y() - 0.25 * s);
    path.cubicTo(c.x() + 0.45 * s, c.y() - 0.65 * s, c.x() + 0.75 * s, c.y() - 0.05 * s, c.x(), c.y() + 0.45 * s);
    return path;
}

// Glyphs are drawn on a 24 x 24 grid centred on the origin, white on the badge.
void drawGlyph(QPainter& p, Glyph glyph, const QColor& badge)
{
    const QColor white(255, 255, 255);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    const QPen stroke(white, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    switch (glyph) {
    case Glyph::Home: {
        QPainterPath house;
        house.moveTo(-9.5, -0.5);
        house.lineTo(0, -9.5);
        house.lineTo(9.5, -0.5);
        house.lineTo(6.5, -0.5);
        house.lineTo(6.5, 8.5);
        house.lineTo(-6.5, 8.5);
        house.lineTo(-6.5, -0.5);
        house.closeSubpath();
        p.setPen(QPen(white, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(house);
        p.setPen(Qt::NoPen);
        p.setBrush(badge);
        p.drawRoundedRect(QRectF(-2.2, 2.2, 4.4, 6.3), 1.2, 1.2);
        break;
    }
    case Glyph::Favor:
        p.drawPath(starPath(QPointF(-1, -1), 9.5, 4.2));
        p.setBrush(white);
        p.drawEllipse(QPointF(6.5, 6.5), 4.8, 4.8);
        p.setPen(QPen(badge, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6.5, 4.0), QPointF(6.5, 9.0));
        p.drawLine(QPointF(4.0, 6.5), QPointF(9.0, 6.5));
        break;
    case Glyph::Back:
    case Glyph::Forward: {
        QPolygonF arrow;
        arrow << QPointF(-8.5, 0) << QPointF(-0.5, -8) << QPointF(-0.5, -3.3) << QPointF(8.5, -3.3)
              << QPointF(8.5, 3.3) << QPointF(-0.5, 3.3) << QPointF(-0.5, 8);
        if (glyph == Glyph::Forward) {
            for (QPointF& pt : arrow)
                pt.setX(-pt.x());
        }
        p.setPen(QPen(white, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolygon(arrow);
        break;
    }
    case Glyph::Refresh: {
        p.setPen(stroke);
        p.setBrush(Qt::NoBrush);
        const QRectF circle(-6.8, -6.8, 13.6, 13.6);
        p.drawArc(circle, 100 * 16, 290 * 16);
        // Arrow head at the start of the arc, pointing along it.
        const double a = 100 * M_PI / 180;
        const QPointF tip(6.8 * std::cos(a), -6.8 * std::sin(a));
        p.setPen(Qt::NoPen);
        p.setBrush(white);
        QPolygonF head;
        head << tip + QPointF(-5.5, 0) << tip + QPointF(1.5, -5) << tip + QPointF(1.5, 5);
        p.drawPolygon(head);
        break;
    }
    case Glyph::Stop:
        p.drawRoundedRect(QRectF(-6.5, -6.5, 13, 13), 2.5, 2.5);
        break;
    case Glyph::Print:
        p.drawRoundedRect(QRectF(-5, -9, 10, 6), 1, 1);
        p.drawRoundedRect(QRectF(-9.5, -3.5, 19, 9), 2.5, 2.5);
        p.setBrush(badge);
        p.setPen(QPen(white, 1.6));
        p.drawRect(QRectF(-5, 2.5, 10, 6.5));
        p.setPen(Qt::NoPen);
        p.setBrush(badge);
        p.drawEllipse(QPointF(6.2, -0.8), 1.2, 1.2);
        break;
    case Glyph::Skin: {
        QPainterPath palette;
        palette.addEllipse(QRectF(-10, -8, 20, 16));
        QPainterPath thumb;
        thumb.addEllipse(QPointF(3.5, 3.2), 2.6, 2.6);
        p.drawPath(palette.subtracted(thumb));
        const QColor dots[4] = {QColor(0xf4, 0x43, 0x36), QColor(0xff, 0xc1, 0x07), QColor(0x4c, 0xaf, 0x50),
                                QColor(0x21, 0x96, 0xf3)};
        const QPointF at[4] = {QPointF(-5.5, -2.5), QPointF(-1.5, -5), QPointF(3.5, -4), QPointF(-4.5, 2.8)};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(at[i], 2.1, 2.1);
        }
        break;
    }
    case Glyph::Close:
        p.setPen(QPen(white, 3.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-5.5, -5.5), QPointF(5.5, 5.5));
        p.drawLine(QPointF(5.5, -5.5), QPointF(-5.5, 5.5));
        break;
    case Glyph::Plus:
        p.setPen(QPen(white, 3.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-7, 0), QPointF(7, 0));
        p.drawLine(QPointF(0, -7), QPointF(0, 7));
        break;
    case Glyph::Sidebar:
        p.setPen(QPen(white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(-9, -7.5, 18, 15), 2.5, 2.5);
        p.setBrush(white);
        p.drawRect(QRectF(-9, -7.5, 7, 15));
        break;
    }
}

} // namespace

QImage RenderBadge(Glyph glyph, const QColor& color, int size, ButtonLook look)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const double r = size / 2.0 - 2.2;
    const QPointF c(size / 2.0, size / 2.0 + (look == ButtonLook::Press ? 0.8 : -0.4));
    const QColor face = look == ButtonLook::Hover ? color.lighter(112)
                      : look == ButtonLook::Press ? color.darker(118)
                                                  : color;
    // Shadow, then the glow of a hovered button.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, look == ButtonLook::Press ? 40 : 60));
    p.drawEllipse(c + QPointF(0, look == ButtonLook::Press ? 0.8 : 1.6), r + 0.6, r + 0.6);
    if (look == ButtonLook::Hover) {
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(c, r + 2.0, r + 2.0);
    }
    QRadialGradient fill(c - QPointF(r * 0.35, r * 0.45), r * 1.5);
    fill.setColorAt(0, face.lighter(125));
    fill.setColorAt(0.6, face);
    fill.setColorAt(1, face.darker(120));
    p.setBrush(fill);
    p.setPen(QPen(QColor(255, 255, 255, 235), qMax(1.2, size / 26.0)));
    p.drawEllipse(c, r, r);
    if (look != ButtonLook::Press) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawEllipse(QRectF(c.x() - r * 0.6, c.y() - r * 0.85, r * 1.2, r * 0.75));
    }
    p.translate(c);
    p.scale(r * 0.62 / 12.0 * 1.25, r * 0.62 / 12.0 * 1.25);
    drawGlyph(p, glyph, face);
    return image;
}

void DrawMotif(QPainter& p, Theme::Motif motif, const QPointF& c, double s, const QColor& color)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    switch (motif) {
    case Theme::Motif::Clouds: {
        QPainterPath cloud;
        cloud.setFillRule(Qt::WindingFill); // overlapping puffs join instead of cutting holes
        cloud.addEllipse(QPointF(c.x() - 0.45 * s, c.y() + 0.1 * s), 0.32 * s, 0.26 * s);
        cloud.addEllipse(QPointF(c.x(), c.y() - 0.08 * s), 0.38 * s, 0.34 * s);
        cloud.addEllipse(QPointF(c.x() + 0.45 * s, c.y() + 0.08 * s), 0.3 * s, 0.26 * s);
        cloud.addRoundedRect(QRectF(c.x() - 0.7 * s, c.y(), 1.4 * s, 0.34 * s), 0.16 * s, 0.16 * s);
        p.drawPath(cloud.simplified());
        break;
    }
    case Theme::Motif::Hearts:
        p.drawPath(heartPath(c, s));
        break;
    case Theme::Motif::Leaves: {
        QPainterPath leaf;
        leaf.moveTo(c.x() - 0.5 * s, c.y() + 0.35 * s);
        leaf.quadTo(c.x() - 0.45 * s, c.y() - 0.45 * s, c.x() + 0.5 * s, c.y() - 0.4 * s);
        leaf.quadTo(c.x() + 0.45 * s, c.y() + 0.4 * s, c.x() - 0.5 * s, c.y() + 0.35 * s);
        p.drawPath(leaf);
        QColor vein = color;
        vein.setAlpha(qMin(255, color.alpha() + 60));
        p.setPen(QPen(vein.darker(130), qMax(0.8, s / 18)));
        p.drawLine(QPointF(c.x() - 0.4 * s, c.y() + 0.28 * s), QPointF(c.x() + 0.35 * s, c.y() - 0.3 * s));
        break;
    }
    case Theme::Motif::Stars:
        p.drawPath(starPath(c, 0.5 * s, 0.22 * s));
        break;
    }
    p.restore();
}

QImage RenderLogo(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    const QPointF c(30, 35);
    const double r = 23;
    // The ring behind the globe.
    p.save();
    p.translate(c);
    p.rotate(-18);
    p.setPen(QPen(QColor(0xff, 0x98, 0x00), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(-31, -9, 62, 18), 0, 180 * 16);
    p.restore();

    p.setPen(QPen(QColor(255, 255, 255), 2));
    QRadialGradient sea(c - QPointF(8, 10), 34);
    sea.setColorAt(0, QColor(0x8f, 0xd6, 0xff));
    sea.setColorAt(1, QColor(0x1e, 0x7f, 0xd8));
    p.setBrush(sea);
    p.drawEllipse(c, r, r);

    QPainterPath globe;
    globe.addEllipse(c, r - 1, r - 1);
    p.save();
    p.setClipPath(globe);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x7c, 0xcf, 0x6a));
    p.drawEllipse(QRectF(6, 14, 20, 14));
    p.drawEllipse(QRectF(38, 42, 22, 16));
    p.drawEllipse(QRectF(14, 50, 14, 10));
    p.restore();

    // A friendly face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1a, 0x23, 0x5e));
    p.drawEllipse(QPointF(22.5, 33), 2.9, 3.4);
    p.drawEllipse(QPointF(37.5, 33), 2.9, 3.4);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(23.5, 31.8), 1.0, 1.0);
    p.drawEllipse(QPointF(38.5, 31.8), 1.0, 1.0);
    p.setBrush(QColor(255, 120, 150, 150));
    p.drawEllipse(QPointF(17, 40), 3.4, 2.2);
    p.drawEllipse(QPointF(43, 40), 3.4, 2.2);
    p.setPen(QPen(QColor(0x1a, 0x23, 0x5e), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(24, 34, 12, 9), 200 * 16, 140 * 16);

    // The ring in front of the globe.
    p.save();
    p.translate(c);
    p.rotate(-18);
    p.setPen(QPen(QColor(0xff, 0xb3, 0x00), 4.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(-31, -9, 62, 18), 180 * 16, 180 * 16);
    p.restore();

    p.setPen(QPen(QColor(255, 255, 255), 1.5));
    p.setBrush(QColor(0xff, 0xd5, 0x4f));
    p.drawPath(starPath(QPointF(53, 11), 9, 4));
    return image;
}
