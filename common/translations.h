#pragma once

#include "lorvanecommon_export.h"

#include <QLocale>
#include <QString>

class QCoreApplication;

// Both programs speak Simplified Chinese; Qt's own buttons, dialogs and the web
// engine's pages must speak it too instead of falling back to English.
LORVANECOMMON_EXPORT QLocale ProductLocale();
// The same language as the web engine names it ("zh-CN").
LORVANECOMMON_EXPORT QString ProductWebLanguage();

// Installs Qt's own catalogues (qtbase, qtwebengine) for `locale` from `folder`
// (Qt's installed translations by default) into `app`. Returns how many were installed;
// a missing catalogue is logged and leaves the English text in place.
LORVANECOMMON_EXPORT int InstallQtTranslations(QCoreApplication* app, const QLocale& locale = ProductLocale(),
                                               const QString& folder = QString());

// Tells the web engine, before it starts, to draw its own pages (errors, script dialogs,
// context menu) in the product's language, unless a language was already asked for.
LORVANECOMMON_EXPORT void RequestEngineLanguage();
