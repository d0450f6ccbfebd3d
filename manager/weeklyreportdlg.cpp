#include "weeklyreportdlg.h"

#include "historylistctrl.h"
#include "historyrules.h"
#include "managerart.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>

#include <QLabel>
#include <QPainter>

using Quenlit::CCoolButton;
using Quenlit::CCoolGroupBox;

CWeeklyChartCtrl::CWeeklyChartCtrl(QWidget* parent)
    : QWidget(parent)
{
}

CWeeklyChartCtrl::~CWeeklyChartCtrl() = default;

void CWeeklyChartCtrl::SetDays(const QList<DayOnline>& days)
{
    m_days = days;
    update();
}

QList<WeeklyChartColumn> CWeeklyChartCtrl::Columns() const
{
    QList<qint64> seconds;
    for (const DayOnline& day : m_days)
        seconds.append(day.seconds);
    return LayoutWeeklyChart(seconds, rect(), fontMetrics().height());
}

void CWeeklyChartCtrl::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    const QList<WeeklyChartColumn> columns = Columns();
    const int base = WeeklyChartBaseLine(rect(), fontMetrics().height());
    dc.fillRect(QRect(0, base, width(), 1), kManagerGroupBorder);
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const WeeklyChartColumn& column = columns[i];
        const DayOnline& day = m_days[i];
        dc.fillRect(column.bar, BarColor());
        dc.setPen(Qt::black);
        dc.drawText(column.value, Qt::AlignCenter, OnlineTimeText(day.seconds));
        dc.drawText(column.date, Qt::AlignCenter, ChartDateText(day.date));
        dc.setPen(QColor(96, 96, 96));
        dc.drawText(column.weekday, Qt::AlignCenter, ChartWeekdayText(day.date));
    }
}

CWeeklyReportDlg::CWeeklyReportDlg(const WeeklyReport& report, QWidget* pParent)
    : CBeautifulDialog(pParent)
{
    SetWindowTextA(QStringLiteral("本周报告"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(QSize(560, 640));

    // The frames come first so that the controls they frame lie above them.
    auto* days = new CCoolGroupBox(this);
    days->SetText(QStringLiteral("最近七天每天的上网时间")).SetBorderColor(kManagerGroupBorder);
    PlaceInClient(days, QRect(12, 10, 536, 232));
    auto* hosts = new CCoolGroupBox(this);
    hosts->SetText(QStringLiteral("停留时间最长的网站 (前十名)")).SetBorderColor(kManagerGroupBorder);
    PlaceInClient(hosts, QRect(12, 252, 536, 336));

    m_chart = new CWeeklyChartCtrl(this);
    m_chart->SetDays(report.days);
    PlaceInClient(m_chart, QRect(24, 36, 512, 170));
    qint64 week = 0;
    for (const DayOnline& day : report.days)
        week += day.seconds;
    m_textTotal = new QLabel(QStringLiteral("七天上网时间合计: %1").arg(OnlineTimeText(week)), this);
    PlaceInClient(m_textTotal, QRect(24, 212, 512, 22));

    m_listHosts = new CHistoryListCtrl(this);
    m_listHosts->InsertColumn(0, QStringLiteral("名次"), 56);
    m_listHosts->InsertColumn(1, QStringLiteral("网站"), 302);
    m_listHosts->InsertColumn(2, QStringLiteral("停留时间合计"), 150);
    m_listHosts->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int listHeight = 2 + m_listHosts->HistoryHeader()->sizeHint().height()
        + kWeeklyReportHosts * CHistoryListCtrl::kRowHeight;
    PlaceInClient(m_listHosts, QRect(24, 278, 512, listHeight));
    for (qsizetype i = 0; i < report.hosts.size(); ++i) {
        const int row = m_listHosts->InsertItem(static_cast<int>(i), QString::number(i + 1));
        m_listHosts->SetItemText(row, 1, report.hosts[i].host);
        m_listHosts->SetItemText(row, 2, DurationText(report.hosts[i].seconds));
    }
    // Stays in tabs open side by side are each counted whole.
    auto* note = new QLabel(QStringLiteral("同时打开几个网页时，各网页的停留时间都会计入，合计可能比上网时间长。"), this);
    QPalette quiet = note->palette();
    quiet.setColor(QPalette::WindowText, QColor(110, 110, 110));
    note->setPalette(quiet);
    PlaceInClient(note, QRect(24, 284 + listHeight, 512, 22));

    m_btnClose = new CCoolButton(QStringLiteral("关闭"), this);
    PlaceInClient(m_btnClose, QRect(464, 600, 84, 28));
    connect(m_btnClose, &QAbstractButton::clicked, this, &QDialog::accept);
    // A focused list would show its first row as chosen, as if it stood out.
    m_btnClose->setFocus();
}

CWeeklyReportDlg::~CWeeklyReportDlg() = default;
