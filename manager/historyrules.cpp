#include "historyrules.h"

#include "settingsrules.h"

#include <QTextDocument>

HistoryRowLook HistoryRowLookFor(bool listHasFocus, bool isCurrentRow, bool isSelected)
{
    const HistoryRowLook plain{Qt::white, Qt::black, false};
    if (!listHasFocus)
        return plain;
    if (isCurrentRow)
        return {kHistoryLightRowBackground, QColor(255, 0, 0), true};
    if (isSelected)
        return {kHistoryLightRowBackground, QColor(255, 0, 0), false};
    return plain;
}

QRect HistoryCellTextRect(const QRect& cell)
{
    return cell.adjusted(4, 0, -3, -1);
}

HistoryHeaderSection LayoutHistoryHeaderSection(const QRect& section)
{
    HistoryHeaderSection s;
    s.text = section.adjusted(2, 2, -22, -2);
    s.line = QRect(section.right(), section.top(), 1, section.height());
    s.shade = QRect(section.right() - 3, section.top(), 3, section.height());
    return s;
}

int HistoryHeaderHeight(int fontHeight)
{
    return fontHeight + 5;
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
    if (text.isEmpty())
        text = QStringLiteral("0秒");
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

namespace {

bool changesDirection(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QString VisibleAddressText(const QString& address)
{
    QString shown;
    shown.reserve(address.size());
    for (const QChar c : address) {
        if (changesDirection(c.unicode()))
            shown += QStringLiteral("<U+%1>").arg(uint(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString AddressToolTip(const QString& address)
{
    const QString shown = VisibleAddressText(address);
    QStringList lines;
    for (qsizetype at = 0; at < shown.size() && lines.size() < kToolTipLines; at += kToolTipLineLength)
        lines << shown.mid(at, kToolTipLineLength);
    if (shown.size() > qsizetype(kToolTipLines) * kToolTipLineLength)
        lines.last() = lines.last().left(kToolTipLineLength - 1) + QChar(0x2026);
    return Qt::convertFromPlainText(lines.join(QLatin1Char('\n')), Qt::WhiteSpaceNoWrap);
}
