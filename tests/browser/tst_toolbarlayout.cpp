#include "toolbarlayout.h"

#include <QtTest>

// Where the toolbar's controls land, in pixels, for the screen widths children have;
// a change of any formula of the layout shows up here as a moved rectangle.
class TestToolBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void dialogUnits_data()
    {
        QTest::addColumn<QRect>("units");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("nothing") << QRect(0, 0, 0, 0) << QRect(0, 0, 0, 0);
        QTest::newRow("one unit: 1.5 across and 1.75 down, rounded") << QRect(1, 1, 1, 1) << QRect(2, 2, 2, 2);
        QTest::newRow("2 across, 4 down") << QRect(0, 0, 2, 4) << QRect(0, 0, 3, 7);
        QTest::newRow("the toolbar") << QRect(0, 0, 443, 38) << QRect(0, 0, 665, 67);
        QTest::newRow("the tab strip") << QRect(0, 0, 366, 19) << QRect(0, 0, 549, 33);
    }
    void dialogUnits()
    {
        QFETCH(QRect, units);
        QFETCH(QRect, pixels);
        QCOMPARE(ToolBarLayout::FromDialogUnits(units.x(), units.y(), units.width(), units.height()), pixels);
    }

    void templatePlaces()
    {
        const ToolBarGeometry t = ToolBarLayout::TemplateGeometry();
        QCOMPARE(t.home, QRect(92, 14, 39, 46));
        QCOMPARE(t.favorites, QRect(144, 14, 42, 46));
        QCOMPARE(t.back, QRect(195, 14, 42, 46));
        QCOMPARE(t.forward, QRect(248, 14, 42, 46));
        QCOMPARE(t.address, QRect(299, 18, 108, 380));
        QCOMPARE(t.refresh, QRect(416, 12, 42, 46));
        QCOMPARE(t.stop, QRect(467, 12, 42, 46));
        QCOMPARE(t.print, QRect(516, 12, 42, 46));
        QCOMPARE(t.skin, QRect(566, 12, 42, 46));
        QCOMPARE(t.close, QRect(642, 5, 18, 23));
    }

    void layout_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("before"); // laid out at this width first; 0: from the template
        QTest::addColumn<QRect>("address");
        QTest::addColumn<QRect>("refresh");
        QTest::addColumn<QRect>("stop");
        QTest::addColumn<QRect>("print");
        QTest::addColumn<QRect>("skin");
        QTest::addColumn<QRect>("close");
        QTest::newRow("800") << 800 << 0 << QRect(305, 18, 207, 380) << QRect(527, 12, 42, 46)
                             << QRect(584, 12, 42, 46) << QRect(641, 12, 42, 46) << QRect(698, 12, 42, 46)
                             << QRect(770, 5, 25, 25);
        QTest::newRow("1024") << 1024 << 0 << QRect(305, 18, 431, 380) << QRect(751, 12, 42, 46)
                              << QRect(808, 12, 42, 46) << QRect(865, 12, 42, 46) << QRect(922, 12, 42, 46)
                              << QRect(994, 5, 25, 25);
        QTest::newRow("1280") << 1280 << 0 << QRect(305, 18, 687, 380) << QRect(1007, 12, 42, 46)
                              << QRect(1064, 12, 42, 46) << QRect(1121, 12, 42, 46) << QRect(1178, 12, 42, 46)
                              << QRect(1250, 5, 25, 25);
        QTest::newRow("1920") << 1920 << 0 << QRect(305, 18, 1327, 380) << QRect(1647, 12, 42, 46)
                              << QRect(1704, 12, 42, 46) << QRect(1761, 12, 42, 46) << QRect(1818, 12, 42, 46)
                              << QRect(1890, 5, 25, 25);
        QTest::newRow("1024 after 1920: a width that fits forgets the last")
            << 1024 << 1920 << QRect(305, 18, 431, 380) << QRect(751, 12, 42, 46) << QRect(808, 12, 42, 46)
            << QRect(865, 12, 42, 46) << QRect(922, 12, 42, 46) << QRect(994, 5, 25, 25);
        QTest::newRow("300 after 1280: the address box has no room left")
            << 300 << 1280 << QRect(305, 18, 0, 380) << QRect(27, 12, 42, 46) << QRect(84, 12, 42, 46)
            << QRect(141, 12, 42, 46) << QRect(198, 12, 42, 46) << QRect(270, 5, 25, 25);
        QTest::newRow("40 after 1280: too narrow, the buttons stay where they were")
            << 40 << 1280 << QRect(305, 18, 687, 380) << QRect(1007, 12, 42, 46) << QRect(1064, 12, 42, 46)
            << QRect(1121, 12, 42, 46) << QRect(1178, 12, 42, 46) << QRect(10, 5, 25, 25);
        QTest::newRow("40 from the template: the skin button keeps its place, the rest follow it")
            << 40 << 0 << QRect(305, 18, 75, 380) << QRect(395, 12, 42, 46) << QRect(452, 12, 42, 46)
            << QRect(509, 12, 42, 46) << QRect(566, 12, 42, 46) << QRect(10, 5, 25, 25);
    }
    void layout()
    {
        QFETCH(int, width);
        QFETCH(int, before);
        QFETCH(QRect, address);
        QFETCH(QRect, refresh);
        QFETCH(QRect, stop);
        QFETCH(QRect, print);
        QFETCH(QRect, skin);
        QFETCH(QRect, close);
        const ToolBarGeometry t = ToolBarLayout::TemplateGeometry();
        const ToolBarGeometry start = before > 0 ? ToolBarLayout::Layout(before, t) : t;
        const ToolBarGeometry g = ToolBarLayout::Layout(width, start);
        QCOMPARE(g.address, address);
        QCOMPARE(g.refresh, refresh);
        QCOMPARE(g.stop, stop);
        QCOMPARE(g.print, print);
        QCOMPARE(g.skin, skin);
        QCOMPARE(g.close, close);
        // The left-hand buttons never move.
        QCOMPARE(g.home, t.home);
        QCOMPARE(g.favorites, t.favorites);
        QCOMPARE(g.back, t.back);
        QCOMPARE(g.forward, t.forward);
    }
};

QTEST_GUILESS_MAIN(TestToolBarLayout)
#include "tst_toolbarlayout.moc"
