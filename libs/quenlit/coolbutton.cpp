#include "coolbutton.h"

#include "quenlitbitmaps.h"

#include <focuscue.h>

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>

namespace Quenlit {

namespace {
const QColor kBackground(246, 246, 246);
const QColor kText(120, 120, 120);
const QColor kDisabledText(170, 170, 170);
const QColor kDisabledBrush(156, 155, 171);
const QColor kFrame(140, 165, 185);
const QColor kSelectFrame(87, 117, 159);
} // namespace

CCoolButton::CCoolButton(QWidget* parent)
    : QPushButton(parent)
{
    init();
}

CCoolButton::CCoolButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
{
    init();
}

CCoolButton::~CCoolButton() = default;

void CCoolButton::init()
{
    setAutoDefault(false);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void CCoolButton::SetPressFlag(bool bPress)
{
    if (m_bPress == bPress)
        return;
    m_bPress = bPress;
    update();
}

void CCoolButton::OnMouseIn()
{
    if (m_bHover)
        return;
    m_bHover = true;
    update();
}

void CCoolButton::enterEvent(QEnterEvent* event)
{
    OnMouseIn();
    QPushButton::enterEvent(event);
}

void CCoolButton::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QPushButton::leaveEvent(event);
}

void CCoolButton::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QPushButton::focusInEvent(event);
}

void CCoolButton::resizeEvent(QResizeEvent* event)
{
    QPushButton::resizeEvent(event);
    setMask(RoundRectRegion(rect(), 10, 10));
}

void CCoolButton::drawFace(QPainter& dc, const QRect& rc, int firstBitmap)
{
    // Each look's left, middle and right pieces follow each other in the library's ids.
    const QImage left = LoadQuenlitBitmap(firstBitmap);
    const QImage middle = LoadQuenlitBitmap(firstBitmap + 1);
    const QImage right = LoadQuenlitBitmap(firstBitmap + 2);
    const int lw = qMin(left.width(), rc.width() / 2);
    const int rw = qMin(right.width(), rc.width() - lw);
    dc.drawImage(QRect(rc.left() + lw, rc.top(), rc.width() - lw - rw, rc.height()), middle);
    dc.drawImage(QRect(rc.left(), rc.top(), lw, rc.height()), left);
    dc.drawImage(QRect(rc.right() - rw + 1, rc.top(), rw, rc.height()), right);
}

void CCoolButton::DrawNormalFace(QPainter& dc, const QRect& rc)
{
    // Composed off screen and copied in one piece.
    QImage face(rc.size(), QImage::Format_RGB32);
    face.fill(kBackground);
    {
        QPainter p(&face);
        drawFace(p, QRect(QPoint(0, 0), rc.size()), Bitmap::ButtonNormalLeft);
        DrawButtonFrame(p, QRect(QPoint(0, 0), rc.size()));
        if (isEnabled())
            DrawButtonText(p, QRect(QPoint(0, 0), rc.size()));
    }
    dc.drawImage(rc.topLeft(), face);
}

void CCoolButton::drawHoverFace(QPainter& dc, const QRect& rc)
{
    drawFace(dc, rc, Bitmap::ButtonHoverLeft);
    DrawButtonSelectFrame(dc, rc);
    DrawButtonText(dc, rc);
}

void CCoolButton::DrawFocusFace(QPainter& dc, const QRect& rc)
{
    // A solid ring in the frame's colour, inside the frame, over whatever face is shown.
    const QRect ring = rc.adjusted(3, 3, -3, -3); // FocusRingRect() for the whole button
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing);
    dc.setPen(QPen(kSelectFrame, 1));
    dc.setBrush(Qt::NoBrush);
    dc.drawRoundedRect(QRectF(ring).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    dc.restore();
}

void CCoolButton::DrawSelectedFace(QPainter& dc, const QRect& rc)
{
    drawFace(dc, rc, Bitmap::ButtonPressLeft);
    DrawButtonSelectFrame(dc, rc);
    DrawPressButtonText(dc, rc);
}

void CCoolButton::DrawPressFace(QPainter& dc, const QRect& rc)
{
    DrawSelectedFace(dc, rc);
}

void CCoolButton::DrawDisabledFace(QPainter& dc, const QRect& rc)
{
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing);
    dc.setPen(QPen(kDisabledBrush, 1));
    QColor veil = kDisabledBrush;
    veil.setAlpha(40);
    dc.setBrush(veil);
    dc.drawRoundedRect(QRectF(rc).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    dc.restore();
    DrawButtonDisabledText(dc, rc);
}

void CCoolButton::drawFrame(QPainter& dc, const QRect& rc, const QColor& colour)
{
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing);
    dc.setPen(QPen(colour, 1));
    dc.setBrush(Qt::NoBrush);
    dc.drawRoundedRect(QRectF(rc).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    dc.restore();
}

void CCoolButton::DrawButtonFrame(QPainter& dc, const QRect& rc)
{
    drawFrame(dc, rc, kFrame);
}

void CCoolButton::DrawButtonSelectFrame(QPainter& dc, const QRect& rc)
{
    drawFrame(dc, rc, kSelectFrame);
}

void CCoolButton::drawText(QPainter& dc, const QRect& rc, const QColor& colour)
{
    dc.save();
    dc.setFont(font());
    dc.setPen(colour);
    dc.drawText(rc, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    dc.restore();
}

void CCoolButton::DrawButtonText(QPainter& dc, const QRect& rc)
{
    drawText(dc, rc, kText);
}

void CCoolButton::DrawButtonDisabledText(QPainter& dc, const QRect& rc)
{
    drawText(dc, rc, kDisabledText);
}

void CCoolButton::DrawPressButtonText(QPainter& dc, const QRect& rc)
{
    DrawButtonText(dc, rc.translated(1, 1));
}

void CCoolButton::DrawItem(QPainter& dc)
{
    const QRect rc = rect();
    DrawNormalFace(dc, rc);
    if (!isEnabled()) {
        DrawDisabledFace(dc, rc);
        return;
    }
    if (isDown())
        DrawSelectedFace(dc, rc);
    else if (m_bPress)
        DrawPressFace(dc, rc);
    else if (m_bHover)
        drawHoverFace(dc, rc);
    if (HasFocusCue())
        DrawFocusFace(dc, rc);
}

void CCoolButton::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    DrawItem(dc);
}

} // namespace Quenlit
