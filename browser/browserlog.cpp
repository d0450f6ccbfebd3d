#include "browserlog.h"

Q_LOGGING_CATEGORY(lcBrowser, "lorvane.browser", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBrowserStart, "lorvane.browser.start", QtWarningMsg)
Q_LOGGING_CATEGORY(lcBrowserStartup, "lorvane.browser.startup", QtWarningMsg)
Q_LOGGING_CATEGORY(lcTaskKeys, "lorvane.browser.taskkeys", QtWarningMsg)
