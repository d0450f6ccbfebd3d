#include "addsitedlg.h"

#include "browsingdatabase.h"
#include "managerart.h"
#include "managerdata.h"
#include "managerlog.h"
#include "messagebox.h"
#include "paths.h"
#include "siterules.h"
#include "sitesnapshot.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/picturebox.h>
#include <quenlit/pictureex.h>

#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>

#include <exception>

using Quenlit::CBeautifulDialog;
using Quenlit::CCoolButton;
using Quenlit::CCoolGroupBox;
using Quenlit::CFlatEdit;
using Quenlit::CPictureBox;
using Quenlit::CPictureEx;

namespace {

// Room for any address or name a parent could mean; the line edit's own limit would cut
// long texts short without a word.
constexpr int kSiteTextMaxLength = 1 << 24;

QImage whitePicture()
{
    QImage picture(CSiteSnapshot::PictureWidth, CSiteSnapshot::PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

} // namespace

CSiteDlgBase::CSiteDlgBase(const QString& title, bool withPreviewGroup, QWidget* pParent)
    : CBeautifulDialog(pParent)
    , m_groupPreview(nullptr)
    , m_imgSnapshot(whitePicture())
{
    SetWindowTextA(title);
    SetIcon(ManagerIcon(), true);
    SetClientSize(kClientSize);

    // The frames come first so that the controls they frame lie above them.
    m_groupInfo = new CCoolGroupBox(this);
    m_groupInfo->SetBorderColor(kManagerGroupBorder);
    PlaceInClient(m_groupInfo, QRect(12, 10, 416, 100));
    if (withPreviewGroup) {
        m_groupPreview = new CCoolGroupBox(this);
        m_groupPreview->SetText(QStringLiteral("站点预览")).SetBorderColor(kManagerGroupBorder);
        PlaceInClient(m_groupPreview, QRect(12, 118, 416, 132));
    }

    auto textRow = [this](const QString& label, int y) {
        auto* text = new QLabel(label, this);
        text->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PlaceInClient(text, QRect(24, y, 72, 26));
        auto* edit = new CFlatEdit(this);
        edit->setMaxLength(kSiteTextMaxLength);
        PlaceInClient(edit, QRect(102, y, 310, 26));
        return edit;
    };
    m_editUrl = textRow(QStringLiteral("站点地址:"), 30);
    m_editName = textRow(QStringLiteral("网站名称:"), 68);

    m_picPreview = new CPictureBox(this);
    PlaceInClient(m_picPreview, QRect(28, 140, CSiteSnapshot::PictureWidth, CSiteSnapshot::PictureHeight));
    m_btnSnapshot = new CCoolButton(QStringLiteral("获取快照"), this);
    PlaceInClient(m_btnSnapshot, QRect(178, 140, 96, 28));
    m_picWait = new CPictureEx(this);
    m_picWait->SetBkColor(kManagerWindowBackground);
    PlaceInClient(m_picWait, QRect(178, 186, 40, 40));
    m_picWait->hide();
    m_textWait = new QLabel(QStringLiteral("正在获取网站快照..."), this);
    PlaceInClient(m_textWait, QRect(224, 194, 192, 24));
    m_textWait->hide();

    m_btnOk = new CCoolButton(QStringLiteral("确定"), this);
    PlaceInClient(m_btnOk, QRect(246, 262, 84, 28));
    m_btnCancel = new CCoolButton(QStringLiteral("取消"), this);
    PlaceInClient(m_btnCancel, QRect(344, 262, 84, 28));

    m_snapshot = new CSiteSnapshot(this);
    m_picPreview->SetBitmap(m_imgSnapshot);

    m_editUrl->installEventFilter(this);
    connect(m_btnSnapshot, &QAbstractButton::clicked, this, [this] { OnBnClickedSnapshot(); });
    connect(m_btnOk, &QAbstractButton::clicked, this, [this] { OnBnClickedOk(); });
    connect(m_btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_snapshot, &CSiteSnapshot::captured, this, &CSiteDlgBase::OnCaptured);
    connect(m_snapshot, &CSiteSnapshot::finishedLoading, this, &CSiteDlgBase::OnFinishedLoading);
    m_editUrl->setFocus();
}

CSiteDlgBase::~CSiteDlgBase()
{
    // The hidden page may still report while it goes; nothing here should hear it.
    m_snapshot->disconnect(this);
}

bool CSiteDlgBase::IsWaiting() const
{
    return !m_picWait->isHidden() && !m_textWait->isHidden();
}

void CSiteDlgBase::StartSnapshot(const QString& address)
{
    m_imgSnapshot = whitePicture();
    m_picPreview->SetBitmap(QImage());
    m_picWait->Stop();
    // An animation that does not load is reported by the control; the snapshot goes on without it.
    m_picWait->Load(GetPictureDirectory() + QStringLiteral("/wait_web_down.gif"));
    m_picWait->Draw();
    m_picWait->show();
    m_textWait->show();
    m_snapshot->Start(address);
}

void CSiteDlgBase::OnBnClickedSnapshot()
{
    StartSnapshot(TrimBlanks(m_editUrl->text()));
}

void CSiteDlgBase::SetSnapshotPicture(const QImage& picture)
{
    m_imgSnapshot = picture;
    m_picPreview->SetBitmap(picture);
}

void CSiteDlgBase::OnCaptured(const QImage& picture)
{
    if (!picture.isNull())
        SetSnapshotPicture(picture);
}

void CSiteDlgBase::OnFinishedLoading()
{
    m_picWait->Stop();
    m_picWait->hide();
    m_textWait->hide();
}

void CSiteDlgBase::keyPressEvent(QKeyEvent* event)
{
    // Neither Enter nor Escape may end the dialog by accident.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: CBeautifulDialog::keyPressEvent(event);
    }
}

bool CSiteDlgBase::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_editUrl && event->type() == QEvent::FocusOut) {
        // Only when the parent moves on inside the dialog: a message box or another window
        // taking the focus for a moment is not the address being finished.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            OnUrlFocusLost();
    }
    return CBeautifulDialog::eventFilter(watched, event);
}

CAddSiteDlg::CAddSiteDlg(QWidget* pParent)
    : CSiteDlgBase(QStringLiteral("添加父母推荐站点"), true, pParent)
{
    connect(m_snapshot, &CSiteSnapshot::titleChanged, m_editName, &QLineEdit::setText);
    ManagerData::SetDataBasePath(GetDataBasePathName());
}

CAddSiteDlg::~CAddSiteDlg() = default;

void CAddSiteDlg::OnUrlFocusLost()
{
    const QString url = TrimBlanks(m_editUrl->text());
    if (url.isEmpty() || url == m_strLastUrl)
        return;
    m_strLastUrl = url;
    StartSnapshot(url);
}

void CAddSiteDlg::StartWithAddress(const QString& url)
{
    m_editUrl->setText(url);
    m_strLastUrl = TrimBlanks(url);
    StartSnapshot(m_strLastUrl);
}

void CAddSiteDlg::OnBnClickedSnapshot()
{
    m_strLastUrl = TrimBlanks(m_editUrl->text());
    CSiteDlgBase::OnBnClickedSnapshot();
}

bool CSiteDlgBase::AcceptTypedSite(const TypedSiteRule& rule, QString* url, QString* name)
{
    *url = TrimBlanks(m_editUrl->text());
    *name = TrimBlanks(m_editName->text());
    SiteRefusal refusal;
    try {
        refusal = rule(*url, *name, [](const QString& u) { return ManagerData::IsSiteExist(u); });
    } catch (const std::exception& e) {
        showMessage(this, SiteFailureMessage(QStringLiteral("读取站点信息失败!"), e), QStringLiteral("错误"),
                    MsgIcon::Error);
        return false;
    }
    if (refusal.IsRefused()) {
        showMessage(this, refusal.text, refusal.caption, MsgIcon::Error);
        return false;
    }
    return true;
}

void CAddSiteDlg::OnBnClickedOk()
{
    QString url, name;
    if (!AcceptTypedSite(&CheckNewSite, &url, &name))
        return;

    // The picture goes first, so the row never names a file that was not written; it is
    // taken back when the row cannot be stored.
    const QString image = GetGuid() + QStringLiteral(".bmp");
    const QString path = GetWebSnapShootDirectory() + image;
    const bool pictureSaved = CSiteSnapshot::SavePicture(SnapshotPicture(), path);
    if (!ManagerData::AddSite(url, name, image)) {
        if (pictureSaved && !QFile::remove(path))
            qCWarning(lcSites) << "could not take back the snapshot of a site that was not stored:" << path;
        showMessage(this, SiteAddFailedMessage(ManagerData::DataBasePath()), QStringLiteral("错误"), MsgIcon::Error);
        return;
    }
    showMessage(this, QStringLiteral("已经添加成功!"), QStringLiteral("提醒"), MsgIcon::Information);
    accept();
}
