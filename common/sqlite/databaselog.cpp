#include "databaselog.h"

#include "cppsqliteexception.h"

#include <exception>

Q_LOGGING_CATEGORY(lcDb, "lorvane.db")

void LogDatabaseFailure(const char* what)
{
    try {
        throw;
    } catch (const CppSQLiteException& e) {
        qCWarning(lcDb).noquote() << what << "failed:" << e.errorMessage();
    } catch (const std::exception& e) {
        qCWarning(lcDb).noquote() << what << "failed:" << e.what();
    } catch (...) {
        qCWarning(lcDb).noquote() << what << "failed";
    }
}
