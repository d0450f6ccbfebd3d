#include "browsertestfixture.h"
#include "containerview.h"
#include "ieview.h"
#include "lorvaneapp.h"
#include "mainframe.h"
#include "tabcontainerbar.h"
#include "tablifecycle.h"
#include "testhttpserver.h"
#include "tickclock.h"

#include <pellora/cooltabbar.h>

#include <QWebEngineSettings>

using Pellora::CCoolTabBar;
using TabLifecycle::State;
using TabLifecycle::Tab;

Q_DECLARE_METATYPE(QList<Tab>)
Q_DECLARE_METATYPE(QList<State>)

namespace {

// One second of silence, 8 kHz mono, as a WAV file: something for a page to play.
QByteArray silentWave()
{
    const quint32 samples = 8000;
    QByteArray wave;
    QDataStream out(&wave, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(16000) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    return wave + QByteArray(int(samples * 2), '\0');
}

Tab hidden(uint32_t since, State state = State::Active)
{
    Tab tab;
    tab.hiddenSince = since;
    tab.state = state;
    return tab;
}

Tab shown(State state = State::Active)
{
    Tab tab;
    tab.shown = true;
    tab.state = state;
    return tab;
}

template <typename Change>
Tab with(Tab tab, Change change)
{
    change(tab);
    return tab;
}

} // namespace

// Which tabs sleep and which are unloaded, and that a run with tabs put to sleep,
// unloaded and shown again leaves the history it leaves without.
class TestTabLifecycle : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    static bool waitForLoad(CIEView* view, const QUrl& url)
    {
        return QTest::qWaitFor([&] { return view->url() == url && !view->PageTitle().isEmpty() && !view->IsLoading(); },
                               20000);
    }

    // One run of the browser on the hand-driven clock: three tabs, two of them hidden
    // long enough to sleep, then each shown again and used. Returns the history's
    // (seconds, address) rows; the tab states seen along the way go to `seen`.
    QList<QPair<int, QString>> runWithTabs(const TabLifecycle::Budget& budget, QStringList* seen)
    {
        IsolatedEnvironment env;
        CConfigManager setup;
        setup.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        setup.SetDefaultConfig();
        std::strcpy(setup.m_record.m_szHomePage, m_server.url("/home").toString().toUtf8().constData());
        [&] { QVERIFY(setup.SaveConfigToFile()); }();

        TickClock::ManualClock clock(10000);
        CLorvaneApp app;
        [&] { QVERIFY(app.InitInstance()); }();
        CMainFrame* frame = app.MainFrame();
        CContainerView* pages = frame->ContainerView();
        CCoolTabBar* tabs = frame->TabContainerBar()->TabBar();
        pages->SetLifecycleBudget(budget);
        // Tab index, lifecycle state and caption, and once shown again whether the
        // document is the one marked before (a page unloaded in between is a new one).
        const auto state = [&](CIEView* view, bool shownAgain = false) {
            const int index = int(pages->Pages().indexOf(view));
            QString seen = QStringLiteral("%1:%2:%3").arg(index).arg(int(view->Lifecycle())).arg(tabs->GetPageItem(index)->m_strText);
            if (shownAgain)
                seen += Evaluate(view->page(), "window.marked === 1").toBool() ? ":same" : ":reloaded";
            return seen;
        };

        CIEView* home = frame->ActivePage();
        [&] { QVERIFY(waitForLoad(home, m_server.url("/home"))); }();
        clock.advance(1000);
        CIEView* second = frame->OpenInNewTab(m_server.url("/second").toString(), QStringLiteral("请稍候..."));
        [&] { QVERIFY(waitForLoad(second, m_server.url("/second"))); }();
        clock.advance(1000);
        CIEView* third = frame->OpenInNewTab(m_server.url("/third").toString(), QStringLiteral("请稍候..."));
        [&] { QVERIFY(waitForLoad(third, m_server.url("/third"))); }();

        // Both hidden tabs have been left long enough; one is kept in memory.
        Evaluate(home->page(), "window.marked = 1");
        Evaluate(second->page(), "window.marked = 1");
        clock.advance(5000);
        pages->UpdateLifecycles();
        seen->append(state(home));
        seen->append(state(second));

        // The sleeping tab wakes where it was.
        clock.advance(2000);
        tabs->SetActivePage(1);
        [&] { QVERIFY(waitForLoad(second, m_server.url("/second"))); }();
        seen->append(state(second, true));

        // The unloaded home tab comes back on its address, with its title.
        clock.advance(1500);
        tabs->SetActivePage(0);
        [&] { QVERIFY(waitForLoad(home, m_server.url("/home"))); }();
        seen->append(state(home, true));
        clock.advance(1500);
        home->Navigate(m_server.url("/third").toString());
        [&] { QVERIFY(waitForLoad(home, m_server.url("/third"))); }();
        clock.advance(2500);
        emit tabs->tabCloseClicked(2, tabs->GetPageItem(2));
        clock.advance(1000);
        app.ExitInstance();

        QList<QPair<int, QString>> rows;
        for (const HistoryRow& row : HistoryRows())
            rows.append({row.seconds, row.address});
        return rows;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/home", "Home");
        m_server.addTitledPage("/second", "Second");
        m_server.addTitledPage("/third", "Third");
        m_server.addPage("/silence.wav", silentWave(), "audio/wav");
        m_server.addTitledPage("/player", "Player",
                               "<audio id=a src='/silence.wav' loop></audio>"
                               "<script>var ticks=0;setInterval(function(){ticks++;},100);</script>");
    }

    void plan_data()
    {
        QTest::addColumn<QList<Tab>>("tabs");
        QTest::addColumn<uint>("now");
        QTest::addColumn<QList<State>>("expected");
        const State A = State::Active, F = State::Frozen, D = State::Discarded;
        // The default budget: asleep after 3 s hidden, four hidden tabs kept in memory.
        QTest::newRow("shown tab runs") << QList<Tab>{shown()} << 99999u << QList<State>{A};
        QTest::newRow("hidden 2.999 s runs") << QList<Tab>{shown(), hidden(1000)} << 3999u << QList<State>{A, A};
        QTest::newRow("hidden 3 s sleeps") << QList<Tab>{shown(), hidden(1000)} << 4000u << QList<State>{A, F};
        QTest::newRow("unloaded tab shown runs again") << QList<Tab>{shown(D)} << 0u << QList<State>{A};
        QTest::newRow("hidden unloaded tab stays unloaded")
            << QList<Tab>{shown(), hidden(9000, D)} << 9001u << QList<State>{A, D};
        QTest::newRow("printing is never put to sleep")
            << QList<Tab>{shown(), with(hidden(0), [](Tab& t) { t.printing = true; })} << 60000u << QList<State>{A, A};
        QTest::newRow("loading gets its grace")
            << QList<Tab>{shown(), with(hidden(0), [](Tab& t) { t.loading = true; })} << 29999u << QList<State>{A, A};
        QTest::newRow("loading past its grace sleeps")
            << QList<Tab>{shown(), with(hidden(0), [](Tab& t) { t.loading = true; })} << 30000u << QList<State>{A, F};
        QTest::newRow("sound stops at once")
            << QList<Tab>{shown(), with(hidden(500), [](Tab& t) { t.audible = true; })} << 500u << QList<State>{A, F};
        // Six hidden tabs: the four seen last stay in memory, whatever their order in the bar.
        QTest::newRow("past the budget the oldest are unloaded")
            << QList<Tab>{hidden(1000), hidden(6000), shown(), hidden(2000), hidden(5000), hidden(3000), hidden(4000)}
            << 20000u << QList<State>{D, F, A, D, F, F, F};
        QTest::newRow("recent tabs take places in memory first")
            << QList<Tab>{hidden(1000), hidden(2000), hidden(3000), hidden(4000), hidden(19000), shown()}
            << 20000u << QList<State>{D, F, F, F, A, A};
        QTest::newRow("unloaded tabs take no place in memory")
            << QList<Tab>{hidden(1000, D), hidden(2000), hidden(3000), hidden(4000), hidden(5000), shown()}
            << 20000u << QList<State>{D, F, F, F, F, A};
        // The tick count wraps after 49.7 days.
        QTest::newRow("hidden across the wrap")
            << QList<Tab>{shown(), hidden(0xFFFFF000u)} << 0x00000BB8u << QList<State>{A, F};
        QTest::newRow("just hidden before the wrap runs")
            << QList<Tab>{shown(), hidden(0xFFFFFF00u)} << 0x00000100u << QList<State>{A, A};
    }
    void plan()
    {
        QFETCH(QList<Tab>, tabs);
        QFETCH(uint, now);
        QFETCH(QList<State>, expected);
        QCOMPARE(TabLifecycle::Plan(tabs, now), expected);
    }

    void nextChange()
    {
        const QList<Tab> tabs{shown(), hidden(1000), with(hidden(2000), [](Tab& t) { t.loading = true; }),
                              hidden(0, State::Discarded)};
        QCOMPARE(TabLifecycle::NextChangeInMs(tabs, 1500), 2500);
        QCOMPARE(TabLifecycle::NextChangeInMs(tabs, 4000), 28000); // only the loading one is left
        QCOMPARE(TabLifecycle::NextChangeInMs(tabs, 32000), -1);
        TabLifecycle::Budget never;
        never.freezeAfterMs = UINT32_MAX;
        QCOMPARE(TabLifecycle::NextChangeInMs(tabs, 1500, never), -1);
        QCOMPARE(TabLifecycle::Plan(tabs, 4000000000u, never), (QList<State>{State::Active, State::Active, State::Active,
                                                                              State::Discarded}));
    }

    void historyIsTheSameWithTabsAsleepAndUnloaded()
    {
        TabLifecycle::Budget never;
        never.freezeAfterMs = UINT32_MAX;
        QStringList seenWithout;
        const QList<QPair<int, QString>> without = runWithTabs(never, &seenWithout);

        TabLifecycle::Budget oneKept;
        oneKept.liveHiddenTabs = 1;
        QStringList seenWith;
        const QList<QPair<int, QString>> with = runWithTabs(oneKept, &seenWith);

        // Nothing slept in the first run; in the second the home tab was unloaded (and
        // loaded again when shown) and the second tab slept, each keeping its title.
        QCOMPARE(seenWithout, (QStringList{"0:0:Home", "1:0:Second", "1:0:Second:same", "0:0:Home:same"}));
        QCOMPARE(seenWith, (QStringList{"0:2:Home", "1:1:Second", "1:0:Second:same", "0:0:Home:reloaded"}));
        const QString home = m_server.url("/home").toString();
        const QString second = m_server.url("/second").toString();
        const QString third = m_server.url("/third").toString();
        const QList<QPair<int, QString>> expected{
            {0, "打开Lorvane"},
            {12, home},     // to the navigation after it came back
            {13, third},    // the closed tab: 12.5 s
            {4, third},     // the rest as the window goes
            {15, second},
            {16, "关闭Lorvane"}};
        QCOMPARE(without, expected);
        QCOMPARE(with, without);
    }

    // A hidden page's sound and timers stop while it sleeps, and it is not woken by a page.
    void sleepingPagePausesItsMedia()
    {
        IsolatedEnvironment env;
        ResetBrowserConfig(0, m_server.url("/player").toString());
        TickClock::ManualClock clock(0);
        CContainerView pages;
        pages.resize(800, 600);
        pages.show();
        CIEView* player = pages.CreateView();
        player->page()->settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
        pages.ActivateView(player);
        player->Navigate(m_server.url("/player").toString());
        QVERIFY(waitForLoad(player, m_server.url("/player")));
        QCOMPARE(Evaluate(player->page(), "document.getElementById('a').play().then(function(){return 1;}, "
                                          "function(e){return String(e);})")
                     .toString(),
                 QString());
        QTRY_VERIFY_WITH_TIMEOUT(!Evaluate(player->page(), "document.getElementById('a').paused").toBool(), 10000);

        CIEView* other = pages.CreateView();
        pages.ActivateView(other);
        clock.advance(3000);
        pages.UpdateLifecycles();
        QCOMPARE(player->Lifecycle(), State::Frozen);
        QTest::qWait(300);
        pages.ActivateView(player);
        QCOMPARE(player->Lifecycle(), State::Active);
        QVERIFY(Evaluate(player->page(), "document.getElementById('a').paused").toBool());
    }
};

QTEST_MAIN(TestTabLifecycle)
#include "tst_tablifecycle.moc"
