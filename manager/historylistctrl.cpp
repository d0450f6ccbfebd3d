#include "historylistctrl.h"

#include "managerart.h"

#include <QPainter>

using Quenlit::CCoolHeaderCtrl;
using Quenlit::CCoolListCtrl;

CHistoryHeaderCtrl::CHistoryHeaderCtrl(QWidget* parent)
    : CCoolHeaderCtrl(parent)
{
    // A cell height of 15 pixels; fontconfig finds the nearest face installed.
    m_captionFont.setFamily(QStringLiteral("Sevenet 7"));
    m_captionFont.setPixelSize(13);
}

CHistoryHeaderCtrl::~CHistoryHeaderCtrl() = default;

QString CHistoryHeaderCtrl::CaptionText(int logicalIndex) const
{
    if (!model())
        return QString();
    const QString text = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
    const QRect section(0, 0, sectionSize(logicalIndex), height());
    return QFontMetrics(m_captionFont)
        .elidedText(text, Qt::ElideRight, qMax(0, LayoutHistoryHeaderSection(section).text.width()));
}

QSize CHistoryHeaderCtrl::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    s.setHeight(HistoryHeaderHeight(QFontMetrics(font()).height()));
    return s;
}

void CHistoryHeaderCtrl::paintEvent(QPaintEvent*)
{
    QWidget* port = viewport();
    // Composed off screen and copied in one go, so a repaint never flickers.
    QPixmap buffer(port->size() * port->devicePixelRatio());
    buffer.setDevicePixelRatio(port->devicePixelRatio());
    {
        QPainter dc(&buffer);
        dc.drawImage(port->rect(), LoadManagerBitmap(ManagerArt::HistoryHeaderBack));
        const QImage shade = LoadManagerBitmap(ManagerArt::HistoryHeaderShade);
        const QImage line = LoadManagerBitmap(ManagerArt::HistoryHeaderLine);
        dc.setFont(m_captionFont);
        dc.setPen(Qt::black);
        for (int visual = 0; visual < count(); ++visual) {
            const int logical = logicalIndex(visual);
            if (isSectionHidden(logical))
                continue;
            const QRect rc(sectionViewportPosition(logical), 0, sectionSize(logical), port->height());
            if (rc.right() < 0 || rc.left() > port->width())
                continue;
            const HistoryHeaderSection pieces = LayoutHistoryHeaderSection(rc);
            dc.drawImage(pieces.shade, shade);
            dc.drawImage(pieces.line, line);
            dc.drawText(pieces.text, Qt::AlignCenter | Qt::TextSingleLine, CaptionText(logical));
        }
    }
    QPainter(port).drawPixmap(0, 0, buffer);
}

CHistoryListCtrl::CHistoryListCtrl(QWidget* parent)
    : CCoolListCtrl(new CHistoryHeaderCtrl, parent)
    , m_pHistoryHeader(static_cast<CHistoryHeaderCtrl*>(HeaderCtrl()))
{
    // Clicking a column's header does not sort this list.
    disconnect(m_pHistoryHeader, &QHeaderView::sectionClicked, this, nullptr);
    m_pHistoryHeader->setSectionsClickable(false);
    SetItemHeight(kRowHeight);
}

CHistoryListCtrl::~CHistoryListCtrl() = default;

HistoryRowLook CHistoryListCtrl::RowLook(int nItem) const
{
    const QModelIndex index = model()->index(nItem, 0);
    const bool selected = selectionModel() && selectionModel()->isRowSelected(nItem, QModelIndex());
    const bool current = currentIndex().isValid() && currentIndex().row() == index.row();
    return HistoryRowLookFor(hasFocus(), current, selected);
}

void CHistoryListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const HistoryRowLook look = RowLook(index.row());
    painter->save();
    const QRect row(-horizontalOffset(), option.rect.top(), header()->length(), option.rect.height());
    painter->fillRect(row, look.background);
    painter->setFont(font());
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        const QRect cell(columnViewportPosition(column), option.rect.top(), columnWidth(column), option.rect.height());
        painter->setPen(CellLineColor());
        painter->drawLine(cell.topRight(), cell.bottomRight());
        painter->drawLine(cell.bottomLeft(), cell.bottomRight());
        const QRect textRect = HistoryCellTextRect(cell);
        const QString text = model()->index(index.row(), column, index.parent()).data().toString();
        painter->setPen(look.text);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, textRect.width())));
    }
    if (look.frame) {
        painter->setPen(RowFrameColor());
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(row.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}
