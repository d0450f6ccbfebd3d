#pragma once

#include "lorvanecommon_export.h"

#include <QLoggingCategory>

// Failures the common services absorb (a folder that cannot be made, a file that cannot
// be written) are logged here; their callers report them their own way as well.
LORVANECOMMON_EXPORT Q_DECLARE_LOGGING_CATEGORY(lcCommon)
