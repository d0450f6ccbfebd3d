#include "cppsqlitequery.h"

#include "cppsqliteexception.h"

#include <sqlite3.h>

#include <utility>

CppSQLiteQuery::CppSQLiteQuery(sqlite3* db, sqlite3_stmt* statement, bool eof)
    : m_db(db)
    , m_statement(statement)
    , m_eof(eof)
{
}

CppSQLiteQuery::~CppSQLiteQuery()
{
    finalize();
}

CppSQLiteQuery::CppSQLiteQuery(CppSQLiteQuery&& other) noexcept
    : m_db(std::exchange(other.m_db, nullptr))
    , m_statement(std::exchange(other.m_statement, nullptr))
    , m_eof(std::exchange(other.m_eof, true))
{
}

CppSQLiteQuery& CppSQLiteQuery::operator=(CppSQLiteQuery&& other) noexcept
{
    if (this != &other) {
        finalize();
        m_db = std::exchange(other.m_db, nullptr);
        m_statement = std::exchange(other.m_statement, nullptr);
        m_eof = std::exchange(other.m_eof, true);
    }
    return *this;
}

void CppSQLiteQuery::finalize()
{
    if (m_statement)
        sqlite3_finalize(m_statement);
    m_statement = nullptr;
    m_eof = true;
}

void CppSQLiteQuery::fail(int rc) const
{
    const QString statement = m_statement ? QString::fromUtf8(sqlite3_sql(m_statement)) : QString();
    const QString message = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    throw CppSQLiteException(rc, message, statement);
}

void CppSQLiteQuery::nextRow()
{
    if (!m_statement || m_eof)
        return;
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW)
        return;
    m_eof = true;
    if (rc != SQLITE_DONE)
        fail(rc);
}

int CppSQLiteQuery::numFields() const
{
    return m_statement ? sqlite3_column_count(m_statement) : 0;
}

int CppSQLiteQuery::fieldIndex(const char* name) const
{
    if (!m_statement || !name)
        return -1;
    const int count = sqlite3_column_count(m_statement);
    for (int i = 0; i < count; ++i) {
        const char* column = sqlite3_column_name(m_statement, i);
        if (column && sqlite3_stricmp(column, name) == 0)
            return i;
    }
    return -1;
}

QString CppSQLiteQuery::fieldName(int index) const
{
    if (index < 0 || index >= numFields())
        throw CppSQLiteException(-1, QStringLiteral("no column %1").arg(index));
    return QString::fromUtf8(sqlite3_column_name(m_statement, index));
}

void CppSQLiteQuery::checkField(int index) const
{
    if (m_eof)
        throw CppSQLiteException(-1, QStringLiteral("no current row"), QString::fromUtf8(sqlite3_sql(m_statement)));
    if (index < 0 || index >= sqlite3_column_count(m_statement))
        throw CppSQLiteException(-1, QStringLiteral("no column %1").arg(index),
                                 QString::fromUtf8(sqlite3_sql(m_statement)));
}

int CppSQLiteQuery::requireField(const char* name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw CppSQLiteException(-1, QStringLiteral("no column named %1").arg(QString::fromUtf8(name)),
                                 m_statement ? QString::fromUtf8(sqlite3_sql(m_statement)) : QString());
    return index;
}

std::string_view CppSQLiteQuery::fieldBytes(int index) const
{
    checkField(index);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, index));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes(m_statement, index))};
}

QString CppSQLiteQuery::fieldValue(int index) const
{
    const std::string_view bytes = fieldBytes(index);
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString CppSQLiteQuery::fieldValue(const char* name) const
{
    return fieldValue(requireField(name));
}

qint64 CppSQLiteQuery::fieldInt64(int index) const
{
    checkField(index);
    return sqlite3_column_int64(m_statement, index);
}

bool CppSQLiteQuery::fieldIsNull(int index) const
{
    checkField(index);
    return sqlite3_column_type(m_statement, index) == SQLITE_NULL;
}
