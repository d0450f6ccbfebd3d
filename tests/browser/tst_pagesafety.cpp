#include "browsertestfixture.h"
#include "containerview.h"
#include "ieview.h"
#include "lorvaneapp.h"
#include "mainframe.h"
#include "printfiles.h"
#include "testhttpserver.h"

#include <pellora/coolstatusbar.h>

#include <QApplication>
#include <QDesktopServices>
#include <QDirIterator>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QWebEngineProfile>

// What a page can ask of the browser besides showing itself: downloads, file choosers,
// other programs' links, prints, frames and typed script. Nothing of it may
// write the child's files, start a program or reach a host that is not recommended.
class TestPageSafety : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    std::unique_ptr<IsolatedEnvironment> m_env;
    QStringList m_handedOut;

    // Every file below the isolated folders and the download folder, but the database
    // and the configuration, which the browser itself keeps.
    QStringList userFiles() const
    {
        QStringList out;
        for (const QString& root : {m_env->root(), QWebEngineProfile::defaultProfile()->downloadPath()}) {
            QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString f = it.next();
                if (!f.contains("/lorvane.db") && !f.contains("/lorvane.cfg"))
                    out.append(f);
            }
        }
        return out;
    }

    CIEView* openAllowedPage(CMainFrame& frame, const QString& path, const QString& title)
    {
        frame.OpenInNewTab(m_server.url(path).toString(), "t");
        CIEView* page = frame.ActivePage();
        if (page && !QTest::qWaitFor([&] { return page->title() == title; }, 20000))
            return nullptr;
        return page;
    }

    static void clickAt(CIEView* page, QPoint at, Qt::MouseButton button = Qt::LeftButton)
    {
        QWidget* target = page->focusProxy() ? page->focusProxy() : page;
        QTest::mouseClick(target, button, {}, at);
    }

public slots:
    // Stands in for the desktop: any link handed to another program lands here.
    void handOut(const QUrl& url) { m_handedOut.append(url.toString()); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage("/allowed", "Allowed page");
        m_server.addPage("/file.bin", QByteArray(4096, 'x'), "application/octet-stream");
        m_server.addTitledPage("/downloadlink", "Download link",
                               "<a id='d' download='x.txt' href='/allowed'>save</a>");
        m_server.addTitledPage("/chooser", "Chooser",
                               "<input id='f' type='file' style='position:fixed;left:0;top:0;width:100%;height:100%'>");
        m_server.addTitledPage("/links", "Links",
                               "<a id='l' href='mailto:a@b.example' style='display:block;position:fixed;left:0;top:0;"
                               "width:100%;height:100%'>mail</a>");
        m_server.addTitledPage("/far", "Far page");
        for (const char* scheme : {"mailto", "tel", "magnet", "myapp"})
            QDesktopServices::setUrlHandler(scheme, this, "handOut");
        QWebEngineProfile::defaultProfile()->setHttpCacheType(QWebEngineProfile::NoCache);
    }

    void cleanupTestCase()
    {
        for (const char* scheme : {"mailto", "tel", "magnet", "myapp"})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        UseDatabaseOf(*m_env);
        ResetBrowserConfig(1, "about:blank");
        SetBrowserRestricted(false);
        QVERIFY(ManagerData::AddSite("127.0.0.1", "local", ""));
        m_handedOut.clear();
    }

    void cleanup() { m_env.reset(); }

    void downloadsWriteNothing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("a file the server sends") << "navigate";
        QTest::newRow("a link with download") << "link";
        QTest::newRow("saving the page") << "save";
    }
    void downloadsWriteNothing()
    {
        QFETCH(QString, how);
        CMainFrame frame;
        const QStringList before = userFiles();
        CIEView* page = openAllowedPage(frame, how == "link" ? "/downloadlink" : "/allowed",
                                        how == "link" ? "Download link" : "Allowed page");
        QVERIFY(page);
        if (how == "navigate")
            page->Navigate(m_server.url("/file.bin").toString());
        else if (how == "link")
            Evaluate(page->page(), "document.getElementById('d').click()");
        else
            page->page()->triggerAction(QWebEnginePage::SavePage);
        QTRY_COMPARE_WITH_TIMEOUT(frame.StatusBar()->currentMessage(), QString::fromUtf8(PageNotice::kDownload), 20000);
        // Time for a file to land, which none may.
        QTest::qWait(300);
        QCOMPARE(userFiles(), before);
    }

    void fileChooserGivesNoFile()
    {
        CMainFrame frame;
        frame.resize(800, 600);
        frame.show();
        CIEView* page = openAllowedPage(frame, "/chooser", "Chooser");
        QVERIFY(page);
        QTRY_VERIFY_WITH_TIMEOUT(page->focusProxy(), 20000);
        clickAt(page, QPoint(100, 100));
        QTRY_COMPARE_WITH_TIMEOUT(frame.StatusBar()->currentMessage(), QString::fromUtf8(PageNotice::kFileChooser), 20000);
        QCOMPARE(Evaluate(page->page(), "document.getElementById('f').files.length").toInt(), 0);
        // No dialog of any kind came up to browse the files with.
        QVERIFY(!QApplication::activeModalWidget());
    }

    void otherProgramsLinksOpenNothing_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("address");
        QTest::newRow("typed mail, switch on") << 1 << "typed" << "mailto:a@b.example";
        QTest::newRow("typed mail, switch off") << 0 << "typed" << "mailto:a@b.example";
        QTest::newRow("typed telephone") << 0 << "typed" << "tel:+4912345";
        QTest::newRow("typed magnet") << 0 << "typed" << "magnet:?xt=urn:btih:abc";
        QTest::newRow("typed made-up scheme") << 0 << "typed" << "myapp://open/this";
        QTest::newRow("clicked mail link, switch off") << 0 << "click" << "mailto:a@b.example";
        QTest::newRow("clicked mail link, switch on") << 1 << "click" << "mailto:a@b.example";
    }
    void otherProgramsLinksOpenNothing()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(QString, how);
        QFETCH(QString, address);
        ResetBrowserConfig(onlyChildSites, "about:blank");
        CMainFrame frame;
        frame.resize(800, 600);
        frame.show();
        CIEView* page = openAllowedPage(frame, how == "click" ? "/links" : "/allowed",
                                        how == "click" ? "Links" : "Allowed page");
        QVERIFY(page);
        if (how == "typed") {
            page->Navigate(address);
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(page->focusProxy(), 20000);
            clickAt(page, QPoint(100, 100));
        }
        // A typed address says why nothing happens; a clicked link never leaves the engine.
        if (how == "typed")
            QTRY_COMPARE_WITH_TIMEOUT(frame.StatusBar()->currentMessage(), QString::fromUtf8(PageNotice::kExternal), 20000);
        // Time for a hand-over to another program, which must not come.
        QTest::qWait(1000);
        QVERIFY2(m_handedOut.isEmpty(), qPrintable(m_handedOut.join(' ')));
        QCOMPARE(page->url(), m_server.url(how == "click" ? "/links" : "/allowed"));
    }

    void printWithoutAPrinterGoesToTheOwnFolder()
    {
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("this machine has a printer: the print dialog would come up");
        CMainFrame frame;
        CIEView* page = openAllowedPage(frame, "/allowed", "Allowed page");
        QVERIFY(page);
        QSignalSpy done(&frame, &CMainFrame::printFinished);
        frame.PrintActivePageSafely();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 30000);
        frame.PrintActivePageSafely();
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 2, 30000);
        const QStringList prints = QDir(GetPrintDirectory()).entryList(QDir::Files);
        QCOMPARE(prints.size(), 2);
        for (const QString& name : prints) {
            QFile pdf(QDir(GetPrintDirectory()).filePath(name));
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            QCOMPARE(pdf.read(4), QByteArray("%PDF"));
        }
        QVERIFY(frame.StatusBar()->currentMessage().contains(GetPrintDirectory()));
    }

    void printNamesNeverReuseAFile()
    {
        QTemporaryDir dir;
        const QDateTime when(QDate(2026, 12, 8), QTime(15, 30, 0));
        QCOMPARE(PrintFiles::FileName(when, 1), QStringLiteral("打印-20261208-153000.pdf"));
        QFile taken(dir.filePath(PrintFiles::FileName(when, 1)));
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("the parents' own file");
        taken.close();
        const QString second = PrintFiles::ClaimFreshFile(dir.path(), when);
        QCOMPARE(QFileInfo(second).fileName(), QStringLiteral("打印-20261208-153000-2.pdf"));
        QCOMPARE(QFileInfo(PrintFiles::ClaimFreshFile(dir.path(), when)).fileName(),
                 QStringLiteral("打印-20261208-153000-3.pdf"));
        QVERIFY(taken.open(QIODevice::ReadOnly));
        QCOMPARE(taken.readAll(), QByteArray("the parents' own file"));
        QCOMPARE(PrintFiles::ClaimFreshFile(dir.filePath("missing/folder"), when), QString());
    }

    void localFileIsRefusedAndReachesNothing()
    {
        TestHttpServer far;
        QVERIFY(far.listen());
        QTemporaryDir dir;
        const QString farBase = far.url("/", "localhost").toString();
        QFile html(dir.filePath("page.html"));
        QVERIFY(html.open(QIODevice::WriteOnly));
        html.write(QStringLiteral("<title>Local</title><iframe src='%1frame'></iframe><img src='%1img.png'>"
                                  "<script src='%1s.js'></script><script>fetch('%1fetch').catch(()=>0);"
                                  "try { new WebSocket('%2socket'); } catch (e) {}</script>")
                       .arg(farBase, QString(farBase).replace("http:", "ws:"))
                       .toUtf8());
        html.close();
        CMainFrame frame;
        frame.OpenInNewTab(QUrl::fromLocalFile(html.fileName()).toString(), "t");
        CIEView* page = frame.ActivePage();
        QTRY_COMPARE_WITH_TIMEOUT(page->title(), QStringLiteral("这个网站不能去哦"), 20000);
        QVERIFY(page->url().fragment().endsWith(QStringLiteral("page.html")));
        // Time for the page's requests to arrive, which none may.
        QTest::qWait(1500);
        QVERIFY2(far.requestedPaths().isEmpty(), qPrintable(far.requestedPaths().join(' ')));
    }

    // What a recommended page loads is its own affair, and so is a blank window it opens
    // while nothing is written into it.
    void recommendedPageLoadsFromAnyHost()
    {
        TestHttpServer far;
        QVERIFY(far.listen());
        const QString farBase = far.url("/", "localhost").toString();
        m_server.addTitledPage("/mixed", "Mixed",
                               QStringLiteral("<img src='%1img.png'><script src='%1s.js'></script>"
                                              "<script>fetch('%1fetch').catch(()=>0)</script>")
                                   .arg(farBase));
        CMainFrame frame;
        QVERIFY(openAllowedPage(frame, "/mixed", "Mixed"));
        QTRY_VERIFY_WITH_TIMEOUT(far.requestedPaths().contains("/img.png"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(far.requestedPaths().contains("/s.js"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(far.requestedPaths().contains("/fetch"), 20000);
    }

    // A damaged settings record with no good copy: the browser's own pages only, not
    // even a recommended site, and no request leaves for any host.
    void restrictedBrowsingShowsOnlyOwnPages()
    {
        SetBrowserRestricted(true);
        CMainFrame frame;
        frame.OpenInNewTab(CLorvaneApp::StartPageAddress() + "#restricted", "t");
        CIEView* page = frame.ActivePage();
        QTRY_VERIFY_WITH_TIMEOUT(page->url().fileName() == "start.html", 20000);
        const int before = int(m_server.requestedPaths().size());
        page->Navigate(m_server.url("/allowed").toString());
        QTRY_VERIFY_WITH_TIMEOUT(page->url().toString().contains("warning.html"), 20000);
        // Time for a request to arrive, which none may.
        QTest::qWait(500);
        QCOMPARE(int(m_server.requestedPaths().size()), before);
    }

    void typedScriptIsRefusedWithTheSwitchOn()
    {
        CMainFrame frame;
        CIEView* page = openAllowedPage(frame, "/allowed", "Allowed page");
        QVERIFY(page);
        const QString script = "javascript:document.title='changed'";
        page->Navigate(script);
        QTRY_VERIFY_WITH_TIMEOUT(page->url().toString().contains("warning.html"), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(page->page(), "document.getElementById('address').textContent").toString(),
                                  script, 20000);
        QVERIFY(page->title() != "changed");
    }
};

QTEST_MAIN(TestPageSafety)
#include "tst_pagesafety.moc"
