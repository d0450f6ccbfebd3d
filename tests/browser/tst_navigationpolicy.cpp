#include "navigationpolicy.h"
#include "stayrecorder.h"

#include <QUrl>
#include <QtTest>

using NavigationPolicy::Mode;
using NavigationPolicy::Verdict;

class TestNavigationPolicy : public QObject
{
    Q_OBJECT

private slots:
    // One recommended site, "kids.example"; the check is the site rule's stand-in.
    static bool kidsSite(const QString& address) { return QUrl(address).host().contains("kids.example"); }

    void topLevel_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<bool>("restricted");
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("verdict");
        const int allow = int(Verdict::Allow), refuse = int(Verdict::Refuse), external = int(Verdict::External);

        QTest::newRow("switch 0 allows a far site") << 0 << false << "http://far.example/" << allow;
        QTest::newRow("switch 2 is off too") << 2 << false << "http://far.example/" << allow;
        QTest::newRow("switch -1 is off too") << -1 << false << "data:text/html,hi" << allow;
        QTest::newRow("recommended site") << 1 << false << "http://kids.example/a" << allow;
        QTest::newRow("recommended host inside a longer host") << 1 << false << "https://www.kids.example.cn:81/" << allow;
        QTest::newRow("other site refused") << 1 << false << "http://far.example/" << refuse;
        QTest::newRow("https other site refused") << 1 << false << "https://far.example/" << refuse;
        QTest::newRow("own page passes") << 1 << false << "file:///opt/lorvane/data/html/warning.html#http://far.example/" << allow;
        QTest::newRow("other local file refused") << 1 << false << "file:///home/x.html" << refuse;
        QTest::newRow("local folder refused") << 1 << false << "file:///home/" << refuse;
        QTest::newRow("FILE: in capitals refused") << 1 << false << "FILE:///tmp/a" << refuse;
        QTest::newRow("dot-dot out of own pages refused") << 1 << false << "file:///opt/lorvane/data/html/../../../etc/" << refuse;
        QTest::newRow("own folder itself refused") << 1 << false << "file:///opt/lorvane/data/html" << refuse;
        QTest::newRow("switch off: local files open") << 0 << false << "file:///home/x.html" << allow;
        QTest::newRow("res: passes") << 1 << false << "res://ieframe.dll/x" << allow;
        QTest::newRow("a page's javascript: link passes") << 1 << false << "JAVASCRIPT:void(0)" << allow;
        QTest::newRow("javascript only in the path is refused") << 1 << false << "http://far.example/javascript:x" << refuse;
        QTest::newRow("about:blank passes") << 1 << false << "about:blank" << allow;
        QTest::newRow("about:srcdoc passes") << 1 << false << "about:srcdoc" << allow;
        QTest::newRow("other about: pages refused") << 1 << false << "about:version" << refuse;
        QTest::newRow("data: document refused") << 1 << false << "data:text/html,<iframe src=http://far.example>" << refuse;
        QTest::newRow("blob: document refused") << 1 << false << "blob:http://kids.example/5a1c" << refuse;
        QTest::newRow("view-source: of a far site refused") << 1 << false << "view-source:http://far.example/" << refuse;
        QTest::newRow("view-source: of a kids site refused") << 1 << false << "view-source:http://kids.example/" << refuse;
        QTest::newRow("engine pages refused") << 1 << false << "chrome://gpu" << refuse;
        QTest::newRow("filesystem: refused") << 1 << false << "filesystem:http://kids.example/temporary/a" << refuse;
        QTest::newRow("web address without host refused") << 1 << false << "http:///kids.example" << refuse;
        QTest::newRow("mailto never opens, switch on") << 1 << false << "mailto:a@far.example" << external;
        QTest::newRow("mailto never opens, switch off") << 0 << false << "mailto:a@far.example" << external;
        QTest::newRow("tel never opens") << 0 << false << "tel:+123" << external;
        QTest::newRow("magnet never opens") << 1 << false << "magnet:?xt=urn:btih:abc" << external;
        QTest::newRow("made-up scheme never opens") << 0 << false << "myapp://kids.example/" << external;
        QTest::newRow("restricted: own page passes") << 0 << true << "file:///opt/lorvane/data/html/start.html#restricted" << allow;
        QTest::newRow("restricted: other file refused") << 0 << true << "file:///home/child/a.html" << refuse;
        QTest::newRow("restricted: dot-dot out of own pages refused") << 0 << true << "file:///opt/lorvane/data/html/../../secret.html" << refuse;
        QTest::newRow("restricted: recommended site refused") << 1 << true << "http://kids.example/" << refuse;
        QTest::newRow("restricted: blank passes") << 0 << true << "about:blank" << allow;
    }
    void topLevel()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(bool, restricted);
        QFETCH(QString, address);
        QFETCH(int, verdict);
        const Verdict got = NavigationPolicy::TopLevel(NavigationPolicy::ModeFor(onlyChildSites, restricted),
                                                       QUrl(address), &kidsSite, "/opt/lorvane/data/html/");
        QCOMPARE(int(got), verdict);
    }

    void switchOffReadsNoSites()
    {
        bool asked = false;
        const auto check = [&](const QString&) { return asked = true; };
        QCOMPARE(NavigationPolicy::TopLevel(Mode::Free, QUrl("http://far.example/"), check, {}), Verdict::Allow);
        QVERIFY(NavigationPolicy::FrameAllowed(Mode::Free, QUrl("about:blank"), QUrl("http://far.example/"), check, {}));
        QVERIFY(NavigationPolicy::RequestAllowed(Mode::Free, QUrl(), QUrl("http://far.example/"), check));
        QVERIFY(!asked);
    }

    void frames_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<bool>("allowed");

        QTest::newRow("any frame of an allowed web page") << 1 << "http://kids.example/" << "http://far.example/" << true;
        QTest::newRow("data frame of an allowed web page") << 1 << "http://kids.example/" << "data:text/html,x" << true;
        QTest::newRow("far frame in a blank page a script wrote") << 1 << "about:blank" << "http://far.example/" << false;
        QTest::newRow("far frame before the document has an address") << 1 << "" << "http://far.example/" << false;
        QTest::newRow("far frame in a local file") << 1 << "file:///tmp/a.html" << "http://far.example/" << false;
        QTest::newRow("data frame in a local file") << 1 << "file:///tmp/a.html" << "data:text/html,x" << false;
        QTest::newRow("kids frame in a local file") << 1 << "file:///tmp/a.html" << "http://kids.example/" << true;
        QTest::newRow("blank frame in a local file") << 1 << "file:///tmp/a.html" << "about:blank" << true;
        QTest::newRow("far frame in a far page (never shown)") << 1 << "http://far.example/" << "http://far.example/" << false;
        QTest::newRow("switch off: any frame") << 0 << "about:blank" << "http://far.example/" << true;
        QTest::newRow("a program's scheme in a frame, switch off") << 0 << "http://kids.example/" << "mailto:a@b" << false;
        QTest::newRow("a program's scheme in a frame, switch on") << 1 << "http://kids.example/" << "tel:1" << false;
    }
    void frames()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(QString, document);
        QFETCH(QString, frame);
        QFETCH(bool, allowed);
        QCOMPARE(NavigationPolicy::FrameAllowed(NavigationPolicy::ModeFor(onlyChildSites, false), QUrl(document),
                                                QUrl(frame), &kidsSite, "/opt/lorvane/data/html/"),
                 allowed);
    }

    void requests_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<bool>("restricted");
        QTest::addColumn<QString>("firstParty");
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("allowed");

        QTest::newRow("an allowed page's picture from anywhere") << 1 << false << "http://kids.example/" << "http://far.example/a.png" << true;
        QTest::newRow("anything to a recommended host") << 1 << false << "file:///tmp/a.html" << "https://kids.example/x.js" << true;
        QTest::newRow("local file to a far host") << 1 << false << "file:///tmp/a.html" << "http://far.example/a.png" << false;
        QTest::newRow("local file's socket to a far host") << 1 << false << "file:///tmp/a.html" << "ws://far.example/s" << false;
        QTest::newRow("no first party to a far host") << 1 << false << "" << "http://far.example/" << false;
        QTest::newRow("far first party to a far host") << 1 << false << "http://far.example/" << "http://far.example/" << false;
        QTest::newRow("local content is no request out") << 1 << false << "file:///tmp/a.html" << "file:///tmp/b.png" << true;
        QTest::newRow("data content is no request out") << 1 << false << "about:blank" << "data:image/png;base64,AA" << true;
        QTest::newRow("switch off: everything") << 0 << false << "file:///tmp/a.html" << "http://far.example/" << true;
        QTest::newRow("restricted: not even a recommended host") << 1 << true << "http://kids.example/" << "http://kids.example/" << false;
        QTest::newRow("restricted: own files") << 0 << true << "file:///opt/lorvane/data/html/start.html" << "file:///opt/lorvane/data/html/a.png" << true;
    }
    void requests()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(bool, restricted);
        QFETCH(QString, firstParty);
        QFETCH(QString, request);
        QFETCH(bool, allowed);
        QCOMPARE(NavigationPolicy::RequestAllowed(NavigationPolicy::ModeFor(onlyChildSites, restricted),
                                                  QUrl(firstParty), QUrl(request), &kidsSite),
                 allowed);
    }

    // What the address box (and the home page) opens, and what then happens to it.
    void typedAddresses_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("opens");
        QTest::addColumn<int>("verdict"); // -1: refused before it reaches the page

        const int allow = int(Verdict::Allow), refuse = int(Verdict::Refuse), external = int(Verdict::External);
        QTest::newRow("bare host becomes http") << 1 << "kids.example" << "http://kids.example" << allow;
        QTest::newRow("blanks around are dropped") << 1 << "  kids.example/a  " << "http://kids.example/a" << allow;
        QTest::newRow("host and port") << 1 << "localhost:8080" << "http://localhost:8080" << refuse;
        QTest::newRow("https far") << 1 << "https://far.example/" << "https://far.example/" << refuse;
        QTest::newRow("view-source") << 1 << "view-source:http://far.example/" << "view-source:http://far.example/" << refuse;
        QTest::newRow("data with a frame") << 1 << "data:text/html,<iframe src=http://far.example/>"
                                         << "data:text/html,<iframe src=http://far.example/>" << refuse;
        QTest::newRow("engine page") << 1 << "chrome://net-internals" << "chrome://net-internals" << refuse;
        QTest::newRow("about page") << 1 << "about:gpu" << "about:gpu" << refuse;
        QTest::newRow("blank") << 1 << "about:blank" << "about:blank" << allow;
        QTest::newRow("typed script, switch on") << 1 << "javascript:location='http://far.example/'"
                                                 << "javascript:location='http://far.example/'" << -1;
        QTest::newRow("typed script in capitals") << 1 << " JavaScript:alert(1)" << "javascript:alert(1)" << -1;
        QTest::newRow("typed script, switch off") << 0 << "javascript:void(0)" << "javascript:void(0)" << allow;
        QTest::newRow("mail") << 1 << "mailto:a@far.example" << "mailto:a@far.example" << external;
        QTest::newRow("mail, switch off") << 0 << "mailto:a@far.example" << "mailto:a@far.example" << external;
        QTest::newRow("made-up scheme") << 0 << "myapp://open" << "myapp://open" << external;
        QTest::newRow("local file") << 1 << "file:///etc/hostname" << "file:///etc/hostname" << refuse;
        QTest::newRow("absolute path") << 1 << "/etc/hostname" << "file:///etc/hostname" << refuse;
        QTest::newRow("own page") << 1 << "/opt/lorvane/data/html/start.html" << "file:///opt/lorvane/data/html/start.html" << allow;
        QTest::newRow("local file, switch off") << 0 << "/etc/hostname" << "file:///etc/hostname" << allow;
    }
    void typedAddresses()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(QString, typed);
        QFETCH(QString, opens);
        QFETCH(int, verdict);
        const Mode mode = NavigationPolicy::ModeFor(onlyChildSites, false);
        const NavigationPolicy::Typed t = NavigationPolicy::TypedAddress(typed, mode);
        QCOMPARE(t.url, QUrl(opens));
        if (verdict < 0) {
            QVERIFY(t.refused);
            return;
        }
        QVERIFY(!t.refused);
        QCOMPARE(int(NavigationPolicy::TopLevel(mode, t.url, &kidsSite, "/opt/lorvane/data/html/")), verdict);
    }

    void warningAddress_data()
    {
        QTest::addColumn<QString>("exeDir");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "/opt/lorvane" << "http://far.example/a?b=1" << "http://far.example/a?b=1";
        QTest::newRow("backslash becomes slash") << "/opt/lorvane" << "http://far.example\\a\\b" << "http://far.example/a/b";
        QTest::newRow("markup and quotes") << "/opt/lorvane" << "http://x/<script>alert('x')</script>\""
                                           << "http://x/<script>alert('x')</script>\"";
        QTest::newRow("hash and spaces") << "/opt/my lorvane" << "http://x/a b#frag" << "http://x/a b#frag";
        QTest::newRow("percent signs survive") << "/opt/lorvane" << "http://x/?q=%41%s" << "http://x/?q=%41%s";
        QTest::newRow("unicode") << "/opt/罗文" << "http://例子.cn/页面" << "http://例子.cn/页面";
    }
    void warningAddress()
    {
        QFETCH(QString, exeDir);
        QFETCH(QString, refused);
        QFETCH(QString, shown);
        const QString warning = NavigationPolicy::WarningAddress(exeDir, refused);
        QVERIFY(!warning.contains(QLatin1Char('\\')));
        const QUrl url(warning);
        QVERIFY2(url.isValid(), qPrintable(warning));
        QVERIFY(url.isLocalFile());
        QCOMPARE(url.toLocalFile(), exeDir + "/data/html/warning.html");
        // The page decodes its fragment and shows exactly the refused address.
        QString fragment = warning.section(QLatin1Char('#'), 1);
        QCOMPARE(QUrl::fromPercentEncoding(fragment.toUtf8()), shown);
    }

    void warningAddressOfAHugeAddress()
    {
        const QString refused = "http://far.example/" + QString(10000, QLatin1Char('a'));
        const QString warning = NavigationPolicy::WarningAddress("/opt/lorvane", refused);
        QVERIFY(QUrl(warning).isValid());
        QCOMPARE(QUrl::fromPercentEncoding(warning.section('#', 1).toUtf8()), refused);
    }

    void staysOfOneView()
    {
        StayRecorder r;
        QVERIFY(!r.navigated("http://a/", 1000, "t1").has_value()); // the first stay starts, nothing ends
        const auto first = r.navigated("http://b/", 1001, "t2");     // 1 ms on a: one second
        QVERIFY(first.has_value());
        QCOMPARE(first->address, QStringLiteral("http://a/"));
        QCOMPARE(first->beginTime, QStringLiteral("t1"));
        QCOMPARE(first->seconds, 1u);
        const auto second = r.navigated("http://c/", 2001, "t3"); // exactly 1000 ms
        QCOMPARE(second->seconds, 1u);
        const auto last = r.finished(3002); // 1001 ms
        QVERIFY(last.has_value());
        QCOMPARE(last->address, QStringLiteral("http://c/"));
        QCOMPARE(last->beginTime, QStringLiteral("t3"));
        QCOMPARE(last->seconds, 2u);
        QVERIFY(!r.finished(4000).has_value()); // only once
    }

    void viewWithoutNavigationRecordsNothing()
    {
        StayRecorder r;
        QVERIFY(!r.finished(5000).has_value());
    }

    void stayAcrossTheTickWrap()
    {
        StayRecorder r;
        r.navigated("http://a/", 0xFFFFFF00u, "t");
        QCOMPARE(r.finished(0x00000100u)->seconds, 1u); // 512 ms across the wrap
    }
};

QTEST_GUILESS_MAIN(TestNavigationPolicy)
#include "tst_navigationpolicy.moc"
