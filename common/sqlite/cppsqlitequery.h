#pragma once

#include "lorvanesqlite_export.h"

#include <QByteArray>
#include <QString>

#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// The result rows of one query, positioned on the first row when it is handed out.
// It owns its prepared statement and releases it when destroyed; it may outlive the
// CppSQLiteDB that made it (the connection then closes once the query is gone).
class LORVANESQLITE_EXPORT CppSQLiteQuery
{
public:
    CppSQLiteQuery() = default;
    ~CppSQLiteQuery();
    CppSQLiteQuery(CppSQLiteQuery&& other) noexcept;
    CppSQLiteQuery& operator=(CppSQLiteQuery&& other) noexcept;
    CppSQLiteQuery(const CppSQLiteQuery&) = delete;
    CppSQLiteQuery& operator=(const CppSQLiteQuery&) = delete;

    // True when no current row is left.
    bool eof() const { return m_eof; }
    // Moves to the next row; throws CppSQLiteException when the engine fails.
    void nextRow();

    int numFields() const;
    // Index of the column of that name (compared without letter case), -1 when none.
    int fieldIndex(const char* name) const;
    QString fieldName(int index) const;

    // The current row's column as text (index 0 is the first column); NULL reads as an
    // empty text. Throws when there is no current row or no such column.
    QString fieldValue(int index) const;
    QString fieldValue(const char* name) const;
    // The column as an integer, as SQLite converts it (NULL and non-numbers give 0).
    qint64 fieldInt64(int index) const;
    bool fieldIsNull(int index) const;
    // The column's UTF-8 bytes without a copy; valid until the next nextRow().
    std::string_view fieldBytes(int index) const;

    // Releases the statement now; the query is then at its end.
    void finalize();

private:
    friend class CppSQLiteDB;
    CppSQLiteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof);

    void checkField(int index) const;
    int requireField(const char* name) const;
    [[noreturn]] void fail(int rc) const;

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_statement = nullptr;
    bool m_eof = true;
};
