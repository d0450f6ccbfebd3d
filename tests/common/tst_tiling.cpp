#include "tiling.h"

#include <QtTest>

class TestTiling : public QObject
{
    Q_OBJECT

private slots:
    void tileSpans_data()
    {
        QTest::addColumn<int>("span");
        QTest::addColumn<int>("tile");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("lengths");
        QTest::newRow("last tile cut") << 100 << 30 << 4 << QList<int>{30, 30, 30, 10};
        QTest::newRow("exact fit: the extra copy has nothing to show") << 90 << 30 << 4 << QList<int>{30, 30, 30};
        QTest::newRow("tile as wide as the span") << 30 << 30 << 2 << QList<int>{30};
        QTest::newRow("tile wider than the span is not drawn") << 29 << 30 << 0 << QList<int>{};
        QTest::newRow("one-pixel tile") << 3 << 1 << 4 << QList<int>{1, 1, 1};
        QTest::newRow("no span") << 0 << 5 << 0 << QList<int>{};
        QTest::newRow("negative span") << -10 << 5 << 0 << QList<int>{};
        QTest::newRow("missing bitmap (zero width)") << 50 << 0 << 0 << QList<int>{};
    }
    void tileSpans()
    {
        QFETCH(int, span);
        QFETCH(int, tile);
        QFETCH(int, count);
        QFETCH(QList<int>, lengths);
        QCOMPARE(TileCount(span, tile), count);
        const QList<TileSpan> spans = TileSpans(span, tile);
        QCOMPARE(spans.size(), lengths.size());
        for (int i = 0; i < spans.size(); ++i) {
            QCOMPARE(spans[i].offset, i * tile);
            QCOMPARE(spans[i].length, lengths[i]);
        }
    }

    void threePieceCapsAtBothEdges()
    {
        const ThreePieceLayout l = LayoutThreePiece(QRect(10, 20, 100, 24), 5, QSize(6, 15), QSize(40, 15),
                                                    QSize(7, 15));
        QCOMPARE(l.left, QRect(10, 20, 6, 24));
        QCOMPARE(l.right, QRect(103, 20, 7, 24));
        // Span 90 from x 15: tiles at 15, 55, 95 (cut to 10 pixels).
        QCOMPARE(l.middle.size(), 3);
        QCOMPARE(l.middle[0].target, QRect(15, 20, 40, 24));
        QCOMPARE(l.middle[2].target, QRect(95, 20, 10, 24));
        QCOMPARE(l.middle[2].sourceWidth, 10);
    }

    void threePieceMiddleWiderThanSpan()
    {
        const ThreePieceLayout l = LayoutThreePiece(QRect(0, 0, 50, 15), 5, QSize(5, 15), QSize(60, 15),
                                                    QSize(5, 15));
        QVERIFY(l.middle.isEmpty());
        QCOMPARE(l.left.width(), 5);
        QCOMPARE(l.right.left(), 45);
    }
};

QTEST_GUILESS_MAIN(TestTiling)
#include "tst_tiling.moc"
