#include "weeklyreport.h"

#include "browsingdatabase.h"
#include "cppsqliteexception.h"
#include "longread.h"
#include "managerdata.h"

#include <QUrl>

#include <sqlite3.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <string_view>

namespace ManagerData {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr qint64 kUnixEpochJulianDay = 2440588;

// Times are counted on the local clock as it is written ("seconds since 1970-01-01 00:00
// local"), so every day is 86,400 seconds long and midnight falls on a multiple of it.
qint64 localClockSeconds(const QDate& date, int hour, int minute)
{
    return (date.toJulianDay() - kUnixEpochJulianDay) * kSecondsPerDay + hour * 3600 + minute * 60;
}

int digitsAt(std::string_view text, size_t at, size_t count)
{
    int value = 0;
    for (size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "2026年12月08日 09:05" exactly (UTF-8), or nothing.
std::optional<qint64> historyTimeSeconds(std::string_view text)
{
    if (text.size() != 23 || text.substr(4, 3) != "年" || text.substr(9, 3) != "月" || text.substr(14, 3) != "日"
        || text[17] != ' ' || text[20] != ':')
        return std::nullopt;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 7, 2);
    const int day = digitsAt(text, 12, 2);
    const int hour = digitsAt(text, 18, 2);
    const int minute = digitsAt(text, 21, 2);
    const QDate date(year, month, day);
    if (year < 0 || !date.isValid() || hour < 0 || hour > 23 || minute < 0 || minute > 59)
        return std::nullopt;
    return localClockSeconds(date, hour, minute);
}

// history_time(beginTime): the row's time on the local clock, NULL when it is not a time.
void historyTimeFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const std::optional<qint64> seconds =
        text ? historyTimeSeconds({text, static_cast<size_t>(sqlite3_value_bytes(argv[0]))}) : std::nullopt;
    if (seconds)
        sqlite3_result_int64(context, *seconds);
    else
        sqlite3_result_null(context);
}

// history_host(visitURL): the host of a web address, NULL for anything else (the start
// and close rows, the browser's own file: pages).
void historyHostFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const QUrl url(QString::fromUtf8(text, text ? sqlite3_value_bytes(argv[0]) : 0));
    const QString scheme = url.scheme();
    const QByteArray host = url.host().toUtf8();
    if ((scheme != QLatin1String("http") && scheme != QLatin1String("https")) || host.isEmpty())
        sqlite3_result_null(context);
    else
        sqlite3_result_text(context, host.constData(), static_cast<int>(host.size()), SQLITE_TRANSIENT);
}

void addFunction(CppSQLiteDB& db, const char* name, void (*function)(sqlite3_context*, int, sqlite3_value**))
{
    const int rc = sqlite3_create_function_v2(db.handle(), name, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                              function, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        throw CppSQLiteException(rc, QString::fromUtf8(sqlite3_errmsg(db.handle())),
                                 QStringLiteral("create function ") + QLatin1String(name));
}

void openForReport(CppSQLiteDB& db)
{
    OpenForLongRead(db);
    addFunction(db, "history_time", historyTimeFunction);
    addFunction(db, "history_host", historyHostFunction);
    EnsureHistoryTimeIndex(db);
}

// The rows that can hold a run reaching into the week, as a range of historyID: from the
// start row of the last run begun before the week (or the week's first start row) to
// just before the start row that follows the week's last run. A row of a run lies
// between its start row and the next start row, so the range holds every such run whole.
struct RunRange {
    qint64 first = 0;
    qint64 lastStart = 0;
};

std::optional<RunRange> runRange(CppSQLiteDB& db, const QString& weekBegin, const QString& weekEnd)
{
    CppSQLiteQuery row = db.execQuery(
        "select min(historyID), max(historyID),"
        " (select historyID from history where beginTime < ?1 and visitURL = ?3"
        "   and history_time(beginTime) is not null order by beginTime desc, historyID desc limit 1)"
        " from history where beginTime >= ?1 and beginTime < ?2 and visitURL = ?3",
        {weekBegin, weekEnd, kHistoryStartRow});
    std::optional<RunRange> range;
    if (!row.fieldIsNull(0))
        range = RunRange{row.fieldInt64(0), row.fieldInt64(1)};
    if (!row.fieldIsNull(2)) {
        const qint64 before = row.fieldInt64(2);
        range = range ? RunRange{std::min(range->first, before), std::max(range->lastStart, before)}
                      : RunRange{before, before};
    }
    return range;
}

// Each run in the range goes from its start row's time to that time plus its closing
// row's seconds (the closing row repeats the start's time text, which tells it apart); a
// run without a closing row ends where its last stay ends, and one without stays either
// takes no time. The runs are then cut at each day's midnights.
const char kDaysSql[] = R"(
with recursive
span as (
  select historyID as id, visitURL as url, beginTime as beginText, delayTime as seconds,
         history_time(beginTime) as beginAt
  from history
  where historyID >= ?1
    and historyID < coalesce((select min(historyID) from history where historyID > ?2 and visitURL = ?3), ?6)),
numbered as (select *, sum(url = ?3) over (order by id) as run from span),
runs as (
  select max(iif(url = ?3, beginAt, null)) as start,
         max(iif(url = ?3, beginText, null)) as startText,
         max(iif(url = ?4, beginText, null)) as closeText,
         max(iif(url = ?4, seconds, null)) as closeSeconds,
         max(iif(url <> ?3 and url <> ?4, beginAt + seconds, null)) as lastStayEnd
  from numbered group by run),
ends as (
  select start,
         max(start, iif(closeText = startText and closeSeconds is not null, start + closeSeconds,
                        coalesce(lastStayEnd, start))) as finish
  from runs where start is not null),
days(day, dayStart) as (select 0, ?5 union all select day + 1, dayStart + 86400 from days where day < ?7 - 1)
select day, coalesce(sum(min(finish, dayStart + 86400) - max(start, dayStart)), 0)
from days left join ends on start < dayStart + 86400 and finish > dayStart
group by day order by day
)";

QList<DayOnline> readDays(CppSQLiteDB& db, const QDate& firstDay, const QString& weekBegin, const QString& weekEnd)
{
    QList<DayOnline> days;
    for (int i = 0; i < kWeeklyReportDays; ++i)
        days.append(DayOnline{firstDay.addDays(i), 0});
    const std::optional<RunRange> range = runRange(db, weekBegin, weekEnd);
    if (!range)
        return days;
    for (CppSQLiteQuery rows = db.execQuery(kDaysSql, {range->first, range->lastStart, kHistoryStartRow, kHistoryCloseRow,
                                                       localClockSeconds(firstDay, 0, 0),
                                                       std::numeric_limits<qint64>::max(), kWeeklyReportDays});
         !rows.eof(); rows.nextRow())
        days[static_cast<qsizetype>(rows.fieldInt64(0))].seconds = rows.fieldInt64(1);
    return days;
}

// The stays are added up per address first, so each address is parsed for its host once.
const char kHostsSql[] = R"(
select host, sum(seconds) as total from (
  select history_host(visitURL) as host, sum(delayTime) as seconds from history
  where beginTime >= ?1 and beginTime < ?2 and history_time(beginTime) is not null
  group by visitURL)
where host is not null
group by host order by total desc, host limit ?3
)";

QList<HostTime> readHosts(CppSQLiteDB& db, const QString& weekBegin, const QString& weekEnd)
{
    QList<HostTime> hosts;
    for (CppSQLiteQuery rows = db.execQuery(kHostsSql, {weekBegin, weekEnd, kWeeklyReportHosts}); !rows.eof();
         rows.nextRow())
        hosts.append(HostTime{rows.fieldValue(0), rows.fieldInt64(1)});
    return hosts;
}

// Built from the date alone, so a day whose midnight the clock skips still begins at 00:00.
QString midnightText(const QDate& date)
{
    return date.toString(QStringLiteral("yyyy年MM月dd日")) + QStringLiteral(" 00:00");
}

} // namespace

WeeklyReport GetWeeklyReport(const QDate& today)
{
    const QDate firstDay = today.addDays(1 - kWeeklyReportDays);
    // The texts sort as the times they write, so the week is a range of them.
    const QString weekBegin = midnightText(firstDay);
    const QString weekEnd = midnightText(today.addDays(1));
    CppSQLiteDB db;
    openForReport(db);
    return WeeklyReport{readDays(db, firstDay, weekBegin, weekEnd), readHosts(db, weekBegin, weekEnd)};
}

} // namespace ManagerData
