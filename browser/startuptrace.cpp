#include "startuptrace.h"

#include "browserlog.h"

#include <QCoreApplication>
#include <QThread>

#include <chrono>

namespace StartupTrace {

void Mark(const char* step)
{
    if (!lcBrowserStartup().isDebugEnabled())
        return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    // Steps before the application object exists are the main thread's.
    const QCoreApplication* app = QCoreApplication::instance();
    const bool mainThread = !app || QThread::currentThread() == app->thread();
    qCDebug(lcBrowserStartup, "%s %lld %s", step,
            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
            mainThread ? "main" : "early");
}

} // namespace StartupTrace
