#include "historypropertypage.h"

#include "cppsqliteexception.h"
#include "historylistctrl.h"
#include "historyrules.h"
#include "managerdata.h"
#include "managerids.h"
#include "messagebox.h"
#include "pagecontrols.h"
#include "settingsrules.h"
#include "weeklyreportdlg.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>

#include <QDesktopServices>
#include <QShortcut>
#include <QScrollBar>
#include <QShowEvent>

#include <exception>

namespace {

constexpr int kRecordedAddressRole = Qt::UserRole;

QString reasonOf(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const CppSQLiteException*>(&e))
        return db->errorMessage();
    return QString::fromUtf8(e.what());
}

} // namespace

CHistoryPropertyPage::CHistoryPropertyPage(QWidget* parent)
    : CPanelPage(ManagerId::kHistoryPage, parent)
{
    m_listHistory = new CHistoryListCtrl(this);
    m_listHistory->InsertColumn(0, QStringLiteral("登陆时间"), 150);
    m_listHistory->InsertColumn(1, QStringLiteral("登陆站点"), 415);
    m_listHistory->InsertColumn(2, QStringLiteral("停留时间"), 80);
    m_listHistory->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Room for a whole page of rows under the header, inside the one-pixel border.
    const int listHeight = 2 + m_listHistory->HistoryHeader()->sizeHint().height()
        + kHistoryPageSize * CHistoryListCtrl::kRowHeight;
    m_listHistory->setGeometry(16, 14, 648, listHeight);

    const int y = 14 + listHeight + 12;
    m_btnPrev = AddPageButton(this, QStringLiteral("上一页"), QRect(16, y, 76, 28));
    m_btnNext = AddPageButton(this, QStringLiteral("下一页"), QRect(98, y, 76, 28));
    AddPageText(this, QStringLiteral("页码:"), QRect(186, y, 42, 28), Qt::AlignRight | Qt::AlignVCenter);
    m_editPage = AddPageEdit(this, QRect(232, y, 54, 28));
    m_btnGoTo = AddPageButton(this, QStringLiteral("跳转"), QRect(292, y, 60, 28));
    AddPageText(this, QStringLiteral("总页数:"), QRect(358, y, 56, 28), Qt::AlignRight | Qt::AlignVCenter);
    m_editPageCount = AddPageEdit(this, QRect(418, y, 56, 28));
    m_editPageCount->setReadOnly(true);
    m_btnReport = AddPageButton(this, QStringLiteral("本周报告"), QRect(486, y, 72, 28));
    m_btnClear = AddPageButton(this, QStringLiteral("清除历史记录"), QRect(564, y, 100, 28));

    connect(m_btnPrev, &QAbstractButton::clicked, this, &CHistoryPropertyPage::OnPrevPage);
    connect(m_btnNext, &QAbstractButton::clicked, this, &CHistoryPropertyPage::OnNextPage);
    connect(m_btnGoTo, &QAbstractButton::clicked, this, &CHistoryPropertyPage::OnGoToPage);
    connect(m_editPage, &QLineEdit::returnPressed, this, &CHistoryPropertyPage::OnGoToPage);
    connect(m_btnReport, &QAbstractButton::clicked, this, &CHistoryPropertyPage::OnWeeklyReport);
    connect(m_btnClear, &QAbstractButton::clicked, this, &CHistoryPropertyPage::OnClearHistory);
    connect(m_listHistory, &QAbstractItemView::doubleClicked, this, &CHistoryPropertyPage::OnListDoubleClicked);
    // Enter on a chosen row opens its address, as a double-click on the address does.
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* open = new QShortcut(QKeySequence(key), m_listHistory, nullptr, nullptr, Qt::WidgetShortcut);
        connect(open, &QShortcut::activated, this, [this] {
            const int row = m_listHistory->currentIndex().row();
            if (row >= 0)
                OnListDoubleClicked(m_listHistory->model()->index(row, 1));
        });
    }

    Refresh();
}

CHistoryPropertyPage::~CHistoryPropertyPage() = default;

void CHistoryPropertyPage::showReadFailure(const QString& what, const QString& reason)
{
    showMessage(this, QStringLiteral("%1\n%2").arg(what, reason), QStringLiteral("错误"), MsgIcon::Error);
}

bool CHistoryPropertyPage::Refresh()
{
    ManagerData::SetPageSize(kHistoryPageSize);
    int pageCount = 0;
    QList<HistoryRecord> rows;
    try {
        pageCount = ManagerData::GetHistoryPageCount();
        m_nCurrentPage = ClampPage(m_nCurrentPage, pageCount);
        ManagerData::GetHistoryPage(m_nCurrentPage, rows);
    } catch (const std::exception& e) {
        // Nothing stale stays on show: the list is empty and no paging button invites a retry
        // that cannot work, but the page number is kept for when the database is back.
        m_listHistory->DeleteAllItems();
        m_editPageCount->clear();
        m_editPage->setText(QString::number(m_nCurrentPage));
        m_btnNext->setEnabled(false);
        m_btnPrev->setEnabled(false);
        showReadFailure(QStringLiteral("读取上网记录失败!"), reasonOf(e));
        return false;
    }

    m_editPageCount->setText(QString::number(pageCount));
    m_editPage->setText(QString::number(m_nCurrentPage));
    // The count just read decides both buttons; counting the table again could only disagree.
    m_btnNext->setEnabled(m_nCurrentPage < pageCount);
    m_btnPrev->setEnabled(m_nCurrentPage > 1);

    m_listHistory->DeleteAllItems();
    for (const HistoryRecord& record : rows) {
        const int row = m_listHistory->InsertItem(m_listHistory->GetItemCount(), record.m_strBeginTime);
        m_listHistory->SetItemText(row, 1, VisibleAddressText(record.m_strVisitUrl));
        m_listHistory->SetItemText(row, 2, DurationText(record.m_strDelayTime));
        QTreeWidgetItem* item = m_listHistory->topLevelItem(row);
        // The cell shows direction marks written out; opening the row uses the address as recorded.
        item->setData(1, kRecordedAddressRole, record.m_strVisitUrl);
        // A long address is cut in its cell; more of it shows on hovering.
        item->setToolTip(1, AddressToolTip(record.m_strVisitUrl));
    }
    m_listHistory->verticalScrollBar()->setValue(0);
    return true;
}

void CHistoryPropertyPage::OnPrevPage()
{
    --m_nCurrentPage;
    Refresh();
}

void CHistoryPropertyPage::OnNextPage()
{
    ++m_nCurrentPage;
    Refresh();
}

void CHistoryPropertyPage::OnGoToPage()
{
    m_nCurrentPage = LeadingDecimalInt(m_editPage->text());
    Refresh();
}

void CHistoryPropertyPage::OnClearHistory()
{
    // One click would lose the parents' whole record: ask first.
    if (showMessage(this, QStringLiteral("确定要清除全部上网记录吗?"), QStringLiteral("询问"), MsgIcon::Question,
                    MsgButtons::YesNo)
        != MsgResult::Yes)
        return;
    try {
        ManagerData::ClearHistory();
    } catch (const std::exception& e) {
        showReadFailure(QStringLiteral("清除上网记录失败!"), reasonOf(e));
        Refresh();
        return;
    }
    if (Refresh())
        showMessage(this, QStringLiteral("上网记录已经全部清除。"), QStringLiteral("提醒"), MsgIcon::Information);
}

void CHistoryPropertyPage::OnWeeklyReport()
{
    WeeklyReport report;
    try {
        report = ManagerData::GetWeeklyReport(QDate::currentDate());
    } catch (const std::exception& e) {
        showReadFailure(QStringLiteral("读取本周报告失败!"), reasonOf(e));
        return;
    }
    CWeeklyReportDlg dlg(report, this);
    dlg.exec();
}

void CHistoryPropertyPage::showEvent(QShowEvent* event)
{
    CPanelPage::showEvent(event);
    // The browser may have recorded rows since the page was last on show.
    if (!event->spontaneous())
        Refresh();
}

void CHistoryPropertyPage::OnListDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid() || index.column() != 1)
        return;
    const QUrl url = WebAddressToOpen(m_listHistory->topLevelItem(index.row())->data(1, kRecordedAddressRole).toString());
    if (url.isEmpty())
        return;
    if (!QDesktopServices::openUrl(url))
        showMessage(this, QStringLiteral("无法用系统的浏览器打开这个地址:\n%1").arg(url.toString()),
                    QStringLiteral("提醒"), MsgIcon::Information);
}
