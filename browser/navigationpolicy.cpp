#include "navigationpolicy.h"

#include <QUrl>

namespace NavigationPolicy {

bool IsExemptScheme(const QString& address)
{
    const QString a = address.trimmed().toLower();
    return a.startsWith(QLatin1String("res:")) || a.startsWith(QLatin1String("file:"))
        || a.startsWith(QLatin1String("javascript:"));
}

bool IsAllowed(int onlyChildSites, const QString& address, const std::function<bool(const QString&)>& isChildSite)
{
    if (onlyChildSites != 1)
        return true;
    if (isChildSite && isChildSite(address))
        return true;
    return IsExemptScheme(address);
}

QString WarningAddress(const QString& exeDirectory, const QString& refusedAddress)
{
    const QString page = QUrl::fromLocalFile(exeDirectory + QStringLiteral("/data/html/warning.html")).toString();
    // The refused address travels as the fragment; percent-encoding keeps a "#" or a
    // space inside it from ending or splitting it.
    QString fragment = refusedAddress;
    fragment.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString whole = page + QLatin1Char('#') + QString::fromLatin1(QUrl::toPercentEncoding(fragment, "/:?&=@!$'()*+,;~[]"));
    whole.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return whole;
}

} // namespace NavigationPolicy
