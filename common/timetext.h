#pragma once

#include "lorvanecommon_export.h"

#include <QDateTime>
#include <QString>

#include <cstdint>

// Local time as the history and the status bar show it: "2026年12月08日 09:05".
LORVANECOMMON_EXPORT QString FormatTimeText(const QDateTime& when);
LORVANECOMMON_EXPORT QString CurrentTimeText();

// Whole seconds between two tick counts, rounded up (1 ms gives 1, 1000 ms gives 1,
// 1001 ms gives 2); the difference is unsigned 32-bit, so a wrap of the counter
// between the two still gives the right result.
LORVANECOMMON_EXPORT uint32_t ElapsedSeconds(uint32_t startTick, uint32_t nowTick);
