#include "browserprofile.h"

#include "browserconfig.h"
#include "browserdata.h"
#include "browserlog.h"
#include "configmanager.h"
#include "navigationpolicy.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QVariant>

CRequestFilter::CRequestFilter(QObject* parent, CIEPage* page)
    : QWebEngineUrlRequestInterceptor(parent)
    , m_page(page)
{
}

void CRequestFilter::interceptRequest(QWebEngineUrlRequestInfo& info)
{
    const NavigationPolicy::Mode mode =
        NavigationPolicy::ModeFor(BrowserConfig().m_record.m_bOnlyChildSites, BrowserRestricted());
    if (m_page && mode == NavigationPolicy::Mode::ChildSites && m_page->DocumentRecommended())
        return;
    const QUrl document = m_page ? m_page->url() : info.firstPartyUrl();
    if (NavigationPolicy::RequestAllowed(mode, document, info.requestUrl(), &BrowserData::IsChildSite))
        return;
    qCWarning(lcBrowser) << "blocked a request of" << document.toString() << "to" << info.requestUrl().toString();
    info.block(true);
}

void PrepareBrowserProfile(QWebEngineProfile* profile)
{
    if (profile->property("lorvanePrepared").toBool())
        return;
    profile->setProperty("lorvanePrepared", true);
    profile->setUrlRequestInterceptor(new CRequestFilter(profile));

    QWebEngineSettings* s = profile->settings();
    // Links to mail, telephone and other programs' schemes open nothing.
    s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    s->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    s->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    s->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    s->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    s->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
}
