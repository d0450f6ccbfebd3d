#include "parentrecommentpropertypage.h"

#include "addsitedlg.h"
#include "editsitedlg.h"
#include "historyrules.h"
#include "managerart.h"
#include "managerdata.h"
#include "managerids.h"
#include "managerlog.h"
#include "messagebox.h"
#include "pagecontrols.h"
#include "paths.h"
#include "settingsrules.h"
#include "siterequests.h"
#include "siterequestsdlg.h"
#include "siterules.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/viewrecommentlistctrl.h>

#include <QFile>
#include <QScrollBar>
#include <QShowEvent>

#include <exception>

using Quenlit::CCoolGroupBox;
using Quenlit::CViewRecommentListCtrl;

namespace {

CCoolGroupBox* addGroup(QWidget* page, const QString& text, const QRect& rect)
{
    auto* group = new CCoolGroupBox(page);
    group->SetText(text).SetBorderColor(kManagerGroupBorder);
    group->setGeometry(rect);
    return group;
}

} // namespace

CParentRecommentPropertyPage::CParentRecommentPropertyPage(QWidget* parent)
    : CPanelPage(ManagerId::kRecommendPage, parent)
{
    // The frames come first so that the controls they frame lie above them.
    m_groupResult = addGroup(this, QStringLiteral("结果:"), QRect(12, 8, 656, 396));
    m_groupActions = addGroup(this, QStringLiteral("操作:"), QRect(12, 412, 656, 68));

    m_listSites = new CViewRecommentListCtrl(this);
    m_listSites->InsertColumn(0, QStringLiteral("站点预览"), 150);
    m_listSites->InsertColumn(1, QStringLiteral("网站名称"), 200);
    m_listSites->InsertColumn(2, QStringLiteral("网站URL地址"), 280);
    m_listSites->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listSites->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_listSites->setGeometry(24, 32, 632, 318);

    const int y = 362;
    m_btnPrev = AddPageButton(this, QStringLiteral("上一页"), QRect(24, y, 76, 28));
    m_btnNext = AddPageButton(this, QStringLiteral("下一页"), QRect(106, y, 76, 28));
    AddPageText(this, QStringLiteral("页码:"), QRect(194, y, 42, 28), Qt::AlignRight | Qt::AlignVCenter);
    m_editPage = AddPageEdit(this, QRect(240, y, 54, 28));
    m_btnGoTo = AddPageButton(this, QStringLiteral("跳转"), QRect(300, y, 60, 28));
    AddPageText(this, QStringLiteral("总页数:"), QRect(370, y, 56, 28), Qt::AlignRight | Qt::AlignVCenter);
    m_editPageCount = AddPageEdit(this, QRect(430, y, 60, 28));
    m_editPageCount->setReadOnly(true);

    m_btnAdd = AddPageButton(this, QStringLiteral("添加推荐"), QRect(40, 436, 110, 30));
    m_btnEdit = AddPageButton(this, QStringLiteral("编辑推荐"), QRect(166, 436, 110, 30));
    m_btnDelete = AddPageButton(this, QStringLiteral("删除推荐"), QRect(292, 436, 110, 30));
    m_btnRequests = AddPageButton(this, QStringLiteral("孩子的请求"), QRect(468, 436, 170, 30));
    m_btnEdit->setEnabled(false);
    m_btnDelete->setEnabled(false);

    connect(m_btnPrev, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnPrevPage);
    connect(m_btnNext, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnNextPage);
    connect(m_btnGoTo, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnGoToPage);
    connect(m_editPage, &QLineEdit::returnPressed, this, &CParentRecommentPropertyPage::OnGoToPage);
    connect(m_listSites, &CViewRecommentListCtrl::itemClicked, this, &CParentRecommentPropertyPage::OnListClicked);
    connect(m_btnAdd, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnAddSite);
    connect(m_btnEdit, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnEditSite);
    connect(m_btnDelete, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnDeleteSite);
    connect(m_btnRequests, &QAbstractButton::clicked, this, &CParentRecommentPropertyPage::OnRequests);

    ManagerData::SetDataBasePath(GetDataBasePathName());
    Refresh();
    RefreshRequestCount();
}

CParentRecommentPropertyPage::~CParentRecommentPropertyPage() = default;

void CParentRecommentPropertyPage::updateActions()
{
    const bool enabled = SiteActionsEnabled(m_listSites->GetFirstSelectedRow());
    m_btnEdit->setEnabled(enabled);
    m_btnDelete->setEnabled(enabled);
}

bool CParentRecommentPropertyPage::Refresh()
{
    ManagerData::SetPageSize(kSitePageSize);
    int pageCount = 0;
    QList<SiteRecord> sites;
    try {
        pageCount = ManagerData::GetSitePageCount();
        m_nCurrentPage = ClampPage(m_nCurrentPage, pageCount);
        ManagerData::GetSitePage(m_nCurrentPage, sites);
    } catch (const std::exception& e) {
        // Nothing stale stays on show, and no button invites an action on a row that may be gone.
        m_listSites->DeleteAllItems();
        m_editPageCount->clear();
        m_editPage->setText(QString::number(m_nCurrentPage));
        m_btnPrev->setEnabled(false);
        m_btnNext->setEnabled(false);
        updateActions();
        showMessage(this, SiteFailureMessage(QStringLiteral("读取推荐站点失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
        return false;
    }

    m_editPageCount->setText(QString::number(pageCount));
    m_editPage->setText(QString::number(m_nCurrentPage));
    // The count just read decides both buttons; counting the table again could only disagree.
    const SitePagingButtons paging = SitePagingButtonsFor(m_nCurrentPage, pageCount);
    m_btnPrev->setEnabled(paging.prev);
    m_btnNext->setEnabled(paging.next);

    m_listSites->DeleteAllItems();
    const QString folder = GetWebSnapShootDirectory();
    for (const SiteRecord& site : sites) {
        const int row = m_listSites->InsertItem(m_listSites->GetItemCount(), SnapshotPath(folder, site.m_strSiteImage),
                                                LeadingDecimalInt(site.m_strSiteId));
        m_listSites->SetItemText(row, 1, site.m_strSiteName);
        m_listSites->SetItemText(row, 2, site.m_strSiteUrl);
        // A long name or address is cut in its cell; the whole of it shows on hovering.
        m_listSites->topLevelItem(row)->setToolTip(1, AddressToolTip(site.m_strSiteName));
        m_listSites->topLevelItem(row)->setToolTip(2, AddressToolTip(site.m_strSiteUrl));
    }
    m_listSites->verticalScrollBar()->setValue(0);
    updateActions();
    return true;
}

void CParentRecommentPropertyPage::OnPrevPage()
{
    --m_nCurrentPage;
    Refresh();
}

void CParentRecommentPropertyPage::OnNextPage()
{
    ++m_nCurrentPage;
    Refresh();
}

void CParentRecommentPropertyPage::OnGoToPage()
{
    m_nCurrentPage = LeadingDecimalInt(m_editPage->text());
    Refresh();
}

void CParentRecommentPropertyPage::OnListClicked()
{
    updateActions();
}

void CParentRecommentPropertyPage::OnAddSite()
{
    CAddSiteDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    // The new site is the newest, so it leads the first page.
    m_nCurrentPage = 1;
    Refresh();
}

void CParentRecommentPropertyPage::OnEditSite()
{
    const int row = m_listSites->GetFirstSelectedRow();
    if (row < 0) {
        showMessage(this, QStringLiteral("请选择你要编辑的站点信息!"), QStringLiteral("提醒你哦!"),
                    MsgIcon::Information);
        return;
    }
    CEditSiteDlg dlg(m_listSites->GetDataBaseIndex(row), this);
    if (!dlg.LoadFailure().isEmpty()) {
        showMessage(this, dlg.LoadFailure(), QStringLiteral("错误"), MsgIcon::Error);
        Refresh();
        return;
    }
    if (dlg.exec() != QDialog::Accepted)
        return;
    Refresh();
}

void CParentRecommentPropertyPage::OnDeleteSite()
{
    const MsgResult answer =
        showMessage(this, QStringLiteral("你试图删除站点信息，如果删除了，小孩将无法进该站点，是否继续?"),
                    QStringLiteral("询问"), MsgIcon::Question, MsgButtons::YesNo);
    if (answer != MsgResult::Yes)
        return;
    const int row = m_listSites->GetFirstSelectedRow();
    if (row < 0) {
        showMessage(this, QStringLiteral("请选择你要删除的站点信息!"), QStringLiteral("提醒你哦!"),
                    MsgIcon::Information);
        return;
    }

    const int id = m_listSites->GetDataBaseIndex(row);
    SiteRecord site;
    try {
        site = ManagerData::GetSiteById(id);
        ManagerData::DeleteSite(id);
    } catch (const std::exception& e) {
        // The row is still there, so its picture stays too.
        showMessage(this, SiteFailureMessage(QStringLiteral("删除站点失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
        Refresh();
        return;
    }

    // Only once the row is gone: a picture without its row is harmless, a row without its picture is not.
    const QString picture = SnapshotPath(GetWebSnapShootDirectory(), site.m_strSiteImage);
    if (picture.isEmpty()) {
        if (!site.m_strSiteId.isEmpty())
            qCWarning(lcSites) << "deleted site" << id << "names no snapshot file in its folder:" << site.m_strSiteImage;
    } else if (QFile::exists(picture) && !QFile::remove(picture)) {
        qCWarning(lcSites) << "could not delete the snapshot of deleted site" << id << ":" << picture;
    }
    Refresh();
}

void CParentRecommentPropertyPage::showEvent(QShowEvent* event)
{
    CPanelPage::showEvent(event);
    // The child may have asked for a site since the page was last on show.
    if (!event->spontaneous())
        RefreshRequestCount();
}

void CParentRecommentPropertyPage::RefreshRequestCount()
{
    qsizetype pending = 0;
    try {
        pending = SiteRequests::Pending(ManagerData::DataBasePath()).size();
    } catch (const std::exception& e) {
        // The dialog says so when the parent opens it.
        qCWarning(lcSites) << "could not count the child's requests:" << e.what();
    }
    m_btnRequests->setText(pending > 0 ? QStringLiteral("孩子的请求 (%1)").arg(pending) : QStringLiteral("孩子的请求"));
}

void CParentRecommentPropertyPage::OnRequests()
{
    CSiteRequestsDlg dlg(this);
    dlg.exec();
    if (dlg.SitesAdded()) {
        // The new sites are the newest, so they lead the first page.
        m_nCurrentPage = 1;
        Refresh();
    }
    RefreshRequestCount();
}
