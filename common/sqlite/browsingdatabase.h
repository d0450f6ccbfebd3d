#pragma once

#include "cppsqlitedb.h"
#include "lorvanesqlite_export.h"

#include <QString>

#include <mutex>

// The one database file both programs share (tables sites, history, favors and
// visitecls) and what both data-access layers do with it the same way.

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
// tables that are missing are created first; an existing file is used as it is.
LORVANESQLITE_EXPORT void OpenBrowsingDatabase(CppSQLiteDB& db, const QString& path);

// Creates whichever of the four tables are missing, in one transaction.
LORVANESQLITE_EXPORT void CreateBrowsingTables(CppSQLiteDB& db);

// Opens the file, runs sql (one or several statements) in a write transaction and
// closes it: either every statement takes effect or none does. Throws on failure.
LORVANESQLITE_EXPORT int ExecBrowsingWrite(const QString& path, const char* sql,
                                           const std::vector<SqlValue>& params = {});
