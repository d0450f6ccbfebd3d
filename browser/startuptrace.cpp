#include "startuptrace.h"

#include "browserlog.h"

#include <chrono>

namespace StartupTrace {

void Mark(const char* step)
{
    if (!lcBrowserStartup().isDebugEnabled())
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    qCDebug(lcBrowserStartup, "%s %lld", step,
            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

} // namespace StartupTrace
