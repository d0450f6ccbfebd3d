#include "cooltabbutton.h"

#include "quenlitbitmaps.h"

#include <focuscue.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Quenlit {

namespace {
const QColor kPanelBackground(227, 239, 243);
const QColor kDivisionDark(209, 223, 241);
const QColor kCheckOutline(107, 141, 162);
const QColor kText(33, 33, 33);
const QColor kFocusRing(87, 117, 159);
constexpr int kIconTop = 8;
constexpr int kGap = 4;
} // namespace

QPointer<CCoolTabButton> CCoolTabButton::m_pChecked;

TabButtonLayout LayoutTabButton(const QSize& button, const QSize& icon, int textHeight)
{
    TabButtonLayout l;
    const int w = button.width();
    const int h = button.height();
    l.icon = QRect((w - icon.width()) / 2, kIconTop, icon.width(), icon.height());
    const int textTop = qMin(kIconTop + icon.height() + kGap, qMax(0, h - textHeight - 4));
    l.text = QRect(4, textTop, qMax(0, w - 8), textHeight);
    l.checkFrame = QRect(3, 2, qMax(0, w - 8), qMax(0, h - 5));
    l.divisionX = w - 2;
    return l;
}

CCoolTabButton::CCoolTabButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
}

CCoolTabButton::~CCoolTabButton() = default;

void CCoolTabButton::SetBmpID(unsigned int nID)
{
    m_nBmpID = nID;
    update();
}

void CCoolTabButton::IsNeedDivision(bool bNeed)
{
    m_bDivision = bNeed;
    update();
}

bool CCoolTabButton::IsChecked() const
{
    return m_pChecked == this;
}

void CCoolTabButton::SetCheck()
{
    const QPointer<CCoolTabButton> previous = m_pChecked;
    m_pChecked = this;
    if (previous && previous != this)
        previous->update();
    update();
}

void CCoolTabButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetCheck();
    QAbstractButton::mousePressEvent(event);
}

void CCoolTabButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        SetCheck();
    QAbstractButton::keyPressEvent(event);
}

void CCoolTabButton::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QAbstractButton::focusInEvent(event);
}

QRect CCoolTabButton::FocusRingRect() const
{
    return LayoutTabButton(size(), QSize(), 0).checkFrame.adjusted(2, 2, -2, -2);
}

QSize CCoolTabButton::sizeHint() const
{
    return QSize(88, 80);
}

void CCoolTabButton::DrawButton(QPainter& dc, const QRect& rc)
{
    const QImage iconImage = m_nBmpID != 0 ? LoadQuenlitBitmap(int(m_nBmpID)) : QImage();
    const QFontMetrics fm(font());
    const TabButtonLayout l = LayoutTabButton(rc.size(), iconImage.size(), fm.height());

    dc.fillRect(rc, kPanelBackground);
    const QImage back = LoadQuenlitBitmap(Bitmap::TabButtonBack);
    if (!back.isNull())
        dc.drawImage(rc, back);
    if (m_bDivision) {
        dc.setPen(kDivisionDark);
        dc.drawLine(l.divisionX, 6, l.divisionX, rc.height() - 7);
        dc.setPen(Qt::white);
        dc.drawLine(l.divisionX + 1, 6, l.divisionX + 1, rc.height() - 7);
    }
    if (IsChecked()) {
        dc.save();
        dc.setRenderHint(QPainter::Antialiasing);
        dc.setPen(QPen(kCheckOutline, 1));
        dc.setBrush(Qt::white);
        dc.drawRoundedRect(QRectF(l.checkFrame).adjusted(0.5, 0.5, -0.5, -0.5), 2.5, 2.5);
        dc.restore();
    }
    if (!iconImage.isNull())
        dc.drawPixmap(l.icon.topLeft(), KeyedPixmap(iconImage, kIconTransparentColor));
    dc.setPen(kText);
    dc.setFont(font());
    dc.drawText(l.text, Qt::AlignCenter | Qt::TextSingleLine, fm.elidedText(text(), Qt::ElideRight, l.text.width()));
    if (HasFocusCue()) {
        dc.setPen(QPen(kFocusRing, 1));
        dc.setBrush(Qt::NoBrush);
        dc.drawRect(l.checkFrame.adjusted(2, 2, -3, -3));
    }
}

void CCoolTabButton::DrawItem(QPainter& dc)
{
    // Composed off screen so a switch of pages never shows a half-drawn button.
    QImage face(size(), QImage::Format_RGB32);
    {
        QPainter p(&face);
        DrawButton(p, QRect(QPoint(0, 0), size()));
    }
    dc.drawImage(0, 0, face);
}

void CCoolTabButton::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    DrawItem(dc);
}

} // namespace Quenlit
