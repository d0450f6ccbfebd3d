#pragma once

#include "lorvanecommonweb_export.h"

#include <QString>
#include <QStringList>

class QWebEnginePage;

// Builds a script statement from `format`, putting the texts in place of its "%s"
// marks in order ("%%" stands for a percent sign), and runs it in the page's main
// world. The texts go in as they are: a caller passing data quotes it with
// JavaScriptStringLiteral first. The result is ignored.
LORVANECOMMONWEB_EXPORT void CallJavaScritpFunction(QWebEnginePage* page, const QString& format,
                                                    const QStringList& texts = {});
// The statement CallJavaScritpFunction would run; texts beyond the marks are dropped
// and marks beyond the texts stay empty.
LORVANECOMMONWEB_EXPORT QString FormatScriptCall(const QString& format, const QStringList& texts);
// A quoted script string literal that reads back as exactly `text`.
LORVANECOMMONWEB_EXPORT QString JavaScriptStringLiteral(const QString& text);
