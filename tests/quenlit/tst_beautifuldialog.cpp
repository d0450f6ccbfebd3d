#include <quenlit/beautifuldialog.h>

#include <QtTest>

using Quenlit::BeautifulDialogGeometry;
using Quenlit::CBeautifulDialog;
using Quenlit::LayoutBeautifulDialog;
using Quenlit::TitleButton;

Q_DECLARE_METATYPE(Quenlit::TitleButton)

namespace {

void sendMouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void press(QWidget* w, const QPoint& p) { sendMouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton); }
void moveTo(QWidget* w, const QPoint& p, bool held) { sendMouse(w, QEvent::MouseMove, p, held ? Qt::LeftButton : Qt::NoButton); }
void release(QWidget* w, const QPoint& p) { sendMouse(w, QEvent::MouseButtonRelease, p, Qt::NoButton); }

QRgb pixelAt(QWidget* w, const QPoint& p)
{
    return w->grab().toImage().pixel(p);
}

} // namespace

class TestBeautifulDialog : public QObject
{
    Q_OBJECT

private slots:
    void buttonBoxes_data()
    {
        QTest::addColumn<bool>("hasClose");
        QTest::addColumn<bool>("hasMax");
        QTest::addColumn<bool>("hasMin");
        QTest::addColumn<QRect>("closeBox");
        QTest::addColumn<QRect>("maxBox");
        QTest::addColumn<QRect>("minBox");
        // A 300-pixel wide window.
        QTest::newRow("only the close button, at W - 25")
            << true << false << false << QRect(275, 5, 16, 15) << QRect() << QRect();
        QTest::newRow("maximize left of close") << true << true << false << QRect(275, 5, 16, 15)
                                                << QRect(255, 5, 16, 15) << QRect();
        QTest::newRow("maximize alone takes the corner") << false << true << false << QRect() << QRect(275, 5, 16, 15)
                                                         << QRect();
        QTest::newRow("minimize alone takes the corner") << false << false << true << QRect() << QRect()
                                                         << QRect(275, 5, 16, 15);
        QTest::newRow("minimize left of close") << true << false << true << QRect(275, 5, 16, 15) << QRect()
                                                << QRect(255, 5, 16, 15);
        QTest::newRow("all three: minimize 40 pixels left of where it is alone")
            << true << true << true << QRect(275, 5, 16, 15) << QRect(255, 5, 16, 15) << QRect(235, 5, 16, 15);
    }
    void buttonBoxes()
    {
        QFETCH(bool, hasClose);
        QFETCH(bool, hasMax);
        QFETCH(bool, hasMin);
        QFETCH(QRect, closeBox);
        QFETCH(QRect, maxBox);
        QFETCH(QRect, minBox);
        const BeautifulDialogGeometry g = LayoutBeautifulDialog(QSize(300, 200), hasClose, hasMax, hasMin);
        QCOMPARE(g.closeBox, closeBox);
        QCOMPARE(g.maxBox, maxBox);
        QCOMPARE(g.minBox, minBox);
    }

    void hitAreas_data()
    {
        QTest::addColumn<QPoint>("point");
        QTest::addColumn<TitleButton>("button");
        // 300 x 200 with all three buttons.
        QTest::newRow("close hit area starts a pixel right of its box") << QPoint(275, 10) << TitleButton::None;
        QTest::newRow("close hit area left edge") << QPoint(276, 10) << TitleButton::Close;
        QTest::newRow("close hit area reaches a pixel past its box") << QPoint(291, 10) << TitleButton::Close;
        QTest::newRow("right of the close hit area") << QPoint(292, 10) << TitleButton::None;
        QTest::newRow("close top row") << QPoint(280, 5) << TitleButton::Close;
        QTest::newRow("above close") << QPoint(280, 4) << TitleButton::None;
        QTest::newRow("close bottom row") << QPoint(280, 19) << TitleButton::Close;
        QTest::newRow("below close") << QPoint(280, 20) << TitleButton::None;
        QTest::newRow("maximize box left edge") << QPoint(255, 5) << TitleButton::Maximize;
        QTest::newRow("maximize box far corner") << QPoint(270, 19) << TitleButton::Maximize;
        QTest::newRow("between maximize and close") << QPoint(272, 10) << TitleButton::None;
        QTest::newRow("minimize box") << QPoint(240, 12) << TitleButton::Minimize;
        QTest::newRow("caption") << QPoint(100, 12) << TitleButton::None;
        QTest::newRow("client") << QPoint(100, 100) << TitleButton::None;
    }
    void hitAreas()
    {
        QFETCH(QPoint, point);
        QFETCH(TitleButton, button);
        QCOMPARE(TitleButtonAt(LayoutBeautifulDialog(QSize(300, 200), true, true, true), point), button);
    }

    void buttonsThatAreOffDoNotReact()
    {
        const BeautifulDialogGeometry g = LayoutBeautifulDialog(QSize(300, 200), true, false, false);
        QCOMPARE(TitleButtonAt(g, QPoint(260, 10)), TitleButton::None);
        QCOMPARE(TitleButtonAt(g, QPoint(240, 10)), TitleButton::None);
    }

    void clientAreaAndTrimmedEdges()
    {
        const BeautifulDialogGeometry g = LayoutBeautifulDialog(QSize(400, 300), true, false, false);
        QCOMPARE(g.client, QRect(6, 25, 388, 270));
        QCOMPARE(g.windowArea, QRect(2, 1, 396, 298));
        QCOMPARE(g.titleBand, QRect(0, 0, 400, 29));
        QCOMPARE(g.icon, QRect(8, 6, 16, 16));
        QCOMPARE(g.caption.left(), 26);
        QCOMPARE(g.caption.right(), 400 - 67 - 1);
    }

    void dialogSizesByItsClientArea()
    {
        CBeautifulDialog dlg;
        dlg.SetClientSize(QSize(300, 120));
        QCOMPARE(dlg.ClientRect().size(), QSize(300, 120));
        QWidget child(&dlg);
        dlg.PlaceInClient(&child, QRect(10, 20, 30, 40));
        QCOMPARE(child.geometry(), QRect(16, 45, 30, 40));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.mask(), QRegion(QRect(2, 1, 308, 148)));
    }

    void closeActsOnReleaseNotOnPress()
    {
        CBeautifulDialog dlg;
        dlg.SetClientSize(QSize(300, 150));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint close = dlg.Geometry().closeHit.center();
        press(&dlg, close);
        QCOMPARE(dlg.PressedButton(), TitleButton::Close);
        QVERIFY(dlg.isVisible());
        release(&dlg, close);
        QTRY_VERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void releaseAwayFromThePressedButtonDoesNothing_data()
    {
        QTest::addColumn<QPoint>("releaseAt");
        QTest::newRow("on the caption") << QPoint(100, 12);
        QTest::newRow("in the client area") << QPoint(100, 100);
        QTest::newRow("on the close box's dead left column") << QPoint(285, 12);
    }
    void releaseAwayFromThePressedButtonDoesNothing()
    {
        QFETCH(QPoint, releaseAt);
        CBeautifulDialog dlg;
        dlg.resize(312, 200);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint close = dlg.Geometry().closeHit.center();
        press(&dlg, close);
        moveTo(&dlg, releaseAt, true);
        release(&dlg, releaseAt);
        // Waits on purpose: a close that should not come gets the chance to show.
        QTest::qWait(20);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.PressedButton(), TitleButton::None);
    }

    void hoverAndPressedLooks()
    {
        CBeautifulDialog dlg;
        dlg.SetTitleButtons(true, false, true);
        dlg.resize(312, 200);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const BeautifulDialogGeometry g = dlg.Geometry();
        const QPoint face = g.closeBox.topLeft() + QPoint(2, 2);
        QCOMPARE(QColor(pixelAt(&dlg, face)), QColor(229, 238, 243));

        moveTo(&dlg, g.closeHit.center(), false);
        QCOMPARE(dlg.HoverButton(), TitleButton::Close);
        QCOMPARE(QColor(pixelAt(&dlg, face)), QColor(Qt::white));

        press(&dlg, g.closeHit.center());
        const QImage pressed = dlg.grab().toImage();
        QCOMPARE(QColor(pressed.pixel(face)), QColor(255, 255, 197));
        // The cross turns red while pressed.
        QCOMPARE(QColor(pressed.pixel(g.closeBox.center())), QColor(255, 0, 0));

        moveTo(&dlg, QPoint(100, 100), true);
        QCOMPARE(QColor(pixelAt(&dlg, face)), QColor(229, 238, 243));
        release(&dlg, QPoint(100, 100));
        QVERIFY(dlg.isVisible());
    }

    void maximizeButtonTogglesAndMaximizedDialogStaysPut()
    {
        CBeautifulDialog dlg;
        dlg.SetTitleButtons(true, true, false);
        dlg.resize(312, 200);
        dlg.move(40, 30);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));

        // Dragging by the band moves a normal dialog.
        const QPoint before = dlg.pos();
        press(&dlg, QPoint(100, 12));
        QVERIFY(dlg.IsDragging());
        moveTo(&dlg, QPoint(130, 32), true);
        release(&dlg, QPoint(130, 32));
        QTRY_COMPARE(dlg.pos(), before + QPoint(30, 20));

        QPoint maxButton = dlg.Geometry().maxBox.center();
        press(&dlg, maxButton);
        release(&dlg, maxButton);
        QTRY_VERIFY(dlg.isMaximized());

        const QPoint maximizedAt = dlg.pos();
        press(&dlg, QPoint(100, 12));
        QVERIFY(!dlg.IsDragging());
        moveTo(&dlg, QPoint(160, 60), true);
        release(&dlg, QPoint(160, 60));
        QCOMPARE(dlg.pos(), maximizedAt);

        maxButton = dlg.Geometry().maxBox.center();
        press(&dlg, maxButton);
        release(&dlg, maxButton);
        QTRY_VERIFY(!dlg.isMaximized());
    }

    void onlyTheBandDrags()
    {
        CBeautifulDialog dlg;
        dlg.resize(312, 200);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        press(&dlg, QPoint(100, 100));
        QVERIFY(!dlg.IsDragging());
        release(&dlg, QPoint(100, 100));
    }

    void screenPointHitTests()
    {
        CBeautifulDialog dlg;
        dlg.SetTitleButtons(true, true, true);
        dlg.resize(312, 200);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const BeautifulDialogGeometry g = dlg.Geometry();
        QVERIFY(dlg.isMouseOnCloseButton(dlg.mapToGlobal(g.closeHit.center())));
        QVERIFY(dlg.isMouseOnMaxButton(dlg.mapToGlobal(g.maxBox.center())));
        QVERIFY(dlg.isMouseOnMinButton(dlg.mapToGlobal(g.minBox.center())));
        QVERIFY(!dlg.isMouseOnCloseButton(dlg.mapToGlobal(g.maxBox.center())));
    }

    void captionEndsInEllipsisWhenTooLong()
    {
        CBeautifulDialog dlg;
        dlg.resize(200, 120);
        dlg.SetWindowTextA(QStringLiteral("家长管理控制面板家长管理控制面板家长管理控制面板"));
        const QString shown = dlg.DisplayedCaption();
        QVERIFY(shown.endsWith(QChar(0x2026)));
        QVERIFY(QFontMetrics(dlg.CaptionFont()).horizontalAdvance(shown) <= dlg.Geometry().caption.width());

        dlg.resize(600, 120);
        QCOMPARE(dlg.DisplayedCaption(), dlg.windowTitle());
    }

    void setIconKeepsTheBigOneForTheBand()
    {
        CBeautifulDialog dlg;
        QPixmap red(16, 16);
        red.fill(Qt::red);
        QPixmap blue(16, 16);
        blue.fill(Qt::blue);
        dlg.SetIcon(QIcon(red), true);
        const QIcon previous = dlg.SetIcon(QIcon(blue), false);
        QCOMPARE(previous.pixmap(16).toImage().pixel(0, 0), QColor(Qt::red).rgb());
        QCOMPARE(dlg.m_hIcon.pixmap(16).toImage().pixel(0, 0), QColor(Qt::red).rgb());
        dlg.resize(300, 100);
        QCOMPARE(QColor(dlg.grab().toImage().pixel(10, 8)), QColor(Qt::red));
    }
};

QTEST_MAIN(TestBeautifulDialog)
#include "tst_beautifuldialog.moc"
