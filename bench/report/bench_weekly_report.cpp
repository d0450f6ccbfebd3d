// Builds its own history databases of 1,000,000 rows in a temporary folder and prints:
//   weekly_report_ms        the report read plus its dialog built and painted offscreen,
//                           median of several opens, on a year of history;
//   weekly_report_first_ms  the first report on that database before it had the index on
//                           the history's times, which that report makes;
//   weekly_report_dense_ms  as weekly_report_ms with every row in the last seven days;
//   weekly_report_read_ms   the read alone, on the year (where the time goes).
#include "browsingdatabase.h"
#include "managerdata.h"
#include "weeklyreport.h"
#include "weeklyreportdlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr qint64 kRows = 1000000;
constexpr int kRunsPerDay = 4;
constexpr int kHosts = 60;
constexpr int kPagesPerHost = 200;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double milliseconds(const std::function<void()>& action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void print(const char* name, double value)
{
    std::printf("%s: %.3f ms\n", name, value);
    std::fflush(stdout);
}

class HistoryWriter
{
public:
    explicit HistoryWriter(CppSQLiteDB& db)
    {
        sqlite3_prepare_v2(db.handle(), "insert into history(beginTime, delayTime, visitURL) values(?, ?, ?)", -1,
                           &m_insert, nullptr);
    }
    ~HistoryWriter() { sqlite3_finalize(m_insert); }

    void add(const QDateTime& begin, qint64 seconds, const QByteArray& url)
    {
        const QByteArray time = begin.toString(QStringLiteral("yyyy年MM月dd日 HH:mm")).toUtf8();
        sqlite3_bind_text(m_insert, 1, time.constData(), static_cast<int>(time.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(m_insert, 2, seconds);
        sqlite3_bind_text(m_insert, 3, url.constData(), static_cast<int>(url.size()), SQLITE_TRANSIENT);
        sqlite3_step(m_insert);
        sqlite3_reset(m_insert);
    }

private:
    sqlite3_stmt* m_insert = nullptr;
};

// The history as the browser writes it, spread evenly over the `days` days up to today:
// kRunsPerDay runs a day, beginning near 07:30, 12:10, 16:20 and 19:45 (a few minutes
// later from day to day); on every seventh day the last run begins at 23:20 and goes past
// midnight. The rows are shared out evenly among the runs (about 685 each over a year,
// about 35,700 each in the dense week). Each run is a start row, then its stays, in two
// tabs side by side, spread over about 70 minutes and lasting 5 to 44 s, on kHosts hosts
// of kPagesPerHost pages, with one of the browser's own pages in fifty; then its closing
// row, except that one run in ten is killed and has none.
void fillHistory(const QString& path, int days)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, path);
    CppSQLiteTransaction transaction(db);
    HistoryWriter writer(db);
    const QDate firstDay = QDate::currentDate().addDays(1 - days);
    const qint64 runs = qint64(days) * kRunsPerDay;
    const int starts[kRunsPerDay] = {7 * 60 + 30, 12 * 60 + 10, 16 * 60 + 20, 19 * 60 + 45};
    for (qint64 run = 0; run < runs; ++run) {
        const int day = static_cast<int>(run / kRunsPerDay);
        const int slot = static_cast<int>(run % kRunsPerDay);
        const bool killed = run % 10 == 7;
        const qint64 rows = kRows * (run + 1) / runs - kRows * run / runs;
        const qint64 stays = rows - 1 - (killed ? 0 : 1);
        int minute = starts[slot] + day % 9;
        if (slot == kRunsPerDay - 1 && day % 7 == 3)
            minute = 23 * 60 + 20;
        const QDateTime start(firstDay.addDays(day), QTime(minute / 60, minute % 60));
        writer.add(start, 0, QByteArrayLiteral("打开Lorvane"));
        qint64 end = 0;
        for (qint64 k = 0; k < stays; ++k) {
            const qint64 at = k * 4200 / std::max<qint64>(stays, 1) + (k % 2) * 7;
            const qint64 seconds = 5 + (k * 7 + run) % 40;
            end = std::max(end, at + seconds);
            const qint64 n = run * 31 + k;
            const QByteArray url = n % 50 == 0
                ? QByteArrayLiteral("file:///usr/share/lorvane/html/warning.html#http://games.example.com/")
                : "http://www.site" + QByteArray::number(n % kHosts) + ".example.org/page/"
                    + QByteArray::number(n / kHosts % kPagesPerHost) + ".html";
            writer.add(start.addSecs(at), seconds, url);
        }
        if (!killed)
            writer.add(start, end, QByteArrayLiteral("关闭Lorvane"));
    }
    transaction.commit();
}

// Opens the report as the history page does, and paints it where nothing shows.
bool openReport()
{
    const WeeklyReport report = ManagerData::GetWeeklyReport(QDate::currentDate());
    CWeeklyReportDlg dlg(report);
    const QPixmap shown = dlg.grab();
    return !shown.isNull() && report.hosts.size() == kWeeklyReportHosts
        && std::any_of(report.days.begin(), report.days.end(), [](const DayOnline& d) { return d.seconds > 0; });
}

double medianOpen(int opens)
{
    std::vector<double> times;
    bool wrong = false;
    for (int i = 0; i < opens; ++i)
        times.push_back(milliseconds([&] { wrong |= !openReport(); }));
    if (wrong)
        std::fprintf(stderr, "a report came out empty\n");
    return median(times);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    if (!dir.isValid()) {
        std::fprintf(stderr, "no temporary folder\n");
        return 1;
    }

    ManagerData::SetDataBasePath(dir.filePath(QStringLiteral("year.db")));
    fillHistory(ManagerData::DataBasePath(), 365);
    bool wrong = false;
    const double first = milliseconds([&] { wrong = !openReport(); });
    if (wrong)
        std::fprintf(stderr, "the first report came out empty\n");
    print("weekly_report_ms", medianOpen(15));
    print("weekly_report_first_ms", first);
    std::vector<double> reads;
    for (int i = 0; i < 15; ++i)
        reads.push_back(milliseconds([] { ManagerData::GetWeeklyReport(QDate::currentDate()); }));
    print("weekly_report_read_ms", median(reads));

    ManagerData::SetDataBasePath(dir.filePath(QStringLiteral("dense.db")));
    fillHistory(ManagerData::DataBasePath(), 7);
    openReport(); // makes the index, as the year's first report did
    print("weekly_report_dense_ms", medianOpen(5));
    return 0;
}
