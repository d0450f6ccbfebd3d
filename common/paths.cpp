#include "paths.h"

#include "commonlog.h"
#include "inioperater.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include <mutex>
#include <optional>

#include <pwd.h>
#include <unistd.h>

namespace {

QString g_exeDirectoryOverride;

std::mutex g_familyMutex;
QString g_familyDirectoryOverride;
std::optional<FamilyLayout> g_familyLayout;

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

const char kFamilyDirectory[] = "/var/lib/lorvane";
const char kFamilyFileName[] = "family.ini";

bool IsUsableAccountName(const QString& name)
{
    if (name.isEmpty() || name.size() > 32 || name == QLatin1String(".") || name == QLatin1String("..")
        || name.startsWith(QLatin1Char('-')))
        return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')
            || u == u'.' || u == u'_' || u == u'-';
        if (!plain)
            return false;
    }
    return true;
}

FamilyLayout ReadFamilyLayout(const QString& folder, const QString& userName)
{
    FamilyLayout layout;
    const QString base = QDir::cleanPath(folder);
    layout.folder = base;
    const QString file = base + QLatin1Char('/') + QLatin1String(kFamilyFileName);
    // Only what is there counts: a dangling link or a folder of that name is not the
    // file, but something in its place is not "no family install" either.
    const QFileInfo info(file);
    if (!info.exists() && !info.isSymLink())
        return layout;
    layout.on = true;
    layout.configFile = base + QStringLiteral("/lorvane.cfg");
    layout.sitesDatabase = base + QStringLiteral("/sites.db");
    layout.snapshotFolder = base + QStringLiteral("/snapshots");
    const QString child = CINIOperater(file).ReadString(QStringLiteral("family"), QStringLiteral("child"));
    if (!IsUsableAccountName(child)) {
        qCWarning(lcCommon) << file << "names no usable child account:" << child;
        return layout;
    }
    layout.child = child;
    layout.isChild = !userName.isEmpty() && userName == child;
    layout.childFolder = base + QStringLiteral("/children/") + child;
    layout.childDatabase = layout.childFolder + QStringLiteral("/lorvane.db");
    return layout;
}

QString CurrentAccountName()
{
    struct passwd entry {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return QString();
    return QString::fromLocal8Bit(found->pw_name);
}

QString GetFamilyDirectory()
{
    std::lock_guard lock(g_familyMutex);
    return g_familyDirectoryOverride.isEmpty() ? QString::fromLatin1(kFamilyDirectory)
                                               : QDir::cleanPath(g_familyDirectoryOverride);
}

FamilyLayout CurrentFamilyLayout()
{
    const QString folder = GetFamilyDirectory();
    {
        std::lock_guard lock(g_familyMutex);
        if (g_familyLayout && g_familyLayout->folder == folder)
            return *g_familyLayout;
    }
    const FamilyLayout layout = ReadFamilyLayout(folder, CurrentAccountName());
    std::lock_guard lock(g_familyMutex);
    g_familyLayout = layout;
    return layout;
}

bool IsFamilyMode()
{
    return CurrentFamilyLayout().on;
}

QString GetSitesDataBasePathName()
{
    const FamilyLayout family = CurrentFamilyLayout();
    return family.on ? family.sitesDatabase : QString();
}

bool IsFamilySharedFile(const QString& path)
{
    const FamilyLayout family = CurrentFamilyLayout();
    return family.on && QFileInfo(path).absolutePath() == family.folder;
}

void SetFamilyDirectoryOverride(const QString& directory)
{
    std::lock_guard lock(g_familyMutex);
    g_familyDirectoryOverride = directory;
    g_familyLayout.reset();
}

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
    // Asked on every navigation; the program does not move while it runs, so the
    // lookup's file checks are made once per program folder.
    static std::mutex mutex;
    static QString programFolder;
    static QString installation;
    const QString folder = runningProgramFolder();
    std::lock_guard lock(mutex);
    if (folder != programFolder) {
        programFolder = folder;
        installation = GetInstallationDirectoryFor(folder);
    }
    return installation;
}

QString GetConfigerPathName()
{
    const FamilyLayout family = CurrentFamilyLayout();
    if (family.on)
        return family.configFile;
    return writableBase(QStandardPaths::GenericConfigLocation) + QStringLiteral("/lorvane.cfg");
}

QString GetDataBasePathName()
{
    const FamilyLayout family = CurrentFamilyLayout();
    // The child's folder is made by the installer with its owner and modes: a folder
    // made here would belong to whoever ran first.
    if (family.on)
        return family.childDatabase;
    return writableBase(QStandardPaths::GenericDataLocation) + QStringLiteral("/lorvane.db");
}

QString GetPictureDirectory()
{
    return ensureFolder(GetExeDirectory() + QStringLiteral("/pictures"));
}

QString GetWebSnapShootDirectory()
{
    const FamilyLayout family = CurrentFamilyLayout();
    if (family.on)
        return ensureFolder(family.snapshotFolder) + QLatin1Char('/');
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
