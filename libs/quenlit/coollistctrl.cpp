#include "coollistctrl.h"

#include "coolheaderctrl.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace Quenlit {

namespace {

const QColor kBorder(107, 141, 162);

class FixedHeightDelegate : public QStyledItemDelegate
{
public:
    FixedHeightDelegate(const CCoolListCtrl* list)
        : QStyledItemDelegate(const_cast<CCoolListCtrl*>(list))
        , m_list(list)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(m_list->ItemHeight());
        return s;
    }

private:
    const CCoolListCtrl* m_list;
};

class SortableItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override
    {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        return CCoolListCtrl::CompareFunction(text(column), other.text(column)) < 0;
    }
};

} // namespace

CoolRowLook RowLookFor(bool listHasFocus, bool isCurrentRow, bool isSelected)
{
    if (!listHasFocus)
        return isSelected ? CoolRowLook::SelectedUnfocused : CoolRowLook::Other;
    if (isCurrentRow)
        return CoolRowLook::Focused;
    return isSelected ? CoolRowLook::Selected : CoolRowLook::Other;
}

CCoolListCtrl::CCoolListCtrl(QWidget* parent)
    : CCoolListCtrl(new CCoolHeaderCtrl, parent)
{
}

CCoolListCtrl::CCoolListCtrl(CCoolHeaderCtrl* header, QWidget* parent)
    : QTreeWidget(parent)
    , m_pHeader(header)
{
    setHeader(m_pHeader);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setItemDelegate(new FixedHeightDelegate(this));
    setColumnCount(0);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, kBorder);
    setPalette(pal);
    m_pHeader->setStretchLastSection(false);
    // The view turns header clicks off unless it sorts by itself; this list sorts on a click.
    m_pHeader->setSectionsClickable(true);
    connect(m_pHeader, &QHeaderView::sectionClicked, this, &CCoolListCtrl::OnColumnClick);
}

CCoolListCtrl::~CCoolListCtrl() = default;

int CCoolListCtrl::InsertColumn(int nCol, const QString& heading, int nWidth)
{
    const int count = columnCount();
    const int at = (nCol < 0 || nCol > count) ? count : nCol;
    QStringList labels;
    for (int i = 0; i < count; ++i)
        labels << headerItem()->text(i);
    labels.insert(at, heading);
    QList<int> widths;
    for (int i = 0; i < count; ++i)
        widths << columnWidth(i);
    widths.insert(at, nWidth);
    setColumnCount(count + 1);
    setHeaderLabels(labels);
    // Rows already in the list keep their texts under their own columns.
    for (int row = 0; row < topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = topLevelItem(row);
        for (int i = count; i > at; --i)
            item->setText(i, item->text(i - 1));
        item->setText(at, QString());
    }
    for (int i = 0; i <= count; ++i)
        setColumnWidth(i, widths[i]);
    return at;
}

int CCoolListCtrl::InsertItem(int nItem, const QString& text)
{
    const int count = topLevelItemCount();
    const int at = (nItem < 0 || nItem > count) ? count : nItem;
    auto* item = new SortableItem();
    item->setText(0, text);
    insertTopLevelItem(at, item);
    return at;
}

bool CCoolListCtrl::SetItemText(int nItem, int nSubItem, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(nItem);
    if (!item || nSubItem < 0 || nSubItem >= columnCount())
        return false;
    item->setText(nSubItem, text);
    return true;
}

QString CCoolListCtrl::GetItemText(int nItem, int nSubItem) const
{
    const QTreeWidgetItem* item = topLevelItem(nItem);
    return item ? item->text(nSubItem) : QString();
}

bool CCoolListCtrl::DeleteItem(int nItem)
{
    if (nItem < 0 || nItem >= topLevelItemCount())
        return false;
    delete takeTopLevelItem(nItem);
    return true;
}

void CCoolListCtrl::DeleteAllItems()
{
    clear();
}

void CCoolListCtrl::SetItemHeight(int nHeight)
{
    if (nHeight <= 0)
        return;
    m_nItemHeight = nHeight;
    // The rows are measured anew with the new height.
    doItemsLayout();
    viewport()->update();
}

int CCoolListCtrl::CompareFunction(const QString& left, const QString& right)
{
    bool leftIsNumber = false;
    bool rightIsNumber = false;
    const double a = left.trimmed().toDouble(&leftIsNumber);
    const double b = right.trimmed().toDouble(&rightIsNumber);
    if (leftIsNumber && rightIsNumber)
        return a < b ? -1 : a > b ? 1 : 0;
    return left.localeAwareCompare(right);
}

void CCoolListCtrl::Sort(int nColumn, bool bAscending)
{
    m_nSortColumn = nColumn;
    m_bSortAscending = bAscending;
    m_pHeader->SetSortArrow(nColumn, bAscending);
    if (nColumn >= 0 && nColumn < columnCount())
        sortItems(nColumn, bAscending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void CCoolListCtrl::OnColumnClick(int nColumn)
{
    Sort(nColumn, nColumn == m_nSortColumn ? !m_bSortAscending : true);
}

QRect CCoolListCtrl::GetFullCellRect(int nItem, int nSubItem) const
{
    const QTreeWidgetItem* item = topLevelItem(nItem);
    if (!item || nSubItem < 0 || nSubItem >= columnCount())
        return QRect();
    const QRect row = visualItemRect(item);
    return QRect(columnViewportPosition(nSubItem), row.top(), columnWidth(nSubItem), row.height());
}

QRect CCoolListCtrl::GetCellRect(int nItem, int nSubItem) const
{
    const QRect full = GetFullCellRect(nItem, nSubItem);
    return full.isNull() ? full : full.adjusted(1, 1, -1, -1);
}

void CCoolListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool selected = selectionModel() && selectionModel()->isRowSelected(index.row(), index.parent());
    const bool current = currentIndex().isValid() && currentIndex().row() == index.row();
    const CoolRowLook look = RowLookFor(hasFocus(), current, selected);

    painter->save();
    const QRect row(0, option.rect.top(), qMax(viewport()->width(), header()->length()), option.rect.height());
    painter->fillRect(row, look == CoolRowLook::Other ? QColor(Qt::white) : SelectedBackground());
    painter->setPen(GridColor());
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(row.adjusted(0, 0, -1, -1));

    painter->setFont(font());
    for (int column = 0; column < columnCount(); ++column) {
        if (isColumnHidden(column))
            continue;
        const QRect cell =
            QRect(columnViewportPosition(column), option.rect.top(), columnWidth(column), option.rect.height())
                .adjusted(1, 1, -1, -1);
        painter->setPen(GridColor());
        painter->drawRect(cell.adjusted(-1, -1, 0, 0));
        painter->setPen(look == CoolRowLook::Focused ? QColor(255, 0, 0) : QColor(Qt::black));
        const QString text = model()->index(index.row(), column, index.parent()).data().toString();
        painter->drawText(cell, Qt::AlignCenter | Qt::TextSingleLine,
                          painter->fontMetrics().elidedText(text, Qt::ElideRight, qMax(0, cell.width() - 4)));
    }
    painter->restore();
}

} // namespace Quenlit
