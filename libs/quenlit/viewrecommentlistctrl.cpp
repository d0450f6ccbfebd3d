#include "viewrecommentlistctrl.h"

#include "coolheaderctrl.h"
#include "quenlitbitmaps.h"
#include "quenlitlog.h"

#include <QFontMetrics>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace Quenlit {

namespace {

constexpr int kPictureBoxMargin = 10;
constexpr int kPictureInset = 3;
constexpr int kPictureCorner = 5;
constexpr int kTextPadding = 2;
constexpr int kRowItemType = QTreeWidgetItem::UserType + 62;
const QChar kEllipsis(0x2026);

class RowItem : public QTreeWidgetItem
{
public:
    RowItem()
        : QTreeWidgetItem(kRowItemType)
    {
    }
    CViewRecommentListCtrl::ItemDataType data;
};

// Every row is as high as the list says; texts are never measured for it (they may be long).
class RowHeightDelegate : public QStyledItemDelegate
{
public:
    explicit RowHeightDelegate(CViewRecommentListCtrl* list)
        : QStyledItemDelegate(list)
        , m_list(list)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return QSize(m_list->columnWidth(index.column()), m_list->ItemHeight());
    }

private:
    const CViewRecommentListCtrl* m_list;
};

QPixmap loadPicture(const QString& path)
{
    if (path.isEmpty()) {
        qCWarning(lcSkin) << "site row without a picture file";
        return QPixmap();
    }
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        qCWarning(lcSkin).noquote()
            << "cannot load the site picture" << path << "-" << reader.errorString();
        return QPixmap();
    }
    return QPixmap::fromImage(image);
}

bool breaksLine(QChar c)
{
    // U+009C would be read by the eliding as a separator of alternative texts.
    return c == u'\n' || c == u'\r' || c == u'\t' || c == QChar(0x2028) || c == QChar(0x2029)
        || c == QChar(0x009c);
}

} // namespace

QRect ShrinkRect(const QRect& rect, int by)
{
    const int dx = qMin(by, rect.width() / 2);
    const int dy = qMin(by, rect.height() / 2);
    return QRect(rect.left() + dx, rect.top() + dy, qMax(0, rect.width() - 2 * by),
                 qMax(0, rect.height() - 2 * by));
}

RecommentRowLayout LayoutRecommentRow(const QRect& row, const QList<int>& columnWidths)
{
    RecommentRowLayout layout;
    int left = row.left();
    for (int width : columnWidths) {
        width = qMax(0, width);
        const QRect full(left, row.top(), width, row.height());
        layout.fullCells << full;
        layout.cells << ShrinkRect(full, 1);
        left += width;
    }
    layout.row = QRect(row.left(), row.top(), left - row.left(), row.height());
    for (int column = 0; column < layout.cells.size(); ++column) {
        if (column == 0) {
            layout.textRects << QRect();
            continue;
        }
        const QRect& cell = layout.cells[column];
        layout.textRects << QRect(cell.left() + qMin(kTextPadding, cell.width() / 2), cell.top(),
                                  qMax(0, cell.width() - 2 * kTextPadding), cell.height());
    }
    if (!layout.cells.isEmpty()) {
        layout.pictureBox = ShrinkRect(layout.cells[0], kPictureBoxMargin);
        if (!layout.pictureBox.isEmpty()) {
            layout.pictureFrame = layout.pictureBox.adjusted(-1, -1, 1, 1);
            layout.picture = ShrinkRect(layout.pictureBox, kPictureInset);
        }
    }
    return layout;
}

QColor RecommentRowBackground(CoolRowLook look)
{
    return look == CoolRowLook::Other ? QColor(Qt::white) : CViewRecommentListCtrl::SelectedBackground();
}

QColor RecommentRowTextColor(CoolRowLook look)
{
    return look == CoolRowLook::Focused ? QColor(255, 0, 0) : QColor(0, 0, 0);
}

QString RecommentCellText(const QFontMetrics& metrics, const QString& text, int width)
{
    if (width <= 0)
        return QString();
    // A text far wider than the cell is cut before it is measured, so that a huge one costs
    // no more than a cell's worth of glyphs.
    const qsizetype limit = 2 * qsizetype(width) + 64;
    QString line = text.left(limit + 1);
    const bool cut = line.size() > limit;
    if (cut) {
        line.truncate(limit);
        if (line.back().isHighSurrogate())
            line.chop(1);
    }
    for (QChar& c : line) {
        if (breaksLine(c))
            c = u' ';
    }
    QString shown = metrics.elidedText(line, Qt::ElideRight, width);
    if (cut && !shown.endsWith(kEllipsis)) {
        // The part kept fitted whole (glyphs without width): the ellipsis still says it goes on.
        while (!shown.isEmpty() && metrics.horizontalAdvance(shown + kEllipsis) > width)
            shown.chop(shown.size() > 1 && shown.back().isLowSurrogate() ? 2 : 1);
        shown += kEllipsis;
    }
    return shown;
}

CViewRecommentListCtrl::CViewRecommentListCtrl(QWidget* parent)
    : QTreeWidget(parent)
    , m_pHeader(new CCoolHeaderCtrl)
{
    setHeader(m_pHeader);
    setRootIsDecorated(false);
    setIndentation(0);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setAllColumnsShowFocus(true);
    setItemDelegate(new RowHeightDelegate(this));
    setColumnCount(0);
    setFrameShape(QFrame::Box);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, BorderColor());
    setPalette(pal);
    m_pHeader->setStretchLastSection(false);
    // Cells are laid out in the columns' own order, so the header must keep it.
    m_pHeader->setSectionsMovable(false);
}

CViewRecommentListCtrl::~CViewRecommentListCtrl() = default;

int CViewRecommentListCtrl::InsertColumn(int column, const QString& text, int width)
{
    const int count = columnCount();
    const int at = (column < 0 || column > count) ? count : column;
    QStringList labels;
    QList<int> widths;
    for (int i = 0; i < count; ++i) {
        labels << headerItem()->text(i);
        widths << columnWidth(i);
    }
    labels.insert(at, text);
    widths.insert(at, qMax(0, width));
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

int CViewRecommentListCtrl::InsertItem(int row, const QString& picturePath, int databaseId)
{
    if (row < 0) {
        qCWarning(lcSkin) << "refused a site row at index" << row;
        return -1;
    }
    const int at = qMin(row, topLevelItemCount());
    auto* item = new RowItem;
    item->data.m_dwDataBaseIndex = databaseId;
    item->data.m_bmpPicture = loadPicture(picturePath);
    if (columnCount() > 0)
        item->setText(0, picturePath);
    insertTopLevelItem(at, item);
    return at;
}

bool CViewRecommentListCtrl::SetItemText(int row, int column, const QString& text)
{
    QTreeWidgetItem* item = topLevelItem(row);
    if (!item || column < 0 || column >= columnCount())
        return false;
    item->setText(column, text);
    return true;
}

QString CViewRecommentListCtrl::GetItemText(int row, int column) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item && column >= 0 && column < columnCount() ? item->text(column) : QString();
}

QString CViewRecommentListCtrl::DisplayedText(int row, int column) const
{
    const RecommentRowLayout layout = RowLayout(row);
    if (column <= 0 || column >= layout.textRects.size())
        return QString();
    return RecommentCellText(fontMetrics(), GetItemText(row, column), layout.textRects[column].width());
}

const CViewRecommentListCtrl::ItemDataType* CViewRecommentListCtrl::ItemData(int row) const
{
    const QTreeWidgetItem* item = row >= 0 ? topLevelItem(row) : nullptr;
    if (!item || item->type() != kRowItemType)
        return nullptr;
    return &static_cast<const RowItem*>(item)->data;
}

int CViewRecommentListCtrl::GetDataBaseIndex(int row) const
{
    const ItemDataType* data = ItemData(row);
    return data ? data->m_dwDataBaseIndex : -1;
}

bool CViewRecommentListCtrl::HasPicture(int row) const
{
    const ItemDataType* data = ItemData(row);
    return data && !data->m_bmpPicture.isNull();
}

bool CViewRecommentListCtrl::DeleteItem(int row)
{
    if (row < 0 || row >= topLevelItemCount())
        return false;
    delete takeTopLevelItem(row);
    return true;
}

void CViewRecommentListCtrl::DeleteAllItems()
{
    clear();
}

int CViewRecommentListCtrl::GetFirstSelectedRow() const
{
    if (!selectionModel())
        return -1;
    int first = -1;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

void CViewRecommentListCtrl::SetItemHeight(int height)
{
    if (height <= 0)
        return;
    m_nItemHeight = height;
    // The rows are measured anew with the new height.
    doItemsLayout();
    viewport()->update();
}

void CViewRecommentListCtrl::Sort(int column, bool ascending)
{
    m_nSortColumn = column;
    m_bSortAscending = ascending;
    m_pHeader->SetSortArrow(column, ascending);
}

QList<int> CViewRecommentListCtrl::ColumnWidths() const
{
    QList<int> widths;
    for (int i = 0; i < m_pHeader->count(); ++i)
        widths << (m_pHeader->isSectionHidden(i) ? 0 : m_pHeader->sectionSize(i));
    return widths;
}

RecommentRowLayout CViewRecommentListCtrl::LayoutAt(int top, int height) const
{
    return LayoutRecommentRow(QRect(-m_pHeader->offset(), top, 0, height), ColumnWidths());
}

RecommentRowLayout CViewRecommentListCtrl::RowLayout(int row) const
{
    const QTreeWidgetItem* item = row >= 0 ? topLevelItem(row) : nullptr;
    if (!item)
        return RecommentRowLayout();
    const QRect rect = visualItemRect(item);
    if (rect.isNull())
        return RecommentRowLayout();
    return LayoutAt(rect.top(), rect.height());
}

CoolRowLook CViewRecommentListCtrl::RowLook(int row) const
{
    const bool selected = selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
    const bool current = currentIndex().isValid() && currentIndex().row() == row;
    return RowLookFor(hasFocus(), current, selected);
}

void CViewRecommentListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const RecommentRowLayout layout = LayoutAt(option.rect.top(), option.rect.height());
    const CoolRowLook look = RowLook(index.row());

    painter->save();
    painter->fillRect(layout.row, RecommentRowBackground(look));
    painter->setBrush(Qt::NoBrush);
    painter->setPen(GridColor());
    if (!layout.row.isEmpty())
        painter->drawRect(layout.row.adjusted(0, 0, -1, -1));
    for (const QRect& full : layout.fullCells) {
        if (!full.isEmpty())
            painter->drawRect(full.adjusted(0, 0, -1, -1));
    }

    if (!layout.pictureBox.isEmpty()) {
        painter->fillRect(layout.pictureFrame, GridColor());
        for (const QRect& r : RoundRectRegion(layout.pictureBox, kPictureCorner, kPictureCorner))
            painter->fillRect(r, Qt::white);
        const ItemDataType* data = ItemData(index.row());
        if (data && !data->m_bmpPicture.isNull() && !layout.picture.isEmpty()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawPixmap(layout.picture, data->m_bmpPicture);
        }
    }

    painter->setFont(font());
    painter->setPen(RecommentRowTextColor(look));
    const QFontMetrics metrics = painter->fontMetrics();
    for (int column = 1; column < layout.textRects.size(); ++column) {
        const QRect& rect = layout.textRects[column];
        if (rect.isEmpty())
            continue;
        const QString text = RecommentCellText(metrics, model()->index(index.row(), column).data().toString(),
                                               rect.width());
        painter->drawText(rect, Qt::AlignCenter | Qt::TextSingleLine, text);
    }
    painter->restore();
}

void CViewRecommentListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    // A click beside the rows leaves none selected, so what is selected is what was clicked.
    if (!indexAt(event->position().toPoint()).isValid() && selectionModel())
        selectionModel()->clear();
    if (event->button() == Qt::LeftButton)
        m_bLeftPressed = true;
}

void CViewRecommentListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && m_bLeftPressed) {
        m_bLeftPressed = false;
        emit itemClicked(GetFirstSelectedRow());
    }
}

void CViewRecommentListCtrl::focusInEvent(QFocusEvent* event)
{
    const bool hadCurrent = currentIndex().isValid();
    QTreeWidget::focusInEvent(event);
    // The view makes the first row current when it gets the focus; that row would then look
    // focused although nothing was picked.
    if (!hadCurrent && currentIndex().isValid() && selectionModel())
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    // Every selected row changes its look with the focus, not only the current one.
    viewport()->update();
}

void CViewRecommentListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTreeWidget::focusOutEvent(event);
    viewport()->update();
}

} // namespace Quenlit
