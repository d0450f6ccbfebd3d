#include "coolpngbutton.h"

#include "browserlog.h"

#include <pellora/skinpaint.h>

#include <QPainter>

CCoolPngButton::CCoolPngButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, true);
}

QPixmap CCoolPngButton::LoadPicture(const QString& path)
{
    const QImage picture = Pellora::LoadPictureImage(path);
    if (!path.isEmpty() && picture.isNull())
        qCWarning(lcBrowser) << "cannot load the picture" << path;
    return QPixmap::fromImage(picture);
}

void CCoolPngButton::SetNormalFace(const QString& path)
{
    m_normal = LoadPicture(path);
    update();
}

void CCoolPngButton::SetHoverFace(const QString& path)
{
    m_hover = LoadPicture(path);
    update();
}

void CCoolPngButton::SetPressFace(const QString& path)
{
    m_press = LoadPicture(path);
    update();
}

void CCoolPngButton::SetBackGroundBitmap(const QPixmap& background)
{
    m_background = background;
    update();
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
