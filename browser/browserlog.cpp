#include "browserlog.h"

Q_LOGGING_CATEGORY(lcBrowser, "lorvane.browser", QtWarningMsg)
