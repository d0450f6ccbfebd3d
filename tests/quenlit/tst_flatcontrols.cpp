#include <focuscue.h>
#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/cooltabbutton.h>
#include <quenlit/flatcheckbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>
#include <quenlit/radiobox.h>
#include <quenlit/separaterstatic.h>

#include <QDialog>
#include <QLineEdit>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Quenlit;

namespace {

// A page-button row like the control panel's; buttons are named by their place.
struct TabRow {
    QWidget parent;
    QList<CCoolTabButton*> buttons;
    explicit TabRow(int count)
    {
        for (int i = 0; i < count; ++i) {
            auto* b = new CCoolTabButton(&parent);
            b->setText(QString::number(i));
            b->setGeometry(i * 88, 0, 88, 80);
            buttons.append(b);
        }
        parent.resize(count * 88, 80);
        parent.show();
    }
    QList<int> checked() const
    {
        QList<int> places;
        for (int i = 0; i < buttons.size(); ++i)
            if (buttons[i]->IsChecked())
                places.append(i);
        return places;
    }
};

bool isWhite(QRgb c) { return QColor(c) == QColor(Qt::white); }

// How the focus reaches a control in the focus-ring test.
enum class FocusBy { Tab, Backtab, Mouse, Program };

// A control of each kind between two edits, as on a page, and what it tells of its ring.
struct FocusRow {
    QWidget window;
    QLineEdit* before;
    QWidget* control = nullptr;
    QLineEdit* after;
    std::function<QRect()> ring;
    std::function<bool()> cue;
    explicit FocusRow(const QString& kind)
    {
        before = new QLineEdit(&window);
        before->setGeometry(0, 0, 100, 24);
        if (kind == "button") {
            auto* b = new CCoolButton(QStringLiteral("确定"), &window);
            b->setGeometry(0, 30, 84, 28);
            ring = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        } else if (kind == "check box") {
            auto* b = new CFlatCheckBox(QStringLiteral("仅访问儿童网站"), &window);
            b->setGeometry(0, 30, 200, 20);
            ring = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        } else if (kind == "radio button") {
            auto* b = new CRadioBox(QStringLiteral("限制"), &window);
            b->setGeometry(0, 30, 80, 20);
            ring = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        } else {
            auto* b = new CCoolTabButton(&window);
            b->setText(QStringLiteral("常规控制"));
            b->setGeometry(0, 30, 88, 80);
            ring = [b] { return b->FocusRingRect(); };
            cue = [b] { return b->HasFocusCue(); };
            control = b;
        }
        after = new QLineEdit(&window);
        after->setGeometry(0, 120, 100, 24);
        window.resize(220, 150);
    }
};

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

QList<QPoint> changedPixels(const QImage& a, const QImage& b)
{
    QList<QPoint> changed;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                changed << QPoint(x, y);
    return changed;
}

} // namespace

Q_DECLARE_METATYPE(FocusBy)

class TestFlatControls : public QObject
{
    Q_OBJECT

private slots:
    void pageButtonsKeepExactlyOneChecked_data()
    {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("checked");
        QTest::newRow("first click") << QList<int>{1} << 1;
        QTest::newRow("another button takes over") << QList<int>{0, 2} << 2;
        QTest::newRow("clicking the checked one keeps it") << QList<int>{2, 2} << 2;
        QTest::newRow("back and forth") << QList<int>{0, 1, 0} << 0;
    }
    void pageButtonsKeepExactlyOneChecked()
    {
        QFETCH(QList<int>, clicks);
        QFETCH(int, checked);
        TabRow row(3);
        row.buttons[0]->SetCheck();
        for (int place : clicks)
            QTest::mouseClick(row.buttons[place], Qt::LeftButton);
        QCOMPARE(row.checked(), QList<int>{checked});
        QCOMPARE(CCoolTabButton::CheckedButton(), row.buttons[checked]);
    }

    void theCheckedPageButtonIsOneForTheWholeClass()
    {
        // Two rows, as two panels one after the other: checking in the second unchecks the first.
        TabRow first(2);
        auto second = std::make_unique<TabRow>(2);
        first.buttons[1]->SetCheck();
        QTest::mouseClick(second->buttons[1], Qt::LeftButton);
        QCOMPARE(first.checked(), QList<int>{});
        QCOMPARE(second->checked(), QList<int>{1});
        // A checked button that goes leaves none checked, not a dangling one.
        second.reset();
        QCOMPARE(CCoolTabButton::CheckedButton(), nullptr);
        QCOMPARE(first.checked(), QList<int>{});
    }

    void pageButtonIsCheckedOnPressBeforeRelease()
    {
        TabRow row(2);
        row.buttons[0]->SetCheck();
        CCoolTabButton* b = row.buttons[1];
        bool checkedWhenPressed = false;
        connect(b, &QAbstractButton::pressed, b, [&] { checkedWhenPressed = b->IsChecked(); });
        QTest::mousePress(b, Qt::LeftButton);
        QVERIFY(checkedWhenPressed);
        QCOMPARE(row.checked(), QList<int>{1});
        QTest::mouseRelease(b, Qt::LeftButton);
    }

    void pageButtonSpaceKeyChecksIt()
    {
        TabRow row(2);
        row.buttons[0]->SetCheck();
        QTest::keyClick(row.buttons[1], Qt::Key_Space);
        QCOMPARE(row.checked(), QList<int>{1});
    }

    void onlyTheCheckedPageButtonShowsItsWhiteFrame()
    {
        TabRow row(2);
        row.buttons[0]->SetCheck();
        const QPoint inside(12, 40);
        QVERIFY(isWhite(row.buttons[0]->grab().toImage().pixel(inside)));
        QVERIFY(!isWhite(row.buttons[1]->grab().toImage().pixel(inside)));
        row.buttons[1]->SetCheck();
        QVERIFY(!isWhite(row.buttons[0]->grab().toImage().pixel(inside)));
        QVERIFY(isWhite(row.buttons[1]->grab().toImage().pixel(inside)));
    }

    void pageButtonLayout()
    {
        const TabButtonLayout l = LayoutTabButton(QSize(88, 80), QSize(36, 36), 16);
        QCOMPARE(l.icon, QRect(26, 8, 36, 36));
        QVERIFY(l.text.top() >= l.icon.bottom());
        QVERIFY(l.text.bottom() < 80);
        QCOMPARE(l.divisionX, 86);
        // A button too short for icon and text still keeps the text inside.
        const TabButtonLayout small = LayoutTabButton(QSize(60, 40), QSize(36, 36), 16);
        QVERIFY(small.text.bottom() < 40);
    }

    void dialogGroups_data()
    {
        QTest::addColumn<QList<bool>>("starts");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("end");
        QTest::newRow("no marks: one group") << QList<bool>{false, false, false} << 1 << 0 << 3;
        QTest::newRow("group runs to the next mark") << QList<bool>{true, false, true, false} << 1 << 0 << 2;
        QTest::newRow("second group") << QList<bool>{true, false, true, false} << 3 << 2 << 4;
        QTest::newRow("a mark on the control itself") << QList<bool>{true, false, true, false} << 2 << 2 << 4;
        QTest::newRow("out of range") << QList<bool>{true} << 5 << 0 << 0;
    }
    void dialogGroups()
    {
        QFETCH(QList<bool>, starts);
        QFETCH(int, index);
        QFETCH(int, first);
        QFETCH(int, end);
        QCOMPARE(DialogGroupRange(starts, index), qMakePair(first, end));
    }

    void checkingARadioClearsOnlyItsGroup()
    {
        QWidget parent;
        auto* a1 = new CRadioBox(QStringLiteral("限制"), &parent);
        auto* a2 = new CRadioBox(QStringLiteral("不限制"), &parent);
        auto* edit = new CFlatEdit(&parent);
        auto* b1 = new CRadioBox(QStringLiteral("甲"), &parent);
        auto* b2 = new CRadioBox(QStringLiteral("乙"), &parent);
        CRadioBox::SetGroupStart(a1);
        CRadioBox::SetGroupStart(edit);
        a1->setGeometry(0, 0, 80, 20);
        a2->setGeometry(0, 20, 80, 20);
        b1->setGeometry(0, 60, 80, 20);
        b2->setGeometry(0, 80, 80, 20);
        parent.show();

        a1->SetCheck(1);
        b1->SetCheck(1);
        QSignalSpy a1Changes(a1, &CRadioBox::CheckChanged);
        QSignalSpy a2Changes(a2, &CRadioBox::CheckChanged);
        QSignalSpy b1Changes(b1, &CRadioBox::CheckChanged);

        QTest::mouseClick(a2, Qt::LeftButton);
        QCOMPARE(a2->GetCheck(), 1);
        QCOMPARE(a1->GetCheck(), 0);
        QCOMPARE(b1->GetCheck(), 1);
        QCOMPARE(b2->GetCheck(), 0);
        // Every change is told, and only changes.
        QCOMPARE(a1Changes.count(), 1);
        QCOMPARE(a1Changes.first().first().toInt(), 0);
        QCOMPARE(a2Changes.count(), 1);
        QCOMPARE(a2Changes.first().first().toInt(), 1);
        QCOMPARE(b1Changes.count(), 0);

        QTest::mouseClick(a2, Qt::LeftButton);
        QCOMPARE(a2->GetCheck(), 1);
        QCOMPARE(a2Changes.count(), 1);

        QCOMPARE(b2->SetCheck(1), 0);
        QCOMPARE(b1->GetCheck(), 0);
        QCOMPARE(a2->GetCheck(), 1);
    }

    void parentFollowsTheRadios()
    {
        // The way a page enables its minutes edit only while "limit" is checked.
        QWidget parent;
        auto* on = new CRadioBox(QStringLiteral("限制"), &parent);
        auto* off = new CRadioBox(QStringLiteral("不限制"), &parent);
        auto* minutes = new CFlatEdit(&parent);
        CRadioBox::SetGroupStart(minutes);
        on->setGeometry(0, 0, 80, 20);
        off->setGeometry(0, 20, 80, 20);
        for (CRadioBox* r : {on, off})
            connect(r, &CRadioBox::CheckChanged, &parent, [&] { minutes->setEnabled(on->GetCheck()); });
        parent.show();
        on->SetCheck(1);
        QVERIFY(minutes->isEnabled());
        QTest::mouseClick(off, Qt::LeftButton);
        QVERIFY(!minutes->isEnabled());
        QTest::mouseClick(on, Qt::LeftButton);
        QVERIFY(minutes->isEnabled());
    }

    void checkBoxTogglesOnPress()
    {
        QWidget parent;
        auto* box = new CFlatCheckBox(QStringLiteral("仅访问儿童网站"), &parent);
        box->setGeometry(0, 0, 200, 20);
        parent.show();
        QSignalSpy changes(box, &CFlatCheckBox::CheckChanged);
        QSignalSpy clicks(box, &QAbstractButton::clicked);

        QTest::mousePress(box, Qt::LeftButton);
        QCOMPARE(box->GetCheck(), 1);
        QCOMPARE(clicks.count(), 0);
        QTest::mouseRelease(box, Qt::LeftButton);
        QCOMPARE(clicks.count(), 1);

        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->GetCheck(), 0);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->GetCheck(), 1);
        QCOMPARE(changes.count(), 3);

        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(box->GetCheck(), 0);

        box->SetCheck(0);
        QCOMPARE(changes.count(), 4);
        box->SetCheck(5);
        QCOMPARE(box->GetCheck(), 1);

        box->setEnabled(false);
        QTest::mouseClick(box, Qt::LeftButton);
        QCOMPARE(box->GetCheck(), 1);
    }

    void checkMarkShowsOnlyWhenChecked()
    {
        CFlatCheckBox box(QStringLiteral("x"));
        box.resize(100, 20);
        const QRect square = LayoutFlatCheckBox(box.size()).box;
        auto markPixels = [&] {
            const QImage img = box.grab().toImage();
            int n = 0;
            for (int y = square.top() + 2; y < square.bottom() - 1; ++y)
                for (int x = square.left() + 2; x < square.right() - 1; ++x)
                    n += !isWhite(img.pixel(x, y));
            return n;
        };
        QCOMPARE(markPixels(), 0);
        box.SetCheck(1);
        QVERIFY(markPixels() > 5);
    }

    void groupBoxSettersChain()
    {
        CCoolGroupBox box;
        box.SetText(QStringLiteral("密码设置区:"))
            .SetBorderColor(QColor(87, 117, 159))
            .SetCatptionTextColor(Qt::darkBlue)
            .SetFontBold(true)
            .SetFontSize(12)
            .SetAlignment(CoolGroupBoxAlign::Center)
            .SetBackgroundColor(QColor(227, 239, 243))
            .SetXPGroupStyle(CoolGroupBoxStyle::Frame);
        QCOMPARE(box.Text(), QStringLiteral("密码设置区:"));
        QCOMPARE(box.BorderColor(), QColor(87, 117, 159));
        QCOMPARE(box.CaptionTextColor(), QColor(Qt::darkBlue));
        QVERIFY(box.CaptionFont().bold());
        QCOMPARE(box.CaptionFont().pointSize(), 12);
        QCOMPARE(box.Alignment(), CoolGroupBoxAlign::Center);
        QCOMPARE(box.BackgroundColor(), QColor(227, 239, 243));
        QVERIFY(box.testAttribute(Qt::WA_TransparentForMouseEvents));
    }

    void groupBoxLayout_data()
    {
        QTest::addColumn<CoolGroupBoxAlign>("align");
        QTest::addColumn<int>("captionLeft");
        QTest::newRow("left") << CoolGroupBoxAlign::Left << 10;
        QTest::newRow("centre") << CoolGroupBoxAlign::Center << (300 - 88) / 2;
        QTest::newRow("right") << CoolGroupBoxAlign::Right << 300 - 10 - 88;
    }
    void groupBoxLayout()
    {
        QFETCH(CoolGroupBoxAlign, align);
        QFETCH(int, captionLeft);
        const GroupBoxLayout l = LayoutGroupBox(QSize(300, 100), QSize(80, 16), align, CoolGroupBoxStyle::Frame);
        QCOMPARE(l.caption, QRect(captionLeft, 0, 88, 20));
        // The frame's top line runs through the middle of the caption box.
        QCOMPARE(l.frame, QRect(0, 10, 300, 90));
    }

    void groupBoxWithoutCaptionFramesEverything()
    {
        const GroupBoxLayout l = LayoutGroupBox(QSize(300, 100), QSize(), CoolGroupBoxAlign::Left,
                                                CoolGroupBoxStyle::Frame);
        QCOMPARE(l.frame, QRect(0, 0, 300, 100));
        QVERIFY(l.caption.isEmpty());
        const GroupBoxLayout narrow = LayoutGroupBox(QSize(60, 50), QSize(400, 16), CoolGroupBoxAlign::Left,
                                                     CoolGroupBoxStyle::Frame);
        QVERIFY(narrow.caption.right() < 60);
    }

    void groupBoxPaintsItsInsideAndBorder()
    {
        CCoolGroupBox box;
        box.SetText(QStringLiteral("区")).SetBorderColor(QColor(87, 117, 159));
        box.resize(200, 100);
        const QImage img = box.grab().toImage();
        QCOMPARE(QColor(img.pixel(100, 60)), CCoolGroupBox::InsideColor());
        QCOMPARE(QColor(img.pixel(100, 99)), QColor(87, 117, 159));
    }

    void editTextIsRed()
    {
        CFlatEdit edit;
        edit.resize(120, 24);
        edit.setText(QStringLiteral("██████"));
        const QImage img = edit.grab().toImage();
        int red = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                red += QColor(img.pixel(x, y)) == QColor(255, 0, 0);
        QVERIFY(red > 20);
        // Its flat border replaces the sunken frame.
        QVERIFY(!edit.hasFrame());
        QCOMPARE(QColor(img.pixel(60, 0)), QColor(127, 157, 185));
    }

    void labelCutsLongTextWithEllipsis()
    {
        CLabel label(QStringLiteral("常规设置:常规设置:常规设置:常规设置:"));
        label.SetFont(QFont(QString(), 20)).SetFontBold(true).SetTextColor(QColor(81, 81, 81));
        QCOMPARE(label.LabelFont().weight(), QFont::Bold);
        label.resize(80, 30);
        QVERIFY(label.DisplayedText().endsWith(QChar(0x2026)));
        label.resize(label.sizeHint());
        QCOMPARE(label.DisplayedText(), label.text());
        label.SetFontBold(false);
        QCOMPARE(label.LabelFont().weight(), QFont::Normal);
    }

    void labelBorderAndBackground()
    {
        CLabel label(QStringLiteral("a"));
        label.resize(60, 20);
        label.SetBackColor(QColor(10, 200, 10));
        QCOMPARE(QColor(label.grab().toImage().pixel(0, 0)), QColor(10, 200, 10));
        label.EnableBorder();
        QCOMPARE(QColor(label.grab().toImage().pixel(0, 0)), QColor(107, 141, 162));
    }

    void separatorFillsWithItsColour()
    {
        CSeparaterStatic rule;
        rule.resize(50, 2);
        rule.SetColor(QColor(230, 232, 233));
        const QImage img = rule.grab().toImage();
        QCOMPARE(QColor(img.pixel(0, 0)), QColor(230, 232, 233));
        QCOMPARE(QColor(img.pixel(49, 1)), QColor(230, 232, 233));
    }

    void buttonIsRoundedAndNeverTakesEnterByItself()
    {
        QDialog dlg;
        auto* button = new CCoolButton(QStringLiteral("保存"), &dlg);
        button->setGeometry(10, 10, 80, 26);
        dlg.show();
        QVERIFY(!button->autoDefault());
        QVERIFY(!button->mask().contains(QPoint(0, 0)));
        QVERIFY(button->mask().contains(QPoint(40, 13)));
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        button->setFocus();
        QTest::keyClick(button, Qt::Key_Return);
        QCOMPARE(clicks.count(), 0);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(40, 13));
        QCOMPARE(clicks.count(), 1);
    }

    void focusRingShowsOnlyForTheKeyboard_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<FocusBy>("by");
        QTest::addColumn<bool>("ring");
        for (const char* kind : {"button", "check box", "radio button", "page button"}) {
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
        FocusRow row(kind);
        row.window.show();
        QApplication::setActiveWindow(&row.window);
        QVERIFY(QTest::qWaitForWindowActive(&row.window));
        row.before->setFocus();
        QTRY_VERIFY(row.before->hasFocus());
        const QImage unfocused = row.control->grab().toImage();

        switch (by) {
        case FocusBy::Tab: QTest::keyClick(row.before, Qt::Key_Tab); break;
        case FocusBy::Backtab:
            row.after->setFocus();
            QTRY_VERIFY(row.after->hasFocus());
            QTest::keyClick(row.after, Qt::Key_Tab, Qt::ShiftModifier);
            break;
        case FocusBy::Mouse: row.control->setFocus(Qt::MouseFocusReason); break;
        case FocusBy::Program: row.control->setFocus(); break;
        }
        QTRY_VERIFY(row.control->hasFocus());
        QCOMPARE(row.cue(), ring);
        const QImage focused = row.control->grab().toImage();
        const QList<QPoint> changed = changedPixels(unfocused, focused);
        if (!ring) {
            QCOMPARE(changed.size(), 0);
            return;
        }
        // A ring: most of its border changes, and nothing away from it does.
        const QRect r = row.ring();
        QVERIFY(r.width() > 6 && r.height() > 6);
        QVERIFY(row.control->rect().contains(r));
        int onRing = 0;
        for (const QPoint& p : outline(r))
            onRing += focused.pixel(p) != unfocused.pixel(p);
        QVERIFY2(onRing * 10 >= outline(r).size() * 8, qPrintable(QString::number(onRing)));
        for (const QPoint& p : changed)
            QVERIFY2(r.adjusted(-1, -1, 1, 1).contains(p) && !r.adjusted(2, 2, -2, -2).contains(p),
                     qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));

        // The ring goes with the focus.
        row.before->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(!row.control->hasFocus());
        QVERIFY(!row.cue());
        QCOMPARE(row.control->grab().toImage(), unfocused);
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

    void buttonLooks()
    {
        CCoolButton button(QStringLiteral("确定"));
        button.resize(80, 26);
        const QRgb normal = button.grab().toImage().pixel(40, 20);
        button.SetPressFlag(true);
        const QRgb pressed = button.grab().toImage().pixel(40, 20);
        QVERIFY(normal != pressed);
        button.SetPressFlag(false);
        QCOMPARE(button.grab().toImage().pixel(40, 20), normal);
        button.setEnabled(false);
        QVERIFY(button.grab().toImage().pixel(40, 20) != normal);
    }
};

QTEST_MAIN(TestFlatControls)
#include "tst_flatcontrols.moc"
