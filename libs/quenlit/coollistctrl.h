#pragma once

#include "quenlit_export.h"

#include <QTreeWidget>

namespace Quenlit {

class CCoolHeaderCtrl;

// How a row of the panel's lists is drawn.
enum class CoolRowLook {
    Focused,           // the current row of the focused list: light ground, red text
    Selected,          // another selected row of the focused list: light ground
    SelectedUnfocused, // a selected row while the list has no focus: light ground
    Other,             // white ground
};
QUENLIT_EXPORT CoolRowLook RowLookFor(bool listHasFocus, bool isCurrentRow, bool isSelected);

// The panel's report list: fixed-height owner-drawn rows with grid lines, text centred in
// its cells, a CCoolHeaderCtrl for its header; a click on a column header sorts by it.
class QUENLIT_EXPORT CCoolListCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CCoolListCtrl(QWidget* parent = nullptr);
    ~CCoolListCtrl() override;

    CCoolHeaderCtrl* HeaderCtrl() const { return m_pHeader; }

    int InsertColumn(int nCol, const QString& heading, int nWidth);
    // Inserts a row before `nItem` (at the end when out of range); returns its index.
    int InsertItem(int nItem, const QString& text);
    bool SetItemText(int nItem, int nSubItem, const QString& text);
    QString GetItemText(int nItem, int nSubItem) const;
    // False for an index outside the list.
    bool DeleteItem(int nItem);
    void DeleteAllItems();
    int GetItemCount() const { return topLevelItemCount(); }

    void SetItemHeight(int nHeight);
    int ItemHeight() const { return m_nItemHeight; }

    // Sorts the rows by a column's text and shows the arrow in the header.
    void Sort(int nColumn, bool bAscending);
    int SortColumn() const { return m_nSortColumn; }
    bool SortAscending() const { return m_bSortAscending; }
    // Numbers by value, other texts by the locale's order.
    static int CompareFunction(const QString& left, const QString& right);

    // The cell inside its grid lines, and the cell with them, in viewport coordinates.
    QRect GetCellRect(int nItem, int nSubItem) const;
    QRect GetFullCellRect(int nItem, int nSubItem) const;

    static QColor GridColor() { return QColor(87, 117, 159); }
    static QColor SelectedBackground() { return QColor(231, 241, 245); }

protected:
    // For a list that brings a header of its own kind; the list takes it over.
    CCoolListCtrl(CCoolHeaderCtrl* header, QWidget* parent);

    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void OnColumnClick(int nColumn);

private:
    CCoolHeaderCtrl* m_pHeader;
    int m_nItemHeight = 25;
    int m_nSortColumn = -1;
    bool m_bSortAscending = true;
};

} // namespace Quenlit
