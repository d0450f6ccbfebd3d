#include "printfiles.h"

#include "browserlog.h"

#include <QDir>
#include <QFile>

namespace PrintFiles {

QString FileName(const QDateTime& when, int attempt)
{
    const QString stem = QStringLiteral("打印-") + when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return attempt <= 1 ? stem + QStringLiteral(".pdf") : QStringLiteral("%1-%2.pdf").arg(stem).arg(attempt);
}

QString ClaimFreshFile(const QString& folder, const QDateTime& when)
{
    constexpr int kAttempts = 1000;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        const QString path = QDir(folder).filePath(FileName(when, attempt));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return path;
        if (!file.exists()) {
            qCWarning(lcBrowser) << "cannot create a print file in" << folder << ':' << file.errorString();
            return QString();
        }
    }
    qCWarning(lcBrowser) << "no free print file name left in" << folder;
    return QString();
}

} // namespace PrintFiles
