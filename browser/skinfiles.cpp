#include "skinfiles.h"

#include "inioperater.h"
#include "paths.h"

#include <QFileInfo>

namespace SkinFiles {

QString SkinListPath()
{
    return GetExeDirectory() + QStringLiteral("/skinlist.ini");
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
    return GetExeDirectory() + QStringLiteral("/skin/") + file;
}

QString CommonPicture(const char* name)
{
    return GetExeDirectory() + QStringLiteral("/Common/") + QLatin1String(name);
}

} // namespace SkinFiles
