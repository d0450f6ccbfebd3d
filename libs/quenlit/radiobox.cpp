#include "radiobox.h"

#include "quenlitbitmaps.h"

#include <focuscue.h>

#include <QFocusEvent>
#include <QPainter>

namespace Quenlit {

namespace {
const char kGroupStartProperty[] = "quenlitGroupStart";
const QColor kText(90, 90, 90);
const QColor kDisabledText(160, 160, 160);
constexpr int kTextLeft = 18;
} // namespace

QPair<int, int> DialogGroupRange(const QList<bool>& groupStarts, int index)
{
    const int n = int(groupStarts.size());
    if (index < 0 || index >= n)
        return {0, 0};
    int first = index;
    while (first > 0 && !groupStarts[first])
        --first;
    int end = index + 1;
    while (end < n && !groupStarts[end])
        ++end;
    return {first, end};
}

CRadioBox::CRadioBox(QWidget* parent)
    : QAbstractButton(parent)
{
    init();
}

CRadioBox::CRadioBox(const QString& text, QWidget* parent)
    : QAbstractButton(parent)
{
    setText(text);
    init();
}

CRadioBox::~CRadioBox() = default;

void CRadioBox::init()
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QAbstractButton::clicked, this, &CRadioBox::OnClicked);
}

void CRadioBox::SetGroupStart(QWidget* control, bool start)
{
    if (control)
        control->setProperty(kGroupStartProperty, start);
}

bool CRadioBox::IsGroupStart(const QWidget* control)
{
    return control && control->property(kGroupStartProperty).toBool();
}

int CRadioBox::SetCheck(int nCheck, bool bRedraw)
{
    const int before = GetCheck();
    const bool checked = nCheck != 0;
    if (checked == m_bChecked)
        return before;
    m_bChecked = checked;
    if (bRedraw)
        repaint();
    if (checked)
        UncheckOtherRadios();
    emit CheckChanged(GetCheck());
    return before;
}

void CRadioBox::UncheckOtherRadios()
{
    QWidget* parent = parentWidget();
    if (!parent)
        return;
    QList<QWidget*> siblings;
    QList<bool> starts;
    for (QObject* child : parent->children()) {
        if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) {
            siblings.append(w);
            starts.append(IsGroupStart(w));
        }
    }
    const auto [first, end] = DialogGroupRange(starts, int(siblings.indexOf(this)));
    for (int i = first; i < end; ++i) {
        if (auto* radio = qobject_cast<CRadioBox*>(siblings[i]); radio && radio != this)
            radio->SetCheck(0);
    }
}

void CRadioBox::OnClicked()
{
    if (!m_bChecked)
        SetCheck(1);
}

void CRadioBox::focusInEvent(QFocusEvent* event)
{
    m_bFocusCue = FocusCueAfterFocusIn(m_bFocusCue, event->reason());
    QAbstractButton::focusInEvent(event);
}

void CRadioBox::enterEvent(QEnterEvent* event)
{
    m_bHover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void CRadioBox::leaveEvent(QEvent* event)
{
    m_bHover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

QSize CRadioBox::sizeHint() const
{
    const QFontMetrics fm(font());
    return QSize(kTextLeft + fm.horizontalAdvance(text()) + 4, qMax(17, fm.height() + 4));
}

void CRadioBox::drawFace(QPainter& dc, const QRect& rc, const QImage& bitmap, const QColor& textColor)
{
    const QRect mark(rc.left(), rc.top() + (rc.height() - bitmap.height()) / 2, bitmap.width(), bitmap.height());
    dc.drawImage(mark.topLeft(), bitmap);
    dc.setPen(textColor);
    dc.setFont(font());
    const QRect text(rc.left() + kTextLeft, rc.top(), qMax(0, rc.width() - kTextLeft), rc.height());
    dc.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                dc.fontMetrics().elidedText(this->text(), Qt::ElideRight, text.width()));
}

void CRadioBox::DrawNormalFace(QPainter& dc, const QRect& rc)
{
    drawFace(dc, rc, LoadQuenlitBitmap(Bitmap::RadioNormal), kText);
}

void CRadioBox::DrawHoverFace(QPainter& dc, const QRect& rc)
{
    drawFace(dc, rc, LoadQuenlitBitmap(Bitmap::RadioHover), kText);
}

void CRadioBox::DrawCheckFace(QPainter& dc, const QRect& rc)
{
    drawFace(dc, rc, LoadQuenlitBitmap(Bitmap::RadioChecked), kText);
}

void CRadioBox::DrawDisableFace(QPainter& dc, const QRect& rc)
{
    QImage look = LoadQuenlitBitmap(m_bChecked ? Bitmap::RadioChecked : Bitmap::RadioNormal)
                      .convertToFormat(QImage::Format_ARGB32);
    // Greyed: keep the shape, drop the colour.
    for (int y = 0; y < look.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(look.scanLine(y));
        for (int x = 0; x < look.width(); ++x) {
            const int g = (qGray(line[x]) + 255) / 2;
            line[x] = qRgba(g, g, g, qAlpha(line[x]));
        }
    }
    drawFace(dc, rc, look, kDisabledText);
}

QRect CRadioBox::FocusRingRect() const
{
    const QFontMetrics fm(font());
    const int textWidth = qMin(fm.horizontalAdvance(text()), qMax(0, width() - kTextLeft));
    const int h = qMin(height(), fm.height() + 2);
    return QRect(kTextLeft - 2, (height() - h) / 2, textWidth + 4, h).intersected(rect());
}

void CRadioBox::DrawFocusFace(QPainter& dc, const QRect& rc)
{
    dc.save();
    dc.setRenderHint(QPainter::Antialiasing, false);
    dc.setBrush(Qt::NoBrush);
    dc.setPen(QPen(kText, 1));
    dc.drawRect(FocusRingRect().translated(rc.topLeft()).adjusted(0, 0, -1, -1));
    dc.restore();
}

void CRadioBox::DrawItem(QPainter& dc)
{
    const QRect rc = rect();
    if (!isEnabled())
        DrawDisableFace(dc, rc);
    else if (m_bChecked)
        DrawCheckFace(dc, rc);
    else if (m_bHover)
        DrawHoverFace(dc, rc);
    else
        DrawNormalFace(dc, rc);
    if (HasFocusCue())
        DrawFocusFace(dc, rc);
}

void CRadioBox::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    DrawItem(dc);
}

} // namespace Quenlit
