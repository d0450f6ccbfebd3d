// A second program on the same database file, started by tst_databaseprocesses:
//   write <db> <tag> <count>    the browser's history writes, one row per call
//   read  <db> <stop file>      the control panel paging and counting the history
//   clear <db> <stop file> <n>  the control panel clearing the history n times at most
// It prints one line of counts and exits 0 when it could do its work.
#include "browserdata.h"
#include "cppsqliteexception.h"
#include "managerdata.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {

int writeRows(const QString& tag, int count)
{
    int failed = 0;
    for (int i = 0; i < count; ++i) {
        if (!BrowserData::AddHistory(QStringLiteral("2026年01月01日 00:00"), static_cast<uint32_t>(i),
                                     QStringLiteral("%1/%2").arg(tag).arg(i)))
            ++failed;
    }
    std::printf("written %d failed %d\n", count - failed, failed);
    return 0;
}

int readPages(const QString& stopFile)
{
    int reads = 0;
    int errors = 0;
    ManagerData::SetPageSize(16);
    while (!QFile::exists(stopFile)) {
        try {
            const int pages = ManagerData::GetHistoryPageCount();
            QList<HistoryRecord> rows;
            ManagerData::GetHistoryPage(1, rows);
            ManagerData::GetHistoryPage(qMax(pages, 1), rows);
            ManagerData::HasNextHistoryPage(1);
            ++reads;
        } catch (const CppSQLiteException& e) {
            std::fprintf(stderr, "read failed: %s\n", e.what());
            ++errors;
        }
    }
    std::printf("reads %d errors %d\n", reads, errors);
    return 0;
}

int clearRows(const QString& stopFile, int maxClears)
{
    int clears = 0;
    int errors = 0;
    while (!QFile::exists(stopFile) && clears + errors < maxClears) {
        try {
            ManagerData::ClearHistory();
            ++clears;
        } catch (const CppSQLiteException& e) {
            std::fprintf(stderr, "clear failed: %s\n", e.what());
            ++errors;
        }
        QThread::msleep(20);
    }
    std::printf("clears %d errors %d\n", clears, errors);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s write|read|clear <db> ...\n", argv[0]);
        return 2;
    }
    BrowserData::SetDataBasePath(args[2]);
    ManagerData::SetDataBasePath(args[2]);
    if (args[1] == QLatin1String("write") && args.size() == 5)
        return writeRows(args[3], args[4].toInt());
    if (args[1] == QLatin1String("read"))
        return readPages(args[3]);
    if (args[1] == QLatin1String("clear") && args.size() == 5)
        return clearRows(args[3], args[4].toInt());
    std::fprintf(stderr, "unknown mode\n");
    return 2;
}
