#include "tickclock.h"

#include <pellora/colorref.h>
#include <pellora/coolstatusbar.h>

#include <QProgressBar>
#include <QRegularExpression>
#include <QTest>

using namespace Pellora;

class TestCoolStatusBar : public QObject
{
    Q_OBJECT

private slots:
    void durationText_data()
    {
        QTest::addColumn<uint>("ms");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing under a second") << 999u << QString();
        QTest::newRow("zero") << 0u << QString();
        QTest::newRow("one second") << 1000u << QStringLiteral("1秒");
        QTest::newRow("seconds are whole, not rounded up") << 1999u << QStringLiteral("1秒");
        QTest::newRow("one minute") << 60000u << QStringLiteral("1分");
        QTest::newRow("one hour") << 3600000u << QStringLiteral("1小时");
        QTest::newRow("hour and seconds, no minutes") << 3607000u << QStringLiteral("1小时7秒");
        QTest::newRow("all three parts") << 3725000u << QStringLiteral("1小时2分5秒");
        QTest::newRow("many hours") << 90061000u << QStringLiteral("25小时1分1秒");
        QTest::newRow("largest tick span") << 0xffffffffu << QStringLiteral("1193小时2分47秒");
    }
    void durationText()
    {
        QFETCH(uint, ms);
        QFETCH(QString, text);
        QCOMPARE(CCoolStatusBar::GetTimeFromTickToString(ms), text);
    }

    void clockText()
    {
        const QDateTime when(QDate(2026, 12, 8), QTime(9, 5, 3));
        QCOMPARE(CCoolStatusBar::ClockText(when, 3607000),
                 QStringLiteral("2026年12月08日 09:05:03    你已经上网:1小时7秒"));
    }

    void rightAfterStartOnlyTheTimeIsShown()
    {
        TickClock::ManualClock clock(5000);
        CCoolStatusBar bar;
        const QString text = bar.CurrentClockText();
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d{4}年\\d{2}月\\d{2}日 \\d{2}:\\d{2}:\\d{2}    你已经上网:$"))
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
        clock.advance(999);
        QVERIFY(bar.CurrentClockText().endsWith(QStringLiteral("你已经上网:")));
        clock.advance(1);
        QVERIFY(bar.CurrentClockText().endsWith(QStringLiteral("你已经上网:1秒")));
    }

    void timeOnLineSurvivesTheTickWrap()
    {
        TickClock::ManualClock clock(0xfffff000u);
        CCoolStatusBar bar;
        clock.advance(0x1000 + 8000); // past the wrap of the 32-bit counter
        QVERIFY2(bar.CurrentClockText().endsWith(QStringLiteral("你已经上网:12秒")), qPrintable(bar.CurrentClockText()));
    }

    void panes_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<QList<int>>("lefts");
        QTest::addColumn<QList<int>>("widths");
        QTest::newRow("wide bar") << 1400 << QList<int>{0, 400, 800} << QList<int>{400, 400, 500};
        QTest::newRow("screen narrower than the panes") << 1280 << QList<int>{0, 400, 800} << QList<int>{400, 400, 480};
        QTest::newRow("narrow") << 600 << QList<int>{0, 400, 800} << QList<int>{400, 200, 0};
    }
    void panes()
    {
        QFETCH(int, width);
        QFETCH(QList<int>, lefts);
        QFETCH(QList<int>, widths);
        const QList<QRect> panes = LayoutStatusPanes(QRect(0, 0, width, 25));
        QCOMPARE(panes.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(panes.at(i).left(), lefts.at(i));
            QCOMPARE(panes.at(i).width(), widths.at(i));
            QCOMPARE(panes.at(i).height(), 25);
        }
    }

    void progressFollowsTheSecondPane()
    {
        CCoolStatusBar bar;
        QCOMPARE(bar.minimumHeight(), 25);
        bar.resize(1300, 25);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QCOMPARE(bar.ProgressBar()->geometry(), QRect(402, 2, 396, 21));
        bar.resize(700, 30);
        QCOMPARE(bar.ProgressBar()->geometry(), QRect(402, 2, 296, 26));
    }

    void progressShowsAndHides()
    {
        CCoolStatusBar bar;
        bar.resize(1300, 25);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QVERIFY(!bar.ProgressBar()->isVisible());
        bar.ShowProgress();
        bar.SetProgressMax(100);
        bar.SetProgressMin(0);
        bar.SetProgressPos(40);
        QProgressBar* progress = bar.ProgressBar();
        QVERIFY(progress->isVisible());
        QCOMPARE(progress->minimum(), 0);
        QCOMPARE(progress->maximum(), 100);
        QCOMPARE(progress->value(), 40);
        bar.SetFontColor(MakeColorRef(255, 0, 0));
        const QImage image = progress->grab().toImage();
        const int y = image.height() / 2;
        const QColor filled = image.pixelColor(image.width() * 30 / 100, y);
        const QColor empty = image.pixelColor(image.width() * 60 / 100, y);
        QCOMPARE(filled, QColor(255, 0, 0));
        QVERIFY(empty != QColor(255, 0, 0));
        bar.HideProgress();
        QVERIFY(!progress->isVisible());
    }

    void rangeKeepsBothEnds()
    {
        CCoolStatusBar bar;
        bar.SetProgressMin(10);
        bar.SetProgressMax(32767);
        QCOMPARE(bar.ProgressBar()->minimum(), 10);
        QCOMPARE(bar.ProgressBar()->maximum(), 32767);
        bar.SetProgressMax(500);
        QCOMPARE(bar.ProgressBar()->minimum(), 10);
        QCOMPARE(bar.ProgressBar()->maximum(), 500);
    }

    void colorsArePainted()
    {
        CCoolStatusBar bar;
        bar.resize(1300, 25);
        QCOMPARE(ColorRefToQColor(bar.BackColor()), QColor(38, 89, 140));
        QCOMPARE(ColorRefToQColor(bar.FontColor()), QColor(255, 255, 255));
        bar.SetBackColor(MakeColorRef(0, 128, 0));
        const QImage image = bar.grab().toImage();
        QCOMPARE(image.pixelColor(600, 12), QColor(0, 128, 0));
        QCOMPARE(image.pixelColor(1, 1), QColor(0, 128, 0));
        // Some text in the text colour in the first and the last pane.
        auto hasWhite = [&image](int from, int to) {
            for (int x = from; x < to; ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (image.pixelColor(x, y) == QColor(255, 255, 255))
                        return true;
            return false;
        };
        QVERIFY(hasWhite(0, 400));
        QVERIFY(hasWhite(800, 1300));
        QVERIFY(!hasWhite(400, 800));
    }

    void repaintsEverySecond()
    {
        CCoolStatusBar bar;
        bar.resize(800, 25);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        struct PaintCounter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::Paint)
                    ++paints;
                return false;
            }
        } counter;
        bar.installEventFilter(&counter);
        QTRY_VERIFY_WITH_TIMEOUT(counter.paints >= 2, 5000);
    }
};

QTEST_MAIN(TestCoolStatusBar)
#include "tst_coolstatusbar.moc"
