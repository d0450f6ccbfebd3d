#include "treeicons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace {

constexpr int kSize = 16;

const QColor kFolderEdge(0xb0, 0x78, 0x10);
const QColor kFolderBack(0xf4, 0xc0, 0x3e);
const QColor kFolderFront(0xfc, 0xd9, 0x6a);
const QColor kFolderLight(0xff, 0xec, 0xaa);

void drawClosedFolder(QPainter& p)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(6.0, 3.5);
    back.lineTo(7.5, 5.0);
    back.lineTo(14.5, 5.0);
    back.lineTo(14.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(kFolderEdge, 1.0));
    p.setBrush(kFolderBack);
    p.drawPath(back);
    QLinearGradient front(0, 6, 0, 13);
    front.setColorAt(0, kFolderLight);
    front.setColorAt(1, kFolderFront);
    p.setBrush(front);
    p.drawRoundedRect(QRectF(1.5, 6.5, 13.0, 7.0), 1.0, 1.0);
}

void drawOpenFolder(QPainter& p)
{
    QPainterPath back;
    back.moveTo(1.5, 3.5);
    back.lineTo(5.5, 3.5);
    back.lineTo(7.0, 5.0);
    back.lineTo(12.5, 5.0);
    back.lineTo(12.5, 13.5);
    back.lineTo(1.5, 13.5);
    back.closeSubpath();
    p.setPen(QPen(kFolderEdge, 1.0));
    p.setBrush(kFolderBack);
    p.drawPath(back);
    // A sheet peeking out of the open folder.
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x9a, 0x9a, 0x9a), 1.0));
    p.drawRect(QRectF(3.5, 4.5, 8.0, 6.0));
    // The front flap tipped forward.
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15.0, 7.5);
    flap.lineTo(12.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    QLinearGradient front(0, 7, 0, 13);
    front.setColorAt(0, kFolderLight);
    front.setColorAt(1, kFolderFront);
    p.setPen(QPen(kFolderEdge, 1.0));
    p.setBrush(front);
    p.drawPath(flap);
}

void drawWebPage(QPainter& p)
{
    // A sheet with a folded corner, and a small globe on it.
    QPainterPath sheet;
    sheet.moveTo(2.5, 0.5);
    sheet.lineTo(10.0, 0.5);
    sheet.lineTo(13.5, 4.0);
    sheet.lineTo(13.5, 15.5);
    sheet.lineTo(2.5, 15.5);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(0x7a, 0x86, 0x96), 1.0));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(10.0, 0.5);
    fold.lineTo(10.0, 4.0);
    fold.lineTo(13.5, 4.0);
    p.setBrush(QColor(0xdd, 0xe3, 0xea));
    p.drawPath(fold);
    const QPointF centre(8.0, 9.5);
    QRadialGradient sea(centre - QPointF(1.2, 1.2), 5.0);
    sea.setColorAt(0, QColor(0x7c, 0xc4, 0xff));
    sea.setColorAt(1, QColor(0x1e, 0x7a, 0xd8));
    p.setPen(QPen(QColor(0x15, 0x5c, 0xa8), 0.9));
    p.setBrush(sea);
    p.drawEllipse(centre, 4.0, 4.0);
    // Two patches of land.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x5c, 0xc2, 0x4e));
    QPainterPath land;
    land.moveTo(5.2, 8.2);
    land.cubicTo(6.2, 6.8, 8.0, 7.0, 7.6, 8.6);
    land.cubicTo(7.2, 9.8, 5.8, 10.6, 5.0, 9.6);
    land.closeSubpath();
    land.moveTo(9.0, 10.4);
    land.cubicTo(10.4, 9.8, 11.6, 10.6, 10.8, 11.8);
    land.cubicTo(10.0, 12.8, 8.8, 12.2, 9.0, 10.4);
    land.closeSubpath();
    p.drawPath(land);
}

void drawTabStar(QPainter& p)
{
    QPainterPath star;
    const QPointF c(8.0, 8.4);
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 3.1 : 7.3;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0)
            star.moveTo(pt);
        else
            star.lineTo(pt);
    }
    star.closeSubpath();
    QLinearGradient fill(0, 1, 0, 15);
    fill.setColorAt(0, QColor(0xff, 0xe6, 0x5c));
    fill.setColorAt(1, QColor(0xf6, 0xa8, 0x10));
    p.setPen(QPen(QColor(0xc2, 0x74, 0x00), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(star);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(6.6, 6.6), 1.1, 1.1);
}

} // namespace

QImage RenderTreeIcon(TreeIcon icon)
{
    QImage image(kSize, kSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case TreeIcon::ClosedFolder:
        drawClosedFolder(p);
        break;
    case TreeIcon::OpenFolder:
        drawOpenFolder(p);
        break;
    case TreeIcon::WebPage:
        drawWebPage(p);
        break;
    case TreeIcon::TabStar:
        drawTabStar(p);
        break;
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}
