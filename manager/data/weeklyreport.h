#pragma once

#include "managerdata_export.h"

#include <QDate>
#include <QList>
#include <QString>

// The parents' weekly report: how long the child was online on each of the last seven
// days, and the hosts the child spent the most time on.

inline constexpr int kWeeklyReportDays = 7;
inline constexpr int kWeeklyReportHosts = 10;

struct DayOnline {
    QDate date;
    qint64 seconds = 0;

    bool operator==(const DayOnline&) const = default;
};

// The stays on one host added up. Stays in tabs open side by side overlap, so a host's
// sum can be more than the time the browser was open.
struct HostTime {
    QString host;
    qint64 seconds = 0;

    bool operator==(const HostTime&) const = default;
};

struct WeeklyReport {
    QList<DayOnline> days; // kWeeklyReportDays of them, oldest first, the last one today
    QList<HostTime> hosts; // at most kWeeklyReportHosts, most time first, ties by host name
};

namespace ManagerData {

// The report for the seven local days ending with `today`, read from DataBasePath().
// Online time comes from the browser's runs (from its start to its close, or to its
// last stay when it was killed), split at midnight; a host's time is the sum of its
// stays that began in those days. Rows whose time text is not a time are left out.
//
// The index on the history's time is made first when it is missing; when it cannot be
// made the read goes on without it. Throws CppSQLiteException when the database cannot
// be read.
MANAGERDATA_EXPORT WeeklyReport GetWeeklyReport(const QDate& today);

} // namespace ManagerData
