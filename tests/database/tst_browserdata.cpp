#include "browserdata.h"
#include "browsingdatabase.h"
#include "cppsqliteexception.h"
#include "hostilevalues.h"
#include "isolatedenvironment.h"
#include "paths.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace BrowserData;

class TestBrowserData : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    static qint64 countOf(const char* table)
    {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, DataBasePath());
        return db.execQuery((QByteArray("select count(*) from ") + table).constData()).fieldInt64(0);
    }

    static QList<QStringList> historyRows()
    {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, DataBasePath());
        QList<QStringList> rows;
        for (auto q = db.execQuery("select beginTime, delayTime, visitURL from history order by historyID"); !q.eof();
             q.nextRow())
            rows << QStringList{q.fieldValue(0), q.fieldValue(1), q.fieldValue(2)};
        return rows;
    }

    void corruptTheFile()
    {
        QDir().mkpath(QFileInfo(DataBasePath()).absolutePath());
        QFile file(DataBasePath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QByteArray(8192, '\x13'));
    }

private slots:
    void init() { SetDataBasePath(m_dir.filePath(QStringLiteral("case%1/lorvane.db").arg(++m_files))); }

    void startRowIsWrittenWithZeroSeconds()
    {
        QVERIFY(AddHistory("2026年12月08日 09:05", 0, QStringLiteral("打开Lorvane")));
        QVERIFY(AddHistory("2026年12月08日 09:05", 4000000000u, QStringLiteral("关闭Lorvane")));
        QCOMPARE(historyRows(), (QList<QStringList>{{"2026年12月08日 09:05", "0", "打开Lorvane"},
                                                     {"2026年12月08日 09:05", "4000000000", "关闭Lorvane"}}));
    }

    void siteLinksComeInTheTablesOrder()
    {
        ExecBrowsingWrite(DataBasePath(),
                          "insert into sites(siteid, siteurl, sitename, siteimage) values(5, 'http://b', 'B', '');"
                          "insert into sites(siteid, siteurl, sitename, siteimage) values(2, 'http://a', 'A', '')");
        QList<SiteLink> links{{"earlier", "kept"}};
        GetSiteLinks(links);
        QCOMPARE(links, (QList<SiteLink>{{"earlier", "kept"}, {"A", "http://a"}, {"B", "http://b"}}));
    }

    void visitClassLookupTrimsTheName_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<int>("id");
        QTest::newRow("same name") << "动物" << true << 2;
        QTest::newRow("surrounding blanks") << " \t动物\r\n " << true << 2;
        QTest::newRow("another name") << "动物园" << false << -1;
        QTest::newRow("letter case counts") << "Games" << false << -1;
        QTest::newRow("the first of two with the name") << "games" << true << 1;
    }
    void visitClassLookupTrimsTheName()
    {
        QFETCH(QString, asked);
        QVERIFY(AddVisitClass("  games "));
        QVERIFY(AddVisitClass(QStringLiteral("动物")));
        QVERIFY(AddVisitClass("games"));
        QTEST(IsVisitClassExist(asked), "exists");
        QTEST(GetVisitClassId(asked), "id");
    }

    void visitClassesListEveryCategory()
    {
        QVERIFY(AddVisitClass(" a "));
        QVERIFY(AddVisitClass("b"));
        QList<VisitClassRecord> list;
        GetVisitClasses(list);
        QCOMPARE(list, (QList<VisitClassRecord>{{"a", 1}, {"b", 2}}));
    }

    void addFavorReturnsTheNewId()
    {
        const int first = AddFavor("one", "http://1", -1);
        const int second = AddFavor("two", "http://2", 4);
        QVERIFY(first > 0);
        QVERIFY(second > first);
        QList<FavorRecord> list;
        GetFavors(list);
        QCOMPARE(list, (QList<FavorRecord>{{QString(), -1, "one", "http://1", first},
                                           {QString(), 4, "two", "http://2", second}}));
        QVERIFY(DeleteFavor(first));
        list.clear();
        GetFavors(list);
        QCOMPARE(list.size(), 1);
        QCOMPARE(list[0].m_nFavorId, second);
    }

    void deleteVisitClassTakesItsFavoritesInOneCall()
    {
        QVERIFY(AddVisitClass("keep"));
        QVERIFY(AddVisitClass("drop"));
        const int drop = GetVisitClassId("drop");
        AddFavor("a", "http://a", drop);
        AddFavor("b", "http://b", GetVisitClassId("keep"));
        AddFavor("c", "http://c", drop);
        AddFavor("d", "http://d", -1);
        QVERIFY(DeleteVisitClass(drop));
        QCOMPARE(GetVisitClassId("drop"), -1);
        QList<FavorRecord> list;
        GetFavors(list);
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].m_strFavorName, QStringLiteral("b"));
        QCOMPARE(list[1].m_strFavorName, QStringLiteral("d"));
    }

    void deleteVisitClassIsAllOrNothing()
    {
        QVERIFY(AddVisitClass("cls"));
        AddFavor("f", "http://f", 1);
        // Without a favors table the second statement fails: the category must stay too.
        ExecBrowsingWrite(DataBasePath(), "drop table favors");
        QVERIFY(!DeleteVisitClass(1));
        QCOMPARE(GetVisitClassId("cls"), 1);
    }

    void hostileValuesReadBackExactly_data() { addHostileValueRows(); }
    void hostileValuesReadBackExactly()
    {
        QFETCH(QString, value);
        QVERIFY(AddHistory(value, 1, value));
        QCOMPARE(historyRows(), (QList<QStringList>{{value, "1", value}}));
        QVERIFY(AddVisitClass(value));
        QVERIFY(IsVisitClassExist(value));
        const int cls = GetVisitClassId(value);
        QCOMPARE(cls, 1);
        QCOMPARE(AddFavor(value, value, cls), 1);
        QList<FavorRecord> favors;
        GetFavors(favors);
        QCOMPARE(favors, (QList<FavorRecord>{{QString(), cls, value, value, 1}}));
        QList<VisitClassRecord> classes;
        GetVisitClasses(classes);
        QCOMPARE(classes, (QList<VisitClassRecord>{{TrimBlanks(value), 1}}));
        QCOMPARE(countOf("sites"), 0);
    }

    // Each absorbed failure says, in lorvane.db, what was being done and what SQLite said.
    void writesOnADamagedFileFailAndAreLogged()
    {
        corruptTheFile();
        const auto expect = [](const char* what) {
            QTest::ignoreMessage(QtWarningMsg,
                                 QRegularExpression(QStringLiteral("^%1 failed: .*not a database").arg(QLatin1String(what))));
        };
        expect("writing a history row");
        QVERIFY(!AddHistory("t", 1, "http://a"));
        expect("adding a favorites category");
        QVERIFY(!AddVisitClass("c"));
        expect("adding a favorite");
        QCOMPARE(AddFavor("f", "http://f", -1), -1);
        expect("deleting a favorite");
        QVERIFY(!DeleteFavor(1));
        expect("deleting a favorites category");
        QVERIFY(!DeleteVisitClass(1));
        expect("reading the recommended sites");
        QVERIFY(!IsChildSite("http://kids.example/"));
    }

    void readsOnADamagedFileThrow()
    {
        corruptTheFile();
        QList<SiteLink> links;
        QList<VisitClassRecord> classes;
        QList<FavorRecord> favors;
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetSiteLinks(links));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetVisitClasses(classes));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetFavors(favors));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, IsVisitClassExist("c"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetVisitClassId("c"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, GetRecentAddresses(5));
    }

    void recentAddressesAreDistinctNewestFirst()
    {
        const QStringList visits{"打开Lorvane", "http://a", "http://b", "http://a", "", "http://c", "关闭Lorvane"};
        for (const QString& url : visits)
            QVERIFY(AddHistory("t", 1, url));
        QCOMPARE(GetRecentAddresses(10), QStringList({"http://c", "http://a", "http://b"}));
        QCOMPARE(GetRecentAddresses(2), QStringList({"http://c", "http://a"}));
        QVERIFY(GetRecentAddresses(0).isEmpty());
    }

    void rowsWrittenBeforeThePathIsSetAreKept()
    {
        IsolatedEnvironment env;
        SetDataBasePath(QString());
        QVERIFY(AddHistory("t", 0, QStringLiteral("打开Lorvane")));
        SetDataBasePath(GetDataBasePathName());
        QCOMPARE(historyRows().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestBrowserData)
#include "tst_browserdata.moc"
