#include "weeklychart.h"

#include <algorithm>

int WeeklyChartBaseLine(const QRect& area, int lineHeight)
{
    return area.top() + area.height() - 2 * lineHeight - kChartLabelGap;
}

QList<WeeklyChartColumn> LayoutWeeklyChart(const QList<qint64>& seconds, const QRect& area, int lineHeight)
{
    const int base = WeeklyChartBaseLine(area, lineHeight);
    const qint64 tallest = std::max(base - area.top() - lineHeight, 0);
    const qint64 longest = seconds.isEmpty() ? 0 : *std::max_element(seconds.begin(), seconds.end());
    const qsizetype count = seconds.size();
    QList<WeeklyChartColumn> columns;
    for (qsizetype i = 0; i < count; ++i) {
        // Each column's edges are rounded on their own, so the columns fill the area exactly.
        const int left = area.left() + static_cast<int>(i * area.width() / count);
        const int width = area.left() + static_cast<int>((i + 1) * area.width() / count) - left;
        const int barWidth = width / 2;
        int height = 0;
        if (seconds[i] > 0)
            height = static_cast<int>(std::max<qint64>((tallest * seconds[i] + longest / 2) / longest, 1));
        WeeklyChartColumn column;
        column.bar = QRect(left + (width - barWidth) / 2, base - height, barWidth, height);
        column.value = QRect(left, base - height - lineHeight, width, lineHeight);
        column.date = QRect(left, base + kChartLabelGap, width, lineHeight);
        column.weekday = QRect(left, base + kChartLabelGap + lineHeight, width, lineHeight);
        columns.append(column);
    }
    return columns;
}

QString ChartDateText(const QDate& date)
{
    return date.toString(QStringLiteral("MM/dd"));
}

QString ChartWeekdayText(const QDate& date)
{
    static const char16_t* const names[] = {u"周一", u"周二", u"周三", u"周四", u"周五", u"周六", u"周日"};
    const int day = date.dayOfWeek();
    return day >= 1 && day <= 7 ? QString::fromUtf16(names[day - 1]) : QString();
}

QString OnlineTimeText(qint64 seconds)
{
    if (seconds <= 0)
        return QStringLiteral("0分");
    if (seconds < 60)
        return QStringLiteral("不到1分");
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    QString text;
    if (hours > 0)
        text += QString::number(hours) + QStringLiteral("小时");
    if (minutes > 0)
        text += QString::number(minutes) + QStringLiteral("分");
    return text;
}
