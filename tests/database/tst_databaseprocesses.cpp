#include "browsingdatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The browser writes history while the control panel pages through it and clears it,
// each in its own process: no row may be lost except those a clear deleted.
class TestDatabaseProcesses : public QObject
{
    Q_OBJECT

private:
    static QString workerPath()
    {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/lorvane_db_worker");
    }

    static std::unique_ptr<QProcess> start(const QStringList& args)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(workerPath(), args);
        return process;
    }

    // The numbers of the worker's line "word N word M".
    static QList<int> countsOf(QProcess& process)
    {
        const QString out = QString::fromUtf8(process.readAllStandardOutput());
        QList<int> counts;
        for (const auto& match : QRegularExpression(QStringLiteral("(\\d+)")).globalMatch(out))
            counts << match.captured(1).toInt();
        return counts;
    }

    static QSet<QString> column(CppSQLiteDB& db, const char* sql, int& total)
    {
        QSet<QString> values;
        total = 0;
        for (auto q = db.execQuery(sql); !q.eof(); q.nextRow()) {
            values.insert(q.fieldValue(0));
            ++total;
        }
        return values;
    }

private slots:
    void historyWritesSurviveReadersAndClears()
    {
        QVERIFY(QFile::exists(workerPath()));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("shared/lorvane.db"));
        const QString stop = dir.filePath(QStringLiteral("stop"));
        {
            // Every row a clear removes is copied aside, so a cleared row can be told
            // from a lost one.
            CppSQLiteDB db;
            OpenBrowsingDatabase(db, path);
            db.execDML("create table cleared(visitURL text);"
                       "create trigger keep_cleared before delete on history"
                       " begin insert into cleared values(old.visitURL); end");
        }
        constexpr int kRows = 300;
        auto reader = start({"read", path, stop});
        // The clears stop before the writes do, so some rows are kept and some cleared.
        auto clearer = start({"clear", path, stop, "10"});
        auto writerA = start({"write", path, "a", QString::number(kRows)});
        auto writerB = start({"write", path, "b", QString::number(kRows)});
        for (QProcess* writer : {writerA.get(), writerB.get()}) {
            QVERIFY(writer->waitForFinished(120000));
            QCOMPARE(writer->exitCode(), 0);
            const QList<int> counts = countsOf(*writer);
            QCOMPARE(counts, (QList<int>{kRows, 0}));
        }
        QFile(stop).open(QIODevice::WriteOnly);
        for (QProcess* other : {reader.get(), clearer.get()}) {
            QVERIFY(other->waitForFinished(30000));
            QCOMPARE(other->exitCode(), 0);
            const QList<int> counts = countsOf(*other);
            QCOMPARE(counts.size(), 2);
            QVERIFY2(counts[0] > 0, "the other program never got its turn");
            QCOMPARE(counts[1], 0);
        }

        CppSQLiteDB db;
        OpenBrowsingDatabase(db, path);
        int kept = 0;
        int cleared = 0;
        QSet<QString> seen = column(db, "select visitURL from history", kept);
        seen.unite(column(db, "select visitURL from cleared", cleared));
        QCOMPARE(kept + cleared, 2 * kRows); // each row written once
        QSet<QString> expected;
        for (int i = 0; i < kRows; ++i)
            expected << QStringLiteral("a/%1").arg(i) << QStringLiteral("b/%1").arg(i);
        QCOMPARE(seen, expected);
        qInfo("kept %d rows, %d cleared", kept, cleared);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseProcesses)
#include "tst_databaseprocesses.moc"
