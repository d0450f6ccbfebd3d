#include "browserdata.h"
#include "browsingdatabase.h"
#include "childsite.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace BrowserData;

Q_DECLARE_METATYPE(ChildSiteAddress::Kind)

class TestChildSite : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    static void storeSites(const QStringList& urls)
    {
        for (const QString& url : urls)
            ExecBrowsingWrite(DataBasePath(), "insert into sites(siteurl, sitename, siteimage) values(?, 'n', 'i')",
                              {url});
    }

private slots:
    void init() { SetDataBasePath(m_dir.filePath(QStringLiteral("case%1/lorvane.db").arg(++m_files))); }

    void addressesAreClassified_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<ChildSiteAddress::Kind>("kind");
        QTest::addColumn<QByteArray>("host");
        using K = ChildSiteAddress::Kind;
        QTest::newRow("blank page has no host") << "about:blank" << K::Allowed << QByteArray();
        QTest::newRow("local file") << "file:///home/kid/page.html" << K::Allowed << QByteArray();
        QTest::newRow("local file, upper-case scheme") << "FILE:///x.html" << K::Allowed << QByteArray();
        QTest::newRow("file on a server") << "file://server/share/x.html" << K::Allowed << QByteArray();
        QTest::newRow("script has no host") << "javascript:void(0)" << K::Allowed << QByteArray();
        QTest::newRow("web address") << "http://www.Kids.com:8080/a?b#c" << K::Host << QByteArray("www.kids.com");
        QTest::newRow("secure web address") << "https://kids.com/" << K::Host << QByteArray("kids.com");
        QTest::newRow("blanks around") << "  http://kids.com  " << K::Host << QByteArray("kids.com");
        QTest::newRow("user name is not the host") << "http://kids.com@evil.net/" << K::Host
                                                   << QByteArray("evil.net");
        QTest::newRow("international host in ASCII form") << "http://例子.中国/" << K::Host
                                                           << QByteArray("xn--fsqu00a.xn--fiqs8s");
        QTest::newRow("unreadable address is refused") << "http://exa mple.com/" << K::Refused << QByteArray();
        QTest::newRow("empty address is refused") << "" << K::Refused << QByteArray();
    }
    void addressesAreClassified()
    {
        QFETCH(QString, address);
        const ChildSiteAddress result = ClassifyChildSiteAddress(address);
        QTEST(result.kind, "kind");
        QTEST(result.host, "host");
    }

    void siteHostsAreRead_data()
    {
        QTest::addColumn<QByteArray>("siteUrl");
        QTest::addColumn<QByteArray>("host");
        QTest::newRow("bare host") << QByteArray("www.kids.com") << QByteArray("www.kids.com");
        QTest::newRow("leading blanks") << QByteArray(" \t kids.com") << QByteArray("kids.com");
        QTest::newRow("path and port ignored") << QByteArray("http://kids.com:81/play?x") << QByteArray("kids.com");
        QTest::newRow("port without scheme") << QByteArray("localhost:8080") << QByteArray("localhost");
        QTest::newRow("letter case") << QByteArray("HTTP://Kids.COM/") << QByteArray("kids.com");
        QTest::newRow("secure scheme") << QByteArray("https://kids.com/") << QByteArray("kids.com");
        QTest::newRow("user name") << QByteArray("http://me:pw@kids.com") << QByteArray("kids.com");
        QTest::newRow("backslash ends the host") << QByteArray("kids.com\\games") << QByteArray("kids.com");
        QTest::newRow("bracketed address") << QByteArray("http://[::1]:80/") << QByteArray("::1");
        QTest::newRow("trailing blanks") << QByteArray("kids.com \t") << QByteArray("kids.com");
        QTest::newRow("escaped letters") << QByteArray("http://%4Bids.com/") << QByteArray("kids.com");
        QTest::newRow("backslash before a user name") << QByteArray("http://a.com\\@evil.org") << QByteArray("a.com");
        QTest::newRow("port out of range") << QByteArray("kids.com:65536") << QByteArray();
        QTest::newRow("blank inside the host") << QByteArray("kids .com") << QByteArray();
        QTest::newRow("international") << QByteArray("例子.中国/x") << QByteArray("xn--fsqu00a.xn--fiqs8s");
        QTest::newRow("empty") << QByteArray("") << QByteArray();
        QTest::newRow("scheme only") << QByteArray("http://") << QByteArray();
        QTest::newRow("blanks only") << QByteArray("   ") << QByteArray();
        QTest::newRow("port only") << QByteArray(":80") << QByteArray();
        QTest::newRow("scheme, port and path") << QByteArray("http://:80/path") << QByteArray();
        QTest::newRow("user name only") << QByteArray("@") << QByteArray();
        QTest::newRow("invisible character only") << QByteArray("\xc2\xad") << QByteArray();
        QTest::newRow("byte order mark only") << QByteArray("http://\xef\xbb\xbf/") << QByteArray();
        QTest::newRow("international name with an empty label") << QByteArray("例子..中国") << QByteArray();
    }
    void siteHostsAreRead()
    {
        QFETCH(QByteArray, siteUrl);
        QTEST(SiteHostOf(std::string_view(siteUrl.constData(), siteUrl.size())), "host");
    }

    void sitesAllowAddresses_data()
    {
        QTest::addColumn<QStringList>("sites");
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("allowed");
        const QStringList bare{"www.kids.com"};
        QTest::newRow("bare host allows its pages") << bare << "http://www.kids.com/a/b.html" << true;
        QTest::newRow("bare host allows https") << bare << "https://www.kids.com/" << true;
        QTest::newRow("bare host allows any port") << bare << "http://www.kids.com:8080/" << true;
        QTest::newRow("a shorter host is another host") << bare << "http://kids.com/" << false;
        QTest::newRow("other host refused") << bare << "http://www.games.com/" << false;
        QTest::newRow("the site in the path does not count") << bare << "http://evil.net/www.kids.com" << false;
        QTest::newRow("user name does not count") << bare << "http://www.kids.com@evil.net/" << false;
        QTest::newRow("host containing the site's host") << QStringList{"kids.com"}
                                                         << "http://kids.com.evil.net/" << true;
        QTest::newRow("site's path and port are ignored") << QStringList{"http://games.org:81/play"}
                                                          << "https://games.org/other" << true;
        QTest::newRow("site stored with https") << QStringList{"https://secure.org/"} << "https://secure.org/x"
                                                << true;
        QTest::newRow("site stored in capitals") << QStringList{"WWW.KIDS.COM"} << "http://www.kids.com/" << true;
        QTest::newRow("any row may allow") << QStringList{"a.com", "b.com", "c.com"} << "http://www.c.com/"
                                           << true;
        // A row that names no host allows nothing; the other rows still count.
        QTest::newRow("row with empty host allows nothing") << QStringList{""} << "http://anything.net/" << false;
        QTest::newRow("blank row allows nothing") << QStringList{"   "} << "http://anything.net/" << false;
        QTest::newRow("scheme-only row allows nothing") << QStringList{"http://"} << "http://anything.net/" << false;
        QTest::newRow("port-only row allows nothing") << QStringList{":80"} << "http://anything.net:80/" << false;
        QTest::newRow("row with port and path but no host allows nothing")
            << QStringList{"http://:80/path"} << "http://anything.net/path" << false;
        QTest::newRow("user-name-only row allows nothing") << QStringList{"@"} << "http://anything.net/" << false;
        QTest::newRow("invisible-character row allows nothing") << QStringList{"\u00ad"} << "http://anything.net/"
                                                                 << false;
        QTest::newRow("byte-order-mark row allows nothing") << QStringList{"\ufeff"} << "http://anything.net/"
                                                            << false;
        QTest::newRow("host-less rows are skipped, a later row allows")
            << QStringList{"", "http://", "@", "kids.com"} << "http://www.kids.com/" << true;
        QTest::newRow("host-less rows are skipped, no row allows")
            << QStringList{"", "http://", "@", "kids.com"} << "http://games.net/" << false;
        QTest::newRow("empty table refuses web addresses") << QStringList() << "http://www.kids.com/" << false;
        QTest::newRow("empty table allows the blank page") << QStringList() << "about:blank" << true;
        QTest::newRow("empty table allows local files") << QStringList() << "file:///tmp/x.html" << true;
        QTest::newRow("quote in the address") << bare << "http://www.kids.com/it's" << true;
        QTest::newRow("hostile row matches nothing else") << QStringList{"'); drop table sites; --"}
                                                          << "http://www.kids.com/" << false;
    }
    void sitesAllowAddresses()
    {
        QFETCH(QStringList, sites);
        QFETCH(QString, address);
        storeSites(sites);
        QTEST(IsChildSite(address), "allowed");
    }

    void tableIsReadAnewOnEveryCall()
    {
        const QString address = QStringLiteral("http://www.kids.com/");
        QVERIFY(!IsChildSite(address));
        storeSites({"kids.com"});
        QVERIFY(IsChildSite(address));
        ExecBrowsingWrite(DataBasePath(), "delete from sites");
        QVERIFY(!IsChildSite(address));
    }

    void damagedFileRefusesEveryHost()
    {
        storeSites({"kids.com"});
        QVERIFY(IsChildSite("http://www.kids.com/"));
        QFile file(DataBasePath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(200, '\x7f'));
        file.close();
        QVERIFY(!IsChildSite("http://www.kids.com/"));
        // Addresses that need no table still pass.
        QVERIFY(IsChildSite("about:blank"));
        QVERIFY(IsChildSite("file:///tmp/x.html"));
    }

    void tableWithoutAddressColumnRefuses()
    {
        ExecBrowsingWrite(DataBasePath(), "drop table sites; create table sites(siteid integer primary key, x text);"
                                          "insert into sites(x) values('')");
        QVERIFY(!IsChildSite("http://www.kids.com/"));
    }

    void fileLockedLongerThanTheWaitRefuses()
    {
        storeSites({"kids.com"});
        CppSQLiteDB holder;
        holder.open(DataBasePath());
        holder.execDML("begin exclusive");
        QVERIFY(!IsChildSite("http://www.kids.com/"));
        holder.execDML("commit");
        QVERIFY(IsChildSite("http://www.kids.com/"));
    }
};

QTEST_GUILESS_MAIN(TestChildSite)
#include "tst_childsite.moc"
