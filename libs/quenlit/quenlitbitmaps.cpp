#include "quenlitbitmaps.h"

#include "quenlitlog.h"

#include <QHash>
#include <QLinearGradient>
#include <QMutex>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace Quenlit {

namespace {

QColor mix(const QColor& a, const QColor& b, double t)
{
    return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
                            a.blueF() + (b.blueF() - a.blueF()) * t);
}

QImage opaque(int w, int h, const QColor& fill)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

// A column of colours running from `top` to `bottom` over `rows` rows, `width` wide.
QImage verticalGradient(int width, int rows, const QColor& top, const QColor& bottom)
{
    QImage img(width, rows, QImage::Format_RGB32);
    for (int y = 0; y < rows; ++y) {
        const QRgb c = mix(top, bottom, rows > 1 ? double(y) / (rows - 1) : 0.0).rgb();
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, c);
    }
    return img;
}

// Dialog frame: a dark line at the outer edge, two softer rows towards the client area.
const QColor kFrameLine(122, 150, 170);
const QColor kFrameHalo(231, 236, 237); // the title band's own background
const QColor kFrameInner1(205, 222, 232);
const QColor kFrameInner2(218, 231, 238);
const QColor kTitleTop(250, 252, 253);
const QColor kTitleBottom(205, 222, 232);
const QColor kTitleFoot(170, 192, 206);

QImage titleColumn(int width)
{
    // Row 0 is the top frame line, the last row a darker foot under the band.
    QImage img = verticalGradient(width, 24, kTitleTop, kTitleBottom);
    for (int x = 0; x < width; ++x) {
        img.setPixel(x, 0, kFrameLine.rgb());
        img.setPixel(x, 23, kTitleFoot.rgb());
    }
    return img;
}

QImage titleEnd(bool left)
{
    QImage img = titleColumn(6);
    const int edge = left ? 0 : 4;
    for (int y = 0; y < 24; ++y)
        img.setPixel(edge, y, kFrameLine.rgb());
    if (!left) {
        for (int y = 0; y < 24; ++y)
            img.setPixel(5, y, kFrameHalo.rgb());
    }
    // A softened corner.
    img.setPixel(left ? 0 : 4, 0, kFrameHalo.rgb());
    img.setPixel(left ? 1 : 3, 1, mix(kFrameLine, kTitleTop, 0.5).rgb());
    return img;
}

QImage frameStrip(bool vertical, const QList<QColor>& colours)
{
    const int n = int(colours.size());
    QImage img = vertical ? opaque(n, 1, Qt::white) : opaque(1, n, Qt::white);
    for (int i = 0; i < n; ++i)
        img.setPixel(vertical ? i : 0, vertical ? 0 : i, colours[i].rgb());
    return img;
}

QImage corner(bool left)
{
    // 4 x 4, ending on the bottom frame line; the right one keeps the halo column.
    QImage img = opaque(4, 4, kFrameInner2);
    for (int x = 0; x < 4; ++x)
        img.setPixel(x, 3, kFrameLine.rgb());
    for (int y = 0; y < 4; ++y) {
        if (left) {
            img.setPixel(0, y, kFrameLine.rgb());
            img.setPixel(1, y, y < 3 ? kFrameInner1.rgb() : kFrameLine.rgb());
        } else {
            img.setPixel(3, y, kFrameHalo.rgb());
            img.setPixel(2, y, kFrameLine.rgb());
            img.setPixel(1, y, y < 3 ? kFrameInner1.rgb() : kFrameLine.rgb());
        }
    }
    return img;
}

struct ButtonLook {
    QColor border;
    QColor top;
    QColor bottom;
};

const ButtonLook kButtonNormal{QColor(140, 165, 185), QColor(255, 255, 255), QColor(222, 232, 239)};
const ButtonLook kButtonHover{QColor(87, 117, 159), QColor(255, 255, 255), QColor(204, 223, 238)};
const ButtonLook kButtonPress{QColor(87, 117, 159), QColor(198, 216, 231), QColor(240, 246, 250)};

QImage buttonPiece(const ButtonLook& look, int part) // 0 left, 1 middle, 2 right
{
    const int w = part == 1 ? 1 : 4;
    QImage img = verticalGradient(w, 24, look.top, look.bottom);
    for (int x = 0; x < w; ++x) {
        img.setPixel(x, 0, look.border.rgb());
        img.setPixel(x, 23, look.border.rgb());
    }
    if (part != 1) {
        const int edge = part == 0 ? 0 : 3;
        const int inner = part == 0 ? 1 : 2;
        for (int y = 0; y < 24; ++y) {
            img.setPixel(edge, y, look.border.rgb());
            if (y > 0 && y < 23)
                img.setPixel(inner, y, mix(QColor(img.pixel(inner, y)), Qt::white, 0.5).rgb());
        }
    }
    return img;
}

QImage radio(int look) // 0 normal, 1 hover, 2 checked
{
    QImage img(13, 13, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF circle(0.5, 0.5, 12, 12);
    QRadialGradient fill(QPointF(5, 4), 8);
    fill.setColorAt(0, Qt::white);
    fill.setColorAt(1, look == 1 ? QColor(205, 226, 244) : QColor(236, 242, 246));
    p.setBrush(fill);
    p.setPen(QPen(QColor(49, 110, 152), 1));
    p.drawEllipse(circle);
    if (look == 1) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(153, 153, 204), 1));
        p.drawEllipse(circle.adjusted(1.5, 1.5, -1.5, -1.5));
    }
    if (look == 2) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(49, 110, 152));
        p.drawEllipse(QPointF(6.5, 6.5), 3, 3);
    }
    return img;
}

QImage headerBack()
{
    QImage img = verticalGradient(1, 24, QColor(250, 252, 253), QColor(216, 229, 238));
    img.setPixel(0, 23, QColor(150, 175, 195).rgb());
    return img;
}

QImage headerEnd(bool left)
{
    QImage img = headerBack();
    if (left) {
        for (int y = 0; y < 23; ++y)
            img.setPixel(0, y, QColor(255, 255, 255).rgb());
        return img;
    }
    QImage out = verticalGradient(2, 24, QColor(250, 252, 253), QColor(216, 229, 238));
    for (int y = 0; y < 24; ++y) {
        out.setPixel(0, y, QColor(170, 192, 208).rgb());
        out.setPixel(1, y, y < 23 ? QColor(255, 255, 255).rgb() : QColor(150, 175, 195).rgb());
    }
    return out;
}

// The page-button icons are drawn smooth on a transparent image and then laid on the
// button's light colour, with red left where nothing was drawn.
QImage keyed(const QImage& art)
{
    const QColor under(236, 244, 247);
    QImage out(art.size(), QImage::Format_RGB32);
    const QImage src = art.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < src.height(); ++y) {
        for (int x = 0; x < src.width(); ++x) {
            const QRgb px = src.pixel(x, y);
            const int a = qAlpha(px);
            if (a < 96) {
                out.setPixel(x, y, kIconTransparentColor);
                continue;
            }
            const double t = a / 255.0;
            QRgb c = qRgb(int(qRed(px) * t + under.red() * (1 - t)), int(qGreen(px) * t + under.green() * (1 - t)),
                          int(qBlue(px) * t + under.blue() * (1 - t)));
            if (c == kIconTransparentColor)
                c = qRgb(254, 0, 0);
            out.setPixel(x, y, c);
        }
    }
    return out;
}

QImage iconCanvas()
{
    QImage img(36, 36, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage iconGeneral()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(18, 18);
    QPainterPath gear;
    gear.addEllipse(QPointF(0, 0), 11, 11);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-3, -16, 6, 8), 1.5, 1.5);
        gear = gear.united(QTransform().rotate(i * 45).map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(0, 0), 5, 5);
    gear = gear.subtracted(hole);
    QLinearGradient g(-16, -16, 16, 16);
    g.setColorAt(0, QColor(96, 160, 214));
    g.setColorAt(1, QColor(38, 96, 150));
    p.setBrush(g);
    p.setPen(QPen(QColor(30, 72, 112), 1.2));
    p.drawPath(gear);
    return keyed(img);
}

QImage iconTime()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(18, 18);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(46, 139, 87), 3.2));
    p.drawEllipse(QPointF(0, 0), 14.5, 14.5);
    p.setPen(QPen(QColor(90, 100, 110), 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
        const double a = qDegreesToRadians(i * 30.0);
        const double r0 = i % 3 == 0 ? 8.5 : 10.0;
        p.drawLine(QPointF(qSin(a) * r0, -qCos(a) * r0), QPointF(qSin(a) * 11.5, -qCos(a) * 11.5));
    }
    p.setPen(QPen(QColor(40, 50, 60), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -8));
    p.drawLine(QPointF(0, 0), QPointF(6, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(214, 60, 40));
    p.drawEllipse(QPointF(0, 0), 2, 2);
    return keyed(img);
}

QImage iconPassword()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 122, 134), 4, Qt::SolidLine, Qt::FlatCap));
    QPainterPath shackle;
    shackle.moveTo(10.5, 17);
    shackle.lineTo(10.5, 11);
    shackle.arcTo(QRectF(10.5, 3, 15, 15), 180, -180);
    shackle.lineTo(25.5, 17);
    p.drawPath(shackle);
    QLinearGradient g(0, 15, 0, 34);
    g.setColorAt(0, QColor(250, 206, 92));
    g.setColorAt(1, QColor(222, 150, 30));
    p.setBrush(g);
    p.setPen(QPen(QColor(170, 110, 20), 1.2));
    p.drawRoundedRect(QRectF(5.5, 15.5, 25, 18), 3.5, 3.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(92, 60, 20));
    p.drawEllipse(QPointF(18, 22.5), 3, 3);
    p.drawRoundedRect(QRectF(16.6, 23, 2.8, 6.5), 1, 1);
    return keyed(img);
}

QImage iconRecommend()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = qDegreesToRadians(-90.0 + i * 36.0);
        const double r = i % 2 == 0 ? 16.5 : 7.2;
        star << QPointF(18 + r * qCos(a), 19 + r * qSin(a));
    }
    QRadialGradient g(QPointF(15, 13), 18);
    g.setColorAt(0, QColor(255, 226, 110));
    g.setColorAt(1, QColor(240, 146, 24));
    p.setBrush(g);
    p.setPen(QPen(QColor(196, 104, 12), 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolygon(star);
    return keyed(img);
}

QImage iconHistory()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath page;
    page.moveTo(7.5, 3.5);
    page.lineTo(22.5, 3.5);
    page.lineTo(29.5, 10.5);
    page.lineTo(29.5, 32.5);
    page.lineTo(7.5, 32.5);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(70, 110, 160), 1.6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawPath(page);
    p.setBrush(QColor(200, 220, 238));
    QPainterPath fold;
    fold.moveTo(22.5, 3.5);
    fold.lineTo(22.5, 10.5);
    fold.lineTo(29.5, 10.5);
    fold.closeSubpath();
    p.drawPath(fold);
    p.setPen(QPen(QColor(120, 150, 185), 2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 5; ++i) {
        const double y = 14 + i * 3.8;
        p.drawLine(QPointF(11.5, y), QPointF(i % 2 ? 21 : 25.5, y));
    }
    return keyed(img);
}

QImage iconAbout()
{
    QImage img = iconCanvas();
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(QPointF(13, 11), 22);
    g.setColorAt(0, QColor(110, 184, 236));
    g.setColorAt(1, QColor(34, 110, 180));
    p.setBrush(g);
    p.setPen(QPen(QColor(26, 86, 142), 1.2));
    p.drawEllipse(QPointF(18, 18), 15.5, 15.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(18, 10.5), 2.6, 2.6);
    p.drawRoundedRect(QRectF(15.7, 15, 4.6, 13), 1.5, 1.5);
    return keyed(img);
}

QImage draw(int id)
{
    using namespace Bitmap;
    switch (id) {
    case TitleLeft: return titleEnd(true);
    case TitleMiddle: return titleColumn(1);
    case TitleRight: return titleEnd(false);
    case BorderLeft: return frameStrip(true, {kFrameLine, kFrameInner1, kFrameInner2, QColor(227, 239, 243)});
    case BorderRight: return frameStrip(true, {kFrameInner2, kFrameInner1, kFrameLine, kFrameHalo});
    case BorderBottom: return frameStrip(false, {kFrameInner2, kFrameInner1, kFrameLine, kFrameHalo});
    case DialogCornerBottomLeft: return corner(true);
    case DialogCornerBottomRight: return corner(false);
    case TabButtonBack: return verticalGradient(1, 80, QColor(243, 249, 252), QColor(214, 230, 238));
    case ButtonNormalLeft: return buttonPiece(kButtonNormal, 0);
    case ButtonNormalMiddle: return buttonPiece(kButtonNormal, 1);
    case ButtonNormalRight: return buttonPiece(kButtonNormal, 2);
    case ButtonHoverLeft: return buttonPiece(kButtonHover, 0);
    case ButtonHoverMiddle: return buttonPiece(kButtonHover, 1);
    case ButtonHoverRight: return buttonPiece(kButtonHover, 2);
    case ButtonPressLeft: return buttonPiece(kButtonPress, 0);
    case ButtonPressMiddle: return buttonPiece(kButtonPress, 1);
    case ButtonPressRight: return buttonPiece(kButtonPress, 2);
    case RadioNormal: return radio(0);
    case RadioHover: return radio(1);
    case RadioChecked: return radio(2);
    case HeaderBack: return headerBack();
    case HeaderLeft: return headerEnd(true);
    case HeaderRight: return headerEnd(false);
    case IconGeneral: return iconGeneral();
    case IconTime: return iconTime();
    case IconPassword: return iconPassword();
    case IconRecommend: return iconRecommend();
    case IconHistory: return iconHistory();
    case IconAbout: return iconAbout();
    default: return QImage();
    }
}

} // namespace

QImage LoadQuenlitBitmap(int id)
{
    static QMutex mutex;
    static QHash<int, QImage> cache;
    QMutexLocker lock(&mutex);
    auto it = cache.constFind(id);
    if (it != cache.constEnd())
        return *it;
    const QImage img = draw(id);
    // A missing one is kept too: controls ask on every paint, and one warning is enough.
    if (img.isNull())
        qCWarning(lcSkin) << "the skin has no bitmap" << id << "- the control is drawn without it";
    cache.insert(id, img);
    return img;
}

QPixmap KeyedPixmap(const QImage& image, QRgb transparentColor)
{
    if (image.isNull())
        return QPixmap();
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparentColor | 0xff000000;
    for (int y = 0; y < out.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            if ((line[x] | 0xff000000) == key)
                line[x] = 0;
        }
    }
    return QPixmap::fromImage(out);
}

QRegion RoundRectRegion(const QRect& rect, int ellipseWidth, int ellipseHeight)
{
    if (rect.isEmpty())
        return QRegion();
    const int ew = qBound(0, ellipseWidth, rect.width());
    const int eh = qBound(0, ellipseHeight, rect.height());
    if (ew < 2 || eh < 2)
        return QRegion(rect);
    const int rx = ew / 2;
    const int ry = eh / 2;
    QRegion r(rect.adjusted(rx, 0, -rx, 0));
    r += QRegion(rect.adjusted(0, ry, 0, -ry));
    const QSize e(ew, eh);
    r += QRegion(QRect(rect.topLeft(), e), QRegion::Ellipse);
    r += QRegion(QRect(QPoint(rect.right() - ew + 1, rect.top()), e), QRegion::Ellipse);
    r += QRegion(QRect(QPoint(rect.left(), rect.bottom() - eh + 1), e), QRegion::Ellipse);
    r += QRegion(QRect(QPoint(rect.right() - ew + 1, rect.bottom() - eh + 1), e), QRegion::Ellipse);
    return r;
}

namespace {
// The dialogs' font averages 6 pixels across and 13 down.
constexpr int kBaseUnitX = 6;
constexpr int kBaseUnitY = 13;
int unitsX(int u) { return (u * kBaseUnitX + 2) / 4; }
int unitsY(int u) { return (u * kBaseUnitY + 4) / 8; }
} // namespace

QRect DialogUnitsToPixels(const QRect& units)
{
    return QRect(unitsX(units.x()), unitsY(units.y()), unitsX(units.width()), unitsY(units.height()));
}

QSize DialogUnitsToPixels(const QSize& units)
{
    return QSize(unitsX(units.width()), unitsY(units.height()));
}

} // namespace Quenlit
