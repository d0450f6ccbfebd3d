#include "toolbarlayout.h"

#include <QtTest>

class TestToolBarLayout : public QObject
{
    Q_OBJECT

private slots:
    void wideToolbarPlacesFromTheRight()
    {
        const ToolBarGeometry t = ToolBarLayout::TemplateGeometry();
        const ToolBarGeometry g = ToolBarLayout::Layout(1280, t);
        QCOMPARE(g.close.left(), 1280 - 25 - 5);
        QCOMPARE(g.close.size(), QSize(25, 25));
        QCOMPARE(g.skin.left(), 1280 - t.skin.width() - 60);
        QCOMPARE(g.print.left(), g.skin.left() - t.print.width() - 15);
        QCOMPARE(g.stop.left(), g.print.left() - t.stop.width() - 15);
        QCOMPARE(g.refresh.left(), g.stop.left() - t.refresh.width() - 15);
        // Sizes and heights stay; the left-hand buttons do not move.
        QCOMPARE(g.skin.size(), t.skin.size());
        QCOMPARE(g.refresh.top(), t.refresh.top());
        QCOMPARE(g.home, t.home);
        QCOMPARE(g.forward, t.forward);
        // The address box fills the gap between forward and refresh.
        QCOMPARE(g.address.left(), t.forward.left() + t.forward.width() + 15);
        QCOMPARE(g.address.left() + g.address.width(), g.refresh.left() - 15);
        QCOMPARE(g.address.top(), t.address.top());
        QCOMPARE(g.address.height(), t.address.height());
    }

    void narrowToolbarKeepsButtonsWhereTheyWere()
    {
        const ToolBarGeometry before = ToolBarLayout::Layout(1280, ToolBarLayout::TemplateGeometry());
        // So narrow that every computed place would not be greater than 0.
        const ToolBarGeometry g = ToolBarLayout::Layout(40, before);
        QCOMPARE(g.skin.left(), before.skin.left());
        QCOMPARE(g.print.left(), before.print.left());
        QCOMPARE(g.stop.left(), before.stop.left());
        QCOMPARE(g.refresh.left(), before.refresh.left());
        QCOMPARE(g.close.left(), 40 - 25 - 5);
        QVERIFY(g.address.width() >= 0);
    }

    // The close button keeps 5 pixels from the right edge however wide the toolbar is
    // and whichever geometry it is laid out from, so the screen edge never cuts it.
    void closeButtonInsideTheRightEdge_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("fromTemplate");
        QTest::newRow("full HD, first layout") << 1920 << true;
        QTest::newRow("1024, first layout") << 1024 << true;
        QTest::newRow("1280, laid out again") << 1280 << false;
        QTest::newRow("800, first layout") << 800 << true;
    }
    void closeButtonInsideTheRightEdge()
    {
        QFETCH(int, width);
        QFETCH(bool, fromTemplate);
        const ToolBarGeometry start = fromTemplate ? ToolBarLayout::TemplateGeometry()
                                                   : ToolBarLayout::Layout(1600, ToolBarLayout::TemplateGeometry());
        const ToolBarGeometry g = ToolBarLayout::Layout(width, start);
        QCOMPARE(g.close.size(), QSize(25, 25));
        QCOMPARE(g.close.left() + g.close.width(), width - 5);
        // Nothing else reaches under it.
        QVERIFY(g.skin.left() + g.skin.width() < g.close.left());
    }

    void templateUnitsScale()
    {
        QCOMPARE(ToolBarLayout::FromDialogUnits(0, 0, 2, 4), QRect(0, 0, 3, 7));
        const ToolBarGeometry t = ToolBarLayout::TemplateGeometry();
        QVERIFY(t.home.left() < t.favorites.left());
        QVERIFY(t.forward.left() + t.forward.width() < t.address.left());
    }
};

QTEST_GUILESS_MAIN(TestToolBarLayout)
#include "tst_toolbarlayout.moc"
