#pragma once

#include "quenlit_export.h"

#include "coollistctrl.h"

#include <QColor>
#include <QList>
#include <QPixmap>
#include <QRect>
#include <QTreeWidget>

class QFontMetrics;

namespace Quenlit {

class CCoolHeaderCtrl;

// Where everything of one row of the recommended-sites list goes, for a row rectangle and
// the widths of the columns in their logical order. Paint and the tests share it.
struct QUENLIT_EXPORT RecommentRowLayout
{
    QRect row;                // the whole row, outlined
    QList<QRect> fullCells;   // each cell with its grid lines
    QList<QRect> cells;       // each cell inside its grid lines
    QRect pictureFrame;       // the 2-pixel outline around the picture box
    QRect pictureBox;         // cell 0 shrunk by 10: the white rounded box
    QRect picture;            // the box shrunk by 3 more: the picture is stretched over it
    QList<QRect> textRects;   // where each text column's text is centred; null for column 0
};

// A rectangle shrunk by `by` on every side; it never turns inside out (an empty rectangle
// stays at the middle of the original).
QUENLIT_EXPORT QRect ShrinkRect(const QRect& rect, int by);

QUENLIT_EXPORT RecommentRowLayout LayoutRecommentRow(const QRect& row, const QList<int>& columnWidths);

// The ground and text colours of a row in one of its four looks.
QUENLIT_EXPORT QColor RecommentRowBackground(CoolRowLook look);
QUENLIT_EXPORT QColor RecommentRowTextColor(CoolRowLook look);

// A cell's text as drawn: on one line (breaks turn into spaces), cut with an ellipsis when
// wider than `width`. Never read as markup.
QUENLIT_EXPORT QString RecommentCellText(const QFontMetrics& metrics, const QString& text, int width);

// The control panel's list of recommended sites: 100-pixel rows, the site's snapshot in a
// framed rounded box in column 0, centred texts in the other columns, and the database key
// of each site kept with its row.
class QUENLIT_EXPORT CViewRecommentListCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    // What each row keeps beside its texts.
    struct ItemDataType
    {
        int m_dwDataBaseIndex = -1;
        QPixmap m_bmpPicture; // null when the file did not load
    };

    explicit CViewRecommentListCtrl(QWidget* parent = nullptr);
    ~CViewRecommentListCtrl() override;

    CCoolHeaderCtrl* HeaderCtrl() const { return m_pHeader; }

    // Inserts a column before `column` (at the end when out of range); returns its index.
    int InsertColumn(int column, const QString& text, int width);
    // Inserts a row before `row` (appended when past the end) whose first-column text is the
    // picture's path, loads the picture once and keeps the database key; returns the row's
    // index, or -1 for a negative index. A picture that does not load leaves the box empty.
    int InsertItem(int row, const QString& picturePath, int databaseId);
    bool SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;
    // The text of a cell as it is drawn in the cell's present width.
    QString DisplayedText(int row, int column) const;
    // -1 outside the list.
    int GetDataBaseIndex(int row) const;
    // Whether the row has a picture that loaded.
    bool HasPicture(int row) const;
    // False, and nothing changes, for an index outside the list.
    bool DeleteItem(int row);
    void DeleteAllItems();
    int GetItemCount() const { return topLevelItemCount(); }
    // -1 when no row is selected.
    int GetFirstSelectedRow() const;

    void SetItemHeight(int height);
    int ItemHeight() const { return m_nItemHeight; }

    // Shows the sort arrow in the header; the rows keep their order.
    void Sort(int column, bool ascending);
    int SortColumn() const { return m_nSortColumn; }
    bool SortAscending() const { return m_bSortAscending; }

    // The row's rectangles in viewport coordinates; empty for a row outside the list.
    RecommentRowLayout RowLayout(int row) const;
    CoolRowLook RowLook(int row) const;

    static QColor GridColor() { return QColor(87, 117, 159); }
    static QColor BorderColor() { return QColor(107, 141, 162); }
    static QColor SelectedBackground() { return QColor(231, 241, 245); }

signals:
    // A left click in the list, once the selection has followed it: the selected row, -1
    // when the click hit no row (a click beside the rows clears the selection).
    void itemClicked(int row);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const ItemDataType* ItemData(int row) const;
    QList<int> ColumnWidths() const;
    RecommentRowLayout LayoutAt(int top, int height) const;

    CCoolHeaderCtrl* m_pHeader;
    bool m_bLeftPressed = false;
    int m_nItemHeight = 100;
    int m_nSortColumn = -1;
    bool m_bSortAscending = true;
};

} // namespace Quenlit
