#include "siterequestsdlg.h"

#include "addsitedlg.h"
#include "historyrules.h"
#include "managerart.h"
#include "managerdata.h"
#include "managerlog.h"
#include "messagebox.h"
#include "siterules.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coollistctrl.h>

#include <QLabel>

#include <exception>

using Quenlit::CBeautifulDialog;
using Quenlit::CCoolButton;
using Quenlit::CCoolListCtrl;

CSiteRequestsDlg::CSiteRequestsDlg(QWidget* pParent)
    : CBeautifulDialog(pParent)
{
    SetWindowTextA(QStringLiteral("孩子的请求"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(QSize(600, 340));

    auto* intro = new QLabel(QStringLiteral("孩子在警告页上请你开通这些网站。开通后它们成为推荐站点，孩子就能去了。"), this);
    intro->setWordWrap(true);
    PlaceInClient(intro, QRect(16, 10, 568, 40));

    m_listRequests = new CCoolListCtrl(this);
    m_listRequests->InsertColumn(0, QStringLiteral("请求时间"), 150);
    m_listRequests->InsertColumn(1, QStringLiteral("网站"), 150);
    m_listRequests->InsertColumn(2, QStringLiteral("孩子想去的地址"), 262);
    m_listRequests->setSelectionMode(QAbstractItemView::SingleSelection);
    m_listRequests->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PlaceInClient(m_listRequests, QRect(16, 54, 568, 226));
    m_textEmpty = new QLabel(QStringLiteral("现在没有等你回答的请求。"), this);
    m_textEmpty->setAlignment(Qt::AlignCenter);
    PlaceInClient(m_textEmpty, QRect(16, 150, 568, 30));
    m_textEmpty->hide();

    m_btnApprove = new CCoolButton(QStringLiteral("开通"), this);
    PlaceInClient(m_btnApprove, QRect(16, 296, 96, 28));
    m_btnDismiss = new CCoolButton(QStringLiteral("不开通"), this);
    PlaceInClient(m_btnDismiss, QRect(124, 296, 96, 28));
    m_btnClose = new CCoolButton(QStringLiteral("关闭"), this);
    PlaceInClient(m_btnClose, QRect(500, 296, 84, 28));

    connect(m_btnApprove, &QAbstractButton::clicked, this, &CSiteRequestsDlg::OnApprove);
    connect(m_btnDismiss, &QAbstractButton::clicked, this, &CSiteRequestsDlg::OnDismiss);
    connect(m_btnClose, &QAbstractButton::clicked, this, &QDialog::accept);
    connect(m_listRequests, &QTreeWidget::itemSelectionChanged, this, &CSiteRequestsDlg::updateActions);
    connect(m_listRequests, &QTreeWidget::itemDoubleClicked, this, &CSiteRequestsDlg::OnApprove);
    Refresh();
}

CSiteRequestsDlg::~CSiteRequestsDlg() = default;

bool CSiteRequestsDlg::Refresh()
{
    m_listRequests->DeleteAllItems();
    m_requests.clear();
    bool read = true;
    try {
        m_requests = SiteRequests::Pending(ManagerData::DataBasePath());
    } catch (const std::exception& e) {
        showMessage(this, SiteFailureMessage(QStringLiteral("读取孩子的请求失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
        read = false;
    }
    for (const SiteRequests::Record& request : m_requests) {
        const int row = m_listRequests->InsertItem(m_listRequests->GetItemCount(), request.time);
        m_listRequests->SetItemText(row, 1, VisibleAddressText(request.host));
        m_listRequests->SetItemText(row, 2, VisibleAddressText(request.address));
        m_listRequests->topLevelItem(row)->setToolTip(2, AddressToolTip(request.address));
    }
    if (!m_requests.isEmpty())
        m_listRequests->setCurrentItem(m_listRequests->topLevelItem(0));
    m_textEmpty->setVisible(read && m_requests.isEmpty());
    updateActions();
    return read;
}

const SiteRequests::Record* CSiteRequestsDlg::selected() const
{
    const QList<QTreeWidgetItem*> rows = m_listRequests->selectedItems();
    if (rows.isEmpty())
        return nullptr;
    const int row = m_listRequests->indexOfTopLevelItem(rows.first());
    return row >= 0 && row < m_requests.size() ? &m_requests[row] : nullptr;
}

void CSiteRequestsDlg::updateActions()
{
    const bool any = selected() != nullptr;
    m_btnApprove->setEnabled(any);
    m_btnDismiss->setEnabled(any);
}

void CSiteRequestsDlg::settle(const SiteRequests::Record& request, SiteRequests::State state)
{
    try {
        if (!SiteRequests::Settle(ManagerData::DataBasePath(), request.id, state))
            qCWarning(lcSites) << "the request for" << request.host << "was settled already";
    } catch (const std::exception& e) {
        showMessage(this, SiteFailureMessage(QStringLiteral("保存对请求的回答失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
    }
}

void CSiteRequestsDlg::OnApprove()
{
    const SiteRequests::Record* chosen = selected();
    if (!chosen)
        return;
    const SiteRequests::Record request = *chosen;
    CAddSiteDlg dlg(this);
    dlg.StartWithAddress(request.address);
    if (dlg.exec() != QDialog::Accepted)
        return;
    m_bSitesAdded = true;
    settle(request, SiteRequests::State::Approved);
    Refresh();
}

void CSiteRequestsDlg::OnDismiss()
{
    const SiteRequests::Record* chosen = selected();
    if (!chosen)
        return;
    settle(*chosen, SiteRequests::State::Dismissed);
    Refresh();
}
