#pragma once

#include "addsitedlg.h"

// "编辑站点信息": changes a stored site's address and name. Its snapshot file keeps its
// name; the picture is written over it only when a new snapshot was started here. The
// name does not follow the loaded page's title.
class CEditSiteDlg : public CSiteDlgBase
{
    Q_OBJECT

public:
    CEditSiteDlg(int databaseId, QWidget* pParent = nullptr);
    ~CEditSiteDlg() override;

    // Why the site could not be read (then the dialog must not be shown); empty when it was.
    QString LoadFailure() const { return m_strLoadFailure; }
    bool SnapshotRetaken() const { return m_bSnapshotRetaken; }

    void OnBnClickedSnapshot() override;
    void OnBnClickedOk() override;

protected:
    void OnUrlFocusLost() override;

private:
    int m_nDataBaseId;
    QString m_strSiteId;
    QString m_strSiteUrl;
    QString m_strSiteName;
    QString m_strSiteImage;
    QString m_strLastUrl; // the address last sent to the hidden page
    bool m_bSnapshotRetaken = false;
    QString m_strLoadFailure;
};
