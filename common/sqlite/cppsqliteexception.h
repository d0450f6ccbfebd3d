#pragma once

#include "lorvanesqlite_export.h"

#include <QString>

#include <stdexcept>

// Thrown by the SQLite access classes when the engine refuses an operation. It carries
// SQLite's own message and the statement text (never a bound value), so a caller can
// show or log exactly what failed.
class LORVANESQLITE_EXPORT CppSQLiteException : public std::runtime_error
{
public:
    CppSQLiteException(int errorCode, const QString& message, const QString& statement = QString());

    // SQLite's extended result code, or -1 for a misuse the classes detect themselves.
    int errorCode() const { return m_errorCode; }
    QString errorMessage() const { return m_message; }
    QString statement() const { return m_statement; }

private:
    int m_errorCode;
    QString m_message;
    QString m_statement;
};
