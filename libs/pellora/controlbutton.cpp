#include "controlbutton.h"

#include "colorref.h"
#include "focuscue.h"
#include "painter.h"
#include "skinlog.h"
#include "skinpaint.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Pellora {

namespace {

QPolygon regularPolygon(const QRect& rect, int corners, double startAngle)
{
    QPolygon polygon;
    const QPointF c = QRectF(rect).center();
    const double rx = rect.width() / 2.0;
    const double ry = rect.height() / 2.0;
    for (int i = 0; i < corners; ++i) {
        const double a = startAngle + 2 * M_PI * i / corners;
        polygon << QPoint(int(std::lround(c.x() + rx * std::cos(a))), int(std::lround(c.y() + ry * std::sin(a))));
    }
    return polygon;
}

QPainterPath shapePath(const QRectF& r, int style)
{
    QPainterPath path;
    switch (style) {
    case CControlButton::RoundRect:
        path.addRoundedRect(r, 2.5, 2.5);
        break;
    case CControlButton::Ellipse:
        path.addEllipse(r);
        break;
    default: {
        const int corners = style == CControlButton::Diamond ? 4 : style == CControlButton::Hexagon ? 6 : 8;
        const double start = corners == 8 ? M_PI / 8 : 0;
        path.addPolygon(QPolygonF(regularPolygon(r.toRect(), corners, start)));
        path.closeSubpath();
        break;
    }
    }
    return path;
}

} // namespace

CControlButton::CControlButton(QWidget* parent)
    : QAbstractButton(parent)
    , m_crFrom(MakeColorRef(255, 255, 255))
    , m_crTo(MakeColorRef(120, 180, 240))
{
    setMouseTracking(true);
    setCursor(LinkCursor());
}

CControlButton::~CControlButton() = default;

void CControlButton::SetBitmap(const QString& normal, const QString& hover, const QString& press,
                               const QString& disable)
{
    m_bmpNormal = LoadSkinBitmap(normal);
    m_bmpHover = LoadSkinBitmap(hover);
    m_bmpPress = LoadSkinBitmap(press);
    m_bmpDisable = LoadSkinBitmap(disable);
    update();
}

void CControlButton::SetMaskBitmap(const QString& path, unsigned long transparentColorRef, int tolerance)
{
    // The mask is read as it is: its transparent colour is given, not assumed magenta.
    // Without it the button keeps the outline of its shape style.
    m_maskImage = QImage(path);
    if (m_maskImage.isNull() && !path.isEmpty())
        qCWarning(lcSkin) << "cannot load the mask picture" << path;
    m_crMaskTransparent = transparentColorRef;
    m_nMaskTolerance = qMax(0, tolerance);
    setMask(ButtonRegion(size()));
    update();
}

void CControlButton::SetRgnMask(bool useMask)
{
    m_bUseMask = useMask;
    setMask(ButtonRegion(size()));
    update();
}

void CControlButton::SetRgnStyle(int style)
{
    m_nRgnStyle = qMax(0, style);
    setMask(ButtonRegion(size()));
    update();
}

void CControlButton::DoGradientFill(bool on, unsigned long fromColorRef, unsigned long toColorRef)
{
    m_bGradient = on;
    m_crFrom = fromColorRef;
    m_crTo = toColorRef;
    update();
}

void CControlButton::DrawInsideBorder(bool on)
{
    m_bInsideBorder = on;
    update();
}

QRegion CControlButton::ShapeRegion(const QRect& rect, int style)
{
    if (rect.isEmpty())
        return QRegion();
    if (style == RoundRect)
        return RoundRectRegion(rect, 5, 5);
    if (style == Ellipse)
        return QRegion(rect, QRegion::Ellipse);
    const int corners = style == Diamond ? 4 : style == Hexagon ? 6 : 8;
    return QRegion(regularPolygon(rect, corners, corners == 8 ? M_PI / 8 : 0), Qt::WindingFill);
}

QRegion CControlButton::BitmapToRegion(const QImage& bitmap, unsigned long transparentColorRef, int tolerance)
{
    return Pellora::BitmapToRegion(bitmap, ColorRefToQColor(transparentColorRef), tolerance);
}

QRegion CControlButton::ButtonRegion(const QSize& size) const
{
    const QRect r(QPoint(0, 0), size);
    if (m_bUseMask && !m_maskImage.isNull()) {
        const QImage scaled = m_maskImage.size() == size ? m_maskImage : m_maskImage.scaled(size);
        return BitmapToRegion(scaled, m_crMaskTransparent, m_nMaskTolerance);
    }
    return ShapeRegion(r, m_nRgnStyle);
}

QSize CControlButton::sizeHint() const
{
    if (!m_bmpNormal.isNull())
        return m_bmpNormal.size();
    const QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    return QSize(qMax(60, text.width() + 24), qMax(26, text.height() + 10));
}

void CControlButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool down = isDown() || isChecked();
    const QPixmap* face = &m_bmpNormal;
    if (!isEnabled())
        face = &m_bmpDisable;
    else if (down)
        face = &m_bmpPress;
    else if (m_bHover)
        face = &m_bmpHover;
    if (face->isNull())
        face = &m_bmpNormal;

    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = shapePath(r, m_nRgnStyle);
    if (!face->isNull()) {
        p.drawPixmap(rect(), *face);
    } else {
        p.save();
        p.setClipPath(shape);
        if (m_bGradient) {
            unsigned long from = m_crFrom;
            unsigned long to = m_crTo;
            if (down)
                std::swap(from, to);
            CPainter::DrawGradientRect(&p, CPainter::TopToBottom, rect(), from, to);
            if (m_bHover && !down)
                p.fillRect(rect(), QColor(255, 255, 255, 50));
        } else {
            p.fillRect(rect(), palette().button());
        }
        if (!isEnabled())
            p.fillRect(rect(), QColor(128, 128, 128, 110));
        p.restore();
        p.setPen(QPen(ColorRefToQColor(m_crTo).darker(140), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shape);
    }
    if (m_bInsideBorder) {
        const QPainterPath inner = shapePath(r.adjusted(1.5, 1.5, -1.5, -1.5), m_nRgnStyle);
        p.setPen(QPen(QColor(255, 255, 255, 150), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(inner);
    }
    p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(rect().translated(down ? 1 : 0, down ? 1 : 0), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    if (HasFocusCue()) {
        // The button's own outline, smaller, in its frame colour.
        p.setPen(QPen(ColorRefToQColor(m_crTo).darker(160), 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(shapePath(QRectF(FocusRingRect()).adjusted(0.5, 0.5, -0.5, -0.5), m_nRgnStyle));
    }
}

void CControlButton::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QAbstractButton::focusInEvent(event);
}

void CControlButton::resizeEvent(QResizeEvent* event)
{
    QAbstractButton::resizeEvent(event);
    setMask(ButtonRegion(size()));
}

void CControlButton::enterEvent(QEnterEvent* event)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CControlButton::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace Pellora
