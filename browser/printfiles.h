#pragma once

#include <QDateTime>
#include <QString>

// Where a page printed without a printer goes: only the browser's own print folder,
// under a name nobody has used yet, so no print ever lands on an existing file.
namespace PrintFiles {

// The name for a print made at `when`: "打印-20261208-153000.pdf", then "-2", "-3", ...
QString FileName(const QDateTime& when, int attempt);

// Creates a new empty file in `folder` under the first free name and returns its
// path; the creation itself fails on a name that exists, so two prints never share
// one. Empty when the folder cannot take a file.
QString ClaimFreshFile(const QString& folder, const QDateTime& when);

} // namespace PrintFiles
