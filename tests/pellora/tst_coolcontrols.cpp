#include "focuscue.h"
#include "skintest.h"

#include <pellora/colorref.h>
#include <pellora/controlbutton.h>
#include <pellora/coolbutton.h>
#include <pellora/coolcombobox.h>
#include <pellora/cooledit.h>
#include <pellora/painter.h>

#include <QAbstractItemView>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPainter>
#include <QSignalSpy>
#include <QStringListModel>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace Pellora;

using SkinTest::hover;
using SkinTest::sameColor;

namespace {

void sendEvent(QWidget* w, QEvent::Type type)
{
    QEvent e(type);
    QApplication::sendEvent(w, &e);
}

// How the focus reaches a button in the focus-ring test.
enum class FocusBy { Tab, Backtab, Mouse, Program };

// The pixels of a rectangle's border.
QList<QPoint> outline(const QRect& r)
{
    QList<QPoint> points;
    for (int x = r.left(); x <= r.right(); ++x)
        points << QPoint(x, r.top()) << QPoint(x, r.bottom());
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        points << QPoint(r.left(), y) << QPoint(r.right(), y);
    return points;
}

} // namespace

Q_DECLARE_METATYPE(FocusBy)

class TestCoolControls : public QObject
{
    Q_OBJECT

private:
    SkinTest::Folder m_dir;
    QString bmp(const QString& name, QSize size, QColor color) { return m_dir.bmp(name, size, color); }
    void faces(CCoolButton& button)
    {
        button.SetNormalBitmap(bmp("nl.bmp", {6, 30}, Qt::red), bmp("nm.bmp", {8, 30}, Qt::red),
                               bmp("nr.bmp", {6, 30}, Qt::red));
        button.SetHoverBitmap(bmp("hl.bmp", {6, 30}, Qt::green), bmp("hm.bmp", {8, 30}, Qt::green),
                              bmp("hr.bmp", {6, 30}, Qt::green));
        button.SetPressBitmap(bmp("pl.bmp", {6, 30}, Qt::blue), bmp("pm.bmp", {8, 30}, Qt::blue),
                              bmp("pr.bmp", {6, 30}, Qt::blue));
    }
    static QRgb faceAt(CCoolButton& button) { return button.grab().toImage().pixel(3, 3); }

private slots:
    void buttonShowsHoverAndPressedFaces()
    {
        CCoolButton button(QStringLiteral("确定"));
        button.resize(90, 30);
        faces(button);
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(sameColor(faceAt(button), Qt::red));
        hover(&button, QPoint(40, 15));
        QVERIFY(button.IsHover());
        QVERIFY(sameColor(faceAt(button), Qt::green));
        button.setDown(true);
        QVERIFY(sameColor(faceAt(button), Qt::blue));
        button.setDown(false);
        sendEvent(&button, QEvent::Leave);
        QVERIFY(!button.IsHover());
        QVERIFY(sameColor(faceAt(button), Qt::red));
    }

    void buttonMiddleWiderThanItsSpanShowsTheBackColor()
    {
        CCoolButton button(QStringLiteral("OK"));
        button.resize(40, 30);
        button.SetNormalBitmap(bmp("wl.bmp", {4, 30}, Qt::red), bmp("wm.bmp", {31, 30}, Qt::green),
                               bmp("wr.bmp", {4, 30}, Qt::red));
        const QImage image = button.grab().toImage();
        QVERIFY(sameColor(image.pixel(5, 2), QColor(242, 242, 242)));
        QVERIFY(sameColor(image.pixel(1, 2), Qt::red));
        button.SetBackColor(MakeColorRef(0, 0, 128));
        QVERIFY(sameColor(button.grab().toImage().pixel(5, 2), QColor(0, 0, 128)));
    }

    void buttonWithoutPicturesStillWorks()
    {
        CCoolButton button(QStringLiteral("取消"));
        button.resize(80, 28);
        SkinTest::LoggedWarnings log;
        button.SetNormalBitmap(QString(), m_dir.path() + QLatin1Char('/'), QStringLiteral("/missing.bmp"));
        // The folder and the missing file are told; no picture asked for is not.
        const QStringList warnings = log.in(QStringLiteral("lorvane.skin"));
        QCOMPARE(warnings.size(), 2);
        QVERIFY(warnings.at(1).contains(QStringLiteral("/missing.bmp")));
        QSignalSpy clicked(&button, &QPushButton::clicked);
        QTest::mouseClick(&button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QVERIFY(sameColor(button.grab().toImage().pixel(3, 3), QColor(242, 242, 242)));
    }

    void editKeepsItsMinimumHeight()
    {
        QWidget parent;
        auto* edit = new CCoolEdit(&parent);
        edit->setGeometry(0, 0, 200, 20);
        QCOMPARE(edit->height(), 38);
        edit->SetMinHeight(20);
        QCOMPARE(edit->height(), 38); // applied at the next size change
        edit->resize(200, 20);
        QCOMPARE(edit->height(), 20);
        edit->resize(200, 10);
        QCOMPARE(edit->height(), 20);
    }

    void editTextStaysVisibleInsideTheBorder_data()
    {
        QTest::addColumn<int>("height");
        QTest::newRow("tall") << 60;
        QTest::newRow("minimum") << 38;
        QTest::newRow("lowered minimum") << 20;
    }
    void editTextStaysVisibleInsideTheBorder()
    {
        QFETCH(int, height);
        CCoolEdit edit;
        edit.SetMinHeight(20);
        edit.show();
        edit.resize(200, height);
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
        const QRect text = edit.TextRect();
        QCOMPARE(text.left(), 12);
        QCOMPARE(edit.width() - text.right() - 1, 12);
        QVERIFY(text.height() >= edit.fontMetrics().height());
        QVERIFY(text.top() <= 12);
    }

    void editDrawsItsBorderFromTheSkin()
    {
        CCoolEdit edit;
        edit.resize(200, 40);
        edit.SetBackgroundBitmap(bmp("el.bmp", {12, 32}, Qt::red), bmp("em.bmp", {8, 32}, Qt::green),
                                 bmp("er.bmp", {12, 32}, Qt::red));
        edit.SetBackColor(MakeColorRef(0, 0, 255));
        edit.setText(QStringLiteral("www"));
        const QImage image = edit.grab().toImage();
        QVERIFY(sameColor(image.pixel(2, 20), Qt::red));
        QVERIFY(sameColor(image.pixel(100, 2), Qt::green));
        QVERIFY(sameColor(image.pixel(195, 38), Qt::red));
        // The text area is the edit's own white.
        QVERIFY(sameColor(image.pixel(150, 20), Qt::white));
        edit.SetBorderWidth(4);
        QCOMPARE(edit.TextRect().left(), 4);
    }

    void enterIsReportedAndInsertsNothing_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("toField");
        QTest::newRow("return on the box") << int(Qt::Key_Return) << false;
        QTest::newRow("keypad enter on the box") << int(Qt::Key_Enter) << false;
        QTest::newRow("return on the field") << int(Qt::Key_Return) << true;
    }
    void enterIsReportedAndInsertsNothing()
    {
        QFETCH(int, key);
        QFETCH(bool, toField);
        CCoolComoBox combo;
        combo.resize(300, 32);
        QSignalSpy entered(&combo, &CCoolComoBox::addressEntered);
        QSignalSpy edited(&combo, &QComboBox::currentTextChanged);
        combo.setEditText(QStringLiteral("www.example.com"));
        QWidget* target = toField ? static_cast<QWidget*>(combo.lineEdit()) : &combo;
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(entered.count(), 1);
        QCOMPARE(combo.count(), 0);
        QCOMPARE(combo.currentText(), QStringLiteral("www.example.com"));
        QTest::keyClick(target, Qt::Key_A);
        QCOMPARE(entered.count(), 1);
    }

    void comboLayout()
    {
        QWidget window;
        window.resize(500, 100);
        auto& combo = *new CCoolComoBox(&window);
        QCOMPARE(combo.height(), 32);
        combo.resize(300, 32);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(combo.GetEditRect(), QRect(10, 12, 261, 13));
        QCOMPARE(combo.GetPushButtonRect(), QRect(272, 7, 22, 18));
        QTRY_COMPARE(combo.lineEdit()->geometry(), combo.GetEditRect());
        combo.SetComboHeight(40);
        combo.resize(420, 40);
        QTRY_COMPARE(combo.lineEdit()->geometry(), QRect(10, 12, 381, 21));
        QVERIFY(!combo.mask().contains(QPoint(0, 0)));
        QVERIFY(combo.mask().contains(QPoint(200, 20)));
        combo.SetFontSize(12);
        QCOMPARE(combo.font().pointSize(), 12);
    }

    void dropButtonOfAnEmptyBoxOpensNothing()
    {
        CCoolComoBox combo;
        combo.resize(300, 32);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        const QPoint button = combo.GetPushButtonRect().center();
        QTest::mousePress(&combo, Qt::LeftButton, Qt::NoModifier, button);
        QVERIFY(combo.IsPressed());
        QVERIFY(!combo.view()->isVisible());
        QTest::mouseRelease(&combo, Qt::LeftButton, Qt::NoModifier, button);
        QVERIFY(!combo.IsPressed());
    }

    void dropButtonOpensTheList()
    {
        CCoolComoBox combo;
        combo.addItems({QStringLiteral("http://a.example/"), QStringLiteral("http://b.example/")});
        combo.resize(300, 32);
        combo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&combo));
        QTest::mousePress(&combo, Qt::LeftButton, Qt::NoModifier, combo.GetPushButtonRect().center());
        QTRY_VERIFY(combo.view()->isVisible());
        combo.hidePopup();
        QTRY_VERIFY(!combo.view()->isVisible());
        QVERIFY(!combo.IsPressed());
    }

    void pushButtonPictures()
    {
        CCoolComoBox combo;
        combo.resize(300, 32);
        QCOMPARE(combo.SetPushButtonBitmap(bmp("bn.bmp", {22, 18}, Qt::green), QStringLiteral("/missing.bmp")), 0);
        QCOMPARE(combo.SetPushButtonBitmap(bmp("bn.bmp", {22, 18}, Qt::green), bmp("bp.bmp", {22, 18}, Qt::red)), 1);
        QVERIFY(sameColor(combo.grab().toImage().pixel(combo.GetPushButtonRect().center()), Qt::green));
        combo.SetBackColor(MakeColorRef(0, 0, 255));
        QVERIFY(sameColor(combo.grab().toImage().pixel(3, 16), Qt::blue));
    }

    void listRows_data()
    {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("fill");
        QTest::newRow("selected row") << true << true << QColor(231, 241, 245);
        QTest::newRow("other row") << true << false << QColor(Qt::white);
        QTest::newRow("disabled box") << false << false << QColor(192, 192, 192);
    }
    void listRows()
    {
        QFETCH(bool, enabled);
        QFETCH(bool, selected);
        QFETCH(QColor, fill);
        CCoolComoBox combo;
        combo.addItem(QStringLiteral("http://kids.example/"));
        QAbstractItemDelegate* delegate = combo.itemDelegate();
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 200, 20);
        option.state = enabled ? QStyle::State_Enabled : QStyle::State_None;
        if (selected)
            option.state |= QStyle::State_Selected;
        QPalette pal;
        pal.setColor(QPalette::Base, Qt::white);
        option.palette = pal;
        option.font = combo.font();
        option.fontMetrics = QFontMetrics(option.font);
        const QModelIndex index = combo.model()->index(0, 0);
        QCOMPARE(delegate->sizeHint(option, index).height(), 20);
        QImage image(200, 20, QImage::Format_RGB32);
        image.fill(Qt::black);
        QPainter p(&image);
        delegate->paint(&p, option, index);
        p.end();
        QVERIFY(sameColor(image.pixel(190, 10), fill, 0));
        if (selected) {
            QVERIFY(sameColor(image.pixel(190, 0), QColor(107, 141, 162), 0));
            bool red = false;
            for (int x = 0; x < 150 && !red; ++x)
                for (int y = 0; y < 20 && !red; ++y)
                    red = qRed(image.pixel(x, y)) > 200 && qGreen(image.pixel(x, y)) < 80;
            QVERIFY(red);
        }
    }

    void controlButtonShapes_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("nearCorner");
        QTest::newRow("rounded rectangle") << 0 << true;
        QTest::newRow("ellipse") << 1 << false;
        QTest::newRow("diamond") << 2 << false;
        QTest::newRow("hexagon") << 3 << false;
        QTest::newRow("octagon") << 4 << false;
        QTest::newRow("beyond: octagon") << 9 << false;
    }
    void controlButtonShapes()
    {
        QFETCH(int, style);
        QFETCH(bool, nearCorner);
        const QRegion r = CControlButton::ShapeRegion(QRect(0, 0, 100, 40), style);
        QVERIFY(!r.contains(QPoint(0, 0)));
        QCOMPARE(r.contains(QPoint(6, 3)), nearCorner);
        QVERIFY(r.contains(QPoint(5, 20)));
        QVERIFY(r.contains(QPoint(50, 20)));
    }

    void controlButtonMaskAndFaces()
    {
        QImage mask(20, 10, QImage::Format_RGB32);
        mask.fill(Qt::white);
        for (int x = 5; x < 15; ++x)
            for (int y = 0; y < 10; ++y)
                mask.setPixel(x, y, qRgb(0, 0, 0));
        CControlButton button;
        button.resize(20, 10);
        {
            // A mask that cannot be read is told and leaves the shape style's outline.
            SkinTest::LoggedWarnings log;
            button.SetMaskBitmap(m_dir.path() + QStringLiteral("/nomask.bmp"), MakeColorRef(255, 255, 255));
            button.SetRgnMask(true);
            QCOMPARE(log.in(QStringLiteral("lorvane.skin")).size(), 1);
            QVERIFY(button.ButtonRegion(button.size()).contains(QPoint(1, 1)));
            button.SetRgnMask(false);
        }
        button.SetMaskBitmap(SkinTest::writeImage(m_dir.path(), QStringLiteral("mask.bmp"), mask),
                             MakeColorRef(255, 255, 255));
        QVERIFY(button.ButtonRegion(button.size()).contains(QPoint(1, 1))); // mask not in use yet
        button.SetRgnMask(true);
        QVERIFY(!button.ButtonRegion(button.size()).contains(QPoint(1, 1)));
        QVERIFY(button.ButtonRegion(button.size()).contains(QPoint(10, 5)));
        QVERIFY(!button.mask().contains(QPoint(1, 1)));

        button.SetBitmap(bmp("cn.bmp", {20, 10}, Qt::red), bmp("ch.bmp", {20, 10}, Qt::green),
                         bmp("cp.bmp", {20, 10}, Qt::blue), bmp("cd.bmp", {20, 10}, Qt::gray));
        button.DrawInsideBorder(false);
        QVERIFY(sameColor(button.grab().toImage().pixel(10, 1), Qt::red));
        sendEvent(&button, QEvent::Enter);
        QVERIFY(button.IsHover());
        QVERIFY(sameColor(button.grab().toImage().pixel(10, 1), Qt::green));
        button.setDown(true);
        QVERIFY(sameColor(button.grab().toImage().pixel(10, 1), Qt::blue));
        button.setDown(false);
        button.setEnabled(false);
        QVERIFY(sameColor(button.grab().toImage().pixel(10, 1), Qt::gray));
        QCOMPARE(button.cursor().shape(), Qt::PointingHandCursor);
    }

    void focusRingShowsOnlyForTheKeyboard_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FocusBy>("by");
        QTest::addColumn<bool>("ring");
        for (const char* kind : {"skinned button", "button without pictures", "shaped button"}) {
            QTest::addRow("%s, Tab", kind) << QString::fromLatin1(kind) << FocusBy::Tab << true;
            QTest::addRow("%s, Shift+Tab", kind) << QString::fromLatin1(kind) << FocusBy::Backtab << true;
            QTest::addRow("%s, click", kind) << QString::fromLatin1(kind) << FocusBy::Mouse << false;
            QTest::addRow("%s, program", kind) << QString::fromLatin1(kind) << FocusBy::Program << false;
        }
    }
    void focusRingShowsOnlyForTheKeyboard()
    {
        QFETCH(QString, kind);
        QFETCH(FocusBy, by);
        QFETCH(bool, ring);
        QWidget window;
        auto* before = new QLineEdit(&window);
        before->setGeometry(0, 0, 100, 24);
        QWidget* control = nullptr;
        std::function<QRect()> ringRect;
        std::function<bool()> cue;
        if (kind == "shaped button") {
            auto* b = new CControlButton(&window);
            b->setText(QStringLiteral("确定"));
            b->setGeometry(0, 30, 90, 30);
            ringRect = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        } else {
            auto* b = new CCoolButton(QStringLiteral("确定"), &window);
            b->setGeometry(0, 30, 90, 30);
            if (kind == "skinned button")
                faces(*b);
            ringRect = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        }
        auto* after = new QLineEdit(&window);
        after->setGeometry(0, 70, 100, 24);
        window.resize(120, 100);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());
        const QImage unfocused = control->grab().toImage();

        switch (by) {
        case FocusBy::Tab: QTest::keyClick(before, Qt::Key_Tab); break;
        case FocusBy::Backtab:
            after->setFocus();
            QTRY_VERIFY(after->hasFocus());
            QTest::keyClick(after, Qt::Key_Tab, Qt::ShiftModifier);
            break;
        case FocusBy::Mouse: control->setFocus(Qt::MouseFocusReason); break;
        case FocusBy::Program: control->setFocus(); break;
        }
        QTRY_VERIFY(control->hasFocus());
        QCOMPARE(cue(), ring);
        const QImage focused = control->grab().toImage();
        int changed = 0;
        int strayChanges = 0;
        const QRect r = ringRect();
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                if (focused.pixel(x, y) == unfocused.pixel(x, y))
                    continue;
                ++changed;
                strayChanges += !r.adjusted(-1, -1, 1, 1).contains(x, y) || r.adjusted(2, 2, -2, -2).contains(x, y);
            }
        }
        if (!ring) {
            QCOMPARE(changed, 0);
            return;
        }
        // A ring: most of its border changes, and nothing away from it does.
        QVERIFY(r.width() > 6 && r.height() > 6);
        QVERIFY(control->rect().contains(r));
        int onRing = 0;
        for (const QPoint& p : outline(r))
            onRing += focused.pixel(p) != unfocused.pixel(p);
        QVERIFY2(onRing * 10 >= outline(r).size() * 8, qPrintable(QString::number(onRing)));
        QCOMPARE(strayChanges, 0);

        // The ring goes with the focus.
        before->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!control->hasFocus());
        QVERIFY(!cue());
        QCOMPARE(control->grab().toImage(), unfocused);
    }

    void focusCueFollowsTheReason_data()
    {
        QTest::addColumn<bool>("before");
        QTest::addColumn<Qt::FocusReason>("reason");
        QTest::addColumn<bool>("shown");
        QTest::newRow("Tab") << false << Qt::TabFocusReason << true;
        QTest::newRow("Shift+Tab") << false << Qt::BacktabFocusReason << true;
        QTest::newRow("mnemonic") << false << Qt::ShortcutFocusReason << true;
        QTest::newRow("click after Tab") << true << Qt::MouseFocusReason << false;
        QTest::newRow("program after Tab") << true << Qt::OtherFocusReason << false;
        QTest::newRow("window back, was shown") << true << Qt::ActiveWindowFocusReason << true;
        QTest::newRow("window back, was not shown") << false << Qt::ActiveWindowFocusReason << false;
        QTest::newRow("menu closed, was shown") << true << Qt::PopupFocusReason << true;
    }
    void focusCueFollowsTheReason()
    {
        QFETCH(bool, before);
        QFETCH(Qt::FocusReason, reason);
        QFETCH(bool, shown);
        QCOMPARE(FocusCueAfterFocusIn(before, reason), shown);
    }

    void gradients_data()
    {
        QTest::addColumn<int>("direction");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("end");
        QTest::newRow("left to right") << int(CPainter::LeftToRight) << QPoint(0, 10) << QPoint(99, 10);
        QTest::newRow("top to bottom") << int(CPainter::TopToBottom) << QPoint(50, 0) << QPoint(50, 19);
        QTest::newRow("right to left") << int(CPainter::RightToLeft) << QPoint(99, 10) << QPoint(0, 10);
        QTest::newRow("bottom to top") << int(CPainter::BottomToTop) << QPoint(50, 19) << QPoint(50, 0);
    }
    void gradients()
    {
        QFETCH(int, direction);
        QFETCH(QPoint, start);
        QFETCH(QPoint, end);
        QImage image(100, 20, QImage::Format_RGB32);
        QPainter p(&image);
        CPainter::DrawGradientRect(&p, direction, image.rect(), MakeColorRef(255, 0, 0), MakeColorRef(0, 0, 255));
        p.end();
        QVERIFY(sameColor(image.pixel(start), Qt::red, 16));
        QVERIFY(sameColor(image.pixel(end), Qt::blue, 16));
    }
};

QTEST_MAIN(TestCoolControls)
#include "tst_coolcontrols.moc"
