#pragma once

#include "cppsqlitequery.h"
#include "lorvanesqlite_export.h"
#include "sqlvalue.h"

#include <QString>

#include <vector>

struct sqlite3;

// One connection to a database file. Every value reaches SQLite as a bound parameter
// ("?" in the statement text), never pasted into the text. Failures throw
// CppSQLiteException with SQLite's message and the statement.
class LORVANESQLITE_EXPORT CppSQLiteDB
{
public:
    // Another process may hold the file for a moment; a statement waits this long for
    // it instead of failing at once.
    static constexpr int kDefaultBusyTimeoutMs = 2000;

    CppSQLiteDB();
    ~CppSQLiteDB();
    CppSQLiteDB(const CppSQLiteDB&) = delete;
    CppSQLiteDB& operator=(const CppSQLiteDB&) = delete;

    // Opens (and creates when missing) the database file; a connection already open
    // is closed first.
    void open(const QString& path);
    bool isOpen() const { return m_db != nullptr; }
    // Closes the connection; never throws. Queries still alive keep it until they go.
    void close();

    // How long a statement waits for a lock another connection holds. The wait polls
    // every millisecond or two, so a brief gap between the other program's writes is
    // taken instead of being slept through.
    void setBusyTimeout(int milliseconds);

    // Runs the single statement of sql with its parameters and returns the rows,
    // positioned on the first one.
    CppSQLiteQuery execQuery(const char* sql, const std::vector<SqlValue>& params = {});
    // Runs every statement of sql (separated by ";") in turn; the parameters are
    // handed out in order, each statement taking as many as it has. Returns the number
    // of rows the statements changed.
    int execDML(const char* sql, const std::vector<SqlValue>& params = {});

    qint64 lastRowId() const;
    sqlite3* handle() const { return m_db; }

private:
    void requireOpen(const char* sql) const;
    static int waitForLock(void* self, int attempt);

    sqlite3* m_db = nullptr;
    int m_busyTimeoutMs = kDefaultBusyTimeoutMs;
    qint64 m_waitStartedMs = 0;
};

// A write transaction that takes the write lock at once ("begin immediate"), so two
// processes writing at the same moment queue on the busy timeout instead of one of
// them failing. Rolled back when destroyed without commit().
class LORVANESQLITE_EXPORT CppSQLiteTransaction
{
public:
    explicit CppSQLiteTransaction(CppSQLiteDB& db);
    ~CppSQLiteTransaction();
    CppSQLiteTransaction(const CppSQLiteTransaction&) = delete;
    CppSQLiteTransaction& operator=(const CppSQLiteTransaction&) = delete;

    void commit();

private:
    CppSQLiteDB& m_db;
    bool m_open = true;
};
