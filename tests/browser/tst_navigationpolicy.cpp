#include "navigationpolicy.h"
#include "stayrecorder.h"

#include <QUrl>
#include <QtTest>

class TestNavigationPolicy : public QObject
{
    Q_OBJECT

private slots:
    void decision_data()
    {
        QTest::addColumn<int>("onlyChildSites");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("siteAnswer");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("asked");

        QTest::newRow("switch 0 allows all, table unread") << 0 << "http://far.example/" << false << true << false;
        QTest::newRow("switch 2 is off too") << 2 << "http://far.example/" << false << true << false;
        QTest::newRow("switch -1 is off too") << -1 << "http://far.example/" << false << true << false;
        QTest::newRow("recommended site") << 1 << "http://kids.example/" << true << true << true;
        QTest::newRow("other site refused") << 1 << "http://far.example/" << false << false << true;
        QTest::newRow("file: passes") << 1 << "file:///home/x.html" << false << true << true;
        QTest::newRow("res: passes") << 1 << "res://ieframe.dll/x" << false << true << true;
        QTest::newRow("upper-case javascript after blanks passes")
            << 1 << "  JAVASCRIPT:void(0)" << false << true << true;
        QTest::newRow("javascript only in the path is refused")
            << 1 << "http://far.example/javascript:x" << false << false << true;
        QTest::newRow("FILE: in capitals passes") << 1 << "FILE:///tmp/a" << false << true << true;
        QTest::newRow("resource lookalike refused") << 1 << "http://res.example/" << false << false << true;
    }
    void decision()
    {
        QFETCH(int, onlyChildSites);
        QFETCH(QString, address);
        QFETCH(bool, siteAnswer);
        QFETCH(bool, allowed);
        QFETCH(bool, asked);
        bool wasAsked = false;
        const bool result = NavigationPolicy::IsAllowed(onlyChildSites, address, [&](const QString& a) {
            wasAsked = true;
            if (a != address)
                qWarning("the site check saw another address");
            return siteAnswer;
        });
        QCOMPARE(result, allowed);
        QCOMPARE(wasAsked, asked);
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
