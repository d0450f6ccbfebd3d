#pragma once

#include <QLoggingCategory>

// Failures the browser absorbs (a refused request, a download turned down, a print
// that could not be written), by part: QT_LOGGING_RULES="lorvane.browser*.debug=true"
// shows more.
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
// Starting a run: the parents' configuration.
Q_DECLARE_LOGGING_CATEGORY(lcBrowserStart)
// The steps of a start and when each ended (debug only).
Q_DECLARE_LOGGING_CATEGORY(lcBrowserStartup)
// Holding the keyboard against the task keys.
Q_DECLARE_LOGGING_CATEGORY(lcTaskKeys)
