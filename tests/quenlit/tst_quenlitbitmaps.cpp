#include <quenlit/quenlitbitmaps.h>

#include <QtTest>

using namespace Quenlit;

class TestQuenlitBitmaps : public QObject
{
    Q_OBJECT

private slots:
    void everyBitmapExists_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QSize>("size");
        QTest::newRow("1000 bottom-right corner") << 1000 << QSize(4, 4);
        QTest::newRow("1002 title left end") << 1002 << QSize(6, 24);
        QTest::newRow("1003 title right end") << 1003 << QSize(6, 24);
        QTest::newRow("1004 bottom border") << 1004 << QSize(1, 4);
        QTest::newRow("1005 left border") << 1005 << QSize(4, 1);
        QTest::newRow("1006 bottom-left corner") << 1006 << QSize(4, 4);
        QTest::newRow("1007 right border") << 1007 << QSize(4, 1);
        QTest::newRow("1008 title middle") << 1008 << QSize(1, 24);
        QTest::newRow("1009 page-button ground") << 1009 << QSize(1, 80);
        for (int id = 1010; id <= 1018; ++id)
            QTest::addRow("%d push button piece", id) << id << QSize((id - 1010) % 3 == 1 ? 1 : 4, 24);
        for (int id = 1019; id <= 1021; ++id)
            QTest::addRow("%d radio look", id) << id << QSize(13, 13);
        QTest::newRow("1022 header ground") << 1022 << QSize(1, 24);
        QTest::newRow("1023 header left end") << 1023 << QSize(1, 24);
        QTest::newRow("1024 header right end") << 1024 << QSize(2, 24);
        for (int id : {134, 159, 160, 161, 162, 163})
            QTest::addRow("%d page-button icon", id) << id << QSize(36, 36);
    }
    void everyBitmapExists()
    {
        QFETCH(int, id);
        QFETCH(QSize, size);
        const QImage img = LoadQuenlitBitmap(id);
        QVERIFY(!img.isNull());
        QCOMPARE(img.size(), size);
    }

    void unknownIdGivesNothingAndIsReportedOnce()
    {
        for (int id : {1001, -1, 99999}) {
            // Asked for on every paint, but told only the first time.
            const QRegularExpression warning(QStringLiteral("no bitmap %1 ").arg(id));
            QTest::ignoreMessage(QtWarningMsg, warning);
            QTest::failOnWarning(warning);
            for (int paint = 0; paint < 3; ++paint)
                QVERIFY(LoadQuenlitBitmap(id).isNull());
        }
        // The library's own bitmaps are never reported.
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        for (int id : {int(Bitmap::TitleLeft), int(Bitmap::ButtonHoverMiddle), int(Bitmap::IconAbout)})
            QVERIFY(!LoadQuenlitBitmap(id).isNull());
    }

    void iconsAreRedKeyedAndDrawSomething_data()
    {
        QTest::addColumn<int>("id");
        for (int id : {134, 159, 160, 161, 162, 163})
            QTest::addRow("%d", id) << id;
    }
    void iconsAreRedKeyedAndDrawSomething()
    {
        QFETCH(int, id);
        const QImage icon = LoadQuenlitBitmap(id);
        QCOMPARE(icon.pixel(0, 0), kIconTransparentColor);
        int drawn = 0;
        QPoint somewhere;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x)
                if (icon.pixel(x, y) != kIconTransparentColor) {
                    ++drawn;
                    somewhere = QPoint(x, y);
                }
        QVERIFY2(drawn > icon.width() * icon.height() / 4, "the icon shows something");
        const QImage keyed = KeyedPixmap(icon, kIconTransparentColor).toImage();
        QCOMPARE(qAlpha(keyed.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(keyed.pixel(somewhere)), 255);
    }

    void roundRectRegionCutsTheCorners()
    {
        const QRegion r = RoundRectRegion(QRect(0, 0, 80, 24), 10, 10);
        QVERIFY(!r.contains(QPoint(0, 0)));
        QVERIFY(!r.contains(QPoint(79, 23)));
        QVERIFY(!r.contains(QPoint(79, 0)));
        QVERIFY(r.contains(QPoint(5, 0)));
        QVERIFY(r.contains(QPoint(0, 12)));
        QVERIFY(r.contains(QPoint(40, 12)));
        QVERIFY(r.contains(QPoint(79, 12)));
        QVERIFY(!r.contains(QPoint(80, 12)));
        // Too small to round: the plain rectangle.
        QCOMPARE(RoundRectRegion(QRect(0, 0, 1, 1), 10, 10), QRegion(QRect(0, 0, 1, 1)));
        QVERIFY(RoundRectRegion(QRect(), 10, 10).isEmpty());
    }

    void dialogUnits_data()
    {
        QTest::addColumn<QSize>("units");
        QTest::addColumn<QSize>("pixels");
        QTest::newRow("control panel") << QSize(469, 371) << QSize(704, 603);
        QTest::newRow("about page") << QSize(372, 305) << QSize(558, 496);
        QTest::newRow("nothing") << QSize(0, 0) << QSize(0, 0);
    }
    void dialogUnits()
    {
        QFETCH(QSize, units);
        QFETCH(QSize, pixels);
        QCOMPARE(DialogUnitsToPixels(units), pixels);
        QCOMPARE(DialogUnitsToPixels(QRect(QPoint(0, 0), units)).size(), pixels);
    }
};

QTEST_MAIN(TestQuenlitBitmaps)
#include "tst_quenlitbitmaps.moc"
