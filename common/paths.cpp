#include "paths.h"

#include "commonlog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

namespace {

QString g_exeDirectoryOverride;

const char kDataFolderName[] = "lorvane";

QString ensureFolder(const QString& path)
{
    // The caller's own open or write then fails and says so; this names the cause.
    if (!QDir().mkpath(path))
        qCWarning(lcCommon) << "cannot make the folder" << path;
    return QDir::cleanPath(path);
}

QString runningProgramFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    // Without an application object (the installer's entry point loaded from C),
    // the executable's own link tells where it is.
    const QFileInfo self(QStringLiteral("/proc/self/exe"));
    const QString target = self.symLinkTarget();
    return target.isEmpty() ? QDir::currentPath() : QFileInfo(target).absolutePath();
}

QString writableBase(QStandardPaths::StandardLocation location)
{
    QString base = QStandardPaths::writableLocation(location);
    if (base.isEmpty())
        base = QDir::homePath() + (location == QStandardPaths::GenericConfigLocation
                                       ? QStringLiteral("/.config")
                                       : QStringLiteral("/.local/share"));
    return ensureFolder(base + QLatin1Char('/') + QLatin1String(kDataFolderName));
}

} // namespace

QString GetInstallationDirectoryFor(const QString& programFolder)
{
    const QString beside = QDir::cleanPath(programFolder);
    // A build tree keeps everything in the folder of the programs.
    if (QFileInfo(beside + QStringLiteral("/skinlist.ini")).isFile())
        return beside;
    // An installed package keeps the programs in <prefix>/bin, the shipped files in
    // <prefix>/share/lorvane.
    const QString shared = QDir::cleanPath(beside + QStringLiteral("/../share/") + QLatin1String(kDataFolderName));
    if (QFileInfo(shared).isDir())
        return shared;
    // Neither: the callers' failing opens then name the program's folder.
    return beside;
}

QString GetExeDirectory()
{
    if (!g_exeDirectoryOverride.isEmpty())
        return QDir::cleanPath(g_exeDirectoryOverride);
    return GetInstallationDirectoryFor(runningProgramFolder());
}

QString GetConfigerPathName()
{
    return writableBase(QStandardPaths::GenericConfigLocation) + QStringLiteral("/lorvane.cfg");
}

QString GetDataBasePathName()
{
    return writableBase(QStandardPaths::GenericDataLocation) + QStringLiteral("/lorvane.db");
}

QString GetPictureDirectory()
{
    return ensureFolder(GetExeDirectory() + QStringLiteral("/pictures"));
}

QString GetWebSnapShootDirectory()
{
    return ensureFolder(writableBase(QStandardPaths::GenericDataLocation) + QStringLiteral("/snapshots"))
        + QLatin1Char('/');
}

QString GetPrintDirectory()
{
    return ensureFolder(writableBase(QStandardPaths::GenericDataLocation) + QStringLiteral("/prints"));
}

QString GetHtmlModleDirectory()
{
    return ensureFolder(GetExeDirectory() + QStringLiteral("/data/html")) + QLatin1Char('/');
}

QString GetUserConfigDirectory()
{
    return writableBase(QStandardPaths::GenericConfigLocation);
}

QString GetGuid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

QString GetShortPathNameA(const QString& path)
{
    return path;
}

void SetExeDirectoryOverride(const QString& directory)
{
    g_exeDirectoryOverride = directory;
}
