#include "ieview.h"

#include "browserconfig.h"
#include "browserdata.h"
#include "configmanager.h"
#include "navigationpolicy.h"
#include "paths.h"
#include "tickclock.h"
#include "timetext.h"

#include <QTimer>
#include <QWebEngineProfile>

namespace {

void writeRow(const std::optional<StayRecorder::Row>& row)
{
    if (row)
        BrowserData::AddHistory(row->beginTime, row->seconds, row->address);
}

} // namespace

QUrl AddressToUrl(const QString& typed)
{
    static const QStringList kSchemes = {"http", "https", "ftp", "file", "about", "data", "javascript"};
    const QString text = typed.trimmed();
    const QUrl direct(text);
    // "localhost:8080" also parses with a scheme: only the known ones count as given.
    if (direct.isValid() && kSchemes.contains(direct.scheme().toLower()))
        return direct;
    return QUrl::fromUserInput(text);
}

CIEPage::CIEPage(QWebEngineProfile* profile, CIEView* view)
    : QWebEnginePage(profile, view)
    , m_pView(view)
{
}

CIEPage::~CIEPage() = default;

void CIEPage::RecordLastStay()
{
    writeRow(m_stays.finished(TickClock::now()));
}

bool CIEPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame)
{
    if (!isMainFrame)
        return true;
    const QString address = url.toString();
    const bool allowed = NavigationPolicy::IsAllowed(BrowserConfig().m_record.m_bOnlyChildSites, address,
                                                     &BrowserData::IsChildSite);
    if (allowed) {
        writeRow(m_stays.navigated(address, TickClock::now(), CurrentTimeText()));
        return true;
    }
    const QUrl warning(NavigationPolicy::WarningAddress(GetExeDirectory(), address));
    // Started once this request has been turned down, never from inside it.
    QTimer::singleShot(0, this, [this, warning] { load(warning); });
    return false;
}

QWebEnginePage* CIEPage::createWindow(WebWindowType)
{
    CIEView* view = m_pView->openNewWindow();
    return view ? view->page() : nullptr;
}

CIEView::CIEView(QWidget* parent)
    : QWebEngineView(parent)
    , m_pPage(new CIEPage(QWebEngineProfile::defaultProfile(), this))
{
    setPage(m_pPage);
    connect(this, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        m_strPageTitle = title;
        emit pageTitleChanged(this, title);
    });
    connect(this, &QWebEngineView::loadProgress, this, [this](int percent) { emit pageProgress(this, percent); });
    connect(this, &QWebEngineView::loadFinished, this, [this] { emit pageLoaded(this); });
    connect(this, &QWebEngineView::urlChanged, this, [this](const QUrl& url) { emit pageAddressChanged(this, url); });
}

CIEView::~CIEView()
{
    m_pPage->RecordLastStay();
}

void CIEView::Navigate(const QString& address)
{
    load(AddressToUrl(address));
}

CIEView* CIEView::openNewWindow()
{
    return m_newWindow ? m_newWindow(this) : nullptr;
}
