#include "dbtrials.h"

#include "browserdata.h"
#include "browsingdatabase.h"
#include "childprocess.h"
#include "cppsqlitedb.h"
#include "cppsqliteexception.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

enum ReportTag : uint32_t { kCommitted = 1, kWriteFailed = 2 };

// The statement the browser's own history write runs.
const char kInsertHistory[] = "Insert Into history(beginTime, delayTime, visitURL) values(?, ?, ?)";

QString urlOf(uint64_t seq)
{
    return QStringLiteral("http://127.0.0.1/fault/%1").arg(seq);
}

QString beginTimeOf(uint64_t seq)
{
    return QStringLiteral("2026年01月01日 %1:%2").arg((seq / 60) % 24, 2, 10, QChar('0')).arg(seq % 60, 2, 10, QChar('0'));
}

// Several rows in one transaction, as the browsing database's classes write them; each row is
// reported, with the id SQLite gave it, only after the commit returned.
bool insertInTransaction(const QString& path, uint64_t& seq, int rows, int reports)
{
    std::vector<Report> committed;
    try {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, path);
        CppSQLiteTransaction transaction(db);
        for (int i = 0; i < rows; ++i, ++seq) {
            db.execDML(kInsertHistory, {beginTimeOf(seq), uint32_t(seq % 7200), urlOf(seq)});
            committed.push_back(Report{kCommitted, 1, seq, db.lastRowId()});
        }
        transaction.commit();
    } catch (const CppSQLiteException& e) {
        std::fprintf(stderr, "fault_saves: history transaction failed: %s\n", e.what());
        return false;
    }
    for (const Report& r : committed)
        sendReport(reports, r);
    return true;
}

int insertForever(const QString& path, uint64_t firstSeq, uint64_t seed, int reports)
{
    BrowserData::SetDataBasePath(path);
    std::mt19937_64 rng(seed);
    for (uint64_t seq = firstSeq;;) {
        bool ok;
        if (rng() % 10 < 3) {
            // The browser's own single-row write, which commits on its own.
            const uint64_t row = seq++;
            ok = BrowserData::AddHistory(beginTimeOf(row), uint32_t(row % 7200), urlOf(row));
            if (ok)
                sendReport(reports, Report{kCommitted, 1, row, 0});
        } else {
            ok = insertInTransaction(path, seq, 1 + int(rng() % 5), reports);
        }
        if (!ok)
            sendReport(reports, Report{kWriteFailed, 0, seq, 0});
    }
}

std::chrono::microseconds killDelay(std::mt19937_64& rng)
{
    // Counted from the child's start and spread evenly over the orders of magnitude
    // from 10 us (creating the tables) to 300 ms (a commit takes 10 to 25 ms of
    // syncing: many commits, the kill anywhere within one).
    std::uniform_real_distribution<double> exponent(std::log(10.0), std::log(300000.0));
    return std::chrono::microseconds(static_cast<long>(std::exp(exponent(rng))));
}

struct StoredRows {
    bool readable = false;
    QString problem;
    QHash<QString, qint64> idByUrl;
};

// What the database holds after a kill, read the way a fresh program finds it.
StoredRows readStoredRows(const QString& path)
{
    StoredRows stored;
    try {
        CppSQLiteDB db;
        db.open(path);
        QStringList verdict;
        for (CppSQLiteQuery check = db.execQuery("PRAGMA integrity_check"); !check.eof(); check.nextRow())
            verdict << check.fieldValue(0);
        if (verdict != QStringList{QStringLiteral("ok")}) {
            stored.problem = QStringLiteral("integrity check: ") + verdict.join(QStringLiteral("; "));
            return stored;
        }
        CppSQLiteQuery tables = db.execQuery("select count(*) from sqlite_master where type='table' and name='history'");
        if (tables.fieldInt64(0) == 1) {
            for (CppSQLiteQuery rows = db.execQuery("select historyID, visitURL from history"); !rows.eof();
                 rows.nextRow())
                stored.idByUrl.insert(rows.fieldValue(1), rows.fieldInt64(0));
        }
        stored.readable = true;
    } catch (const CppSQLiteException& e) {
        stored.problem = QString::fromUtf8(e.what());
    }
    return stored;
}

} // namespace

int runDbTrials(const DbTrialOptions& options, std::mt19937_64& rng, Tally& tally)
{
    const QString path = QString::fromStdString(options.folder) + QStringLiteral("/lorvane.db");
    std::vector<Report> reported; // every row ever reported committed
    QSet<uint64_t> lost;
    int trialsWithRows = 0;
    int failedWrites = 0;
    uint64_t nextSeq = 1;
    for (int t = 0; t < options.trials; ++t) {
        tally.startTrial();
        const uint64_t firstSeq = nextSeq;
        const uint64_t childSeed = rng();
        Child child = startChild([&](int reports) { return insertForever(path, firstSeq, childSeed, reports); });
        bool unusable = false;
        const std::vector<Report> reports = killChild(child, killDelay(rng), &unusable);
        if (unusable) {
            tally.unjudged("the writing child was not killed or its reports are unreadable");
            continue;
        }
        int rows = 0;
        for (const Report& r : reports) {
            if (r.tag == kCommitted) {
                reported.push_back(r);
                ++rows;
            } else {
                ++failedWrites;
            }
            nextSeq = std::max(nextSeq, r.id + 1);
        }
        // Rows written but not yet reported must not share numbers with the next child's.
        nextSeq += 1000;
        trialsWithRows += rows > 0;

        const StoredRows stored = readStoredRows(path);
        if (!stored.readable) {
            tally.finding("database damaged by a kill", stored.problem.toStdString());
            for (const Report& r : reported)
                lost.insert(r.id);
            continue;
        }
        for (const Report& r : reported) {
            const auto it = stored.idByUrl.constFind(urlOf(r.id));
            if (it == stored.idByUrl.constEnd()) {
                if (!lost.contains(r.id))
                    tally.finding("committed history row missing", urlOf(r.id).toStdString());
                lost.insert(r.id);
            } else if (r.rowId != 0 && *it != r.rowId) {
                tally.finding("committed history row under another id", urlOf(r.id).toStdString());
            }
        }
    }
    std::printf("db rows reported committed: %zu in %d of %d trials\n", reported.size(), trialsWithRows,
                options.trials);
    if (failedWrites > 0)
        tally.unjudged("writes failed in the child without any fault");
    if (options.trials > 0 && reported.empty())
        tally.unjudged("no row was committed before any kill");
    return int(lost.size());
}
