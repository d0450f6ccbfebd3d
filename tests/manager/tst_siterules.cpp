#include "cppsqliteexception.h"
#include "settingsrules.h"
#include "siterules.h"

#include <QtTest>

#include <limits>
#include <stdexcept>

namespace {

const QString kNoHost = QStringLiteral("网址里没有网站的名字，请输入完整的网址，例如 www.example.com");

} // namespace

class TestSiteRules : public QObject
{
    Q_OBJECT

private slots:
    void pageClamping_data()
    {
        QTest::addColumn<int>("wanted");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("shown");
        QTest::addColumn<bool>("prev");
        QTest::addColumn<bool>("next");
        QTest::newRow("no sites: page 1 of 0") << 1 << 0 << 1 << false << false;
        QTest::newRow("no sites, page 3 asked") << 3 << 0 << 1 << false << false;
        QTest::newRow("one page") << 1 << 1 << 1 << false << false;
        QTest::newRow("first of two") << 1 << 2 << 1 << false << true;
        QTest::newRow("last of two") << 2 << 2 << 2 << true << false;
        QTest::newRow("middle of three") << 2 << 3 << 2 << true << true;
        QTest::newRow("past the end shows the last") << 9 << 3 << 3 << true << false;
        QTest::newRow("last page gone after a delete") << 3 << 2 << 2 << true << false;
        QTest::newRow("0 shows page 1") << 0 << 3 << 1 << false << true;
        QTest::newRow("negative shows page 1") << -7 << 3 << 1 << false << true;
        QTest::newRow("largest integer") << std::numeric_limits<int>::max() << 4 << 4 << true << false;
        QTest::newRow("smallest integer") << std::numeric_limits<int>::min() << 4 << 1 << false << true;
    }
    void pageClamping()
    {
        QFETCH(int, wanted);
        QFETCH(int, pageCount);
        QFETCH(int, shown);
        QFETCH(bool, prev);
        QFETCH(bool, next);
        const int page = ClampPage(wanted, pageCount);
        QCOMPARE(page, shown);
        const SitePagingButtons buttons = SitePagingButtonsFor(page, pageCount);
        QCOMPARE(buttons.prev, prev);
        QCOMPARE(buttons.next, next);
    }

    void actionsFollowTheSelection_data()
    {
        QTest::addColumn<int>("selectedRow");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("none selected") << -1 << false;
        QTest::newRow("first row") << 0 << true;
        QTest::newRow("last row of a page") << 4 << true;
    }
    void actionsFollowTheSelection()
    {
        QFETCH(int, selectedRow);
        QFETCH(bool, enabled);
        QCOMPARE(SiteActionsEnabled(selectedRow), enabled);
    }

    void webHost_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("hasHost");
        QTest::newRow("bare host") << "www.example.com" << true;
        QTest::newRow("http with host") << "http://www.example.com/" << true;
        QTest::newRow("https with port and path") << "https://kids.example:8443/a?b=c#d" << true;
        QTest::newRow("localhost with port") << "localhost:8080" << true;
        QTest::newRow("ip address") << "127.0.0.1" << true;
        QTest::newRow("surrounding blanks") << " \t www.example.com \n" << true;
        QTest::newRow("chinese host") << "http://儿童.例子.中国/" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("blanks only") << " \t\r\n" << false;
        QTest::newRow("http scheme only") << "http://" << false;
        QTest::newRow("https scheme only") << "https://" << false;
        QTest::newRow("scheme without slashes") << "http:" << false;
        QTest::newRow("port only") << ":80" << false;
        QTest::newRow("no host before the port") << "http://:8080/x" << false;
        QTest::newRow("path only") << "/index.html" << false;
        QTest::newRow("local file") << "file:///etc/passwd" << false;
        QTest::newRow("blank page") << "about:blank" << false;
        QTest::newRow("script") << "javascript:alert(1)" << false;
        QTest::newRow("slashes only") << "//" << false;
    }
    void webHost()
    {
        QFETCH(QString, address);
        QFETCH(bool, hasHost);
        QCOMPARE(NamesWebHost(address), hasHost);
    }

    void newSiteChecks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QStringList>("asked");
        const QStringList none;
        const QStringList stored{"www.kids.test", "http://a.test/"};
        QTest::newRow("accepted") << "www.new.test" << "新站" << stored << "" << "" << QStringList{"www.new.test"};
        QTest::newRow("accepted, asked trimmed")
            << "  www.new.test \t" << " 新站 " << stored << "" << "" << QStringList{"www.new.test"};
        QTest::newRow("empty url") << "" << "名字" << stored << "URL不能为空!" << "错误" << none;
        QTest::newRow("blank url") << " \t\n" << "名字" << stored << "URL不能为空!" << "错误" << none;
        QTest::newRow("empty url and name: the url first") << "" << "" << stored << "URL不能为空!" << "错误" << none;
        QTest::newRow("scheme only") << "http://" << "名字" << stored << kNoHost << "错误" << none;
        QTest::newRow("https scheme only") << "https://" << "名字" << stored << kNoHost << "错误" << none;
        QTest::newRow("port only") << ":80" << "名字" << stored << kNoHost << "错误" << none;
        QTest::newRow("no host before the port") << "http://:8080/x" << "名字" << stored << kNoHost << "错误" << none;
        QTest::newRow("empty name") << "www.new.test" << "" << stored << "站点名不能为空!" << "错误" << none;
        QTest::newRow("blank name") << "www.new.test" << " \t " << stored << "站点名不能为空!" << "错误" << none;
        QTest::newRow("exists") << "www.kids.test" << "名字" << stored << "该站点已经存在!" << "提醒"
                                << QStringList{"www.kids.test"};
        QTest::newRow("exists after trimming") << " www.kids.test  " << "名字" << stored << "该站点已经存在!"
                                               << "提醒" << QStringList{"www.kids.test"};
        QTest::newRow("a trailing slash makes another site")
            << "http://a.test" << "名字" << stored << "" << "" << QStringList{"http://a.test"};
    }
    void newSiteChecks()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QFETCH(QStringList, stored);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QStringList, asked);
        QStringList questions;
        const SiteRefusal refusal = CheckNewSite(url, name, [&](const QString& u) {
            questions << u;
            return stored.contains(u);
        });
        QCOMPARE(refusal.text, text);
        QCOMPARE(refusal.caption, caption);
        QCOMPARE(refusal.IsRefused(), !text.isEmpty());
        QCOMPARE(questions, asked);
    }

    void editedSiteChecks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("own");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("keeps its own address") << "www.kids.test" << "新名字" << "www.kids.test" << "" << "";
        QTest::newRow("keeps its own address, blanks around")
            << " www.kids.test " << "新名字" << "www.kids.test\t" << "" << "";
        QTest::newRow("takes another site's address")
            << "www.other.test" << "名字" << "www.kids.test" << "该站点已经存在!" << "提醒";
        QTest::newRow("takes a new address") << "www.new.test" << "名字" << "www.kids.test" << "" << "";
        QTest::newRow("empty url") << "" << "名字" << "www.kids.test" << "URL不能为空!" << "错误";
        QTest::newRow("empty name") << "www.kids.test" << "" << "www.kids.test" << "站点名不能为空!" << "错误";
        QTest::newRow("own address has no host") << "http://" << "名字" << "http://" << kNoHost << "错误";
        QTest::newRow("new address has no host") << ":80" << "名字" << "www.kids.test" << kNoHost << "错误";
    }
    void editedSiteChecks()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QFETCH(QString, own);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        const QStringList stored{"www.kids.test", "www.other.test"};
        const SiteRefusal refusal =
            CheckEditedSite(url, name, own, [&](const QString& u) { return stored.contains(u); });
        QCOMPARE(refusal.text, text);
        QCOMPARE(refusal.caption, caption);
    }

    void aFailingExistenceCheckReachesTheCaller()
    {
        bool thrown = false;
        try {
            CheckNewSite(QStringLiteral("www.a.test"), QStringLiteral("a"), [](const QString&) -> bool {
                throw CppSQLiteException(14, QStringLiteral("unable to open database file"));
            });
        } catch (const CppSQLiteException& e) {
            thrown = true;
            QCOMPARE(SiteFailureMessage(QStringLiteral("读取站点信息失败!"), e),
                     QStringLiteral("读取站点信息失败!\nunable to open database file"));
        }
        QVERIFY(thrown);
        QCOMPARE(SiteFailureMessage(QStringLiteral("失败!"), std::runtime_error("disk full")),
                 QStringLiteral("失败!\ndisk full"));
    }

    void snapshotPaths_data()
    {
        QTest::addColumn<QString>("image");
        QTest::addColumn<QString>("path");
        QTest::newRow("guid name") << "0f8fad5b-d9cb-469f-a165-70867728950e.bmp"
                                   << "/data/snapshots/0f8fad5b-d9cb-469f-a165-70867728950e.bmp";
        QTest::newRow("name with blanks and quotes") << "it's a \"pic\".bmp" << "/data/snapshots/it's a \"pic\".bmp";
        QTest::newRow("empty: the folder itself") << "" << "";
        QTest::newRow("dot") << "." << "";
        QTest::newRow("dot dot") << ".." << "";
        QTest::newRow("climbs out") << "../config/lorvane.cfg" << "";
        QTest::newRow("absolute") << "/etc/passwd" << "";
        QTest::newRow("into a sub-folder") << "sub/x.bmp" << "";
        QTest::newRow("backslash") << "..\\x.bmp" << "";
        QTest::newRow("zero inside") << QStringLiteral("a.bmp") + QChar(0) + QStringLiteral("x") << "";
    }
    void snapshotPaths()
    {
        QFETCH(QString, image);
        QFETCH(QString, path);
        QCOMPARE(SnapshotPath(QStringLiteral("/data/snapshots/"), image), path);
    }

    void addFailureNamesTheDatabase()
    {
        const QString text = SiteAddFailedMessage(QStringLiteral("/home/p/.local/share/lorvane/lorvane.db"));
        QVERIFY(text.startsWith(QStringLiteral("添加站点失败!")));
        QVERIFY(text.contains(QStringLiteral("\n/home/p/.local/share/lorvane/lorvane.db\n")));
    }
};

QTEST_MAIN(TestSiteRules)
#include "tst_siterules.moc"
