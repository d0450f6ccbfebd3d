#include "siterequests.h"

#include "browsingdatabase.h"
#include "cppsqliteexception.h"
#include "databaselog.h"

namespace SiteRequests {

namespace {

// One row per host and day: the unique key is what makes a second request on the
// same day a no-op, even from two tabs at once.
const char kCreate[] = "create table if not exists siterequests(requestID integer primary key,"
                       " requestURL text not null, requestHost text not null, requestDay text not null,"
                       " requestTime text not null, requestState integer not null default 0,"
                       " unique(requestHost, requestDay))";

bool tableExists(CppSQLiteDB& db)
{
    return !db.execQuery("select 1 from sqlite_master where type='table' and name='siterequests'").eof();
}

} // namespace

AddResult Add(const QString& databasePath, const QString& address, const QString& host, const QString& day,
              const QString& time)
{
    if (host.isEmpty())
        return AddResult::Failed;
    try {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, databasePath);
        CppSQLiteTransaction transaction(db);
        db.execDML(kCreate);
        db.execDML("delete from siterequests where requestState<>0 and requestDay<>?", {day});
        // A request still waiting from an earlier day is the same question: the parents
        // see it once.
        if (!db.execQuery("select 1 from siterequests where requestHost=? and requestState=0", {host.toLower()}).eof())
            return AddResult::AlreadyAsked;
        if (!db.execQuery("select 1 from siterequests where requestHost=? and requestDay=?", {host.toLower(), day})
                 .eof())
            return AddResult::AlreadyAsked;
        if (db.execQuery("select count(*) from siterequests where requestDay=?", {day}).fieldInt64(0)
            >= kMaxRequestsPerDay)
            return AddResult::DailyLimit;
        const int added = db.execDML("insert or ignore into siterequests(requestURL, requestHost, requestDay,"
                                     " requestTime) values(?, ?, ?, ?)",
                                     {address, host.toLower(), day, time});
        transaction.commit();
        return added == 1 ? AddResult::Added : AddResult::AlreadyAsked;
    } catch (...) {
        LogDatabaseFailure("recording a request for a site");
    }
    return AddResult::Failed;
}

QList<Record> Pending(const QString& databasePath)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, databasePath);
    QList<Record> pending;
    if (!tableExists(db))
        return pending;
    for (CppSQLiteQuery rows = db.execQuery("select requestID, requestURL, requestHost, requestTime"
                                            " from siterequests where requestState=0 order by requestID");
         !rows.eof(); rows.nextRow())
        pending.append(Record{rows.fieldInt64(0), rows.fieldValue(1), rows.fieldValue(2), rows.fieldValue(3)});
    return pending;
}

bool Settle(const QString& databasePath, qint64 id, State state)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, databasePath);
    if (!tableExists(db))
        return false;
    CppSQLiteTransaction transaction(db);
    const int changed = db.execDML("update siterequests set requestState=? where requestID=? and requestState=0",
                                   {static_cast<int>(state), id});
    transaction.commit();
    return changed == 1;
}

} // namespace SiteRequests
