#include "skintest.h"

#include <pellora/beautifulframe.h>
#include <pellora/colorref.h>
#include <pellora/cooldialog.h>

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Pellora;

using SkinTest::sameColor;

namespace {

const QColor kBack(200, 220, 240);

void drag(QWidget* target, QPoint from, QPoint by)
{
    QTest::mousePress(target, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + by), QPointF(target->mapToGlobal(from + by)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &move);
    QTest::mouseRelease(target, Qt::LeftButton, Qt::NoModifier, from + by);
}

} // namespace

class TestCoolDialog : public QObject
{
    Q_OBJECT

private:
    SkinTest::Folder m_dir;
    QString bmp(const QString& name, QSize size, QColor color) { return m_dir.bmp(name, size, color); }

private slots:
    void frameLayout()
    {
        const CoolDialogFrame f = LayoutCoolDialogFrame(QSize(300, 200), 15, 15);
        QCOMPARE(f.left, QRect(0, 0, 15, 200));
        QCOMPARE(f.right, QRect(285, 0, 15, 200));
        QCOMPARE(f.title, QRect(0, 0, 300, 15));
        QCOMPARE(f.bottom, QRect(0, 185, 300, 15));
        QCOMPARE(f.client, QRect(15, 15, 270, 170));
        QCOMPARE(LayoutCoolDialogFrame(QSize(20, 20), 15, 15).client.size(), QSize(0, 0));
    }

    void dragSpots_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<bool>("drags");
        QTest::newRow("top-left square") << QPoint(0, 0) << false;
        QTest::newRow("inside the square") << QPoint(29, 29) << false;
        QTest::newRow("title band right of it") << QPoint(30, 5) << true;
        QTest::newRow("below it") << QPoint(5, 30) << true;
        QTest::newRow("client area") << QPoint(150, 100) << true;
    }
    void dragSpots()
    {
        QFETCH(QPoint, point);
        QFETCH(bool, drags);
        QCOMPARE(IsCoolDialogDragSpot(point), drags);
    }

    void contentStaysInsideTheBorders()
    {
        CCoolDialog dlg;
        QCOMPARE(dlg.contentsMargins(), QMargins(15, 15, 15, 15));
        QVERIFY(dlg.windowFlags() & Qt::FramelessWindowHint);
    }

    void bordersAreDrawnFromTheSkin()
    {
        CCoolDialog dlg;
        dlg.resize(200, 120);
        dlg.SetBackColor(QColorToColorRef(kBack));
        dlg.SetDialogBorderLeft(bmp(QStringLiteral("l.bmp"), QSize(15, 15), Qt::red));
        dlg.SetDialogBorderRight(bmp(QStringLiteral("r.bmp"), QSize(15, 15), Qt::green));
        dlg.SetBmpTitleBitmap(bmp(QStringLiteral("tl.bmp"), QSize(20, 15), Qt::blue),
                              bmp(QStringLiteral("tm.bmp"), QSize(10, 15), Qt::yellow),
                              bmp(QStringLiteral("tr.bmp"), QSize(20, 15), Qt::cyan));
        dlg.SetDialogBottomBorderBmp(bmp(QStringLiteral("bl.bmp"), QSize(20, 15), Qt::darkRed),
                                     bmp(QStringLiteral("bm.bmp"), QSize(10, 15), Qt::darkGreen),
                                     bmp(QStringLiteral("br.bmp"), QSize(20, 15), Qt::darkBlue));
        const QImage image = dlg.grab().toImage();
        QVERIFY(sameColor(image.pixel(5, 60), Qt::red));
        QVERIFY(sameColor(image.pixel(195, 60), Qt::green));
        QVERIFY(sameColor(image.pixel(5, 5), Qt::blue));      // the title is drawn over the left border
        QVERIFY(sameColor(image.pixel(100, 5), Qt::yellow));
        QVERIFY(sameColor(image.pixel(195, 5), Qt::cyan));
        QVERIFY(sameColor(image.pixel(5, 115), Qt::darkRed)); // and the bottom too
        QVERIFY(sameColor(image.pixel(100, 115), Qt::darkGreen));
        QVERIFY(sameColor(image.pixel(195, 115), Qt::darkBlue));
        QVERIFY(sameColor(image.pixel(100, 60), kBack));
    }

    void titleMiddleWiderThanTheSpanLeavesTheBackground()
    {
        CCoolDialog dlg;
        dlg.resize(100, 80);
        dlg.SetBackColor(QColorToColorRef(kBack));
        dlg.SetBmpTitleBitmap(bmp(QStringLiteral("wl.bmp"), QSize(20, 15), Qt::blue),
                              bmp(QStringLiteral("wm.bmp"), QSize(91, 15), Qt::yellow),
                              bmp(QStringLiteral("wr.bmp"), QSize(20, 15), Qt::cyan));
        const QImage image = dlg.grab().toImage();
        QVERIFY(sameColor(image.pixel(50, 7), kBack));
        QVERIFY(sameColor(image.pixel(2, 7), Qt::blue));
        QVERIFY(sameColor(image.pixel(97, 7), Qt::cyan));
    }

    void missingPicturesShowTheBackColor()
    {
        CCoolDialog dlg;
        dlg.resize(100, 80);
        dlg.SetBackColor(QColorToColorRef(kBack));
        dlg.SetDialogBorderLeft(m_dir.path() + QStringLiteral("/missing.bmp"));
        dlg.SetBmpTitleBitmap(m_dir.path() + QLatin1Char('/'), QString(), QStringLiteral("/nonexistent/x.bmp"));
        const QImage image = dlg.grab().toImage();
        QVERIFY(sameColor(image.pixel(5, 40), kBack));
        QVERIFY(sameColor(image.pixel(50, 5), kBack));
    }

    void backColorReachesLabels()
    {
        CCoolDialog dlg;
        dlg.SetBackColor(MakeColorRef(1, 2, 3));
        QLabel label(QStringLiteral("text"), &dlg);
        QCOMPARE(label.palette().color(QPalette::Window), QColor(1, 2, 3));
    }

    void windowHasRoundedCorners()
    {
        CCoolDialog dlg;
        dlg.resize(120, 90);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QVERIFY(!dlg.mask().contains(QPoint(0, 0)));
        QVERIFY(!dlg.mask().contains(QPoint(119, 89)));
        QVERIFY(dlg.mask().contains(QPoint(60, 0)));
        QVERIFY(dlg.mask().contains(QPoint(60, 45)));
    }

    void draggingByFreeSpotsOnly()
    {
        CCoolDialog dlg;
        dlg.setGeometry(100, 100, 300, 200);
        auto* button = new QPushButton(QStringLiteral("OK"), &dlg);
        button->setGeometry(200, 150, 80, 30);
        auto* label = new QLabel(QStringLiteral("标签"), &dlg);
        label->setGeometry(40, 40, 100, 20);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        drag(&dlg, QPoint(150, 100), QPoint(30, 20));
        QTRY_COMPARE(dlg.pos(), QPoint(130, 120));

        // A press on a control is the control's own; the top-left corner does not drag.
        drag(button, QPoint(10, 10), QPoint(30, 20));
        QCOMPARE(dlg.pos(), QPoint(130, 120));
        drag(&dlg, QPoint(10, 10), QPoint(30, 20));
        QCOMPARE(dlg.pos(), QPoint(130, 120));

        // A label takes no clicks: it is part of the surface.
        drag(label, QPoint(5, 5), QPoint(-20, 10));
        QTRY_COMPARE(dlg.pos(), QPoint(110, 130));
    }

    void maximizedDialogDoesNotMove()
    {
        CCoolDialog dlg;
        dlg.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QTRY_VERIFY(dlg.isMaximized());
        const QPoint before = dlg.pos();
        drag(&dlg, QPoint(150, 100), QPoint(40, 40));
        QCOMPARE(dlg.pos(), before);
    }

    void frameHasNoCaptionOrBorder()
    {
        CBeautifulFrame frame;
        QVERIFY(frame.windowFlags() & Qt::FramelessWindowHint);
        frame.setGeometry(10, 10, 300, 200);
        frame.setMask(QRegion(0, 0, 10, 10));
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.resize(320, 220);
        QTRY_COMPARE(frame.size(), QSize(320, 220));
        QVERIFY(frame.mask().isEmpty());
        QCOMPARE(frame.frameGeometry(), frame.geometry());
    }
};

QTEST_MAIN(TestCoolDialog)
#include "tst_cooldialog.moc"
