#include "lorvaneapp.h"

#include "browserconfig.h"
#include "browserdata.h"
#include "browserlog.h"
#include "configmanager.h"
#include "mainframe.h"
#include "paths.h"
#include "ieview.h"
#include "skinfiles.h"
#include "startuptrace.h"
#include "taskkeymanager.h"
#include "tickclock.h"
#include "timetext.h"

#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QCoreApplication>
#include <QFontMetrics>
#include <QUrl>

#include <cerrno>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

using Pellora::CSurfaceManager;

namespace {

void setHomePage(CConfigManager& config, const QString& address)
{
    const QByteArray bytes = address.toUtf8();
    std::memset(config.m_record.m_szHomePage, 0, sizeof config.m_record.m_szHomePage);
    std::strncpy(config.m_record.m_szHomePage, bytes.constData(), sizeof config.m_record.m_szHomePage - 1);
}

} // namespace

CLorvaneApp::CLorvaneApp() = default;

CLorvaneApp::~CLorvaneApp()
{
    if (m_firstSteps.joinable())
        m_firstSteps.join();
}

QString CLorvaneApp::StartPageAddress()
{
    return QUrl::fromLocalFile(GetHtmlModleDirectory() + QStringLiteral("start.html")).toString();
}

QString CLorvaneApp::RestrictedPageAddress()
{
    return StartPageAddress() + QStringLiteral("#restricted");
}

void CLorvaneApp::loadConfiguration()
{
    CConfigManager& config = BrowserConfig();
    bool loaded = false;
    bool restricted = false;
    try {
        config.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        loaded = config.LoadConfigFromFile();
        restricted = config.LoadedFrom() == ConfigSource::Damaged;
    } catch (const CConfigPathException&) {
        // No path means no way to know the parents' rules: run as with a damaged file.
        qCWarning(lcBrowserStart, "the configuration file cannot be named (%s); running restricted",
                  qPrintable(GetConfigerPathName()));
        std::memset(&config.m_record, 0, sizeof config.m_record);
        config.SetDefaultConfig();
        restricted = true;
    }
    SetBrowserRestricted(restricted);
    if (restricted) {
        // The defaults already hold no time limit and no exit password: nothing could be
        // checked against them. The child is sent to ask a parent.
        setHomePage(config, RestrictedPageAddress());
        return;
    }
    // Before the parents have set anything up there is no home page of theirs: show
    // the browser's own start page rather than an empty window.
    if (!loaded || config.m_record.m_szHomePage[0] == '\0')
        setHomePage(config, StartPageAddress());
}

void CLorvaneApp::BeginStart()
{
    if (m_bBegun)
        return;
    m_bBegun = true;
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane"));
    StartupTrace::Mark("begin start");
    m_firstSteps = std::thread([this] { firstSteps(); });
}

void CLorvaneApp::firstSteps()
{
    // The web engine's own start (its processes) comes first on a machine with few cores.
    if (setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10) != 0)
        qCWarning(lcBrowserStart, "the early steps keep their priority: %s", std::strerror(errno));

    BrowserData::SetDataBasePath(GetDataBasePathName());

    // The start is recorded before anything else can fail.
    m_dwStartTick = TickClock::now();
    m_strStartTime = CurrentTimeText();
    BrowserData::AddHistory(m_strStartTime, 0, QString::fromUtf8(kHistoryStartRow));
    StartupTrace::Mark("start row");

    loadConfiguration();
    StartupTrace::Mark("configuration");

    if (SkinFiles::LoadStartSkin(&CSurfaceManager::LoadIfUsable).isEmpty())
        CSurfaceManager::LoadFromFile(SkinFiles::CurrentSkinDefinition());
    StartupTrace::Mark("skin");

    // Decoded here, the bars' pictures are ready when the window is made; and the
    // system's fonts, with those that draw Chinese, are looked up once here instead of
    // by the window's first text.
    for (const QString& picture : SkinFiles::CommonPictures())
        Pellora::LoadPictureImage(picture);
    QFontMetrics(QFont()).horizontalAdvance(QStringLiteral("请稍候控制工具栏"));
    StartupTrace::Mark("pictures");
}

bool CLorvaneApp::InitInstance()
{
    BeginStart();
    m_firstSteps.join();
    StartupTrace::Mark("waited for the early steps");

    CTaskKeyManager::Disable(1, 1, 0);
    CTaskKeyManager::Disable(2, 1, 1);
    CTaskKeyManager::Disable(4, 1, 0);
    StartupTrace::Mark("task keys");

    m_pMainFrame = std::make_unique<CMainFrame>();
    StartupTrace::Mark("frame");
    m_pMainFrame->OpenFirstPage();
    StartupTrace::Mark("first page");
    if (CIEView* first = m_pMainFrame->ActivePage())
        QObject::connect(first, &QWebEngineView::loadFinished, first,
                         [] { StartupTrace::Mark("first page loaded"); }, Qt::SingleShotConnection);
    m_pMainFrame->show();
    StartupTrace::Mark("shown");
    return true;
}

void CLorvaneApp::DestroyMainFrame()
{
    m_pMainFrame.reset();
}

int CLorvaneApp::ExitInstance()
{
    DestroyMainFrame();
    CTaskKeyManager::Disable(1, 0, 0);
    CTaskKeyManager::Disable(2, 0, 1);
    CTaskKeyManager::Disable(4, 0, 0);
    BrowserData::AddHistory(m_strStartTime, ElapsedSeconds(m_dwStartTick, TickClock::now()),
                            QString::fromUtf8(kHistoryCloseRow));
    return 0;
}
