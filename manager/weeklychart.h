#pragma once

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>

// The weekly report's bar chart without any widget: where each day's bar and texts go,
// and what the texts say.

struct WeeklyChartColumn {
    QRect bar;     // stands on the base line; no height for a day without time
    QRect value;   // the day's time, one line right above its bar
    QRect date;    // "12/03", under the base line
    QRect weekday; // "周四", under the date
};

// One column per day, side by side across `area`, each bar in the middle half of its
// column. The date and weekday lines fill the bottom of the area, kChartLabelGap pixels
// under the base line. The longest day's bar reaches a line of text under the area's
// top (room for its time); the others are in proportion to it, and a day with any time
// at all is at least a pixel tall. `lineHeight` is the height of a line of text.
inline constexpr int kChartLabelGap = 4;
QList<WeeklyChartColumn> LayoutWeeklyChart(const QList<qint64>& seconds, const QRect& area, int lineHeight);
// Where the bars stand: the first row of pixels under them.
int WeeklyChartBaseLine(const QRect& area, int lineHeight);

QString ChartDateText(const QDate& date);    // "12/03"
QString ChartWeekdayText(const QDate& date); // "周一" .. "周日"
// A day's time online in hours and minutes ("1小时5分", "45分", "2小时"); under a minute
// gives "不到1分" and none at all "0分".
QString OnlineTimeText(qint64 seconds);
