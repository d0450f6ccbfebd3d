// Builds its own databases in a temporary folder and prints one "name: value unit"
// line per figure.
#include "browserdata.h"
#include "browsingdatabase.h"
#include "managerdata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const char kAddress[] = "http://www.nomatch.test/index.html";
const char kAddressHost[] = "www.nomatch.test";

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double microseconds(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0;
}

void fillSites(const QString& path, int count)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, path);
    CppSQLiteTransaction transaction(db);
    for (int i = 0; i < count; ++i) {
        db.execDML("insert into sites(siteurl, sitename, siteimage) values(?, ?, ?)",
                   {QStringLiteral("http://site%1.example.org/kids/index.html").arg(i),
                    QStringLiteral("儿童网站 %1").arg(i),
                    QStringLiteral("0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0.bmp")});
    }
    transaction.commit();
}

void fillHistory(const QString& path, int count)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, path);
    CppSQLiteTransaction transaction(db);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db.handle(), "insert into history(beginTime, delayTime, visitURL) values(?, ?, ?)", -1,
                       &insert, nullptr);
    const QByteArray when = QByteArray("2026年01月02日 03:04");
    for (int i = 0; i < count; ++i) {
        const QByteArray url = "http://www.example.org/page/" + QByteArray::number(i) + ".html";
        sqlite3_bind_text(insert, 1, when.constData(), static_cast<int>(when.size()), SQLITE_STATIC);
        sqlite3_bind_int(insert, 2, i % 600);
        sqlite3_bind_text(insert, 3, url.constData(), static_cast<int>(url.size()), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    transaction.commit();
}

// The floor: the same work as the check written straight against the C interface.
bool plainChildSiteLoop(const char* path, int extraFlags = 0)
{
    sqlite3* db = nullptr;
    sqlite3_stmt* rows = nullptr;
    bool found = false;
    if (sqlite3_open_v2(path, &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | extraFlags, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, "select * from sites", -1, &rows, nullptr) == SQLITE_OK) {
        char host[256];
        while (!found && sqlite3_step(rows) == SQLITE_ROW) {
            const char* url = reinterpret_cast<const char*>(sqlite3_column_text(rows, 1));
            if (!url)
                continue;
            const char* start = std::strstr(url, "://");
            start = start ? start + 3 : url;
            const size_t length = std::min<size_t>(std::strcspn(start, "/:?#"), sizeof host - 1);
            std::memcpy(host, start, length);
            host[length] = '\0';
            found = std::strstr(kAddressHost, host) != nullptr;
        }
    }
    sqlite3_finalize(rows);
    sqlite3_close(db);
    return found;
}

void print(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

void benchChildSite(const QTemporaryDir& dir, int sites, int runs)
{
    const QString path = dir.filePath(QStringLiteral("sites%1.db").arg(sites));
    fillSites(path, sites);
    BrowserData::SetDataBasePath(path);
    const QByteArray nativePath = path.toUtf8();
    const QString address = QString::fromLatin1(kAddress);
    bool wrong = false;
    std::vector<double> check;
    std::vector<double> plain;
    std::vector<double> plainUnlocked;
    // Warm both up, then alternate so both see the same cache and machine load.
    BrowserData::IsChildSite(address);
    plainChildSiteLoop(nativePath.constData());
    for (int i = 0; i < runs; ++i) {
        check.push_back(microseconds([&] { wrong |= BrowserData::IsChildSite(address); }));
        plain.push_back(microseconds([&] { wrong |= plainChildSiteLoop(nativePath.constData()); }));
        // The same loop without SQLite's per-call locking, as the access classes open.
        plainUnlocked.push_back(microseconds(
            [&] { wrong |= plainChildSiteLoop(nativePath.constData(), SQLITE_OPEN_NOMUTEX); }));
    }
    if (wrong)
        std::fprintf(stderr, "an address that no site allows was allowed\n");
    const QByteArray name = "ischildsite_us_" + QByteArray::number(sites);
    print(name.constData(), median(check), "us");
    const QByteArray floorName = "plain_c_loop_us_" + QByteArray::number(sites);
    print(floorName.constData(), median(plain), "us");
    const QByteArray unlockedName = "plain_c_loop_nomutex_us_" + QByteArray::number(sites);
    print(unlockedName.constData(), median(plainUnlocked), "us");
    if (sites == 1000) {
        print("ischildsite_ratio_1000", median(check) / median(plain), "x");
        print("ischildsite_ratio_nomutex_1000", median(check) / median(plainUnlocked), "x");
    }
}

void benchHistoryPages(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("history.db"));
    constexpr int kRows = 1000000;
    fillHistory(path, kRows);
    ManagerData::SetDataBasePath(path);
    ManagerData::SetPageSize(16);
    const int pages = ManagerData::GetHistoryPageCount();
    std::vector<double> first;
    std::vector<double> last;
    std::vector<double> count;
    size_t rows = 0;
    for (int i = 0; i < 15; ++i) {
        QList<HistoryRecord> list;
        first.push_back(microseconds([&] { ManagerData::GetHistoryPage(1, list); }) / 1000.0);
        last.push_back(microseconds([&] { ManagerData::GetHistoryPage(pages, list); }) / 1000.0);
        count.push_back(microseconds([&] { ManagerData::GetHistoryPageCount(); }) / 1000.0);
        rows = static_cast<size_t>(list.size());
    }
    if (pages != kRows / 16 || rows != 32)
        std::fprintf(stderr, "unexpected pages: %d pages, %zu rows read\n", pages, rows);
    print("history_page_ms_first", median(first), "ms");
    print("history_page_ms_last", median(last), "ms");
    print("history_page_count_ms", median(count), "ms");
}

void benchAddHistory(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("write.db"));
    BrowserData::SetDataBasePath(path);
    const QString when = QStringLiteral("2026年01月02日 03:04");
    BrowserData::AddHistory(when, 0, QStringLiteral("打开Lorvane"));
    std::vector<double> times;
    bool failed = false;
    for (int i = 0; i < 300; ++i) {
        const QString url = QStringLiteral("http://www.example.org/it's/%1.html").arg(i);
        times.push_back(microseconds([&] { failed |= !BrowserData::AddHistory(when, 3, url); }));
    }
    if (failed)
        std::fprintf(stderr, "a history row was not written\n");
    print("add_history_us", median(times), "us");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    benchChildSite(dir, 1000, 301);
    benchChildSite(dir, 10000, 61);
    benchChildSite(dir, 100000, 15);
    benchAddHistory(dir);
    benchHistoryPages(dir);
    return 0;
}
