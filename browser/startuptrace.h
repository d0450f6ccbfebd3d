#pragma once

// The steps of a start, each logged with the monotonic clock under
// "lorvane.browser.startup" (debug), so a profile of the start needs no other build:
// QT_LOGGING_RULES="lorvane.browser.startup.debug=true".
namespace StartupTrace {

// "lorvane.browser.startup: <step> <microseconds of the monotonic clock> <thread>",
// the thread being "main" or "early" (the steps begun ahead on a thread of their own).
void Mark(const char* step);

} // namespace StartupTrace
