#include "editsitedlg.h"

#include "browsingdatabase.h"
#include "managerdata.h"
#include "managerlog.h"
#include "messagebox.h"
#include "paths.h"
#include "settingsrules.h"
#include "siterules.h"
#include "sitesnapshot.h"

#include <quenlit/flatedit.h>

#include <exception>

CEditSiteDlg::CEditSiteDlg(int databaseId, QWidget* pParent)
    : CSiteDlgBase(QStringLiteral("编辑站点信息"), false, pParent)
    , m_nDataBaseId(databaseId)
{
    SiteRecord site;
    try {
        site = ManagerData::GetSiteById(m_nDataBaseId);
    } catch (const std::exception& e) {
        m_strLoadFailure = SiteFailureMessage(QStringLiteral("读取站点信息失败!"), e);
        return;
    }
    if (site.m_strSiteId.isEmpty()) {
        m_strLoadFailure = QStringLiteral("这个站点已经不在了，可能刚被删除。");
        return;
    }
    m_strSiteId = site.m_strSiteId;
    m_strSiteUrl = site.m_strSiteUrl;
    m_strSiteName = site.m_strSiteName;
    m_strSiteImage = site.m_strSiteImage;
    m_editUrl->setText(m_strSiteUrl);
    m_editName->setText(m_strSiteName);
    m_editUrl->setCursorPosition(0);
    m_editName->setCursorPosition(0);

    // A picture that does not load leaves the preview white; loading it says why.
    const QString picture = SnapshotPath(GetWebSnapShootDirectory(), m_strSiteImage);
    if (picture.isEmpty()) {
        qCWarning(lcSites) << "site" << m_strSiteId << "names no snapshot file in its folder:" << m_strSiteImage;
    } else if (const QImage stored = CSiteSnapshot::LoadPicture(picture); !stored.isNull()) {
        SetSnapshotPicture(stored);
    }
    m_strLastUrl = TrimBlanks(m_strSiteUrl);
}

CEditSiteDlg::~CEditSiteDlg() = default;

void CEditSiteDlg::OnUrlFocusLost()
{
    const QString url = TrimBlanks(m_editUrl->text());
    if (url.isEmpty() || url == m_strLastUrl)
        return;
    m_strLastUrl = url;
    m_bSnapshotRetaken = true;
    StartSnapshot(url);
}

void CEditSiteDlg::OnBnClickedSnapshot()
{
    m_bSnapshotRetaken = true;
    CSiteDlgBase::OnBnClickedSnapshot();
}

void CEditSiteDlg::OnBnClickedOk()
{
    QString url, name;
    const auto rule = [this](const QString& u, const QString& n, const SiteExistsCheck& exists) {
        return CheckEditedSite(u, n, m_strSiteUrl, exists);
    };
    if (!AcceptTypedSite(rule, &url, &name))
        return;

    try {
        ManagerData::UpdateSite(LeadingDecimalInt(m_strSiteId), url, name);
    } catch (const std::exception& e) {
        // Nothing was changed, the picture included.
        showMessage(this, SiteFailureMessage(QStringLiteral("保存站点信息失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
        return;
    }
    // After the row: a failed update must not leave the old site under a new picture.
    if (m_bSnapshotRetaken) {
        const QString picture = SnapshotPath(GetWebSnapShootDirectory(), m_strSiteImage);
        if (picture.isEmpty())
            qCWarning(lcSites) << "site" << m_strSiteId << "names no snapshot file to write:" << m_strSiteImage;
        else
            CSiteSnapshot::SavePicture(SnapshotPicture(), picture);
    }
    accept();
}
