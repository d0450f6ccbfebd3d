#include "managerlog.h"

Q_LOGGING_CATEGORY(lcManager, "lorvane.manager", QtWarningMsg)
Q_LOGGING_CATEGORY(lcGeneralPage, "lorvane.manager.general", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSites, "lorvane.manager.sites", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSnapshot, "lorvane.manager.snapshot", QtWarningMsg)
