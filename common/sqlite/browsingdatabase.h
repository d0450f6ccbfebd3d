#pragma once

#include "cppsqlitedb.h"
#include "lorvanesqlite_export.h"

#include <QString>

#include <mutex>

// The one database file both programs share (tables sites, history, favors and
// visitecls) and what both data-access layers do with it the same way.
//
// In a family install (paths.h) the recommended sites live in a file of their own that
// the child only reads: every connection opens the child's database as "main" and
// attaches the sites' file as "family", and every statement on the sites names the
// table through SitesTableName().

// Removes leading and trailing spaces, tabs, line feeds, carriage returns, vertical
// tabs and form feeds (and no other characters) from the text.
LORVANESQLITE_EXPORT QString TrimBlanks(const QString& text);

// A program's process-wide database path. Until a path is set, the path of the
// user's database file (GetDataBasePathName) is used, so nothing written early is lost.
class LORVANESQLITE_EXPORT DataBasePathSetting
{
public:
    void set(const QString& path);
    QString get() const;

private:
    mutable std::mutex m_mutex;
    QString m_path;
};

// Opens the database file for one operation. The folder, the file and any of the four
// tables that are missing are created first; an existing file is used as it is. An
// empty path is refused (throws).
//
// In a family install the sites' file is attached as "family"; history, favors and
// visitecls are made only in `path`, sites only in the sites' file and only when this
// account may write it (a file it may not write is opened read-only, so any change of
// family.sites fails). A sites' file made here gets mode 0664; the child's database,
// made only by the child itself, 0660 (its folder's group is the parents').
LORVANESQLITE_EXPORT void OpenBrowsingDatabase(CppSQLiteDB& db, const QString& path);

// "family.sites" in a family install, "sites" otherwise.
LORVANESQLITE_EXPORT const char* SitesTableName();
// `sql` with every "{sites}" replaced by SitesTableName().
LORVANESQLITE_EXPORT QByteArray SitesSql(const char* sql);

// Creates whichever of the four tables are missing, in one transaction.
LORVANESQLITE_EXPORT void CreateBrowsingTables(CppSQLiteDB& db);

// Opens the file, runs sql (one or several statements) in a write transaction and
// closes it: either every statement takes effect or none does. Throws on failure.
LORVANESQLITE_EXPORT int ExecBrowsingWrite(const QString& path, const char* sql,
                                           const std::vector<SqlValue>& params = {});

// The index history_beginTime on the history's times, through which a week's rows are
// read: a new file gets it with its tables, an older one from its first weekly report.
// Made under a savepoint, so inside a transaction it adds no write of its own; a history
// of another shape, or a file the other program holds, keeps working without it (the
// failure is logged).
LORVANESQLITE_EXPORT void EnsureHistoryTimeIndex(CppSQLiteDB& db);
