#include "historyrules.h"

#include "settingsrules.h"

int ClampHistoryPage(int wanted, int pageCount)
{
    int page = wanted;
    if (page > pageCount)
        page = pageCount;
    if (page < 1)
        page = 1;
    return page;
}

QString DurationText(qint64 seconds)
{
    const qint64 h = seconds / 3600;
    const qint64 m = seconds / 60 - h * 60;
    const qint64 r = seconds - (h * 60 + m) * 60;
    QString text;
    if (h > 0)
        text += QString::number(h) + QStringLiteral("小时");
    if (m > 0)
        text += QString::number(m) + QStringLiteral("分");
    if (r > 0)
        text += QString::number(r) + QStringLiteral("秒");
    return text;
}

QString DurationText(const QString& delayTime)
{
    return DurationText(LeadingDecimal(delayTime));
}

QUrl WebAddressToOpen(const QString& visited)
{
    const QString text = visited.trimmed();
    // The scheme must lead the text: an address that only mentions "http://" somewhere
    // (a javascript: or file: address, say) is not a web page to open.
    if (!text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        && !text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return QUrl();
    const QUrl url(text);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return QUrl();
    return url;
}
