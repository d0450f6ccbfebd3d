#pragma once

#include "siterequests.h"

#include <quenlit/beautifuldialog.h>

#include <QList>

namespace Quenlit {
class CCoolButton;
class CCoolListCtrl;
} // namespace Quenlit
class QLabel;

// "孩子的请求": the sites the child asked for from the warning page, oldest first. "开通"
// opens the add dialog on the address, snapshot and all, and the request is settled
// once the site is stored; "不开通" settles it without a site.
class CSiteRequestsDlg : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    explicit CSiteRequestsDlg(QWidget* pParent = nullptr);
    ~CSiteRequestsDlg() override;

    // Reads the pending requests anew; false (after telling the parent) when they
    // could not be read.
    bool Refresh();
    void OnApprove();
    void OnDismiss();

    // Whether a site was added through the dialog (the page's list is then stale).
    bool SitesAdded() const { return m_bSitesAdded; }
    const QList<SiteRequests::Record>& Requests() const { return m_requests; }

    Quenlit::CCoolListCtrl* m_listRequests;
    QLabel* m_textEmpty;
    Quenlit::CCoolButton* m_btnApprove;
    Quenlit::CCoolButton* m_btnDismiss;
    Quenlit::CCoolButton* m_btnClose;

private:
    // The request of the selected row, or null.
    const SiteRequests::Record* selected() const;
    void updateActions();
    // Settles the request, telling the parent when the database fails.
    void settle(const SiteRequests::Record& request, SiteRequests::State state);

    QList<SiteRequests::Record> m_requests;
    bool m_bSitesAdded = false;
};
