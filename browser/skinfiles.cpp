#include "skinfiles.h"

#include "browserlog.h"
#include "inioperater.h"
#include "paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace SkinFiles {

QString SkinListPath()
{
    return GetExeDirectory() + QStringLiteral("/skinlist.ini");
}

QString SkinDefinition(const QString& iniFile)
{
    return GetExeDirectory() + QStringLiteral("/skin/") + iniFile;
}

QString CurrentSkinPath()
{
    const QString userCopy = GetUserConfigDirectory() + QStringLiteral("/currentskin.ini");
    if (QFileInfo::exists(userCopy))
        return userCopy;
    return GetExeDirectory() + QStringLiteral("/currentskin.ini");
}

QString CurrentSkinDefinition()
{
    const QString id = CINIOperater(CurrentSkinPath()).ReadString(QStringLiteral("CURRENT_SKIN"),
                                                                   QStringLiteral("SKIN_NAME"), QString());
    const QString file = CINIOperater(SkinListPath()).ReadString(id, QStringLiteral("INI_FILE"), QString());
    return SkinDefinition(file);
}

QString LoadStartSkin(const std::function<bool(const QString& definition)>& tryLoad)
{
    const QString current = CurrentSkinDefinition();
    if (tryLoad(current))
        return current;
    const CINIOperater list(SkinListPath());
    for (const QString& id : list.ReadSections()) {
        const QString definition = SkinDefinition(list.ReadString(id, QStringLiteral("INI_FILE")));
        if (definition != current && tryLoad(definition)) {
            qCWarning(lcBrowserStart) << "the current skin" << current << "cannot be shown; using" << id;
            return definition;
        }
    }
    qCWarning(lcBrowserStart) << "no skin of" << SkinListPath() << "can be shown whole";
    return QString();
}

bool WriteCurrentSkin(const QString& id)
{
    const QString userCopy = GetUserConfigDirectory() + QStringLiteral("/currentskin.ini");
    const QString installed = GetExeDirectory() + QStringLiteral("/currentskin.ini");
    if (!QFileInfo::exists(userCopy) && QFileInfo(installed).isFile()) {
        if (!QFile::copy(installed, userCopy)) {
            qCWarning(lcBrowser) << "cannot copy" << installed << "to" << userCopy;
            return false;
        }
        // A copy of a read-only installation is read-only too.
        QFile(userCopy).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    return CINIOperater(userCopy).WriteString(QStringLiteral("CURRENT_SKIN"), QStringLiteral("SKIN_NAME"), id);
}

QString CommonPicture(const char* name)
{
    return GetExeDirectory() + QStringLiteral("/Common/") + QLatin1String(name);
}

QStringList CommonPictures()
{
    const QDir folder(GetExeDirectory() + QStringLiteral("/Common"));
    QStringList pictures;
    for (const QString& name : folder.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name))
        pictures.append(folder.filePath(name));
    return pictures;
}

} // namespace SkinFiles
