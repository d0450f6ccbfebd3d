#include "ieview.h"

#include "browserconfig.h"
#include "browserdata.h"
#include "browserlog.h"
#include "browserprofile.h"
#include "configmanager.h"
#include "javascript.h"
#include "navigationpolicy.h"
#include "paths.h"
#include "siterequestdesk.h"
#include "tickclock.h"
#include "timetext.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QWebEngineNewWindowRequest>
#include <QTimer>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineProfile>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineScript>

#include <utility>

namespace PageNotice {
const char kExternal[] = "这个链接要打开别的程序，Lorvane不会打开它。";
const char kFileChooser[] = "这个网页想从电脑里选文件，请找爸爸妈妈帮忙。";
const char kDownload[] = "Lorvane不会把文件下载到电脑里。";
} // namespace PageNotice

namespace {

void writeRow(const std::optional<StayRecorder::Row>& row)
{
    if (row)
        BrowserData::AddHistory(row->beginTime, row->seconds, row->address);
}

NavigationPolicy::Mode currentMode()
{
    return NavigationPolicy::ModeFor(BrowserConfig().m_record.m_bOnlyChildSites, BrowserRestricted());
}

bool carriesLocalFiles(const QMimeData* data)
{
    if (!data)
        return false;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile() || url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

CIEPage::CIEPage(QWebEngineProfile* profile, CIEView* view)
    : CCustomControlSite(profile, view)
    , m_pView(view)
{
    setUrlRequestInterceptor(new CRequestFilter(this, this));
    connect(this, &QWebEnginePage::urlChanged, this, [this](const QUrl& document) {
        m_bDocumentRecommended = currentMode() == NavigationPolicy::Mode::ChildSites
            && NavigationPolicy::IsRecommendedWebDocument(document, &BrowserData::IsChildSite);
    });
    // Devices, notifications and the file system stay out of reach of every page, and
    // no page makes itself the handler of another program's links.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { m_pView->openWindowFor(request.requestedUrl()); });
    connect(this, &QWebEnginePage::featurePermissionRequested, this, [this](const QUrl& origin, Feature feature) {
        setFeaturePermission(origin, feature, PermissionDeniedByUser);
    });
    connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
            [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

CIEPage::~CIEPage() = default;

void CIEPage::RecordLastStay()
{
    writeRow(m_stays.finished(TickClock::now()));
}

bool CIEPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    const NavigationPolicy::Mode mode = currentMode();
    const QString ownPages = GetHtmlModleDirectory();
    if (!isMainFrame) {
        const bool ofRecommendedPage = m_bDocumentRecommended && mode == NavigationPolicy::Mode::ChildSites
            && NavigationPolicy::IsBrowserScheme(url.scheme());
        if (ofRecommendedPage
            || NavigationPolicy::FrameAllowed(mode, this->url(), url, &BrowserData::IsChildSite, ownPages))
            return true;
        qCWarning(lcBrowser) << "refused a frame of" << this->url().toString() << "showing" << url.toString();
        return false;
    }
    const QString address = url.toString();
    switch (NavigationPolicy::TopLevel(mode, url, &BrowserData::IsChildSite, ownPages)) {
    case NavigationPolicy::Verdict::Allow:
        if (std::exchange(m_bReloadingDiscarded, false) && m_stays.Address() == address)
            return true;
        writeRow(m_stays.navigated(address, TickClock::now(), CurrentTimeText()));
        return true;
    case NavigationPolicy::Verdict::External:
        qCWarning(lcBrowser) << "did not hand" << address << "to another program";
        emit m_pView->pageNotice(m_pView, QString::fromUtf8(PageNotice::kExternal));
        return false;
    case NavigationPolicy::Verdict::Refuse:
        break;
    }
    showWarning(address);
    return false;
}

void CIEPage::showWarning(const QString& refusedAddress)
{
    const QUrl warning(NavigationPolicy::WarningAddress(GetExeDirectory(), refusedAddress));
    // Started once this request has been turned down, never from inside it.
    QTimer::singleShot(0, this, [this, warning] { openWarning(warning); });
}

void CIEPage::openWarning(const QUrl& warning)
{
    // From the warning page to the warning page only the part after "#" changes: the
    // engine makes no new navigation of that and asks nothing. The page itself says
    // whether it is showing, and if so it is told the new address in place of the old
    // one (one Back step for a row of refusals) and the stay is recorded here, as a
    // navigation would record it.
    // The warning page's request button talks to the program through a channel of its
    // own; a tab gets it with its first warning, so pages in tabs that never show one
    // load without it.
    if (!m_pDesk)
        m_pDesk = CSiteRequestDesk::Install(this);
    const QString page = warning.adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded);
    if (url().adjusted(QUrl::RemoveFragment).toString(QUrl::FullyEncoded) != page) {
        load(warning);
        return;
    }
    const QString target = warning.toString(QUrl::FullyEncoded);
    const QString script = QStringLiteral("(function (page, target) {"
                                          "  if (location.href.split('#')[0] !== page) return false;"
                                          "  location.replace(target);"
                                          "  return true;"
                                          "})(%1, %2)")
                               .arg(JavaScriptStringLiteral(page), JavaScriptStringLiteral(target));
    QPointer<CIEPage> self(this);
    runJavaScript(script, QWebEngineScript::ApplicationWorld, [self, warning](const QVariant& replaced) {
        if (!self)
            return;
        if (replaced.toBool())
            writeRow(self->m_stays.navigated(warning.toString(), TickClock::now(), CurrentTimeText()));
        else
            self->load(warning);
    });
}

QStringList CIEPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&)
{
    // A chooser would let the child browse, rename or delete files, or hand the
    // parents' files to a site: the page simply gets none.
    qCWarning(lcBrowser) << "a page of" << url().host() << "asked for files; none given";
    emit m_pView->pageNotice(m_pView, QString::fromUtf8(PageNotice::kFileChooser));
    return {};
}

CIEView::CIEView(QWidget* parent)
    : QWebEngineView(parent)
    , m_pPage(nullptr)
{
    QWebEngineProfile* profile = QWebEngineProfile::defaultProfile();
    PrepareBrowserProfile(profile);
    m_pPage = new CIEPage(profile, this);
    setPage(m_pPage);
    CCustomControlSite::HostView(this);
    connect(this, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        // A blank page has no title: the engine's stand-in, its address, would replace
        // the tab's own caption.
        if (title == QLatin1String("about:blank") && (url().isEmpty() || url().toString() == title))
            return;
        // An unloaded page, and one loading again, has only the engine's stand-ins.
        if (m_bKeepTitle)
            return;
        setPageTitle(title);
    });
    connect(this, &QWebEngineView::loadProgress, this, [this](int percent) { emit pageProgress(this, percent); });
    connect(this, &QWebEngineView::loadStarted, this, [this] {
        m_bLoading = true;
        emit pageLoadingChanged(this);
    });
    connect(this, &QWebEngineView::loadFinished, this, [this] {
        m_bLoading = false;
        m_pPage->m_bReloadingDiscarded = false;
        if (m_bKeepTitle && Lifecycle() == TabLifecycle::State::Active) {
            m_bKeepTitle = false;
            const QString loaded = title();
            if (!loaded.isEmpty() && loaded != url().toString())
                setPageTitle(loaded);
        }
        emit pageLoadingChanged(this);
        emit pageLoaded(this);
    });
    connect(this, &QWebEngineView::urlChanged, this, [this](const QUrl& url) { emit pageAddressChanged(this, url); });
    connect(this, &QWebEngineView::printFinished, this, [this] { m_bPrinting = false; });
}

CIEView::~CIEView()
{
    m_pPage->RecordLastStay();
}

void CIEView::setPageTitle(const QString& title)
{
    if (title == m_strPageTitle)
        return;
    m_strPageTitle = title;
    emit pageTitleChanged(this, title);
}

TabLifecycle::State CIEView::Lifecycle() const
{
    switch (m_pPage->lifecycleState()) {
    case QWebEnginePage::LifecycleState::Frozen:
        return TabLifecycle::State::Frozen;
    case QWebEnginePage::LifecycleState::Discarded:
        return TabLifecycle::State::Discarded;
    case QWebEnginePage::LifecycleState::Active:
        break;
    }
    return TabLifecycle::State::Active;
}

void CIEView::SetLifecycle(TabLifecycle::State state)
{
    const TabLifecycle::State current = Lifecycle();
    if (state == current)
        return;
    switch (state) {
    case TabLifecycle::State::Active:
        if (current == TabLifecycle::State::Discarded)
            m_pPage->m_bReloadingDiscarded = true;
        m_pPage->setLifecycleState(QWebEnginePage::LifecycleState::Active);
        break;
    case TabLifecycle::State::Frozen:
        m_pPage->setLifecycleState(QWebEnginePage::LifecycleState::Frozen);
        break;
    case TabLifecycle::State::Discarded:
        m_bKeepTitle = true;
        m_pPage->setLifecycleState(QWebEnginePage::LifecycleState::Discarded);
        break;
    }
    if (Lifecycle() != state)
        qCWarning(lcBrowser) << "a page of" << url().host() << "stayed" << int(Lifecycle()) << "instead of"
                             << int(state);
}

void CIEView::Navigate(const QString& address)
{
    const NavigationPolicy::Mode mode = currentMode();
    const NavigationPolicy::Typed typed = NavigationPolicy::TypedAddress(address, mode);
    if (typed.refused) {
        m_pPage->showWarning(typed.url.toString());
        return;
    }
    // The engine turns another program's address away before the page is asked: say so here.
    if (NavigationPolicy::TopLevel(mode, typed.url, {}, QString()) == NavigationPolicy::Verdict::External) {
        qCWarning(lcBrowser) << "did not hand" << typed.url.toString() << "to another program";
        emit pageNotice(this, QString::fromUtf8(PageNotice::kExternal));
        return;
    }
    load(typed.url);
}

QMenu* CIEView::CreateContextMenu()
{
    static const QWebEnginePage::WebAction kHidden[] = {
        QWebEnginePage::DownloadLinkToDisk, QWebEnginePage::DownloadImageToDisk, QWebEnginePage::DownloadMediaToDisk,
        QWebEnginePage::SavePage,           QWebEnginePage::ViewSource,          QWebEnginePage::InspectElement,
    };
    QMenu* menu = createStandardContextMenu();
    for (QWebEnginePage::WebAction action : kHidden)
        menu->removeAction(pageAction(action));
    return menu;
}

void CIEView::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CIEView::dragEnterEvent(QDragEnterEvent* event)
{
    if (carriesLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QWebEngineView::dragEnterEvent(event);
}

void CIEView::dragMoveEvent(QDragMoveEvent* event)
{
    if (carriesLocalFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    QWebEngineView::dragMoveEvent(event);
}

void CIEView::dropEvent(QDropEvent* event)
{
    if (carriesLocalFiles(event->mimeData())) {
        qCWarning(lcBrowser) << "a local file dropped on a page was ignored";
        event->ignore();
        return;
    }
    QWebEngineView::dropEvent(event);
}

void CIEView::Print(QPrinter* printer)
{
    m_bPrinting = true;
    print(printer);
}

void CIEView::openWindowFor(const QUrl& address)
{
    // A window a page asks for is a new tab that opens the address itself; the page never
    // gets hold of it. The engine crashes when it shows a window whose first document a
    // script wrote, and a window the page could script would carry the page's rights
    // into a tab of its own. Only a web address opens: the tab's load is the browser's
    // own, which the engine lets reach local files and its own pages where a page's
    // navigation could not; a blank window would show nothing anyway.
    if (!NavigationPolicy::IsWebAddress(address)) {
        qCWarning(lcBrowser) << "a page of" << url().host() << "asked for a window on" << address.toString().left(200)
                             << "; none opened";
        return;
    }
    CIEView* view = m_newWindow ? m_newWindow(this) : nullptr;
    if (view)
        view->load(address);
}
