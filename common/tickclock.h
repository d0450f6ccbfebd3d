#pragma once

#include "lorvanecommon_export.h"

#include <cstdint>
#include <functional>

// The process-wide tick count: unsigned 32-bit milliseconds from a monotonic clock,
// wrapping after about 49.7 days. All elapsed-time arithmetic is done on these
// values with unsigned 32-bit subtraction. Tests replace the source.
namespace TickClock {

LORVANECOMMON_EXPORT uint32_t now();

using Source = std::function<uint32_t()>;
// Replaces the clock; an empty source restores the system clock.
LORVANECOMMON_EXPORT void setSource(Source source);

// A clock a test sets and advances by hand; installed while it lives.
class LORVANECOMMON_EXPORT ManualClock
{
public:
    explicit ManualClock(uint32_t start = 0);
    ~ManualClock();
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    void set(uint32_t ticks) { m_ticks = ticks; }
    void advance(uint32_t ms) { m_ticks += ms; }
    uint32_t ticks() const { return m_ticks; }

private:
    uint32_t m_ticks;
};

} // namespace TickClock

// The name the rest of the code reads the tick count by.
inline uint32_t GetTickCount() { return TickClock::now(); }
