#include "browsingdatabase.h"
#include "cppsqliteexception.h"
#include "hostilevalues.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "paging.h"
#include "paths.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QtTest>

using namespace ManagerData;

class TestManagerData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    static void addHistoryRows(int count)
    {
        for (int i = 1; i <= count; ++i) {
            ExecBrowsingWrite(DataBasePath(), "insert into history(beginTime, delayTime, visitURL) values(?,?,?)",
                              {QStringLiteral("2026年01月02日 03:04"), i, QStringLiteral("http://h/%1").arg(i)});
        }
    }

    static void addSites(int count)
    {
        for (int i = 1; i <= count; ++i)
            QVERIFY(AddSite(QStringLiteral("http://s%1.com").arg(i), QStringLiteral("site %1").arg(i), "i.bmp"));
    }

    static QStringList historyUrls(int page)
    {
        QList<HistoryRecord> list;
        GetHistoryPage(page, list);
        QStringList urls;
        for (const HistoryRecord& r : list)
            urls << r.m_strVisitUrl;
        return urls;
    }

    static QStringList siteIds(int page)
    {
        QList<SiteRecord> list;
        GetSitePage(page, list);
        QStringList ids;
        for (const SiteRecord& r : list)
            ids << r.m_strSiteId;
        return ids;
    }

    void writeCorruptFile(const QString& path)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QByteArray junk("SQLite format 3");
        junk.append(QByteArray(8192, '\x5a'));
        file.write(junk);
    }

    static QByteArray digestOf(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }

private slots:
    void init()
    {
        SetDataBasePath(m_dir.filePath(QStringLiteral("case%1/nested/lorvane.db").arg(++m_files)));
        SetPageSize(5);
    }

    void pageArithmetic_data()
    {
        QTest::addColumn<qint64>("rows");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pages");
        QTest::newRow("empty table has no page") << qint64(0) << 5 << 0;
        QTest::newRow("one row") << qint64(1) << 5 << 1;
        QTest::newRow("exactly one page") << qint64(5) << 5 << 1;
        QTest::newRow("one row more") << qint64(6) << 5 << 2;
        QTest::newRow("eleven rows of five") << qint64(11) << 5 << 3;
        QTest::newRow("forty rows of sixteen") << qint64(40) << 16 << 3;
        QTest::newRow("million rows of sixteen") << qint64(1000000) << 16 << 62500;
    }
    void pageArithmetic()
    {
        QFETCH(qint64, rows);
        QFETCH(int, size);
        QFETCH(int, pages);
        QCOMPARE(PageCountFor(rows, size), pages);
        QCOMPARE(PageOffset(pages, size), qMax(0, pages - 1) * qint64(size));
    }

    void pageSizeIsAtLeastOne()
    {
        SetPageSize(0);
        QCOMPARE(PageSize(), 1);
        SetPageSize(-3);
        QCOMPARE(PageSize(), 1);
        QCOMPARE(PageOffset(0, 5), 0);
    }

    void firstUseCreatesFolderFileAndTables()
    {
        QVERIFY(!QFile::exists(DataBasePath()));
        QCOMPARE(GetSitePageCount(), 0);
        QVERIFY(QFile::exists(DataBasePath()));
        CppSQLiteDB db;
        db.open(DataBasePath());
        QStringList tables;
        for (auto q = db.execQuery("select name from sqlite_master where type='table' order by name"); !q.eof();
             q.nextRow())
            tables << q.fieldValue(0);
        QCOMPARE(tables, QStringList({"favors", "history", "sites", "visitecls"}));
        // A new history reads a week's rows through its index on the times.
        QVERIFY(!db.execQuery("select 1 from sqlite_master where type='index' and name='history_beginTime'").eof());
        // Ids are integer keys the database assigns.
        for (const char* table : {"sites", "history", "favors", "visitecls"}) {
            auto q = db.execQuery("select pk, type from pragma_table_info(?) where pk = 1", {table});
            QVERIFY2(!q.eof(), table);
            QCOMPARE(q.fieldValue(1).toLower(), QStringLiteral("integer"));
        }
    }

    void existingFileIsUsedAsItIs()
    {
        QDir().mkpath(QFileInfo(DataBasePath()).absolutePath());
        {
            CppSQLiteDB db;
            db.open(DataBasePath());
            db.execDML("create table sites(siteid integer primary key, siteurl text, sitename text,"
                       " siteimage text, note text);"
                       "insert into sites values(7, 'http://kept.com', 'kept', 'k.bmp', 'mine');"
                       // A history of another shape: no index on its times, but the file opens.
                       "create table history(historyID integer primary key, visitURL text)");
        }
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("making the index on the history's times failed"));
        QCOMPARE(GetSiteById(7), (SiteRecord{"7", "http://kept.com", "kept", "k.bmp"}));
        CppSQLiteDB db;
        db.open(DataBasePath());
        QCOMPARE(db.execQuery("select note from sites").fieldValue(0), QStringLiteral("mine"));
        // The missing tables were added beside it.
        QCOMPARE(db.execQuery("select count(*) from sqlite_master where type='table'").fieldInt64(0), 4);
    }

    void emptySiteTableHasNoPages()
    {
        QCOMPARE(GetSitePageCount(), 0);
        QVERIFY(!HasNextSitePage(1));
        QVERIFY(!HasPrevSitePage(1));
        QVERIFY(siteIds(1).isEmpty());
    }

    void sitePages_data()
    {
        QTest::addColumn<int>("sites");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<int>("pages");
        QTest::addColumn<bool>("hasNext");
        QTest::addColumn<bool>("hasPrev");
        QTest::newRow("five sites fill one page") << 5 << 1 << QStringList({"5", "4", "3", "2", "1"}) << 1 << false
                                                  << false;
        QTest::newRow("six sites: first page newest") << 6 << 1 << QStringList({"6", "5", "4", "3", "2"}) << 2
                                                      << true << false;
        QTest::newRow("six sites: second page oldest") << 6 << 2 << QStringList({"1"}) << 2 << false << true;
        QTest::newRow("page past the end is empty") << 6 << 3 << QStringList() << 2 << false << true;
    }
    void sitePages()
    {
        QFETCH(int, sites);
        QFETCH(int, page);
        QFETCH(QStringList, ids);
        addSites(sites);
        QCOMPARE(siteIds(page), ids);
        QTEST(GetSitePageCount(), "pages");
        QTEST(HasNextSitePage(page), "hasNext");
        QTEST(HasPrevSitePage(page), "hasPrev");
    }

    void historyPages_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("newest");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::newRow("eleven of five: first page") << 11 << 5 << 1 << 11 << 5 << 3;
        QTest::newRow("eleven of five: last page holds the oldest") << 11 << 5 << 3 << 1 << 1 << 3;
        QTest::newRow("forty of sixteen: second page") << 40 << 16 << 2 << 24 << 16 << 3;
        QTest::newRow("forty of sixteen: last page") << 40 << 16 << 3 << 8 << 8 << 3;
        QTest::newRow("forty of sixteen: past the end") << 40 << 16 << 4 << 0 << 0 << 3;
    }
    void historyPages()
    {
        QFETCH(int, rows);
        QFETCH(int, size);
        QFETCH(int, page);
        QFETCH(int, newest);
        QFETCH(int, count);
        addHistoryRows(rows);
        SetPageSize(size);
        QStringList expected;
        for (int i = 0; i < count; ++i)
            expected << QStringLiteral("http://h/%1").arg(newest - i);
        QCOMPARE(historyUrls(page), expected);
        QTEST(GetHistoryPageCount(), "pages");
        QCOMPARE(HasNextHistoryPage(page), page < GetHistoryPageCount());
        QCOMPARE(HasPrevHistoryPage(page), page > 1);
    }

    void historyRecordHoldsEveryColumn()
    {
        addHistoryRows(1);
        QList<HistoryRecord> list;
        GetHistoryPage(1, list);
        QCOMPARE(list, (QList<HistoryRecord>{{"1", "2026年01月02日 03:04", "1", "http://h/1"}}));
    }

    void clearHistoryRemovesEveryRow()
    {
        addHistoryRows(12);
        addSites(2);
        ClearHistory();
        QCOMPARE(GetHistoryPageCount(), 0);
        QVERIFY(historyUrls(1).isEmpty());
        QCOMPARE(GetSitePageCount(), 1);
    }

    void siteByIdOfAMissingIdIsEmpty()
    {
        addSites(2);
        DeleteSite(2);
        QCOMPARE(GetSiteById(2), SiteRecord{});
        QCOMPARE(GetSiteById(-1), SiteRecord{});
        QCOMPARE(GetSiteById(1), (SiteRecord{"1", "http://s1.com", "site 1", "i.bmp"}));
    }

    void siteExistenceIsExact_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("exists");
        QTest::newRow("same text") << "http://a.com" << true;
        QTest::newRow("surrounding blanks are trimmed") << " \t http://a.com \r\n" << true;
        QTest::newRow("trailing slash is another site") << "http://a.com/" << false;
        QTest::newRow("letter case counts") << "http://A.com" << false;
        QTest::newRow("without the scheme") << "a.com" << false;
        QTest::newRow("a wildcard is no wildcard") << "http://a.co_" << false;
    }
    void siteExistenceIsExact()
    {
        QFETCH(QString, asked);
        QVERIFY(AddSite("http://a.com", "A", "a.bmp"));
        QTEST(IsSiteExist(asked), "exists");
    }

    void addSiteTrimsAddressAndNameButNotImage()
    {
        QVERIFY(AddSite("  http://t.com/ \t", "\n name \v", " g.bmp "));
        QCOMPARE(GetSiteById(1), (SiteRecord{"1", "http://t.com/", "name", " g.bmp "}));
    }

    void trimmingKeepsOtherWhitespace()
    {
        // Only the six ASCII blanks are removed; an ideographic space is part of the name.
        QVERIFY(AddSite("http://u.com", QStringLiteral("\u3000名字\u00a0 "), "u.bmp"));
        QCOMPARE(GetSiteById(1).m_strSiteName, QStringLiteral("\u3000名字\u00a0"));
    }

    void updateSiteKeepsImageAndStoresValuesAsGiven()
    {
        QVERIFY(AddSite("http://old.com", "old", "keep.bmp"));
        UpdateSite(1, " http://new.com", "new ");
        QCOMPARE(GetSiteById(1), (SiteRecord{"1", " http://new.com", "new ", "keep.bmp"}));
    }

    void hostileValuesReadBackExactly_data() { addHostileValueRows(); }
    void hostileValuesReadBackExactly()
    {
        QFETCH(QString, value);
        const QString trimmed = TrimBlanks(value);
        QVERIFY(AddSite(value, value, value));
        QCOMPARE(GetSiteById(1), (SiteRecord{"1", trimmed, trimmed, value}));
        QVERIFY(IsSiteExist(value));
        QVERIFY(AddSite("http://other.com", "other", "o.bmp"));
        UpdateSite(2, value, value);
        QCOMPARE(GetSiteById(2), (SiteRecord{"2", value, value, "o.bmp"}));
        QCOMPARE(GetSitePageCount(), 1);
        ExecBrowsingWrite(DataBasePath(), "insert into history(beginTime, delayTime, visitURL) values(?,?,?)",
                          {value, 3, value});
        QList<HistoryRecord> list;
        GetHistoryPage(1, list);
        QCOMPARE(list, (QList<HistoryRecord>{{"1", value, "3", value}}));
    }

    void damagedFileFailsLoudlyAndStaysUntouched()
    {
        QDir().mkpath(QFileInfo(DataBasePath()).absolutePath());
        writeCorruptFile(DataBasePath());
        const QByteArray before = digestOf(DataBasePath());
        QList<SiteRecord> sites;
        QList<HistoryRecord> history;
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetSitePageCount());
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetSitePage(1, sites));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetSiteById(1));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, IsSiteExist("http://a.com"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, HasNextHistoryPage(1));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetHistoryPage(1, history));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, UpdateSite(1, "u", "n"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, DeleteSite(1));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, ClearHistory());
        QVERIFY(!AddSite("http://a.com", "a", "a.bmp"));
        // Nothing read is half-delivered and nothing was written over the damaged file.
        QVERIFY(sites.isEmpty());
        QVERIFY(history.isEmpty());
        QCOMPARE(digestOf(DataBasePath()), before);
    }

    void unsetPathMeansTheUsersDatabase()
    {
        IsolatedEnvironment env;
        SetDataBasePath(QString());
        QCOMPARE(DataBasePath(), GetDataBasePathName());
        QVERIFY(DataBasePath().startsWith(env.dataHome()));
        QVERIFY(AddSite("http://home.com", "home", "h.bmp"));
        QVERIFY(QFile::exists(GetDataBasePathName()));
        QCOMPARE(GetSitePageCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestManagerData)
#include "tst_managerdata.moc"
