#include "previewskinselectdlg.h"

#include "browserlog.h"
#include "browserprofile.h"
#include "inioperater.h"
#include "javascript.h"
#include "navigationpolicy.h"
#include "paths.h"
#include "skinfiles.h"

#include <pellora/surfacemanager.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QVBoxLayout>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

using Pellora::CSurfaceManager;

namespace {

const char kAppScheme[] = "app";

// The engine asks the page about a navigation only for a scheme someone serves: this
// serves "app:" and turns every request of it down, so nothing ever loads from it.
class CAppSchemeHandler : public QWebEngineUrlSchemeHandler
{
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        job->fail(QWebEngineUrlRequestJob::RequestDenied);
    }
};

} // namespace

CPreviewSkinPage::CPreviewSkinPage(QWebEngineProfile* profile, QObject* parent)
    : CCustomControlSite(profile, parent)
{
}

bool CPreviewSkinPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    // The address as the page wrote it: an identifier may hold any character.
    const QString address = QUrl::fromPercentEncoding(url.toEncoded());
    const SkinSelect::AppAddress app = SkinSelect::ParseAddress(address);
    switch (app.action) {
    case SkinSelect::Action::Close:
        emit closeRequested();
        return false;
    case SkinSelect::Action::Change:
        emit changeRequested(app.choice);
        return false;
    case SkinSelect::Action::Nothing:
        return false;
    case SkinSelect::Action::Navigate:
        break;
    }
    // The dialog has no address box and records no history: a site opened in it would
    // be a way round both, so it shows the browser's own pages and nothing else.
    if (!isMainFrame
        || NavigationPolicy::TopLevel(NavigationPolicy::Mode::OwnPagesOnly, url, {}, GetHtmlModleDirectory())
            == NavigationPolicy::Verdict::Allow)
        return true;
    qCWarning(lcBrowser) << "the skin dialog does not open" << url.toString();
    return false;
}

QWebEnginePage* CPreviewSkinPage::createWindow(WebWindowType)
{
    return nullptr;
}

CPreviewSkinSelectDlg::CPreviewSkinSelectDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_pBrowser(new QWebEngineView(this))
{
    setWindowTitle(QStringLiteral("皮肤"));
    setFixedSize(kSize);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pBrowser);
    m_pBrowser->setObjectName(QStringLiteral("1008"));
    m_pBrowser->setContextMenuPolicy(Qt::NoContextMenu);
    m_pBrowser->setAcceptDrops(false);

    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    PrepareBrowserProfile(profile);
    if (!profile->urlSchemeHandler(kAppScheme))
        profile->installUrlSchemeHandler(kAppScheme, new CAppSchemeHandler(profile));
    auto* page = new CPreviewSkinPage(profile, m_pBrowser);
    m_pBrowser->setPage(page);
    CCustomControlSite::HostView(m_pBrowser);
    connect(page, &CPreviewSkinPage::closeRequested, this, &QDialog::reject);
    connect(page, &CPreviewSkinPage::changeRequested, this, &CPreviewSkinSelectDlg::changeSurface);
    connect(m_pBrowser, &QWebEngineView::loadFinished, this, &CPreviewSkinSelectDlg::onDocumentComplete);

    m_pBrowser->load(QUrl::fromLocalFile(GetHtmlModleDirectory() + QStringLiteral("ViewSuface.html")));

    const QImage background(CSurfaceManager::m_strPreviewSkinSelectDialog);
    if (background.isNull())
        qCWarning(lcBrowser) << "the skin dialog has no background picture"
                             << CSurfaceManager::m_strPreviewSkinSelectDialog << "and keeps its plain shape";
    else
        setMask(SkinSelect::WindowShape(background));

    // In the middle of the browser, where the child is looking.
    const QWidget* owner = parentWidget();
    const QRect area = owner ? owner->geometry()
                             : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                                 : QRect(QPoint(), kSize));
    move(area.center() - QPoint(kSize.width() / 2, kSize.height() / 2));
}

void CPreviewSkinSelectDlg::RegisterAppScheme()
{
    QWebEngineUrlScheme scheme(kAppScheme);
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QStringList CPreviewSkinSelectDlg::PreviewStatements(const QList<SkinSelect::PreviewBox>& boxes,
                                                     const QString& background)
{
    QStringList statements;
    for (const SkinSelect::PreviewBox& box : boxes) {
        QStringList texts;
        for (const QString& text : {box.normal, box.hover, box.press, box.iniFile, box.iniName, box.id})
            texts.append(JavaScriptStringLiteral(text));
        statements.append(FormatScriptCall(QStringLiteral("AddPrevBox(%s,%s,%s,%s,%s,%s)"), texts));
        statements.append(
            FormatScriptCall(QStringLiteral("SetBackgroundImage(%s)"), {JavaScriptStringLiteral(background)}));
    }
    return statements;
}

void CPreviewSkinSelectDlg::onDocumentComplete(bool)
{
    // The page is filled once per dialog: a reload of it shows what it shows.
    if (!m_bFirstLoad)
        return;
    m_bFirstLoad = false;
    const QList<SkinSelect::PreviewBox> boxes =
        SkinSelect::PreviewBoxes([](const QString& definition) { return CSurfaceManager::IsUsable(definition); });
    for (const QString& statement : PreviewStatements(boxes, CSurfaceManager::m_strPreviewSkinSelectDialog))
        CallJavaScritpFunction(m_pBrowser->page(), QStringLiteral("%s"), {statement});
}

void CPreviewSkinSelectDlg::changeSurface(const QString& choice)
{
    const SkinSelect::Choice picked = SkinSelect::SplitChoice(SkinFiles::SkinDefinition(choice));
    // Only a skin of the list, under the name the list gives it, is put on.
    const QString listed = CINIOperater(SkinFiles::SkinListPath()).ReadString(picked.id, QStringLiteral("INI_FILE"));
    const bool known = !picked.id.isEmpty() && !listed.isEmpty()
        && picked.definition == SkinFiles::SkinDefinition(listed);
    if (!known || !CSurfaceManager::LoadIfUsable(picked.definition)) {
        qCWarning(lcBrowser) << "the skin picked" << choice << "cannot be put on; the old one stays";
        m_bSkinRefused = true;
        reject();
        return;
    }
    SkinFiles::WriteCurrentSkin(picked.id);
    emit skinChanged(picked.definition);
    accept();
}
