#include "browsertestfixture.h"
#include "browserids.h"
#include "containerview.h"
#include "ieview.h"
#include "lorvaneapp.h"
#include "mainframe.h"
#include "parentpassword.h"
#include "tabcontainerbar.h"
#include "testhttpserver.h"
#include "tickclock.h"

#include <pellora/cooltabbar.h>

#include <QRegularExpression>

using Pellora::CCoolTabBar;

// One whole run of the browser on a hand-driven clock: the rows it leaves in the history.
class TestBrowserRun : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    static bool waitForLoad(CIEView* view, const QUrl& url)
    {
        return QTest::qWaitFor([&] { return view->url() == url && !view->PageTitle().isEmpty(); }, 20000);
    }

    // Which part of the start page shows: "restricted", "welcome" or "" while loading.
    static QString startPageShows(CIEView* view)
    {
        return Evaluate(view->page(), QStringLiteral(
            "(function() {"
            "  var shown = function(id) { var e = document.getElementById(id);"
            "                             return e && getComputedStyle(e).display != 'none'; };"
            "  if (shown('restricted') && !shown('welcome')) return 'restricted';"
            "  if (shown('welcome') && !shown('restricted')) return 'welcome';"
            "  return '';"
            "})()")).toString();
    }

    // A record the parents saved, with every rule on and a password.
    void saveStrictRecord()
    {
        CConfigManager setup;
        setup.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        setup.SetDefaultConfig();
        setup.m_record.m_bExitNeedPassword = 1;
        setup.m_record.m_bLimitTime = 1;
        setup.m_record.m_nLimitMinutes = 30;
        setup.m_record.m_bPasswordSet = 1;
        std::strcpy(setup.m_record.m_szPassword, ParentPasswordHash(QStringLiteral("pw")).constData());
        std::strcpy(setup.m_record.m_szHomePage, m_server.url("/home").toString().toUtf8().constData());
        QVERIFY(setup.SaveConfigToFile());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/home", "Home");
        m_server.addTitledPage("/next", "Next");
    }

    void historyRowsOfOneRun()
    {
        IsolatedEnvironment env;
        CConfigManager setup;
        setup.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        setup.SetDefaultConfig();
        std::strcpy(setup.m_record.m_szHomePage, m_server.url("/home").toString().toUtf8().constData());
        QVERIFY(setup.SaveConfigToFile());

        TickClock::ManualClock clock(10000);
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        // The start is recorded with 0 seconds before anything else.
        QCOMPARE(HistoryRows().size(), 1);
        QCOMPARE(HistoryRows().first().address, QStringLiteral("打开Lorvane"));
        QCOMPARE(HistoryRows().first().seconds, 0);
        CMainFrame* frame = app.MainFrame();
        CIEView* home = frame->ActivePage();
        QVERIFY(waitForLoad(home, m_server.url("/home")));

        clock.advance(1); // 1 ms on the home page counts as a second
        home->Navigate(m_server.url("/next").toString());
        QVERIFY(waitForLoad(home, m_server.url("/next")));

        clock.advance(1000);
        CIEView* blank = frame->OpenInNewTab(m_server.url("/home").toString(), QStringLiteral("空白页"));
        QVERIFY(waitForLoad(blank, m_server.url("/home")));
        clock.advance(1001); // closed after 1001 ms: 2 seconds
        CCoolTabBar* tabs = frame->TabContainerBar()->TabBar();
        emit tabs->tabCloseClicked(1, tabs->GetPageItem(1));

        // A tab closed before its first navigation leaves no row.
        CIEView* unused = frame->ContainerView()->CreateView();
        frame->ContainerView()->RemoveView(unused);

        clock.advance(500);
        app.ExitInstance();

        const QList<HistoryRow> rows = HistoryRows();
        QCOMPARE(rows.size(), 5);
        const QString start = rows[0].beginTime;
        QCOMPARE(rows[1].address, m_server.url("/home").toString());
        QCOMPARE(rows[1].seconds, 1);
        QCOMPARE(rows[2].address, m_server.url("/home").toString()); // the closed tab
        QCOMPARE(rows[2].seconds, 2);
        QCOMPARE(rows[3].address, m_server.url("/next").toString()); // written as the window went
        QCOMPARE(rows[3].seconds, 3); // 2501 ms
        QCOMPARE(rows[4].address, QStringLiteral("关闭Lorvane"));
        QCOMPARE(rows[4].beginTime, start); // the start time, not the closing time
        QCOMPARE(rows[4].seconds, 3);       // 2502 ms
    }

    void firstRunWithoutConfigurationShowsTheStartPage()
    {
        IsolatedEnvironment env;
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        QCOMPARE(BrowserConfig().LoadedFrom(), ConfigSource::NoFile);
        QVERIFY(!BrowserRestricted());
        CIEView* page = app.MainFrame()->ActivePage();
        QTRY_COMPARE_WITH_TIMEOUT(page->url().toString(), CLorvaneApp::StartPageAddress(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(page->title().contains("Lorvane"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(startPageShows(page), QStringLiteral("welcome"), 20000);
        app.ExitInstance();
    }

    void damagedRecordWithoutCopyRunsRestricted_data()
    {
        QTest::addColumn<int>("size"); // what is left of the file; -1: a folder in its place
        QTest::newRow("truncated") << 1000;
        QTest::newRow("empty") << 0;
        QTest::newRow("over-long") << 4000;
        QTest::newRow("unreadable") << -1;
    }
    void damagedRecordWithoutCopyRunsRestricted()
    {
        QFETCH(int, size);
        IsolatedEnvironment env;
        saveStrictRecord();
        const QString live = GetConfigerPathName();
        QVERIFY(QFile::remove(live + QString::fromLatin1(kLastGoodSuffix)));
        if (size < 0) {
            QVERIFY(QFile::remove(live));
            QVERIFY(QDir().mkpath(live));
        } else {
            QFile f(live);
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.resize(size));
        }

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lorvane\\.cfg"));
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        QVERIFY(BrowserRestricted());
        const ConfigRecord& record = BrowserConfig().m_record;
        QCOMPARE(BrowserConfig().LoadedFrom(), ConfigSource::Damaged);
        // No password can be checked: no lock and no exit password.
        QCOMPARE(record.m_bLimitTime, 0);
        QCOMPARE(record.m_bExitNeedPassword, 0);
        QCOMPARE(record.m_bPasswordSet, 0);
        QCOMPARE(QString::fromUtf8(record.m_szHomePage), CLorvaneApp::StartPageAddress() + "#restricted");
        CIEView* page = app.MainFrame()->ActivePage();
        QTRY_COMPARE_WITH_TIMEOUT(page->url().toString(), CLorvaneApp::StartPageAddress() + "#restricted", 20000);
        QTRY_COMPARE_WITH_TIMEOUT(startPageShows(page), QStringLiteral("restricted"), 20000);
        QVERIFY(Evaluate(page->page(), "document.getElementById('restricted').innerText")
                    .toString()
                    .contains(QStringLiteral("设置文件坏了，请爸爸妈妈打开家长管理控制面板重新设置。")));
        app.ExitInstance();
    }

    // A configuration path of 260 bytes or more cannot be kept in the record's path
    // field: the browser starts restricted and says why on standard error.
    void overLongConfigPathRunsRestricted()
    {
        IsolatedEnvironment env;
        const QString deep = env.configHome() + "/" + QString(150, 'd') + "/" + QString(150, 'e');
        QVERIFY(QDir().mkpath(deep));
        const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", deep.toUtf8());
        QVERIFY(GetConfigerPathName().toUtf8().size() >= 260);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot be named.*running restricted"));
        CLorvaneApp app;
        const bool started = app.InitInstance();
        qputenv("XDG_CONFIG_HOME", saved);
        QVERIFY(started);
        QVERIFY(BrowserRestricted());
        QCOMPARE(QString::fromUtf8(BrowserConfig().m_record.m_szHomePage), CLorvaneApp::StartPageAddress() + "#restricted");
        QCOMPARE(BrowserConfig().m_record.m_bExitNeedPassword, 0);
        app.ExitInstance();
    }

    void lostRecordRunsFromTheLastGoodCopy()
    {
        IsolatedEnvironment env;
        saveStrictRecord();
        QVERIFY(QFile::remove(GetConfigerPathName()));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lorvane\\.cfg.*last good copy"));
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        QVERIFY(!BrowserRestricted());
        const ConfigRecord& record = BrowserConfig().m_record;
        QCOMPARE(BrowserConfig().LoadedFrom(), ConfigSource::LastGoodCopy);
        QCOMPARE(record.m_bLimitTime, 1);
        QCOMPARE(record.m_nLimitMinutes, 30);
        QCOMPARE(record.m_bExitNeedPassword, 1);
        QCOMPARE(CheckParentPassword(QStringLiteral("pw"), record), PasswordCheck::Accepted);
        QVERIFY(waitForLoad(app.MainFrame()->ActivePage(), m_server.url("/home")));
        app.ExitInstance();
        // The browser never writes the record, not even to repair it.
        QVERIFY(!QFile::exists(GetConfigerPathName()));
    }

    void closeOnlyThroughTheCloseCommand()
    {
        IsolatedEnvironment env;
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        QVERIFY(frame->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(frame->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(CMainFrame::FrameGeometry(QRect(0, 0, 1280, 800)), QRect(0, 0, 1283, 803));
        QVERIFY(!frame->close()); // a window manager's close request
        QVERIFY(frame->isVisible());
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame));
        QTest::keyClick(frame, Qt::Key_F4, Qt::AltModifier);
        QTRY_VERIFY(!frame->isVisible());
        app.ExitInstance();
    }
};

QTEST_MAIN(TestBrowserRun)
#include "tst_browserrun.moc"
