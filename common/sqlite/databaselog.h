#pragma once

#include "lorvanesqlite_export.h"

#include <QLoggingCategory>

LORVANESQLITE_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcDb)

// Called inside a catch block that absorbs a database failure: logs, in lorvane.db, what
// was being done and what the engine (or anything else thrown) said. The caller still
// reports the failure its own way (a false result, an empty list).
LORVANESQLITE_EXPORT void LogDatabaseFailure(const char* what);
