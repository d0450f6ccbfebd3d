#include "skintest.h"

#include <pellora/skinpaint.h>

#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

using namespace Pellora;

using SkinTest::sameColor;

namespace {

const QColor kBack(10, 20, 30);
const QColor kLeft(255, 0, 0);
const QColor kMiddle(0, 255, 0);
const QColor kRight(0, 0, 255);

QPixmap solid(QSize size, QColor color)
{
    QPixmap p(size);
    p.fill(color);
    return p;
}

// A middle bitmap whose columns tell which copy and which column of it is seen.
QPixmap striped(int width)
{
    QImage image(width, 4, QImage::Format_RGB32);
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < 4; ++y)
            image.setPixel(x, y, qRgb(0, 100 + x, 0));
    return QPixmap::fromImage(image);
}

QImage threePiece(int width, int inset, QSize leftSize, const QPixmap& middle, QSize rightSize)
{
    QImage image(width, 10, QImage::Format_RGB32);
    image.fill(kBack);
    QPainter p(&image);
    DrawThreePiece(p, image.rect(), inset, solid(leftSize, kLeft), middle, solid(rightSize, kRight));
    return image;
}

} // namespace

class TestSkinPaint : public QObject
{
    Q_OBJECT

private slots:
    void middleRepeatsAndLastCopyIsCut()
    {
        // Span 90 - 10 = 80 over a 30-pixel tile: copies at 5, 35, 65, the last cut to 20.
        const QImage image = threePiece(90, 5, QSize(4, 4), striped(30), QSize(4, 4));
        QVERIFY(sameColor(image.pixel(5, 5), QColor(0, 100, 0), 0));
        QVERIFY(sameColor(image.pixel(34, 5), QColor(0, 129, 0), 0));
        QVERIFY(sameColor(image.pixel(35, 5), QColor(0, 100, 0), 0));
        QVERIFY(sameColor(image.pixel(65, 5), QColor(0, 100, 0), 0));
        QVERIFY(sameColor(image.pixel(84, 5), QColor(0, 119, 0), 0));
        // Between the end of the span and the right cap the background shows.
        QVERIFY(sameColor(image.pixel(85, 5), kBack, 0));
        QVERIFY(sameColor(image.pixel(0, 5), kLeft, 0));
        QVERIFY(sameColor(image.pixel(89, 5), kRight, 0));
    }

    void middleWiderThanSpanIsNotDrawn_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("tile");
        QTest::newRow("wider") << 40 << 31;
        QTest::newRow("much wider") << 40 << 300;
    }
    void middleWiderThanSpanIsNotDrawn()
    {
        QFETCH(int, width);
        QFETCH(int, tile);
        const QImage image = threePiece(width, 5, QSize(6, 4), solid(QSize(tile, 4), kMiddle), QSize(6, 4));
        QVERIFY(sameColor(image.pixel(width / 2, 5), kBack, 0));
        QVERIFY(sameColor(image.pixel(0, 5), kLeft, 0));
        QVERIFY(sameColor(image.pixel(5, 5), kLeft, 0));
        QVERIFY(sameColor(image.pixel(width - 1, 5), kRight, 0));
    }

    void capsAreDrawnOverTheMiddleAtTheirOwnWidth()
    {
        const QImage image = threePiece(60, 5, QSize(12, 4), solid(QSize(8, 4), kMiddle), QSize(9, 4));
        QVERIFY(sameColor(image.pixel(11, 9), kLeft, 0));
        QVERIFY(sameColor(image.pixel(12, 9), kMiddle, 0));
        QVERIFY(sameColor(image.pixel(50, 0), kMiddle, 0));
        QVERIFY(sameColor(image.pixel(51, 0), kRight, 0));
    }

    void missingPiecesAreLeftOut()
    {
        QImage image(40, 10, QImage::Format_RGB32);
        image.fill(kBack);
        QPainter p(&image);
        DrawThreePiece(p, image.rect(), 5, QPixmap(), solid(QSize(5, 5), kMiddle), QPixmap());
        p.end();
        QVERIFY(sameColor(image.pixel(0, 5), kBack, 0));
        QVERIFY(sameColor(image.pixel(20, 5), kMiddle, 0));
    }

    void backgroundTilesAcrossStretchedToHeight()
    {
        QImage image(25, 30, QImage::Format_RGB32);
        image.fill(kBack);
        QPainter p(&image);
        DrawTiledAcross(p, image.rect(), striped(10));
        p.end();
        // Three copies, the last cut to 5 columns, each stretched from 4 to 30 rows.
        QVERIFY(sameColor(image.pixel(0, 29), QColor(0, 100, 0), 0));
        QVERIFY(sameColor(image.pixel(19, 15), QColor(0, 109, 0), 0));
        QVERIFY(sameColor(image.pixel(24, 0), QColor(0, 104, 0), 0));
    }

    void bordersTileDownAtTheirOwnSize()
    {
        QImage image(15, 25, QImage::Format_RGB32);
        image.fill(kBack);
        QPainter p(&image);
        DrawTiledDown(p, image.rect(), solid(QSize(10, 10), kMiddle));
        p.end();
        QVERIFY(sameColor(image.pixel(9, 24), kMiddle, 0));
        QVERIFY(sameColor(image.pixel(10, 0), kBack, 0));
        // A tile taller than the span is not drawn at all.
        QImage low(15, 5, QImage::Format_RGB32);
        low.fill(kBack);
        QPainter q(&low);
        DrawTiledDown(q, low.rect(), solid(QSize(10, 10), kMiddle));
        q.end();
        QVERIFY(sameColor(low.pixel(2, 2), kBack, 0));
    }

    void magentaBecomesTransparent()
    {
        QTemporaryDir dir;
        QImage image(4, 1, QImage::Format_RGB32);
        image.setPixel(0, 0, qRgb(255, 0, 255));
        image.setPixel(1, 0, qRgb(254, 0, 255));
        image.setPixel(2, 0, qRgb(255, 1, 255));
        image.setPixel(3, 0, qRgb(0, 0, 0));
        SkinTest::LoggedWarnings log;
        const QImage loaded = LoadSkinImage(SkinTest::writeImage(dir.path(), QStringLiteral("m.bmp"), image));
        QCOMPARE(log.in(QStringLiteral("lorvane.skin")), QStringList());
        QCOMPARE(qAlpha(loaded.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(loaded.pixel(1, 0)), 255);
        QCOMPARE(qAlpha(loaded.pixel(2, 0)), 255);
        QCOMPARE(qAlpha(loaded.pixel(3, 0)), 255);
    }

    // Each load of a picture that is asked for but cannot be read is logged once with
    // its path; no path at all is no picture asked for.
    void unreadableFilesGiveNothingAndAreLogged_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("logged");
        QTest::newRow("missing") << "missing" << true;
        QTest::newRow("folder") << "folder" << true;
        QTest::newRow("empty path") << "empty" << false;
        QTest::newRow("truncated bitmap") << "truncated" << true;
        QTest::newRow("not an image") << "text" << true;
    }
    void unreadableFilesGiveNothingAndAreLogged()
    {
        QFETCH(QString, kind);
        QFETCH(bool, logged);
        QTemporaryDir dir;
        QString path = dir.path() + QStringLiteral("/none.bmp");
        if (kind == QLatin1String("folder")) {
            path = dir.path() + QLatin1Char('/');
        } else if (kind == QLatin1String("empty")) {
            path.clear();
        } else if (kind == QLatin1String("truncated")) {
            const QString whole = SkinTest::writeSolid(dir.path(), QStringLiteral("w.bmp"), QSize(40, 40), Qt::red);
            QFile file(whole);
            QVERIFY(file.open(QIODevice::ReadOnly));
            path = SkinTest::writeText(dir.path(), QStringLiteral("t.bmp"), file.read(60));
        } else if (kind == QLatin1String("text")) {
            path = SkinTest::writeText(dir.path(), QStringLiteral("x.bmp"), "BMnot really a bitmap");
        }
        SkinTest::LoggedWarnings log;
        QVERIFY(LoadSkinImage(path).isNull());
        QVERIFY(LoadSkinBitmap(path).isNull());
        const QStringList warnings = log.in(QStringLiteral("lorvane.skin"));
        QCOMPARE(warnings.size(), logged ? 2 : 0);
        for (const QString& warning : warnings)
            QVERIFY2(warning.contains(path), qPrintable(warning));
    }

    void maskHidesWhatIsLight()
    {
        QImage face(3, 1, QImage::Format_RGB32);
        face.fill(qRgb(0, 0, 200));
        QImage mask(3, 1, QImage::Format_RGB32);
        mask.setPixel(0, 0, qRgb(0, 0, 0));
        mask.setPixel(1, 0, qRgb(255, 255, 255));
        mask.setPixel(2, 0, qRgb(40, 40, 40));
        const QImage out = ComposeMaskedBitmap(face, mask).toImage();
        QCOMPARE(qAlpha(out.pixel(0, 0)), 255);
        QCOMPARE(qAlpha(out.pixel(1, 0)), 0);
        QCOMPARE(qAlpha(out.pixel(2, 0)), 255);
        // Without a mask the face shows whole; without a face there is nothing.
        QCOMPARE(qAlpha(ComposeMaskedBitmap(face, QImage()).toImage().pixel(1, 0)), 255);
        QVERIFY(ComposeMaskedBitmap(QImage(), mask).isNull());
    }

    void roundedRegionCutsTheCorners_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("inside");
        QTest::newRow("top-left corner") << QPoint(0, 0) << false;
        QTest::newRow("top-right corner") << QPoint(99, 0) << false;
        QTest::newRow("bottom-left corner") << QPoint(0, 49) << false;
        QTest::newRow("bottom-right corner") << QPoint(99, 49) << false;
        QTest::newRow("top edge middle") << QPoint(50, 0) << true;
        QTest::newRow("left edge middle") << QPoint(0, 25) << true;
        QTest::newRow("centre") << QPoint(50, 25) << true;
        QTest::newRow("just inside the corner") << QPoint(2, 2) << true;
    }
    void roundedRegionCutsTheCorners()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, inside);
        QCOMPARE(RoundRectRegion(QRect(0, 0, 100, 50), 5, 5).contains(point), inside);
    }

    void bitmapRegionKeepsWhatIsNotTransparent()
    {
        QImage image(4, 2, QImage::Format_RGB32);
        image.fill(qRgb(255, 0, 255));
        image.setPixel(1, 0, qRgb(0, 0, 0));
        image.setPixel(2, 0, qRgb(250, 5, 250));
        image.setPixel(3, 1, qRgb(10, 200, 10));
        const QRegion exact = BitmapToRegion(image, QColor(255, 0, 255), 0);
        QVERIFY(exact.contains(QPoint(1, 0)));
        QVERIFY(exact.contains(QPoint(2, 0)));
        QVERIFY(exact.contains(QPoint(3, 1)));
        QVERIFY(!exact.contains(QPoint(0, 0)));
        QVERIFY(!exact.contains(QPoint(0, 1)));
        const QRegion tolerant = BitmapToRegion(image, QColor(255, 0, 255), 5);
        QVERIFY(!tolerant.contains(QPoint(2, 0)));
        QVERIFY(tolerant.contains(QPoint(1, 0)));
    }

    void linkCursorIsTheHand()
    {
        QCOMPARE(LinkCursor().shape(), Qt::PointingHandCursor);
    }
};

QTEST_MAIN(TestSkinPaint)
#include "tst_skinpaint.moc"
