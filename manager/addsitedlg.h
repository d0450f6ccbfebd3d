#pragma once

#include "siterules.h"

#include <quenlit/beautifuldialog.h>

#include <QImage>

#include <functional>

class CSiteSnapshot;
class QLabel;

namespace Quenlit {
class CCoolButton;
class CCoolGroupBox;
class CFlatEdit;
class CPictureBox;
class CPictureEx;
} // namespace Quenlit

// What the add and edit site dialogs share: the address and name fields, the snapshot
// preview with its wait animation, and the hidden page that takes the snapshot. Enter
// and Escape never end them; only "确定", "取消" and the close box do.
class CSiteDlgBase : public Quenlit::CBeautifulDialog
{
    Q_OBJECT

public:
    ~CSiteDlgBase() override;

    static constexpr QSize kClientSize{440, 300};

    Quenlit::CFlatEdit* m_editUrl;          // 1026
    Quenlit::CFlatEdit* m_editName;         // 1027
    Quenlit::CPictureBox* m_picPreview;     // 1024
    Quenlit::CCoolButton* m_btnSnapshot;    // 1025
    Quenlit::CPictureEx* m_picWait;         // 1031
    QLabel* m_textWait;                     // 1033
    Quenlit::CCoolGroupBox* m_groupInfo;    // 1007
    Quenlit::CCoolGroupBox* m_groupPreview; // 1006; null in the edit dialog
    Quenlit::CCoolButton* m_btnOk;          // 1023 (add) or 1037 (edit)
    Quenlit::CCoolButton* m_btnCancel;      // 1029
    CSiteSnapshot* m_snapshot;

    // The 128 × 96 picture that "确定" writes: white until a page has been drawn into it.
    QImage SnapshotPicture() const { return m_imgSnapshot; }
    // True while the wait animation and its text are up.
    bool IsWaiting() const;

    // Empties the preview, shows the wait animation and loads the address in the hidden page.
    void StartSnapshot(const QString& address);
    // "获取快照": a snapshot of the trimmed address, whatever it holds.
    virtual void OnBnClickedSnapshot();
    virtual void OnBnClickedOk() = 0;

protected:
    CSiteDlgBase(const QString& title, bool withPreviewGroup, QWidget* pParent);

    // The address field lost the focus to another control of the dialog.
    virtual void OnUrlFocusLost() = 0;
    // Shows the picture in the preview and keeps it as the one to write.
    void SetSnapshotPicture(const QImage& picture);
    // The typed address and name, trimmed, once `rule` accepts them; a refusal or a
    // database that cannot be read is shown and gives false, the dialog staying open.
    using TypedSiteRule = std::function<SiteRefusal(const QString& url, const QString& name, const SiteExistsCheck&)>;
    bool AcceptTypedSite(const TypedSiteRule& rule, QString* url, QString* name);

    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnCaptured(const QImage& picture);
    void OnFinishedLoading();

    QImage m_imgSnapshot;
};

// "添加父母推荐站点": a new site with its snapshot; the name follows the loaded page's
// title.
class CAddSiteDlg : public CSiteDlgBase
{
    Q_OBJECT

public:
    explicit CAddSiteDlg(QWidget* pParent = nullptr);
    ~CAddSiteDlg() override;

    // Opens on an address the parent did not type (a request of the child's): it is in
    // the field and its snapshot is on the way.
    void StartWithAddress(const QString& url);

    void OnBnClickedSnapshot() override;
    void OnBnClickedOk() override;

protected:
    // Starts a snapshot unless the address is the one last loaded: going back into the
    // field and out again must not whiten a taken picture or put the page's title over a
    // name the parent has typed since.
    void OnUrlFocusLost() override;

private:
    QString m_strLastUrl;
};
