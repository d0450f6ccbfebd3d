#include "coolpngbutton.h"

#include <QPainter>

CCoolPngButton::CCoolPngButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, true);
}

void CCoolPngButton::SetNormalFace(const QString& path)
{
    m_normal = QPixmap(path);
    update();
}

void CCoolPngButton::SetHoverFace(const QString& path)
{
    m_hover = QPixmap(path);
    update();
}

void CCoolPngButton::SetPressFace(const QString& path)
{
    m_press = QPixmap(path);
    update();
}

void CCoolPngButton::SetBackGroundBitmap(const QPixmap& background)
{
    m_background = background;
    update();
}

void CCoolPngButton::DrawStretchPicture(QPainter& painter, const QString& path, const QRect& rect)
{
    const QPixmap picture(path);
    if (!picture.isNull())
        painter.drawPixmap(rect, picture);
}

QSize CCoolPngButton::sizeHint() const
{
    return m_normal.isNull() ? QSize(23, 23) : m_normal.size();
}

const QPixmap& CCoolPngButton::currentFace() const
{
    // A missing face falls back to the normal one, so the button never vanishes.
    if ((isDown() || isChecked()) && !m_press.isNull())
        return m_press;
    if (m_bHover && !m_hover.isNull())
        return m_hover;
    return m_normal;
}

void CCoolPngButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!m_background.isNull())
        p.drawPixmap(rect(), m_background, geometry());
    const QPixmap& face = currentFace();
    if (!face.isNull())
        p.drawPixmap(rect(), face);
}

void CCoolPngButton::enterEvent(QEnterEvent* event)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CCoolPngButton::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}
