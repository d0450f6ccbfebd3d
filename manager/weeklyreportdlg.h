#pragma once

#include "weeklychart.h"
#include "weeklyreport.h"

#include <quenlit/beautifuldialog.h>

#include <QColor>
#include <QWidget>

class CHistoryListCtrl;
class QLabel;

namespace Quenlit {
class CCoolButton;
} // namespace Quenlit

// The bars of the seven days' time online, each with its time above it and its date and
// weekday below; LayoutWeeklyChart places them.
class CWeeklyChartCtrl : public QWidget
{
    Q_OBJECT

public:
    explicit CWeeklyChartCtrl(QWidget* parent = nullptr);
    ~CWeeklyChartCtrl() override;

    static QColor BarColor() { return QColor(58, 142, 230); }

    void SetDays(const QList<DayOnline>& days);
    const QList<DayOnline>& Days() const { return m_days; }
    // The layout for the control's present size, as it is painted.
    QList<WeeklyChartColumn> Columns() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<DayOnline> m_days;
};

// "本周报告": the last seven days' time online as a bar chart and the ten hosts with the
// most time, which the list names as the sum of the stays there.
class CWeeklyReportDlg : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CWeeklyReportDlg(const WeeklyReport& report, QWidget* pParent = nullptr);
    ~CWeeklyReportDlg() override;

    CWeeklyChartCtrl* m_chart;
    QLabel* m_textTotal;
    CHistoryListCtrl* m_listHosts;
    Quenlit::CCoolButton* m_btnClose;
};
