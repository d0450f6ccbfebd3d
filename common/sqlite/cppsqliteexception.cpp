#include "cppsqliteexception.h"

namespace {
std::string describe(const QString& message, const QString& statement)
{
    if (statement.isEmpty())
        return message.toStdString();
    return (message + QStringLiteral(" [") + statement + QLatin1Char(']')).toStdString();
}
} // namespace

CppSQLiteException::CppSQLiteException(int errorCode, const QString& message, const QString& statement)
    : std::runtime_error(describe(message, statement))
    , m_errorCode(errorCode)
    , m_message(message)
    , m_statement(statement)
{
}
