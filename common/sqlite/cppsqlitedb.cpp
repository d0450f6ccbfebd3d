#include "cppsqlitedb.h"

#include "cppsqliteexception.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementPtr = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

[[noreturn]] void throwFrom(sqlite3* db, int rc, const QString& statement)
{
    const char* message = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    throw CppSQLiteException(db ? sqlite3_extended_errcode(db) : rc, QString::fromUtf8(message), statement);
}

QString statementText(const char* begin, const char* end)
{
    return QString::fromUtf8(begin, static_cast<qsizetype>(end - begin)).trimmed();
}

// Binds params[next ...] to the statement's parameters and advances next.
void bindParameters(sqlite3* db, sqlite3_stmt* statement, const std::vector<SqlValue>& params, size_t& next,
                    const QString& text)
{
    const int count = sqlite3_bind_parameter_count(statement);
    if (params.size() - next < static_cast<size_t>(count))
        throw CppSQLiteException(-1, QStringLiteral("too few parameters"), text);
    for (int i = 1; i <= count; ++i) {
        const SqlValue& value = params[next++];
        int rc = SQLITE_OK;
        switch (value.kind()) {
        case SqlValue::Kind::Null:
            rc = sqlite3_bind_null(statement, i);
            break;
        case SqlValue::Kind::Integer:
            rc = sqlite3_bind_int64(statement, i, value.integer());
            break;
        case SqlValue::Kind::Text:
            rc = sqlite3_bind_text64(statement, i, value.text().constData(),
                                     static_cast<sqlite3_uint64>(value.text().size()), SQLITE_TRANSIENT,
                                     SQLITE_UTF8);
            break;
        }
        if (rc != SQLITE_OK)
            throwFrom(db, rc, text);
    }
}

bool onlyBlanks(const char* text)
{
    for (; *text; ++text) {
        if (*text != ';' && *text != ' ' && *text != '\t' && *text != '\n' && *text != '\r' && *text != '\f'
            && *text != '\v')
            return false;
    }
    return true;
}

} // namespace

CppSQLiteDB::CppSQLiteDB() = default;

CppSQLiteDB::~CppSQLiteDB()
{
    close();
}

void CppSQLiteDB::open(const QString& path)
{
    close();
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    // A connection serves one operation on one thread, so SQLite need not lock it
    // around every call.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString message = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close_v2(db);
        throw CppSQLiteException(rc, message, QStringLiteral("open ") + path);
    }
    sqlite3_extended_result_codes(db, 1);
    m_db = db;
    setBusyTimeout(m_busyTimeoutMs);
}

void CppSQLiteDB::close()
{
    if (m_db) {
        // A query may outlive this object and keep the connection: leave it SQLite's
        // own waiting, which does not point back here.
        sqlite3_busy_timeout(m_db, m_busyTimeoutMs);
        sqlite3_close_v2(m_db);
    }
    m_db = nullptr;
}

void CppSQLiteDB::setBusyTimeout(int milliseconds)
{
    requireOpen("busy timeout");
    m_busyTimeoutMs = std::max(milliseconds, 0);
    sqlite3_busy_handler(m_db, &CppSQLiteDB::waitForLock, this);
}

int CppSQLiteDB::waitForLock(void* self, int attempt)
{
    // SQLite's own waiting sleeps up to 100 ms between tries; under steady traffic
    // from other processes it keeps missing the short gaps between their
    // transactions until the time is up. Short, even polls take those gaps.
    auto* db = static_cast<CppSQLiteDB*>(self);
    const qint64 now = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    if (attempt == 0)
        db->m_waitStartedMs = now;
    if (now - db->m_waitStartedMs >= db->m_busyTimeoutMs)
        return 0;
    sqlite3_sleep(attempt < 10 ? 1 : 2);
    return 1;
}

void CppSQLiteDB::requireOpen(const char* sql) const
{
    if (!m_db)
        throw CppSQLiteException(-1, QStringLiteral("database not open"), QString::fromUtf8(sql));
}

CppSQLiteQuery CppSQLiteDB::execQuery(const char* sql, const std::vector<SqlValue>& params)
{
    requireOpen(sql);
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql, -1, &raw, &tail);
    StatementPtr statement(raw);
    if (rc != SQLITE_OK)
        throwFrom(m_db, rc, QString::fromUtf8(sql));
    if (!statement)
        throw CppSQLiteException(-1, QStringLiteral("no statement"), QString::fromUtf8(sql));
    // A second statement would never run; say so rather than ignore it.
    if (tail && !onlyBlanks(tail))
        throw CppSQLiteException(-1, QStringLiteral("a query takes one statement"), QString::fromUtf8(sql));
    size_t next = 0;
    bindParameters(m_db, statement.get(), params, next, QString::fromUtf8(sql));
    if (next != params.size())
        throw CppSQLiteException(-1, QStringLiteral("too many parameters"), QString::fromUtf8(sql));
    rc = sqlite3_step(statement.get());
    if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        throwFrom(m_db, rc, QString::fromUtf8(sql));
    return CppSQLiteQuery(m_db, statement.release(), rc == SQLITE_DONE);
}

int CppSQLiteDB::execDML(const char* sql, const std::vector<SqlValue>& params)
{
    requireOpen(sql);
    int changes = 0;
    size_t next = 0;
    const char* rest = sql;
    while (rest && *rest) {
        sqlite3_stmt* raw = nullptr;
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(m_db, rest, -1, &raw, &tail);
        StatementPtr statement(raw);
        const QString text = statementText(rest, tail ? tail : rest + qstrlen(rest));
        if (rc != SQLITE_OK)
            throwFrom(m_db, rc, text);
        rest = tail;
        if (!statement)
            continue; // only blanks or a comment
        bindParameters(m_db, statement.get(), params, next, text);
        while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            throwFrom(m_db, rc, text);
        changes += sqlite3_changes(m_db);
    }
    if (next != params.size())
        throw CppSQLiteException(-1, QStringLiteral("too many parameters"), QString::fromUtf8(sql));
    return changes;
}

qint64 CppSQLiteDB::lastRowId() const
{
    requireOpen("last_insert_rowid");
    return sqlite3_last_insert_rowid(m_db);
}

CppSQLiteTransaction::CppSQLiteTransaction(CppSQLiteDB& db)
    : m_db(db)
{
    m_db.execDML("begin immediate");
}

CppSQLiteTransaction::~CppSQLiteTransaction()
{
    if (m_open && m_db.handle())
        sqlite3_exec(m_db.handle(), "rollback", nullptr, nullptr, nullptr);
}

void CppSQLiteTransaction::commit()
{
    m_db.execDML("commit");
    m_open = false;
}
