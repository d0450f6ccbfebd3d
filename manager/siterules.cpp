#include "siterules.h"

#include "browsingdatabase.h"
#include "cppsqliteexception.h"

#include <QUrl>

namespace {

const QString kError = QStringLiteral("错误");

} // namespace

SitePagingButtons SitePagingButtonsFor(int page, int pageCount)
{
    return {page > 1, page < pageCount};
}

bool SiteActionsEnabled(int selectedRow)
{
    return selectedRow >= 0;
}

bool NamesWebHost(const QString& address)
{
    const QString text = TrimBlanks(address);
    if (text.isEmpty())
        return false;
    const QUrl url = QUrl::fromUserInput(text);
    return url.isValid() && !url.host().isEmpty();
}

SiteRefusal CheckNewSite(const QString& url, const QString& name, const SiteExistsCheck& exists)
{
    return CheckEditedSite(url, name, QString(), exists);
}

SiteRefusal CheckEditedSite(const QString& url, const QString& name, const QString& storedUrl,
                            const SiteExistsCheck& exists)
{
    const QString address = TrimBlanks(url);
    if (address.isEmpty())
        return {QStringLiteral("URL不能为空!"), kError};
    if (!NamesWebHost(address))
        return {QStringLiteral("网址里没有网站的名字，请输入完整的网址，例如 www.example.com"), kError};
    if (TrimBlanks(name).isEmpty())
        return {QStringLiteral("站点名不能为空!"), kError};
    // A new site has no stored address, and no typed address is empty here.
    const QString own = TrimBlanks(storedUrl);
    if (address != own && exists && exists(address))
        return {QStringLiteral("该站点已经存在!"), QStringLiteral("提醒")};
    return {};
}

QString SnapshotPath(const QString& folder, const QString& imageName)
{
    if (imageName.isEmpty() || imageName == QLatin1String(".") || imageName == QLatin1String("..")
        || imageName.contains(QLatin1Char('/')) || imageName.contains(QLatin1Char('\\'))
        || imageName.contains(QChar(0)))
        return QString();
    return folder + imageName;
}

QString SiteFailureMessage(const QString& what, const std::exception& failure)
{
    QString reason;
    if (const auto* db = dynamic_cast<const CppSQLiteException*>(&failure))
        reason = db->errorMessage();
    else
        reason = QString::fromUtf8(failure.what());
    return QStringLiteral("%1\n%2").arg(what, reason);
}

QString SiteAddFailedMessage(const QString& databasePath)
{
    return QStringLiteral("添加站点失败!无法写入数据库:\n%1\n站点没有保存,请检查磁盘空间和文件权限后再试。")
        .arg(databasePath);
}
