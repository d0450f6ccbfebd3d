#include "tickclock.h"


#include <time.h>

namespace TickClock {
namespace {

uint32_t systemTicks()
{
    timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return uint32_t(uint64_t(ts.tv_sec) * 1000u + uint64_t(ts.tv_nsec) / 1000000u);
}

Source& currentSource()
{
    static Source source;
    return source;
}

} // namespace

uint32_t now()
{
    const Source& s = currentSource();
    return s ? s() : systemTicks();
}

void setSource(Source source)
{
    currentSource() = std::move(source);
}

ManualClock::ManualClock(uint32_t start)
    : m_ticks(start)
{
    setSource([this] { return m_ticks; });
}

ManualClock::~ManualClock()
{
    setSource({});
}

} // namespace TickClock
