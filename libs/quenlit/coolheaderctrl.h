#pragma once

#include "quenlit_export.h"

#include <QHeaderView>
#include <QPolygon>

namespace Quenlit {

// The small triangle of the sorted column, 22 to 5 pixels from the section's right edge;
// it points up for an ascending sort.
QUENLIT_EXPORT QPolygon SortArrowPoints(const QRect& section, bool ascending);

// The list header of the panel: a bitmap band with bitmap ends per column, centred
// captions and a sort arrow on the sorted column.
class QUENLIT_EXPORT CCoolHeaderCtrl : public QHeaderView
{
    Q_OBJECT

public:
    explicit CCoolHeaderCtrl(QWidget* parent = nullptr);
    ~CCoolHeaderCtrl() override;

    // Column -1 shows no arrow.
    void SetSortArrow(int nColumn, bool bAscending);
    int SortColumn() const { return m_nSortColumn; }
    bool SortAscending() const { return m_bSortAscending; }
    // The height of the header's font, measured once.
    int CalcFontHeight();
    // The caption of a column as drawn in its present width.
    QString DisplayedText(int logicalIndex) const;

    void DrawItem(QPainter& dc, int logicalIndex, const QRect& rc);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_nFontHeight = 0;
    int m_nSortColumn = -1;
    bool m_bSortAscending = true;
};

} // namespace Quenlit
