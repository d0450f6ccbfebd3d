#include "managerart.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QImage iconImage(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    ManagerArt::DrawShieldMark(p, 0);
    return img;
}

QImage panelBand()
{
    const int w = 704;
    const int h = 96;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient ground(0, 0, 0, h);
    ground.setColorAt(0, QColor(246, 251, 253));
    ground.setColorAt(1, QColor(211, 228, 237));
    p.fillRect(img.rect(), ground);
    // Soft rings at the right end of the band, where no page button stands.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const struct {
        QPointF centre;
        double radius;
        int alpha;
    } rings[] = {{{650, 30}, 52, 70}, {{600, 88}, 34, 55}, {{690, 92}, 26, 60}, {{575, 20}, 16, 50}};
    for (const auto& r : rings) {
        QRadialGradient g(r.centre, r.radius);
        g.setColorAt(0, QColor(255, 255, 255, r.alpha));
        g.setColorAt(0.7, QColor(255, 255, 255, r.alpha / 2));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawEllipse(r.centre, r.radius, r.radius);
    }
    p.setPen(QColor(176, 201, 215));
    p.drawLine(0, h - 1, w, h - 1);
    p.setPen(QColor(255, 255, 255, 180));
    p.drawLine(0, 0, w, 0);
    return img;
}

// A thin vertical strip, one colour per row from top to bottom.
QImage verticalStrip(int width, int height, const QColor& top, const QColor& bottom)
{
    QImage img(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
        const double t = height > 1 ? double(y) / (height - 1) : 0.0;
        const QColor c = QColor::fromRgbF(top.redF() + (bottom.redF() - top.redF()) * t,
                                          top.greenF() + (bottom.greenF() - top.greenF()) * t,
                                          top.blueF() + (bottom.blueF() - top.blueF()) * t,
                                          top.alphaF() + (bottom.alphaF() - top.alphaF()) * t);
        for (int x = 0; x < width; ++x)
            img.setPixelColor(x, y, c);
    }
    return img;
}

QImage historyHeaderBack()
{
    QImage img = verticalStrip(3, 23, QColor(252, 253, 254), QColor(216, 230, 240));
    // A darker last row gives the header its lower edge.
    for (int x = 0; x < img.width(); ++x)
        img.setPixelColor(x, img.height() - 1, QColor(168, 192, 210));
    return img;
}

QImage historyHeaderShade()
{
    // Fades from clear into a light shadow towards the edge line.
    QImage img(3, 23, QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            img.setPixelColor(x, y, QColor(120, 150, 175, 20 + 25 * x));
    }
    return img;
}

QImage historyHeaderLine()
{
    QImage img = verticalStrip(1, 23, QColor(200, 216, 228), QColor(140, 168, 190));
    img.setPixelColor(0, 0, QColor(240, 245, 249));
    return img;
}

} // namespace

void ManagerArt::DrawShieldMark(QPainter& p, qreal lift)
{
    QLinearGradient ground(0, 0, 32, 32);
    ground.setColorAt(0, QColor(64, 170, 110));
    ground.setColorAt(1, QColor(28, 110, 168));
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
    // A shield that keeps a heart: the parents watching over the child.
    p.save();
    p.translate(0, -lift);
    QPainterPath shield;
    shield.moveTo(16, 5);
    shield.cubicTo(20, 7.5, 23, 8, 26, 8);
    shield.cubicTo(26, 18, 22.5, 24, 16, 28);
    shield.cubicTo(9.5, 24, 6, 18, 6, 8);
    shield.cubicTo(9, 8, 12, 7.5, 16, 5);
    p.setBrush(Qt::white);
    p.drawPath(shield);
    QPainterPath heart;
    heart.moveTo(16, 22);
    heart.cubicTo(10, 18, 10.5, 12.5, 13.5, 12.5);
    heart.cubicTo(15, 12.5, 16, 14, 16, 14);
    heart.cubicTo(16, 14, 17, 12.5, 18.5, 12.5);
    heart.cubicTo(21.5, 12.5, 22, 18, 16, 22);
    p.setBrush(QColor(236, 92, 64));
    p.drawPath(heart);
    p.restore();
}

QIcon ManagerIcon()
{
    static const QIcon icon = [] {
        QIcon i;
        for (int size : {16, 24, 32, 48, 64})
            i.addPixmap(QPixmap::fromImage(iconImage(size)));
        return i;
    }();
    return icon;
}

QImage LoadManagerBitmap(int id)
{
    switch (id) {
    case ManagerArt::ProgramIcon: {
        static const QImage img = iconImage(32);
        return img;
    }
    case ManagerArt::PanelBand: {
        static const QImage img = panelBand();
        return img;
    }
    case ManagerArt::HistoryHeaderBack: {
        static const QImage img = historyHeaderBack();
        return img;
    }
    case ManagerArt::HistoryHeaderShade: {
        static const QImage img = historyHeaderShade();
        return img;
    }
    case ManagerArt::HistoryHeaderLine: {
        static const QImage img = historyHeaderLine();
        return img;
    }
    default: return QImage();
    }
}
