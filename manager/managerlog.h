#pragma once

#include <QLoggingCategory>

// Failures the control panel absorbs and carries on after, one category per part:
// QT_LOGGING_RULES="lorvane.manager*.debug=true" shows more where there is more.

// Start-up and the single copy.
Q_DECLARE_LOGGING_CATEGORY(lcManager)
// The general page.
Q_DECLARE_LOGGING_CATEGORY(lcGeneralPage)
// The recommended-sites page and its two dialogs.
Q_DECLARE_LOGGING_CATEGORY(lcSites)
// The hidden page that takes a site's snapshot.
Q_DECLARE_LOGGING_CATEGORY(lcSnapshot)
