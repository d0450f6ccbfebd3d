#include "browsertestfixture.h"
#include "containerview.h"
#include "controltoolbar.h"
#include "ieview.h"
#include "mainframe.h"
#include "navigationpolicy.h"
#include "browserids.h"
#include "tabcontainerbar.h"
#include "testhttpserver.h"
#include "tickclock.h"

#include <pellora/coolcombobox.h>
#include <pellora/cooltabbar.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QCompleter>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWebEngineProfile>

using Pellora::CCoolTabBar;

// The browser's pages against a local server: the whitelist, the warning page, frames,
// redirects, new windows, tabs and printing.
class TestBrowserWeb : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<IsolatedEnvironment> m_env;

    // The active page once its address begins with `prefix`; nothing after 20 seconds.
    static CIEView* waitForUrl(CMainFrame& frame, const QString& prefix)
    {
        const auto shown = [&] {
            return frame.ActivePage() && frame.ActivePage()->url().toString().startsWith(prefix);
        };
        return QTest::qWaitFor(shown, 20000) ? frame.ActivePage() : nullptr;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/allowed", "Allowed page", "<a id='out' href='/next'>next</a>");
        m_server.addTitledPage("/next", "Next page");
        m_server.addTitledPage("/other", "Other host");
        m_server.addTitledPage("/framed", "Framed");
        m_server.addTitledPage("/withframe", "With frame",
                               QString("<iframe src='%1'></iframe>").arg(m_server.url("/framed", "localhost").toString()));
        m_server.addRedirect("/redirect", m_server.url("/target", "localhost").toString());
        m_server.addTitledPage("/target", "Target");
        m_server.addTitledPage("/opener", "Opener",
                               QString("<script>window.open('%1');</script>").arg(m_server.url("/popup").toString()));
        m_server.addTitledPage("/popup", "Popup page");
        // The tests run one after another on one profile: nothing cached between them.
        QWebEngineProfile::defaultProfile()->setHttpCacheType(QWebEngineProfile::NoCache);
    }

    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        UseDatabaseOf(*m_env);
        ResetBrowserConfig(1, m_server.url("/allowed").toString());
        QVERIFY(ManagerData::AddSite("127.0.0.1", "local", ""));
    }

    void cleanup() { m_env.reset(); }

    void refusedHostGoesToTheWarningPage()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Allowed page"), 20000);

        const QString refused = m_server.url("/other", "localhost").toString();
        page->Navigate(refused);
        QVERIFY(waitForUrl(frame, "file://"));
        QVERIFY(page->url().toLocalFile().endsWith("/data/html/warning.html"));
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(page->page(), "document.getElementById('address').textContent").toString(),
                                  refused, 20000);
        QVERIFY(!m_server.requestedPaths().contains("/other"));
        // The stay on the allowed page ended when the warning page came; nothing for the refused one.
        QTRY_VERIFY_WITH_TIMEOUT(HistoryAddresses().contains(m_server.url("/allowed").toString()), 20000);
        QVERIFY(!HistoryAddresses().contains(refused));
    }

    void refusalsInARowEachShowAndRecordTheirOwn()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Allowed page"), 20000);
        const QString card = "document.getElementById('address').textContent";
        QStringList refused;
        for (const char* path : {"/first", "/second", "/third"}) {
            refused.append(m_server.url(path, "localhost").toString());
            frame.ControlToolBar()->SetAddressText(refused.last());
            emit frame.ControlToolBar()->AddressBox()->addressEntered();
            QTRY_COMPARE_WITH_TIMEOUT(Evaluate(page->page(), card).toString(), refused.last(), 20000);
            QTRY_COMPARE_WITH_TIMEOUT(frame.ControlToolBar()->AddressText(), page->url().toString(), 20000);
            QVERIFY(page->url().toString().contains("warning.html#"));
        }
        // The warning page is replaced, not stacked: one step back leaves all three.
        frame.OnCommand(BrowserIds::kCmdBack);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Allowed page"), 20000);
        frame.ContainerView()->RemoveView(page);

        const QStringList rows = HistoryAddresses();
        QCOMPARE(rows.size(), 5);
        QCOMPARE(rows.first(), m_server.url("/allowed").toString());
        QCOMPARE(rows.last(), m_server.url("/allowed").toString());
        for (int i = 0; i < 3; ++i) {
            QVERIFY2(rows.at(i + 1).contains("warning.html#"), qPrintable(rows.at(i + 1)));
            QCOMPARE(QUrl::fromPercentEncoding(rows.at(i + 1).section('#', 1).toUtf8()), refused.at(i));
        }
        for (const QString& r : refused)
            QVERIFY(!m_server.requestedPaths().contains(QUrl(r).path()));
    }

    void completionOffersAPageOfThisRun()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        QVERIFY(waitForUrl(frame, m_server.url("/allowed").toString()));
        // The page is still open, so the history has no row of it yet.
        QVERIFY(HistoryAddresses().isEmpty());
        QAbstractItemModel* model = frame.ControlToolBar()->AddressBox()->lineEdit()->completer()->model();
        QTRY_VERIFY_WITH_TIMEOUT(model->rowCount() > 0, 20000);
        QCOMPARE(model->index(0, 0).data().toString(), m_server.url("/allowed").toString());
    }

    void newBlankTabWaitsForAnAddress()
    {
        ResetBrowserConfig(0, m_server.url("/allowed").toString());
        CMainFrame frame;
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.activateWindow();
        frame.OpenFirstPage();
        QVERIFY(waitForUrl(frame, m_server.url("/allowed").toString()));
        CCoolTabBar* tabs = frame.TabContainerBar()->TabBar();
        QLineEdit* edit = frame.ControlToolBar()->AddressBox()->lineEdit();
        frame.OnCommand(BrowserIds::kCmdNewBlankTab);
        CIEView* blank = frame.ActivePage();
        QSignalSpy loaded(blank, &QWebEngineView::loadFinished);
        QTRY_VERIFY_WITH_TIMEOUT(loaded.size() > 0, 20000);
        QTest::qWait(200); // late title and address reports of the blank page
        QCOMPARE(tabs->GetPageItem(1)->m_strText, QStringLiteral("空白页"));
        QCOMPARE(frame.ControlToolBar()->AddressText(), QString());
        QTRY_VERIFY(edit->hasFocus());
        // What the child types is the whole address.
        const QString typed = QString("localhost:%1/next").arg(m_server.port());
        QTest::keyClicks(QApplication::focusWidget(), typed);
        QCOMPARE(frame.ControlToolBar()->AddressText(), typed);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(blank->title(), QStringLiteral("Next page"), 20000);
        QCOMPARE(tabs->GetPageItem(1)->m_strText, QStringLiteral("Next page"));
    }

    void warningPageShowsDirectionCharactersVisibly_data()
    {
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("shown");
        QTest::newRow("right-to-left override") << QString::fromUtf8("http://x.example/\u202Elive")
                                                << QString::fromUtf8("http://x.example/⟨U+202E⟩live");
        QTest::newRow("isolate and marks") << QString::fromUtf8("http://x.example/a\u2067b\u2069c\u200Fd\u061C")
                                           << QString::fromUtf8("http://x.example/a⟨U+2067⟩b⟨U+2069⟩c⟨U+200F⟩d⟨U+061C⟩");
        QTest::newRow("other scripts stay") << QString::fromUtf8("http://x.example/儿童/é")
                                            << QString::fromUtf8("http://x.example/儿童/é");
    }
    void warningPageShowsDirectionCharactersVisibly()
    {
        QFETCH(QString, refused);
        QFETCH(QString, shown);
        QWebEnginePage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.load(QUrl(NavigationPolicy::WarningAddress(GetExeDirectory(), refused)));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(&page, "document.getElementById('address').textContent").toString(), shown,
                                  20000);
    }

    void freeBrowsingWhenTheSwitchIsNotOne_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::newRow("0") << 0;
        QTest::newRow("2") << 2;
    }
    void freeBrowsingWhenTheSwitchIsNotOne()
    {
        QFETCH(int, onlyChildSites);
        ResetBrowserConfig(onlyChildSites, m_server.url("/other", "localhost").toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        QTRY_COMPARE_WITH_TIMEOUT(frame.ActivePage() ? frame.ActivePage()->title() : QString(),
                                  QStringLiteral("Other host"), 20000);
    }

    void framesFromAnyHostAreNotChecked()
    {
        const int before = int(m_server.requestedPaths().count("/framed"));
        ResetBrowserConfig(1, m_server.url("/withframe").toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/withframe").toString());
        QVERIFY(page);
        QTRY_VERIFY_WITH_TIMEOUT(m_server.requestedPaths().count("/framed") > before, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("With frame"), 20000);
        QCOMPARE(page->url(), m_server.url("/withframe"));
        frame.ContainerView()->RemoveView(page);
        QVERIFY(!HistoryAddresses().contains(m_server.url("/framed", "localhost").toString()));
    }

    void redirectToARefusedHostIsStopped()
    {
        ResetBrowserConfig(1, m_server.url("/redirect").toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, "file://");
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(page->page(), "document.getElementById('address').textContent").toString(),
                                  m_server.url("/target", "localhost").toString(), 20000);
        QVERIFY(!m_server.requestedPaths().contains("/target"));
    }

    void hostileAddressIsShownAsText()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(page);
        const QString hostile = m_server.url("/x", "localhost").toString()
            + "?q=<script>window.pwned=1</script>'\"%s" + QString(10000, 'z');
        page->Navigate(hostile);
        QVERIFY(waitForUrl(frame, "file://"));
        QTRY_VERIFY_WITH_TIMEOUT(
            Evaluate(page->page(), "document.getElementById('address').textContent").toString().contains("x?q="),
            20000);
        const QString shown = Evaluate(page->page(), "document.getElementById('address').textContent").toString();
        // Shown as the page asked for it (the engine encodes markup characters in a query).
        QCOMPARE(QUrl::fromPercentEncoding(shown.toUtf8()), hostile);
        QCOMPARE(Evaluate(page->page(), "typeof window.pwned").toString(), QStringLiteral("undefined"));
    }

    void warningPageNeverRunsMarkupFromItsAddress()
    {
        QWebEnginePage page;
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        const QString markup = "javascript:<img src=x onerror=\"window.pwned=1\"><script>window.pwned=2</script>";
        page.load(QUrl(NavigationPolicy::WarningAddress(GetExeDirectory(), markup)));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.size(), 1, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(&page, "document.getElementById('address').textContent").toString(), markup,
                                  20000);
        QCOMPARE(Evaluate(&page, "typeof window.pwned").toString(), QStringLiteral("undefined"));
        QCOMPARE(Evaluate(&page, "document.getElementsByTagName('img').length").toInt(), 0);
    }

    void newWindowOpensInANewTab()
    {
        ResetBrowserConfig(1, m_server.url("/opener").toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        CCoolTabBar* tabs = frame.TabContainerBar()->TabBar();
        QTRY_COMPARE_WITH_TIMEOUT(tabs->GetPageCount(), 2, 20000);
        QCOMPARE(tabs->GetActivePage(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(tabs->GetPageItem(1)->m_strText, QStringLiteral("Popup page"), 20000);
        QCOMPARE(frame.ActivePage(), tabs->GetPageItem(1)->m_pWnd.data());
    }

    // Only a web address opens a window: the new tab's load is the browser's own, which
    // could reach local files and the engine's pages where the page itself could not. A
    // web window asked for afterwards still opens, so nothing else was in the way.
    void windowsWithoutAWebAddressOpenNothing_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<QString>("script");
        QTest::newRow("blank window written into") << 1 << "const w = window.open(''); if (w) w.document.write('hi');";
        QTest::newRow("local folder, switch off") << 0 << "window.open('file:///');";
        QTest::newRow("engine page, switch off") << 0 << "window.open('chrome://gpu');";
        QTest::newRow("script address, switch off") << 0 << "window.open('javascript:1');";
    }
    void windowsWithoutAWebAddressOpenNothing()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(QString, script);
        const QString path = QStringLiteral("/asks/") + QString::fromUtf8(QTest::currentDataTag()).replace(u' ', u'-');
        m_server.addTitledPage(path, QStringLiteral("Asks"),
                               QStringLiteral("<script>%1 window.open('%2');</script>").arg(script, m_server.url("/popup").toString()));
        ResetBrowserConfig(onlyChildSites, m_server.url(path).toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        CCoolTabBar* tabs = frame.TabContainerBar()->TabBar();
        QTRY_COMPARE_WITH_TIMEOUT(tabs->GetPageCount(), 2, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(tabs->GetPageItem(1)->m_strText, QStringLiteral("Popup page"), 20000);
        QCOMPARE(tabs->GetPageCount(), 2);
    }

    void tabsOpenSwitchAndClose()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CCoolTabBar* tabs = frame.TabContainerBar()->TabBar();
        for (int i = 0; i < 3; ++i)
            frame.OnCommand(BrowserIds::kCmdNewBlankTab);
        QCOMPARE(tabs->GetPageCount(), 4);
        QCOMPARE(frame.ContainerView()->Pages().size(), 4);
        QCOMPARE(tabs->GetActivePage(), 3);
        QCOMPARE(tabs->GetPageItem(3)->m_strText, QStringLiteral("空白页"));
        QCOMPARE(frame.ActivePage(), frame.ContainerView()->Pages().at(3));

        // Closing the last, active tab shows its left-hand neighbour.
        CIEView* third = frame.ContainerView()->Pages().at(2);
        emit tabs->tabCloseClicked(3, tabs->GetPageItem(3));
        QCOMPARE(tabs->GetPageCount(), 3);
        QCOMPARE(frame.ActivePage(), third);
        // Closing an inner active tab shows its right-hand neighbour.
        tabs->SetActivePage(1);
        CIEView* second = frame.ContainerView()->Pages().at(1);
        QCOMPARE(frame.ActivePage(), second);
        emit tabs->tabCloseClicked(1, tabs->GetPageItem(1));
        QCOMPARE(frame.ActivePage(), third);
        QVERIFY(!frame.ContainerView()->Pages().contains(second));
        // Only the active page is visible.
        for (CIEView* v : frame.ContainerView()->Pages())
            QCOMPARE(v->isVisibleTo(&frame), v == third);

        emit tabs->tabCloseClicked(0, tabs->GetPageItem(0));
        QCOMPARE(tabs->GetPageCount(), 1);
        emit tabs->tabCloseClicked(0, tabs->GetPageItem(0)); // the last tab stays
        QCOMPARE(tabs->GetPageCount(), 1);
        QCOMPARE(frame.ContainerView()->Pages().size(), 1);
    }

    void homeCommandNeverReplacesTheCurrentPage()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* first = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(first);
        frame.OnCommand(BrowserIds::kCmdHome);
        QCOMPARE(frame.ContainerView()->Pages().size(), 2);
        QVERIFY(frame.ActivePage() != first);
        QCOMPARE(frame.TabContainerBar()->TabBar()->GetPageItem(1)->m_strText, QStringLiteral("请稍候..."));
        QCOMPARE(first->url(), m_server.url("/allowed"));
        QVERIFY(waitForUrl(frame, m_server.url("/allowed").toString()));
    }

    void addressBoxOpensInTheActivePage()
    {
        ResetBrowserConfig(0, m_server.url("/allowed").toString());
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(page);
        // Typed without a scheme: opened as a web address, the typed text stays.
        const QString typed = QString("localhost:%1/next").arg(m_server.port());
        frame.ControlToolBar()->SetAddressText(typed);
        emit frame.ControlToolBar()->AddressBox()->addressEntered();
        QCOMPARE(frame.ControlToolBar()->AddressText(), typed);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Next page"), 20000);
        QCOMPARE(frame.ContainerView()->Pages().size(), 1);
        // The box follows the page once it has moved on.
        QTRY_COMPARE_WITH_TIMEOUT(frame.ControlToolBar()->AddressText(),
                                  m_server.url("/next", "localhost").toString(), 20000);
    }

    void printsTheActivePageToPdf()
    {
        CMainFrame frame;
        frame.OpenFirstPage();
        CIEView* page = waitForUrl(frame, m_server.url("/allowed").toString());
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Allowed page"), 20000);
        QTemporaryDir dir;
        auto* printer = new QPrinter(QPrinter::ScreenResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir.filePath("page.pdf"));
        QSignalSpy done(&frame, &CMainFrame::printFinished);
        frame.PrintActivePage(printer);
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 30000);
        QCOMPARE(done.first().first().toBool(), true);
        QFile pdf(dir.filePath("page.pdf"));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(4), QByteArray("%PDF"));
    }

    // A tab closed while its page prints: the tab goes at once, the view and its
    // printer once the print has ended (the engine cannot end a print half way).
    void closingTheTabEndsItsPrint()
    {
        struct CountedPrinter : QPrinter {
            explicit CountedPrinter(int* gone) : QPrinter(QPrinter::ScreenResolution), m_gone(gone) {}
            ~CountedPrinter() override { ++*m_gone; }
            int* m_gone;
        };
        CMainFrame frame;
        frame.OpenFirstPage();
        QVERIFY(waitForUrl(frame, m_server.url("/allowed").toString()));
        CIEView* page = frame.OpenInNewTab(m_server.url("/allowed").toString(), "t");
        QVERIFY(page);
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("Allowed page"), 20000);
        QTemporaryDir dir;
        int gone = 0;
        auto* printer = new CountedPrinter(&gone);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(dir.filePath("page.pdf"));
        QSignalSpy done(&frame, &CMainFrame::printFinished);
        frame.PrintActivePage(printer);
        CCoolTabBar* tabs = frame.TabContainerBar()->TabBar();
        emit tabs->tabCloseClicked(1, tabs->GetPageItemByWnd(page));
        QCOMPARE(frame.ContainerView()->Pages().size(), 1);
        QPointer<CIEView> closed(page);
        QTRY_COMPARE_WITH_TIMEOUT(gone, 1, 30000);
        QCOMPARE(done.size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!closed, 10000);
        QTest::qWait(500);
        QCOMPARE(gone, 1);
    }
};

QTEST_MAIN(TestBrowserWeb)
#include "tst_browserweb.moc"
