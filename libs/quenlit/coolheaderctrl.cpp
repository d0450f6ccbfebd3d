#include "coolheaderctrl.h"

#include "quenlitbitmaps.h"

#include <QPainter>

namespace Quenlit {

namespace {
const QColor kArrowOutline(87, 117, 159);
const QColor kText(40, 56, 72);
} // namespace

QPolygon SortArrowPoints(const QRect& section, bool ascending)
{
    const int right = section.left() + section.width();
    const int left = right - 22 + 5; // an 8-pixel triangle in the middle of its room
    const int tip = left + 4;
    const int mid = section.top() + section.height() / 2;
    if (ascending)
        return QPolygon({QPoint(left, mid + 2), QPoint(left + 8, mid + 2), QPoint(tip, mid - 3)});
    return QPolygon({QPoint(left, mid - 2), QPoint(left + 8, mid - 2), QPoint(tip, mid + 3)});
}

CCoolHeaderCtrl::CCoolHeaderCtrl(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignCenter);
}

CCoolHeaderCtrl::~CCoolHeaderCtrl() = default;

void CCoolHeaderCtrl::SetSortArrow(int nColumn, bool bAscending)
{
    m_nSortColumn = nColumn;
    m_bSortAscending = bAscending;
    viewport()->update();
}

int CCoolHeaderCtrl::CalcFontHeight()
{
    if (m_nFontHeight == 0)
        m_nFontHeight = fontMetrics().height();
    return m_nFontHeight;
}

QSize CCoolHeaderCtrl::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    const int h = const_cast<CCoolHeaderCtrl*>(this)->CalcFontHeight() + 10;
    s.setHeight(qMax(24, h));
    return s;
}

QString CCoolHeaderCtrl::DisplayedText(int logicalIndex) const
{
    if (!model())
        return QString();
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    return fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, sectionSize(logicalIndex) - 4));
}

void CCoolHeaderCtrl::DrawItem(QPainter& dc, int logicalIndex, const QRect& rc)
{
    const QImage left = LoadQuenlitBitmap(Bitmap::HeaderLeft);
    const QImage right = LoadQuenlitBitmap(Bitmap::HeaderRight);
    dc.drawImage(QRect(rc.left(), rc.top(), left.width(), rc.height()), left);
    dc.drawImage(QRect(rc.right() - right.width() + 1, rc.top(), right.width(), rc.height()), right);
    dc.setPen(kText);
    dc.setFont(font());
    dc.drawText(rc.adjusted(2, 2, -2, -2), Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip,
                DisplayedText(logicalIndex));
    if (logicalIndex == m_nSortColumn) {
        dc.save();
        dc.setRenderHint(QPainter::Antialiasing);
        dc.setPen(QPen(kArrowOutline, 1));
        dc.setBrush(Qt::white);
        dc.drawPolygon(SortArrowPoints(rc, m_bSortAscending));
        dc.restore();
    }
}

void CCoolHeaderCtrl::paintEvent(QPaintEvent*)
{
    QPainter dc(viewport());
    const QImage back = LoadQuenlitBitmap(Bitmap::HeaderBack);
    dc.drawImage(viewport()->rect(), back);
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (isSectionHidden(logical))
            continue;
        const QRect rc(sectionViewportPosition(logical), 0, sectionSize(logical), viewport()->height());
        if (rc.right() < 0 || rc.left() > viewport()->width())
            continue;
        DrawItem(dc, logical, rc);
    }
}

} // namespace Quenlit
