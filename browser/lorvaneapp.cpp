#include "lorvaneapp.h"

#include "browserconfig.h"
#include "browserdata.h"
#include "configmanager.h"
#include "mainframe.h"
#include "paths.h"
#include "skinfiles.h"
#include "surfacemanager.h"
#include "taskkeymanager.h"
#include "tickclock.h"
#include "timetext.h"

#include <QCoreApplication>
#include <QUrl>

#include <cstring>

CLorvaneApp::CLorvaneApp() = default;

CLorvaneApp::~CLorvaneApp() = default;

QString CLorvaneApp::StartPageAddress()
{
    return QUrl::fromLocalFile(GetHtmlModleDirectory() + QStringLiteral("start.html")).toString();
}

bool CLorvaneApp::InitInstance()
{
    QCoreApplication::setApplicationName(QStringLiteral("Lorvane"));
    BrowserData::SetDataBasePath(GetDataBasePathName());

    // The start is recorded before anything else can fail.
    m_dwStartTick = TickClock::now();
    m_strStartTime = CurrentTimeText();
    BrowserData::AddHistory(m_strStartTime, 0, QStringLiteral("打开Lorvane"));

    CConfigManager& config = BrowserConfig();
    config.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
    // Before the parents have set anything up there is no home page of theirs: show
    // the browser's own start page rather than an empty window.
    if (!config.LoadConfigFromFile() || config.m_record.m_szHomePage[0] == '\0') {
        const QByteArray start = StartPageAddress().toUtf8();
        std::memset(config.m_record.m_szHomePage, 0, sizeof config.m_record.m_szHomePage);
        std::strncpy(config.m_record.m_szHomePage, start.constData(), sizeof config.m_record.m_szHomePage - 1);
    }

    CSurfaceManager::LoadFromFile(SkinFiles::CurrentSkinDefinition());

    CTaskKeyManager::Disable(1, 1, 0);
    CTaskKeyManager::Disable(2, 1, 1);
    CTaskKeyManager::Disable(4, 1, 0);

    m_pMainFrame = std::make_unique<CMainFrame>();
    m_pMainFrame->OpenFirstPage();
    m_pMainFrame->show();
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
                            QStringLiteral("关闭Lorvane"));
    return 0;
}
