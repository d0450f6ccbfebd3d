#include "addfavordlg.h"
#include "browserdata.h"
#include "browserids.h"
#include "configmanager.h"
#include "containerview.h"
#include "controltoolbar.h"
#include "coolpngbutton.h"
#include "browsingdatabase.h"
#include "cppsqlitedb.h"
#include "ieview.h"
#include "inioperater.h"
#include "isolatedenvironment.h"
#include "lorvaneapp.h"
#include "mainframe.h"
#include "nextdialog.h"
#include "paths.h"
#include "tabcontainerbar.h"
#include "testhttpserver.h"
#include "tickclock.h"
#include "workspacebar.h"
#include "xdotool.h"

#include <pellora/coolbutton.h>
#include <pellora/coolcombobox.h>
#include <pellora/cooledit.h>
#include <pellora/cooltabbar.h>
#include <pellora/cooltabctrl.h>
#include <pellora/cooltreectrl.h>

#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QtTest>

#include <cstring>

using Pellora::CCoolTabBar;

// The browser in real windows under an X server, driven with the real mouse (xdotool)
// where it matters whose window is on top: favorites added from a page survive a
// restart, open through the navigation policy and go with their category; the side
// bar stays one of the browser's own windows.
namespace {

using XDoTool::At;
using XDoTool::Click;

QPoint globalCentre(const QWidget* w, const QRect& local)
{
    return w->mapToGlobal(local.center());
}

QPoint globalCentre(const QWidget* w)
{
    return globalCentre(w, w->rect());
}

// The top-level window of ours that is on top at a point of the screen, as the X
// server sees it.
QWidget* windowOnTopAt(const QPoint& p)
{
    if (!XDoTool::Run(At(p)))
        return nullptr;
    const QString shell = XDoTool::Output({"getmouselocation", "--shell"});
    for (const QString& line : shell.split(QLatin1Char('\n'))) {
        if (!line.startsWith(QLatin1String("WINDOW=")))
            continue;
        const WId id = line.mid(7).toULongLong();
        for (QWindow* w : QGuiApplication::allWindows()) {
            if (!w->handle() || w->winId() != id)
                continue;
            while (w->parent())
                w = w->parent();
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (top->windowHandle() == w)
                    return top;
            }
        }
        qWarning() << "no window of ours is" << id << "at" << p;
    }
    return nullptr;
}

// What the next pop-up menu offers; the item named `choose` is chosen, else it is closed.
struct MenuWatch {
    QStringList items;
    bool shown = false;
};

std::shared_ptr<MenuWatch> watchNextMenu(const QString& choose = QString())
{
    auto watch = std::make_shared<MenuWatch>();
    auto* poll = new QTimer;
    auto ticks = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, [poll, watch, choose, ticks] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (++*ticks > 300) {
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        watch->shown = true;
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions()) {
            watch->items.append(a->isSeparator() ? QStringLiteral("-") : a->text());
            if (!choose.isEmpty() && a->text() == choose)
                chosen = a;
        }
        if (chosen)
            chosen->trigger();
        menu->close();
    });
    poll->start(10);
    return watch;
}

QString favorsInDatabase()
{
    QList<FavorRecord> favors;
    BrowserData::GetFavors(favors);
    QStringList out;
    for (const FavorRecord& f : favors)
        out.append(QStringLiteral("%1|%2|%3").arg(f.m_strFavorName, f.m_strFavorUrl).arg(f.m_nClsId));
    return out.join(QLatin1Char(' '));
}

QString classesInDatabase()
{
    QList<VisitClassRecord> classes;
    BrowserData::GetVisitClasses(classes);
    QStringList out;
    for (const VisitClassRecord& c : classes)
        out.append(QStringLiteral("%1:%2").arg(c.m_nClsId).arg(c.m_strClsName));
    return out.join(QLatin1Char(' '));
}

QTreeWidgetItem* findNode(QTreeWidget* tree, const QString& text)
{
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.first();
}

} // namespace

class TestFavoritesRun : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    void saveRecord(int onlyChildSites, int limitTime = 0, int exitPassword = 0)
    {
        CConfigManager setup;
        setup.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        setup.SetDefaultConfig();
        setup.m_record.m_bOnlyChildSites = onlyChildSites;
        setup.m_record.m_bLimitTime = limitTime;
        setup.m_record.m_nLimitMinutes = 1;
        setup.m_record.m_bExitNeedPassword = exitPassword;
        std::strcpy(setup.m_record.m_szHomePage, m_server.url("/games").toString().toUtf8().constData());
        QVERIFY(setup.SaveConfigToFile());
    }

    static void addSite(const QString& url, const QString& name)
    {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, GetDataBasePathName());
        db.execDML("insert into sites(siteurl, sitename, siteimage) values(?, ?, '')", {url, name});
    }

    static bool waitForTitle(CMainFrame* frame, const QString& title)
    {
        return QTest::qWaitFor(
            [&] {
                const CCoolTabBar::CPageItem* tab = frame->TabContainerBar()->TabBar()->GetActivePageItem();
                return tab && tab->m_strText == title;
            },
            20000);
    }

    // "⊙" clicked with the real mouse.
    static bool clickWorkspaceButton(CMainFrame* frame)
    {
        return Click(globalCentre(frame->TabContainerBar()->WorkspaceButton()));
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool is needed");
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/games", "Games Page", "<h1>games</h1>");
        m_server.addTitledPage("/other", "Other Page", "<h1>other</h1>");
    }

    // Add a favorite from a page into a new category, restart, find it, open it, delete
    // the category: each step with the real mouse on the real windows.
    void addRestartOpenDelete()
    {
        IsolatedEnvironment env;
        saveRecord(0);
        const QString gamesUrl = m_server.url("/games").toString();
        {
            CLorvaneApp app;
            QVERIFY(app.InitInstance());
            CMainFrame* frame = app.MainFrame();
            QVERIFY(QTest::qWaitForWindowExposed(frame));
            QVERIFY(waitForTitle(frame, "Games Page"));
            QTRY_COMPARE_WITH_TIMEOUT(frame->ControlToolBar()->AddressText(), gamesUrl, 20000);
            QVERIFY(frame->WorkspaceBar()->isHidden()); // hidden at start
            QVERIFY(!frame->TabContainerBar()->WorkspaceButton()->isChecked());

            bool seen = false;
            QString proposed;
            onNextDialog<CAddFavorDlg>(
                [&proposed](CAddFavorDlg* dialog) {
                    proposed = dialog->NameEdit()->text();
                    dialog->CategoryBox()->setEditText(QStringLiteral("Fun"));
                    Click(globalCentre(dialog->OkButton()));
                },
                &seen);
            QVERIFY(Click(globalCentre(frame->ControlToolBar()->Button(BrowserIds::kCmdAddFavor))));
            QTRY_VERIFY(seen);
            QCOMPARE(proposed, QStringLiteral("Games Page"));
            QTRY_COMPARE(favorsInDatabase(), "Games Page|" + gamesUrl + "|1");
            QCOMPARE(classesInDatabase(), QStringLiteral("1:Fun"));
            app.ExitInstance();
        }

        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QVERIFY(waitForTitle(frame, "Games Page"));
        CWorkspaceBar* bar = frame->WorkspaceBar();
        QVERIFY(bar->isHidden());
        QVERIFY(clickWorkspaceButton(frame));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(frame->TabContainerBar()->WorkspaceButton()->isChecked());
        QVERIFY(QTest::qWaitForWindowExposed(bar->FavorTree()));
        // Docked at the left, beside the pages and below the two top bars.
        QCOMPARE(frame->dockWidgetArea(bar), Qt::LeftDockWidgetArea);
        QVERIFY(bar->mapTo(frame, QPoint(0, 0)).y() >= frame->TabContainerBar()->mapTo(frame, QPoint(0, 0)).y()
                                                            + frame->TabContainerBar()->height());

        QTreeWidget* tree = bar->FavorTree();
        QTreeWidgetItem* fun = findNode(tree, "Fun");
        QVERIFY(fun);
        QCOMPARE(fun->childCount(), 1);
        QCOMPARE(fun->child(0)->text(0), QStringLiteral("Games Page"));
        QVERIFY(Click(globalCentre(tree->viewport(), tree->visualItemRect(fun)), 1, 2));
        QTRY_VERIFY(fun->isExpanded());
        QCOMPARE(fun->icon(0).cacheKey(), bar->Icon(CWorkspaceBar::kOpenFolder).cacheKey());

        const int tabs = frame->TabContainerBar()->TabBar()->GetPageCount();
        QVERIFY(Click(globalCentre(tree->viewport(), tree->visualItemRect(fun->child(0))), 1, 2));
        QTRY_COMPARE(frame->TabContainerBar()->TabBar()->GetPageCount(), tabs + 1);
        CIEView* opened = frame->ActivePage();
        QTRY_COMPARE_WITH_TIMEOUT(opened->url().toString(), gamesUrl, 20000);
        QVERIFY(waitForTitle(frame, "Games Page"));

        const auto watch = watchNextMenu(QStringLiteral("删除收藏种类"));
        QVERIFY(Click(globalCentre(tree->viewport(), tree->visualItemRect(fun)), 3));
        QTRY_VERIFY(watch->shown);
        QCOMPARE(watch->items, QStringList({"删除收藏种类"}));
        QTRY_COMPARE(tree->topLevelItemCount(), 0);
        QCOMPARE(favorsInDatabase(), QString());
        QCOMPARE(classesInDatabase(), QString());

        QVERIFY(clickWorkspaceButton(frame));
        QTRY_VERIFY(bar->isHidden());
        QVERIFY(!frame->TabContainerBar()->WorkspaceButton()->isChecked());
        app.ExitInstance();
    }

    // With "仅访问儿童网站" on, a favorite opens like a typed address: a host that is not
    // recommended gives the warning page; a recommended site opens.
    void favoritesGoThroughTheNavigationPolicy()
    {
        IsolatedEnvironment env;
        saveRecord(1);
        BrowserData::SetDataBasePath(GetDataBasePathName());
        addSite(m_server.url("/games").toString(), QStringLiteral("Recommended"));
        const QString other = m_server.url("/other", QStringLiteral("localhost")).toString();
        QVERIFY(BrowserData::AddFavor(QStringLiteral("Elsewhere"), other, -1) > 0);

        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        QVERIFY(waitForTitle(frame, "Games Page"));
        frame->OnCommand(BrowserIds::kCmdToggleWorkspace);
        CWorkspaceBar* bar = frame->WorkspaceBar();
        QVERIFY(QTest::qWaitForWindowExposed(bar->FavorTree()));

        // Every tab the trees open starts with the same caption as any new tab of theirs.
        QStringList captions;
        connect(frame->TabContainerBar()->TabBar(), &CCoolTabBar::tabActivated, this,
                [&captions](int, CCoolTabBar::CPageItem* item) {
                    if (item)
                        captions.append(item->m_strText);
                });

        QTreeWidget* tree = bar->FavorTree();
        QTreeWidgetItem* elsewhere = findNode(tree, "Elsewhere");
        QVERIFY(elsewhere);
        QVERIFY(Click(globalCentre(tree->viewport(), tree->visualItemRect(elsewhere)), 1, 2));
        QTRY_COMPARE(frame->TabContainerBar()->TabBar()->GetPageCount(), 2);
        QTRY_VERIFY_WITH_TIMEOUT(frame->ActivePage()->url().toString().contains("warning.html#"), 20000);
        QVERIFY(frame->ActivePage()->url().fragment(QUrl::FullyDecoded).contains(QStringLiteral("/other")));
        QVERIFY(!m_server.requestedPaths().contains(QStringLiteral("/other")));

        // The recommended sites' tab, clicked with the mouse, then its site.
        Pellora::CCoolTabCtrl* tabs = bar->TabCtrl();
        QVERIFY(Click(globalCentre(tabs, tabs->Layout().tabs.at(1))));
        QTRY_COMPARE(tabs->GetActivePage(), 1);
        QTreeWidget* sites = bar->SiteTree();
        QVERIFY(QTest::qWaitForWindowExposed(sites));
        QTRY_VERIFY(sites->isVisible() && !sites->visualItemRect(sites->topLevelItem(0)).isEmpty());
        QVERIFY(Click(globalCentre(sites->viewport(), sites->visualItemRect(sites->topLevelItem(0))), 1, 2));
        QTRY_COMPARE(frame->TabContainerBar()->TabBar()->GetPageCount(), 3);
        QVERIFY(waitForTitle(frame, "Games Page"));
        QCOMPARE(frame->ActivePage()->url().toString(), m_server.url("/games").toString());
        QCOMPARE(captions, QStringList({"请稍候......", "请稍候......"}));
        disconnect(frame->TabContainerBar()->TabBar(), nullptr, this, nullptr);
        app.ExitInstance();
    }

    // A floating bar is still one of the browser's windows: above the browser, without
    // a frame of the window manager, and it stays above when the browser shows again.
    // Nothing on the bar opens a menu the child could leave by.
    void sideBarStaysTheBrowsers()
    {
        IsolatedEnvironment env;
        saveRecord(0, 0, 1);
        BrowserData::SetDataBasePath(GetDataBasePathName());
        addSite(m_server.url("/games").toString(), QStringLiteral("Recommended"));
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        int exitPrompts = 0;
        frame->SetExitPrompt([&exitPrompts] {
            ++exitPrompts;
            return false;
        });
        QVERIFY(QTest::qWaitForWindowExposed(frame));
        CWorkspaceBar* bar = frame->WorkspaceBar();
        QVERIFY(clickWorkspaceButton(frame));
        QVERIFY(QTest::qWaitForWindowExposed(bar->FavorTree()));

        // No menu from the bar's band (the frame's menu of its bars), its tabs or the
        // recommended sites.
        Pellora::CCoolTabCtrl* tabs = bar->TabCtrl();
        QVERIFY(Click(globalCentre(tabs, tabs->Layout().tabs.at(1))));
        QTRY_VERIFY(bar->SiteTree()->isVisible());
        const QList<QPoint> spots{globalCentre(bar->Gripper()), globalCentre(tabs, tabs->Layout().tabs.at(1)),
                                  globalCentre(bar->SiteTree()->viewport())};
        for (const QPoint& p : spots) {
            const auto watch = watchNextMenu();
            QVERIFY(Click(p, 3));
            QTest::qWait(400);
            QVERIFY2(!watch->shown, qPrintable(watch->items.join(", ")));
        }
        QCOMPARE(tabs->GetActivePage(), 1);

        bar->setFloating(true);
        bar->move(420, 300);
        QTRY_VERIFY(bar->isWindow() && bar->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(bar));
        QVERIFY(bar->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(bar->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!(bar->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(bar->windowHandle()->transientParent(), frame->windowHandle());
        const QPoint middle = globalCentre(bar->TabCtrl());
        QTRY_COMPARE(windowOnTopAt(middle), static_cast<QWidget*>(bar));

        // The frame raises itself whenever it shows; the floating bar comes up with it.
        QShowEvent shown;
        QApplication::sendEvent(frame, &shown);
        QTest::qWait(200);
        QTRY_COMPARE(windowOnTopAt(middle), static_cast<QWidget*>(bar));

        // Alt+F4 on the floating bar is the browser's close command: the parents are asked.
        bar->activateWindow();
        QVERIFY(XDoTool::Run({"key", "--delay", "60", "alt+F4"}));
        QTRY_COMPARE(exitPrompts, 1);
        QTest::qWait(300);
        QVERIFY(frame->isVisible());
        QVERIFY(bar->isVisible());

        // The band's close button hides the bar; "⊙" shows it again, floating as it was.
        QVERIFY(Click(globalCentre(bar->Gripper(), bar->CloseButtonRect())));
        QTRY_VERIFY(bar->isHidden());
        QVERIFY(!frame->TabContainerBar()->WorkspaceButton()->isChecked());
        QVERIFY(clickWorkspaceButton(frame));
        QTRY_VERIFY(bar->isVisible());
        QVERIFY(bar->isFloating());
        QVERIFY(frame->TabContainerBar()->WorkspaceButton()->isChecked());
        QTRY_COMPARE(windowOnTopAt(globalCentre(bar->TabCtrl())), static_cast<QWidget*>(bar));
        app.ExitInstance();
    }

    // The bar's sizes are saved when the browser ends and read at its next start.
    void barSizesLastAcrossRuns()
    {
        IsolatedEnvironment env;
        saveRecord(0);
        const Pellora::BarSizes wanted{QSize(300, 180), QSize(260, 400), QSize(320, 240)};
        {
            // A run that leaves the bar as it was writes nothing.
            CLorvaneApp app;
            QVERIFY(app.InitInstance());
            app.MainFrame()->OnCommand(BrowserIds::kCmdToggleWorkspace);
            app.ExitInstance();
            QVERIFY(!QFileInfo::exists(Pellora::ControlBarProfileFile()));
        }
        {
            CLorvaneApp app;
            QVERIFY(app.InitInstance());
            app.MainFrame()->WorkspaceBar()->SetSizes(wanted);
            app.ExitInstance();
        }
        CINIOperater profile(Pellora::ControlBarProfileFile());
        QCOMPARE(profile.ReadString(QStringLiteral("Lorvane-SCBar-123"), QStringLiteral("sizeVertCX")),
                 QStringLiteral("260"));
        QCOMPARE(profile.ReadString(QStringLiteral("Lorvane-SCBar-123"), QStringLiteral("sizeFloatCY")),
                 QStringLiteral("240"));
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CWorkspaceBar* bar = app.MainFrame()->WorkspaceBar();
        QCOMPARE(bar->Sizes(), wanted);
        app.MainFrame()->OnCommand(BrowserIds::kCmdToggleWorkspace);
        QTRY_COMPARE(bar->width(), 260);
        app.ExitInstance();
    }

    // The add-favorite dialog is no place to wait out the time limit: the lock comes
    // while it is open.
    void lockComesOverTheDialog()
    {
        IsolatedEnvironment env;
        saveRecord(0, 1);
        TickClock::ManualClock clock(1000);
        CLorvaneApp app;
        QVERIFY(app.InitInstance());
        CMainFrame* frame = app.MainFrame();
        int locks = 0;
        frame->SetLockRunner([&locks] {
            ++locks;
            return 5;
        });
        bool seen = false;
        onNextDialog<CAddFavorDlg>(
            [&](CAddFavorDlg* dialog) {
                clock.advance(60000);
                // The frame's one-second timer finds the allowance used up.
                if (!QTest::qWaitFor([&locks] { return locks > 0; }, 5000))
                    qWarning("no lock while the dialog was open");
                dialog->reject();
            },
            &seen);
        frame->OnCommand(BrowserIds::kCmdAddFavor);
        QVERIFY(seen);
        QCOMPARE(locks, 1);
        QCOMPARE(favorsInDatabase(), QString());
        app.ExitInstance();
    }
};

QTEST_MAIN(TestFavoritesRun)
#include "tst_favoritesrun.moc"
