#include "flatcheckbox.h"

#include <focuscue.h>

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Quenlit {

namespace {
const QColor kBoxPen(49, 110, 152);
const QColor kHoverPen(153, 153, 204);
const QColor kDisabledText(160, 160, 160);
constexpr int kBoxSize = 13;
constexpr int kTextLeft = 16;
} // namespace

FlatCheckBoxLayout LayoutFlatCheckBox(const QSize& control)
{
    FlatCheckBoxLayout l;
    l.box = QRect(0, (control.height() - kBoxSize) / 2, kBoxSize, kBoxSize);
    l.text = QRect(kTextLeft, 0, qMax(0, control.width() - kTextLeft), control.height());
    return l;
}

CFlatCheckBox::CFlatCheckBox(QWidget* parent)
    : QAbstractButton(parent)
{
    init();
}

CFlatCheckBox::CFlatCheckBox(const QString& text, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(text);
    init();
}

CFlatCheckBox::~CFlatCheckBox() = default;

void CFlatCheckBox::init()
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
}

QFont CFlatCheckBox::textFont() const
{
    QFont f = font();
    f.setPointSize(11);
    return f;
}

void CFlatCheckBox::SetCheck(int nCheck)
{
    const bool checked = nCheck != 0;
    if (checked == m_bChecked)
        return;
    m_bChecked = checked;
    repaint();
    emit CheckChanged(m_bChecked);
}

void CFlatCheckBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        SetCheck(!m_bChecked);
    QAbstractButton::mousePressEvent(event);
}

void CFlatCheckBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat())
        SetCheck(!m_bChecked);
    QAbstractButton::keyPressEvent(event);
}

void CFlatCheckBox::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QAbstractButton::focusInEvent(event);
}

void CFlatCheckBox::enterEvent(QEnterEvent* event)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CFlatCheckBox::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QSize CFlatCheckBox::sizeHint() const
{
    const QFontMetrics fm(textFont());
    return QSize(kTextLeft + fm.horizontalAdvance(text()) + 4, qMax(kBoxSize + 4, fm.height() + 4));
}

void CFlatCheckBox::DrawNormalFace(QPainter& dc, const QRect& rc)
{
    const FlatCheckBoxLayout l = LayoutFlatCheckBox(rc.size());
    const QRect box = l.box.translated(rc.topLeft());
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setBrush(Qt::white);
    dc.setPen(QPen(kBoxPen, 1));
    dc.drawRect(box.adjusted(0, 0, -1, -1));
    dc.setPen(QPen(Qt::white, 1));
    dc.drawRect(box.adjusted(1, 1, -2, -2));

    // Text on a white ground, greyed when the box cannot be used.
    dc.setFont(textFont());
    dc.setPen(isEnabled() ? palette().color(QPalette::WindowText) : kDisabledText);
    dc.setBackgroundMode(Qt::OpaqueMode);
    dc.setBackground(Qt::white);
    const QRect text = l.text.translated(rc.topLeft());
    dc.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                dc.fontMetrics().elidedText(this->text(), Qt::ElideRight, text.width()));
    dc.setBackgroundMode(Qt::TransparentMode);

    if (m_bChecked) {
        dc.setRenderHint(QPainter::Antialiasing, true);
        dc.setPen(QPen(isEnabled() ? kBoxPen : kDisabledText, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF o = box.topLeft();
        const QPointF mark[3] = {o + QPointF(3, 6.5), o + QPointF(5.5, 9), o + QPointF(10, 3.5)};
        dc.drawPolyline(mark, 3);
    }
    dc.restore();
}

void CFlatCheckBox::DrawHoverFace(QPainter& dc, const QRect& rc)
{
    const QRect box = LayoutFlatCheckBox(rc.size()).box.translated(rc.topLeft());
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setBrush(Qt::NoBrush);
    dc.setPen(QPen(kHoverPen, 1));
    dc.drawRect(box.adjusted(1, 1, -2, -2));
    dc.restore();
}

QRect CFlatCheckBox::FocusRingRect() const
{
    const FlatCheckBoxLayout l = LayoutFlatCheckBox(size());
    const QFontMetrics fm(textFont());
    const int textWidth = qMin(fm.horizontalAdvance(text()), l.text.width());
    const int h = qMin(height(), fm.height() + 2);
    return QRect(l.text.left() - 2, (height() - h) / 2, textWidth + 4, h).intersected(rect());
}

void CFlatCheckBox::DrawFocusFace(QPainter& dc, const QRect& rc)
{
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setBrush(Qt::NoBrush);
    dc.setPen(QPen(kBoxPen, 1));
    dc.drawRect(FocusRingRect().translated(rc.topLeft()).adjusted(0, 0, -1, -1));
    dc.restore();
}

void CFlatCheckBox::DrawItem(QPainter& dc)
{
    DrawNormalFace(dc, rect());
    if (m_bHover && isEnabled())
        DrawHoverFace(dc, rect());
    if (HasFocusCue())
        DrawFocusFace(dc, rect());
}

void CFlatCheckBox::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    DrawItem(dc);
}

} // namespace Quenlit
