#include "cppsqlitedb.h"
#include "cppsqliteexception.h"
#include "hostilevalues.h"

#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <functional>
#include <optional>
#include <thread>

class TestCppSQLite : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_files = 0;

    // A fresh database with one table t(id integer primary key, name text, n integer).
    QString freshDatabase()
    {
        const QString path = m_dir.filePath(QStringLiteral("db%1.sqlite").arg(++m_files));
        CppSQLiteDB db;
        db.open(path);
        db.execDML("create table t(id integer primary key, name text, n integer)");
        return path;
    }

    static std::optional<CppSQLiteException> failureOf(const std::function<void()>& action)
    {
        try {
            action();
        } catch (const CppSQLiteException& e) {
            return e;
        }
        return std::nullopt;
    }

private slots:
    void queryWalksEveryRowInOrder()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        db.execDML("insert into t(name, n) values('a', 1);insert into t(name, n) values('b', 2)");
        CppSQLiteQuery q = db.execQuery("select * from t order by id");
        QCOMPARE(q.numFields(), 3);
        QStringList names;
        QStringList ids;
        for (; !q.eof(); q.nextRow()) {
            names << q.fieldValue("name");
            ids << q.fieldValue(0);
        }
        QCOMPARE(names, QStringList({"a", "b"}));
        QCOMPARE(ids, QStringList({"1", "2"}));
        // Past the end stays at the end.
        q.nextRow();
        QVERIFY(q.eof());
    }

    void fieldsReadByNameIgnoreLetterCase()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        db.execDML("insert into t(name, n) values(?, ?)", {"x", 42});
        CppSQLiteQuery q = db.execQuery("select * from t");
        QCOMPARE(q.fieldValue("NAME"), QStringLiteral("x"));
        QCOMPARE(q.fieldValue("n"), QStringLiteral("42"));
        QCOMPARE(q.fieldInt64(q.fieldIndex("n")), 42);
        QCOMPARE(q.fieldIndex("missing"), -1);
        QCOMPARE(q.fieldName(1), QStringLiteral("name"));
    }

    void nullReadsAsEmptyText()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        db.execDML("insert into t(name, n) values(?, ?)", {nullptr, nullptr});
        CppSQLiteQuery q = db.execQuery("select name, n from t");
        QVERIFY(q.fieldIsNull(0));
        QCOMPARE(q.fieldValue(0), QString());
        QCOMPARE(q.fieldInt64(1), 0);
    }

    void emptyResultIsAtItsEnd()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        CppSQLiteQuery q = db.execQuery("select * from t");
        QVERIFY(q.eof());
        // The columns are known even without a row.
        QCOMPARE(q.fieldIndex("name"), 1);
    }

    void execDMLRunsEveryStatementAndCountsChanges()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        const int changes = db.execDML("insert into t(n) values(?); insert into t(n) values(?);\n"
                                       "-- a comment\n update t set n = n + ? ;",
                                       {1, 2, 10});
        QCOMPARE(changes, 4);
        CppSQLiteQuery q = db.execQuery("select sum(n) from t");
        QCOMPARE(q.fieldInt64(0), 23);
        QCOMPARE(db.lastRowId(), 2);
    }

    void hostileValuesReadBackExactly_data() { addHostileValueRows(); }
    void hostileValuesReadBackExactly()
    {
        QFETCH(QString, value);
        CppSQLiteDB db;
        db.open(freshDatabase());
        db.execDML("insert into t(name, n) values(?, ?)", {value, 7});
        CppSQLiteQuery q = db.execQuery("select name, n from t where name = ?", {value});
        QVERIFY(!q.eof());
        QCOMPARE(q.fieldValue(0), value);
        QCOMPARE(q.fieldInt64(1), 7);
        q.nextRow();
        QVERIFY(q.eof());
        // The table and its single row are intact.
        QCOMPARE(db.execQuery("select count(*) from t").fieldInt64(0), 1);
    }

    void failuresCarryMessageAndStatement_data()
    {
        QTest::addColumn<QByteArray>("sql");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("syntax") << QByteArray("selec * from t") << QStringLiteral("syntax error");
        QTest::newRow("missing table") << QByteArray("select * from nowhere") << QStringLiteral("no such table");
        QTest::newRow("second statement of a dml") << QByteArray("insert into t(n) values(1); bogus")
                                                    << QStringLiteral("syntax error");
    }
    void failuresCarryMessageAndStatement()
    {
        QFETCH(QByteArray, sql);
        QFETCH(QString, messagePart);
        CppSQLiteDB db;
        db.open(freshDatabase());
        const auto failure = failureOf([&] { db.execDML(sql.constData()); });
        QVERIFY(failure.has_value());
        QVERIFY2(failure->errorMessage().contains(messagePart), qPrintable(failure->errorMessage()));
        QVERIFY(!failure->statement().isEmpty());
        QVERIFY(QString::fromUtf8(sql).contains(failure->statement()));
        QVERIFY(QString::fromUtf8(failure->what()).contains(messagePart));
    }

    void parameterCountMustMatch_data()
    {
        QTest::addColumn<int>("given");
        QTest::newRow("too few") << 1;
        QTest::newRow("too many") << 3;
    }
    void parameterCountMustMatch()
    {
        QFETCH(int, given);
        CppSQLiteDB db;
        db.open(freshDatabase());
        std::vector<SqlValue> params;
        for (int i = 0; i < given; ++i)
            params.emplace_back(i);
        QVERIFY(failureOf([&] { db.execQuery("select * from t where n = ? or n = ?", params); }).has_value());
    }

    void queryRefusesASecondStatement()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        QVERIFY(failureOf([&] { db.execQuery("select * from t; delete from t"); }).has_value());
        // A trailing separator is not a second statement.
        QVERIFY(!failureOf([&] { db.execQuery("select * from t ;  "); }).has_value());
    }

    void readingPastTheRowsThrows()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        CppSQLiteQuery q = db.execQuery("select * from t");
        QVERIFY(failureOf([&] { q.fieldValue(0); }).has_value());
        db.execDML("insert into t(n) values(1)");
        CppSQLiteQuery r = db.execQuery("select * from t");
        QVERIFY(failureOf([&] { r.fieldValue(3); }).has_value());
        QVERIFY(failureOf([&] { r.fieldValue("nope"); }).has_value());
    }

    void closedDatabaseThrows()
    {
        CppSQLiteDB db;
        QVERIFY(!db.isOpen());
        QVERIFY(failureOf([&] { db.execQuery("select 1"); }).has_value());
        db.open(freshDatabase());
        db.close();
        QVERIFY(failureOf([&] { db.execDML("delete from t"); }).has_value());
    }

    void openingAFolderOrAMissingFolderThrows()
    {
        CppSQLiteDB db;
        QVERIFY(failureOf([&] { db.open(m_dir.path()); }).has_value());
        QVERIFY(failureOf([&] { db.open(m_dir.filePath("no/such/folder/x.db")); }).has_value());
        QVERIFY(!db.isOpen());
    }

    void notADatabaseFailsAtTheFirstStatement()
    {
        const QString path = m_dir.filePath(QStringLiteral("garbage.db"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'Z'));
        file.close();
        CppSQLiteDB db;
        db.open(path);
        const auto failure = failureOf([&] { db.execQuery("select * from sqlite_master"); });
        QVERIFY(failure.has_value());
        QVERIFY2(failure->errorMessage().contains("not a database"), qPrintable(failure->errorMessage()));
    }

    void queryOutlivesItsConnection()
    {
        std::optional<CppSQLiteQuery> q;
        {
            CppSQLiteDB db;
            db.open(freshDatabase());
            db.execDML("insert into t(n) values(1);insert into t(n) values(2)");
            q = db.execQuery("select n from t order by n");
        }
        QCOMPARE(q->fieldInt64(0), 1);
        q->nextRow();
        QCOMPARE(q->fieldInt64(0), 2);
    }

    void transactionRollsBackUnlessCommitted()
    {
        CppSQLiteDB db;
        db.open(freshDatabase());
        {
            CppSQLiteTransaction transaction(db);
            db.execDML("insert into t(n) values(1)");
        }
        QCOMPARE(db.execQuery("select count(*) from t").fieldInt64(0), 0);
        {
            CppSQLiteTransaction transaction(db);
            db.execDML("insert into t(n) values(1)");
            transaction.commit();
        }
        QCOMPARE(db.execQuery("select count(*) from t").fieldInt64(0), 1);
    }

    void writerWaitsForAnotherConnectionsLock()
    {
        const QString path = freshDatabase();
        CppSQLiteDB holder;
        holder.open(path);
        holder.execDML("begin exclusive");
        CppSQLiteDB writer;
        writer.open(path);
        writer.setBusyTimeout(100);
        // Held beyond the waiting time: a clear failure, not a silent one.
        const auto failure = failureOf([&] { writer.execDML("insert into t(n) values(1)"); });
        QVERIFY(failure.has_value());
        QCOMPARE(failure->errorCode() & 0xff, 5); // SQLITE_BUSY
        // Released within the waiting time: the write goes through.
        writer.setBusyTimeout(CppSQLiteDB::kDefaultBusyTimeoutMs);
        QTimer::singleShot(200, [&] { holder.execDML("commit"); });
        QElapsedTimer waited;
        waited.start();
        std::atomic<bool> done = false;
        // The lock is released from the event loop, so the write runs on another thread.
        std::thread thread([&] {
            writer.execDML("insert into t(n) values(1)");
            done = true;
        });
        QTRY_VERIFY(done);
        thread.join();
        QVERIFY(waited.elapsed() >= 150);
        QCOMPARE(holder.execQuery("select count(*) from t").fieldInt64(0), 1);
    }
};

QTEST_GUILESS_MAIN(TestCppSQLite)
#include "tst_cppsqlite.moc"
