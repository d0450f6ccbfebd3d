#pragma once

#include "lorvanesqlite_export.h"

#include <QList>
#include <QString>

// The child's requests to open a refused site, kept in a table of their own in the
// child's database (the browser writes it, the control panel reads and settles it).
// The table is made with the first request; until then there are simply none.
namespace SiteRequests {

enum class State { Pending = 0, Approved = 1, Dismissed = 2 };

// One request: the refused address, its host and when the child asked
// ("yyyy年MM月dd日 HH:mm", as the history writes times).
struct Record {
    qint64 id = 0;
    QString address;
    QString host;
    QString time;

    bool operator==(const Record&) const = default;
};

enum class AddResult { Added, AlreadyAsked, DailyLimit, Failed };

// So many hosts in one day is no longer asking, and the parents' list stays short.
inline constexpr int kMaxRequestsPerDay = 10;

// Records a request unless one for the same host (compared without case) was made on
// the same day, whatever became of it, or is still waiting; `day` is "yyyy-MM-dd". Past
// kMaxRequestsPerDay hosts on a day the answer is DailyLimit. A request without a host
// is refused (Failed). Settled requests of earlier days go, as they can no longer
// stop a request. Never throws: a failure is logged and given as Failed.
LORVANESQLITE_EXPORT AddResult Add(const QString& databasePath, const QString& address, const QString& host,
                                   const QString& day, const QString& time);

// The pending requests, oldest first. Throws CppSQLiteException when the database
// cannot be read.
LORVANESQLITE_EXPORT QList<Record> Pending(const QString& databasePath);

// Settles a pending request; false when there is no pending request of that id (it
// was settled meanwhile). Throws CppSQLiteException when the write fails.
LORVANESQLITE_EXPORT bool Settle(const QString& databasePath, qint64 id, State state);

} // namespace SiteRequests
