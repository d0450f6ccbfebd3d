#include "nextdialog.h"
#include "browsingdatabase.h"
#include "historylistctrl.h"
#include "historypropertypage.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "messagerecorder.h"
#include "weeklychart.h"
#include "weeklyreport.h"
#include "weeklyreportdlg.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>

#include <QLabel>
#include <QtTest>

namespace {

const char kStart[] = "打开Lorvane";
const char kClose[] = "关闭Lorvane";

struct Row {
    QString time;
    qint64 seconds;
    QString url;
};

void addRows(const QList<Row>& rows)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, ManagerData::DataBasePath());
    CppSQLiteTransaction transaction(db);
    for (const Row& row : rows)
        db.execDML("insert into history(beginTime, delayTime, visitURL) values(?,?,?)",
                   {row.time, row.seconds, row.url});
    transaction.commit();
}

QString timeText(const QDate& date, const char* time)
{
    return date.toString(QStringLiteral("yyyy年MM月dd日 ")) + QLatin1String(time);
}

// Thursday 12 March 2026; the week is Friday the 6th to the 12th.
const QDate kToday(2026, 3, 12);

QList<Row> knownHistory(const QList<Row>& extraInKilledRun)
{
    const QString own = "file:///usr/share/lorvane/html/warning.html#http://games.test/";
    return QList<Row>{
               // Long before the week.
               {"2026年02月20日 10:00", 0, kStart}, {"2026年02月20日 10:00", 7200, "http://old.test/"},
               {"2026年02月20日 10:00", 7200, kClose},
               // Begun the evening before, closed half an hour into the week; its stays began before it.
               {"2026年03月05日 23:00", 0, kStart}, {"2026年03月05日 23:00", 1800, "http://early.test/"},
               {"2026年03月05日 23:30", 3000, "http://early.test/b"}, {"2026年03月05日 23:00", 5400, kClose},
               // Two tabs side by side and one of the browser's own pages: 30 minutes online, 46 of stays.
               {"2026年03月07日 10:00", 0, kStart}, {"2026年03月07日 10:00", 600, "http://zoo.test/a"},
               {"2026年03月07日 10:05", 60, own}, {"2026年03月07日 10:02", 900, "http://books.test/"},
               {"2026年03月07日 10:10", 1200, "http://zoo.test/b"}, {"2026年03月07日 10:00", 1800, kClose},
               // Killed: it ends with its last stay, at 00:10 the next day.
               {"2026年03月09日 23:50", 0, kStart}}
        + extraInKilledRun
        + QList<Row>{{"2026年03月09日 23:50", 300, "http://zoo.test/c"},
                     {"2026年03月09日 23:55", 900, "https://books.test/x"},
                     // Killed before any page was shown.
                     {"2026年03月11日 08:00", 0, kStart},
                     {"2026年03月12日 07:00", 0, kStart}, {"2026年03月12日 07:00", 100, "http://news.test/"},
                     {"2026年03月12日 07:00", 3600, kClose},
                     // After the week.
                     {"2026年03月13日 09:00", 0, kStart}, {"2026年03月13日 09:00", 500, "http://later.test/"},
                     {"2026年03月13日 09:00", 600, kClose}};
}

// What the known history gives, with or without rows that do not read.
const QList<qint64> kKnownDays{1800, 1800, 0, 600, 600, 0, 3600};
const QStringList kKnownHosts{"zoo.test 2100", "books.test 1800", "news.test 100"};

QList<qint64> secondsOf(const QList<DayOnline>& days)
{
    QList<qint64> seconds;
    for (const DayOnline& day : days)
        seconds << day.seconds;
    return seconds;
}

QStringList hostTexts(const QList<HostTime>& hosts)
{
    QStringList texts;
    for (const HostTime& host : hosts)
        texts << QStringLiteral("%1 %2").arg(host.host).arg(host.seconds);
    return texts;
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace

class TestWeeklyReport : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;

private slots:
    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        ManagerData::SetDataBasePath(m_env->dataHome() + QStringLiteral("/history.db"));
    }
    void cleanup()
    {
        ManagerData::SetDataBasePath(QString());
        m_env.reset();
    }

    void knownWeek_data()
    {
        QTest::addColumn<QString>("malformed");
        QTest::addColumn<bool>("browserWriting");
        QTest::newRow("as written") << QString() << false;
        // The browser holds the write lock: making the index waits in vain, the read does not.
        QTest::newRow("while the browser writes") << QString() << true;
        for (const char* text : {"昨天晚上", "", "2026年03月09日 9:05", "2026年03月09日 24:00", "2026年03月09日 23:60",
                                 "2026年03月09日 23:51 ", "2026年03月09号 23:51", "2026-03-09 23:51"})
            QTest::newRow(*text ? text : "empty") << QString::fromUtf8(text) << false;
    }
    void knownWeek()
    {
        // A stay whose time does not read changes nothing, though it would lead the hosts
        // and stretch the killed run it lies in.
        QFETCH(QString, malformed);
        QFETCH(bool, browserWriting);
        addRows(knownHistory(malformed.isNull() ? QList<Row>() : QList<Row>{{malformed, 50000, "http://junk.test/"}}));
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, ManagerData::DataBasePath());
        // A history made before the index: the report makes it.
        db.execDML("drop index history_beginTime");
        if (browserWriting) {
            db.execDML("begin immediate");
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("making the index on the history's times failed"));
        }
        const WeeklyReport report = ManagerData::GetWeeklyReport(kToday);
        for (int i = 0; i < report.days.size(); ++i)
            QCOMPARE(report.days[i].date, QDate(2026, 3, 6 + i));
        QCOMPARE(secondsOf(report.days), kKnownDays);
        QCOMPARE(hostTexts(report.hosts), kKnownHosts);
        QCOMPARE(db.execQuery("select 1 from sqlite_master where type='index' and tbl_name='history'").eof(),
                 browserWriting);
    }

    void topHosts_data()
    {
        QTest::addColumn<QStringList>("stays"); // "address seconds", all today
        QTest::addColumn<QStringList>("hosts");
        QTest::addColumn<qint64>("online"); // today's
        QStringList twelve;
        QStringList tenLongest;
        for (int i = 1; i <= 12; ++i)
            twelve << QStringLiteral("http://h%1.test/ %2").arg(i, 2, 10, QLatin1Char('0')).arg(i * 10);
        for (int i = 12; i >= 3; --i)
            tenLongest << QStringLiteral("h%1.test %2").arg(i, 2, 10, QLatin1Char('0')).arg(i * 10);
        QTest::newRow("twelve hosts keep the ten longest") << twelve << tenLongest << qint64(0);
        QTest::newRow("ties go by name") << QStringList{"http://b.test/ 50", "http://c.test/ 70", "http://a.test/ 50"}
                                         << QStringList{"c.test 70", "a.test 50", "b.test 50"} << qint64(0);
        QTest::newRow("one host over schemes, ports and pages")
            << QStringList{"http://x.test/1 30", "https://x.test:8443/2 40", "http://X.test/1 5", "http://y.test/ 60"}
            << QStringList{"x.test 75", "y.test 60"} << qint64(0);
        QTest::newRow("no host in the browser's own rows and pages")
            << QStringList{"打开Lorvane 9000", "关闭Lorvane 9000", "file:///usr/share/lorvane/html/home.html 900",
                           "about:blank 800", "javascript:void(0) 700", "http://z.test/ 5"}
            << QStringList{"z.test 5"} << qint64(9000);
        QTest::newRow("no history at all") << QStringList() << QStringList() << qint64(0);
    }
    void topHosts()
    {
        QFETCH(QStringList, stays);
        QFETCH(QStringList, hosts);
        QFETCH(qint64, online);
        QList<Row> rows;
        for (const QString& stay : stays) {
            const qsizetype space = stay.lastIndexOf(QLatin1Char(' '));
            rows << Row{timeText(kToday, "10:00"), stay.mid(space + 1).toLongLong(), stay.left(space)};
        }
        addRows(rows);
        const WeeklyReport report = ManagerData::GetWeeklyReport(kToday);
        QCOMPARE(hostTexts(report.hosts), hosts);
        QCOMPARE(secondsOf(report.days), QList<qint64>(kWeeklyReportDays - 1, 0) << online);
    }

    void chartBars_data()
    {
        QTest::addColumn<QList<qint64>>("seconds");
        QTest::addColumn<QList<int>>("heights");
        QTest::addColumn<QStringList>("times");
        QTest::addColumn<QDate>("firstDay");
        QTest::addColumn<QString>("firstDate");
        QTest::addColumn<QString>("weekdays"); // after "周"
        QTest::newRow("the longest day reaches the top")
            << QList<qint64>{3600, 7200, 1800, 0, 5400, 3660, 60} << QList<int>{60, 120, 30, 0, 90, 61, 1}
            << QStringList{"1小时", "2小时", "30分", "0分", "1小时30分", "1小时1分", "1分"} << QDate(2026, 3, 12)
            << "03/12" << "四五六日一二三";
        QTest::newRow("any time at all is a pixel")
            << QList<qint64>{7200, 29, 59, 0, 0, 0, 3599} << QList<int>{120, 1, 1, 0, 0, 0, 60}
            << QStringList{"2小时", "不到1分", "不到1分", "0分", "0分", "0分", "59分"} << QDate(2026, 12, 27)
            << "12/27" << "日一二三四五六";
        QTest::newRow("a week without time") << QList<qint64>(7, 0) << QList<int>(7, 0) << QStringList(7, "0分")
                                             << QDate(2027, 1, 4) << "01/04" << "一二三四五六日";
    }
    void chartBars()
    {
        QFETCH(QList<qint64>, seconds);
        QFETCH(QList<int>, heights);
        QFETCH(QStringList, times);
        QFETCH(QDate, firstDay);
        QFETCH(QString, firstDate);
        QFETCH(QString, weekdays);
        // Lines of 16 pixels: the labels take 36 at the bottom and the time above the tallest bar 16.
        const QRect area(10, 20, 700, 172);
        const int base = 156;
        QCOMPARE(WeeklyChartBaseLine(area, 16), base);
        const QList<WeeklyChartColumn> columns = LayoutWeeklyChart(seconds, area, 16);
        QCOMPARE(columns.size(), seconds.size());
        for (int i = 0; i < columns.size(); ++i) {
            const WeeklyChartColumn& c = columns[i];
            QCOMPARE(c.bar, QRect(area.left() + 100 * i + 25, base - heights[i], 50, heights[i]));
            QCOMPARE(c.value.y() + c.value.height(), c.bar.y());
            QCOMPARE(c.weekday.bottom(), area.bottom());
            QCOMPARE(OnlineTimeText(seconds[i]), times[i]);
            QCOMPARE(ChartWeekdayText(firstDay.addDays(i)), QStringLiteral("周") + weekdays[i]);
        }
        QCOMPARE(ChartDateText(firstDay), firstDate);
    }

    void historyPageShowsTheReport()
    {
        const QDate today = QDate::currentDate();
        const QDate yesterday = today.addDays(-1);
        addRows({{timeText(yesterday, "10:00"), 0, kStart}, {timeText(yesterday, "10:00"), 1200, "http://zoo.test/"},
                 {timeText(yesterday, "10:00"), 1200, kClose}, {timeText(today, "08:00"), 0, kStart},
                 {timeText(today, "08:00"), 300, "http://zoo.test/lions"},
                 {timeText(today, "08:01"), 500, "http://books.test/"}, {timeText(today, "08:00"), 600, kClose}});
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        QCOMPARE(page.m_btnReport->text(), QStringLiteral("本周报告"));
        QVERIFY(!page.m_btnReport->geometry().intersects(page.m_btnClear->geometry()));

        QList<DayOnline> days;
        QStringList rows;
        QString total;
        QColor todayBar;
        bool seen = false;
        onNextDialog<CWeeklyReportDlg>(
            [&](CWeeklyReportDlg* dlg) {
                days = dlg->m_chart->Days();
                const CHistoryListCtrl* list = dlg->m_listHosts;
                for (int i = 0; i < list->GetItemCount(); ++i)
                    rows << list->GetItemText(i, 0) + '|' + list->GetItemText(i, 1) + '|' + list->GetItemText(i, 2);
                total = dlg->m_textTotal->text();
                todayBar = dlg->m_chart->grab().toImage().pixel(dlg->m_chart->Columns().last().bar.center());
                click(dlg->m_btnClose);
            },
            &seen);
        click(page.m_btnReport);
        QVERIFY(seen);
        QCOMPARE(secondsOf(days), (QList<qint64>{0, 0, 0, 0, 0, 1200, 600}));
        QCOMPARE(days.last().date, today);
        QCOMPARE(rows, (QStringList{"1|zoo.test|25分", "2|books.test|8分20秒"}));
        QCOMPARE(total, QStringLiteral("七天上网时间合计: 30分"));
        QCOMPARE(todayBar, CWeeklyChartCtrl::BarColor());
        QCOMPARE(boxes.count(), 0);
    }

    void unreadableDatabaseIsReported()
    {
        QVERIFY(QDir().mkpath(ManagerData::DataBasePath())); // a folder where the file would be
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr); // tells of the list it cannot read
        // Were the dialog to open after all, this ends it rather than leave the test waiting.
        bool opened = false;
        QTimer::singleShot(0, &page, [&opened] {
            if (auto* dlg = qobject_cast<CWeeklyReportDlg*>(QApplication::activeModalWidget())) {
                opened = true;
                dlg->reject();
            }
        });
        click(page.m_btnReport);
        QVERIFY(!opened);
        QCOMPARE(boxes.count(), 2);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("读取本周报告失败!\n")));
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
    }
};

QTEST_MAIN(TestWeeklyReport)
#include "tst_weeklyreport.moc"
