#include "coolbutton.h"

#include "colorref.h"
#include "focuscue.h"
#include "skinpaint.h"

#include <QFocusEvent>
#include <QPainter>

namespace Pellora {

namespace {

constexpr int kFaceInset = 5;

void loadFace(QPixmap* face, const QString& left, const QString& middle, const QString& right)
{
    face[0] = LoadSkinBitmap(left);
    face[1] = LoadSkinBitmap(middle);
    face[2] = LoadSkinBitmap(right);
}

} // namespace

CCoolButton::CCoolButton(QWidget* parent)
    : CCoolButton(QString(), parent)
{
}

CCoolButton::CCoolButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent)
    , m_crBackColor(MakeColorRef(242, 242, 242))
{
    setMouseTracking(true);
    setCursor(LinkCursor());
}

CCoolButton::~CCoolButton() = default;

void CCoolButton::SetNormalBitmap(const QString& left, const QString& middle, const QString& right)
{
    loadFace(m_bmpNormal, left, middle, right);
    update();
}

void CCoolButton::SetHoverBitmap(const QString& left, const QString& middle, const QString& right)
{
    loadFace(m_bmpHover, left, middle, right);
    update();
}

void CCoolButton::SetPressBitmap(const QString& left, const QString& middle, const QString& right)
{
    loadFace(m_bmpPress, left, middle, right);
    update();
}

void CCoolButton::SetBackColor(unsigned long colorRef)
{
    m_crBackColor = colorRef;
    update();
}

void CCoolButton::drawFace(QPainter& painter, const QPixmap* face) const
{
    painter.fillRect(rect(), ColorRefToQColor(m_crBackColor));
    DrawThreePiece(painter, rect(), kFaceInset, face[0], face[1], face[2]);
    DrawButtonText(painter);
}

void CCoolButton::DrawNormalFace(QPainter& painter) const
{
    drawFace(painter, m_bmpNormal);
}

void CCoolButton::DrawHoverFace(QPainter& painter) const
{
    drawFace(painter, m_bmpHover);
}

void CCoolButton::DrawPressFace(QPainter& painter) const
{
    drawFace(painter, m_bmpPress);
}

void CCoolButton::DrawButtonText(QPainter& painter) const
{
    QFont f = font();
    f.setPointSize(9);
    painter.setFont(f);
    painter.setPen(isEnabled() ? QColor(Qt::black) : QColor(128, 128, 128));
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text());
}

void CCoolButton::DrawFocusFace(QPainter& painter) const
{
    // A solid ring in the caption's colour over whichever face is shown.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(Qt::black), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(FocusRingRect().adjusted(0, 0, -1, -1));
    painter.restore();
}

void CCoolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawNormalFace(painter);
    if (m_bHover)
        DrawHoverFace(painter);
    if (isDown())
        DrawPressFace(painter);
    if (HasFocusCue())
        DrawFocusFace(painter);
}

void CCoolButton::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QPushButton::focusInEvent(event);
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

void CCoolButton::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseIn();
    QPushButton::mouseMoveEvent(event);
}

void CCoolButton::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QPushButton::leaveEvent(event);
}

} // namespace Pellora
