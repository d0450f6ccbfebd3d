#include "siterequestdesk.h"

#include "browserdata.h"
#include "browserlog.h"
#include "javascript.h"
#include "navigationpolicy.h"
#include "paths.h"
#include "siterequests.h"
#include "timetext.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace {

// Runs in the program's own world of the warning page only. A click made by a page
// script is not trusted, and this world's objects are out of every page script's reach.
const char kWiring[] = R"JS(
  var button = document.getElementById("ask");
  if (!button) return;
  var answers = ["sent", "already", "failed", "enough"];
  var desk = null, waiting = false;
  function send() {
    waiting = false;
    desk.ask(function (answer) {
      button.disabled = false;
      button.hidden = true;
      var shown = document.getElementById(answers[answer] || "failed");
      if (shown) shown.hidden = false;
    });
  }
  button.addEventListener("click", function (event) {
    if (!event.isTrusted || button.disabled) return;
    button.disabled = true;
    if (desk) send(); else waiting = true;
  });
  new QWebChannel(qt.webChannelTransport, function (channel) {
    desk = channel.objects.requestDesk;
    if (waiting) send();
  });
)JS";

QString wiringScript()
{
    QFile channelScript(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!channelScript.open(QIODevice::ReadOnly)) {
        qCWarning(lcBrowser) << "the web channel's script is missing: the warning page cannot ask the parents";
        return {};
    }
    const QString page = QUrl(NavigationPolicy::WarningAddress(GetExeDirectory(), QString()))
                             .adjusted(QUrl::RemoveFragment)
                             .toString(QUrl::FullyEncoded);
    return QStringLiteral("(function (page) {\n"
                          "  if (location.href.split('#')[0] !== page) return;\n")
        + QString::fromUtf8(channelScript.readAll()) + QString::fromUtf8(kWiring)
        + QStringLiteral("})(%1);").arg(JavaScriptStringLiteral(page));
}

} // namespace

CSiteRequestDesk::CSiteRequestDesk(QWebEnginePage* page)
    : QObject(page)
    , m_page(page)
{
}

CSiteRequestDesk* CSiteRequestDesk::Install(QWebEnginePage* page)
{
    auto* desk = new CSiteRequestDesk(page);
    auto* channel = new QWebChannel(page);
    channel->registerObject(QStringLiteral("requestDesk"), desk);
    page->setWebChannel(channel, QWebEngineScript::ApplicationWorld);

    static const QString source = wiringScript();
    if (source.isEmpty())
        return desk;
    QWebEngineScript wiring;
    wiring.setName(QStringLiteral("lorvane-request-desk"));
    wiring.setSourceCode(source);
    wiring.setInjectionPoint(QWebEngineScript::DocumentReady);
    wiring.setWorldId(QWebEngineScript::ApplicationWorld);
    wiring.setRunsOnSubFrames(false);
    page->scripts().insert(wiring);
    return desk;
}

int CSiteRequestDesk::ask()
{
    const QString refused = NavigationPolicy::RefusedAddressShown(m_page->url(), GetExeDirectory());
    if (refused.isEmpty()) {
        qCWarning(lcBrowser) << "a request for a site came from" << m_page->url().toString()
                             << "which is not the warning page; none recorded";
        return NotSent;
    }
    const QString host = QUrl(refused).host();
    const QDateTime now = QDateTime::currentDateTime();
    switch (SiteRequests::Add(BrowserData::DataBasePath(), refused, host, now.toString(QStringLiteral("yyyy-MM-dd")),
                              FormatTimeText(now))) {
    case SiteRequests::AddResult::Added:
        emit requestSent(host);
        return Sent;
    case SiteRequests::AddResult::AlreadyAsked:
        return AskedBefore;
    case SiteRequests::AddResult::DailyLimit:
        qCWarning(lcBrowser) << "no request for" << host << "recorded: enough were made today";
        return AskedEnough;
    case SiteRequests::AddResult::Failed:
        break;
    }
    qCWarning(lcBrowser) << "the request for" << host << "could not be recorded";
    return NotSent;
}
