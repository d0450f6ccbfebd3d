#pragma once

#include "historyrules.h"

#include <quenlit/coolheaderctrl.h>
#include <quenlit/coollistctrl.h>

// The history list's header: a stretched background bitmap, a shadow and a line at each
// column edge, and centred captions in a small face of their own.
class CHistoryHeaderCtrl : public Quenlit::CCoolHeaderCtrl
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
class CHistoryListCtrl : public Quenlit::CCoolListCtrl
{
    Q_OBJECT

public:
    explicit CHistoryListCtrl(QWidget* parent = nullptr);
    ~CHistoryListCtrl() override;

    static constexpr int kRowHeight = 25;
    static QColor CellLineColor() { return QColor(189, 212, 230); }
    static QColor RowFrameColor() { return QColor(87, 117, 159); }
    static QColor LightRowBackground() { return kHistoryLightRowBackground; }

    CHistoryHeaderCtrl* HistoryHeader() const { return m_pHistoryHeader; }
    // The look a row gets now.
    HistoryRowLook RowLook(int nItem) const;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CHistoryHeaderCtrl* m_pHistoryHeader;
};
