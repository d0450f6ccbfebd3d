#pragma once

#include <QLoggingCategory>

// Failures the browser absorbs (a refused request, a download turned down, a print
// that could not be written): QT_LOGGING_RULES="lorvane.browser.debug=true" shows more.
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
