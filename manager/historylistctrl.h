#pragma once

#include "coolheaderctrl.h"
#include "coollistctrl.h"

// How a row of the history list is drawn.
struct HistoryRowLook {
    QColor background;
    QColor text;
    bool frame = false; // a thin frame around the whole row

    bool operator==(const HistoryRowLook&) const = default;
};
// While the list has the focus: the current row light with red text and framed, other
// selected rows light with red text, the rest white with black text. Without the focus
// every row is white with black text.
HistoryRowLook HistoryRowLookFor(bool listHasFocus, bool isCurrentRow, bool isSelected);

// Where a cell's text goes: inside its right and bottom lines, a little off the left one.
QRect HistoryCellTextRect(const QRect& cell);

// The pieces of one header section: the caption's rectangle (2 pixels inside the section
// and 20 more off its right side, room for a sort arrow), and the shadow and the line that
// mark the section's right edge.
struct HistoryHeaderSection {
    QRect text;
    QRect shade;
    QRect line;
};
HistoryHeaderSection LayoutHistoryHeaderSection(const QRect& section);
// The header is as tall as a line of its own font plus 5 pixels.
int HistoryHeaderHeight(int fontHeight);

// The history list's header: a stretched background bitmap, a shadow and a line at each
// column edge, and centred captions in a small face of their own.
class CHistoryHeaderCtrl : public CCoolHeaderCtrl
{
    Q_OBJECT

public:
    explicit CHistoryHeaderCtrl(QWidget* parent = nullptr);
    ~CHistoryHeaderCtrl() override;

    QFont CaptionFont() const { return m_captionFont; }
    // The caption of a column as drawn in its present width.
    QString CaptionText(int logicalIndex) const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont m_captionFont;
};

// The history page's list: 25-pixel owner-drawn rows, left-aligned texts with light cell
// lines, and a header that never sorts.
class CHistoryListCtrl : public CCoolListCtrl
{
    Q_OBJECT

public:
    explicit CHistoryListCtrl(QWidget* parent = nullptr);
    ~CHistoryListCtrl() override;

    static constexpr int kRowHeight = 25;
    static QColor CellLineColor() { return QColor(189, 212, 230); }
    static QColor RowFrameColor() { return QColor(87, 117, 159); }
    static QColor LightRowBackground() { return QColor(231, 240, 245); }

    CHistoryHeaderCtrl* HistoryHeader() const { return m_pHistoryHeader; }
    // The look a row gets now.
    HistoryRowLook RowLook(int nItem) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CHistoryHeaderCtrl* m_pHistoryHeader;
};
