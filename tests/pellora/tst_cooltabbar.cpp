#include "skintest.h"

#include <pellora/colorref.h>
#include <pellora/cooltabbar.h>
#include <pellora/surfacemanager.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Pellora;

using SkinTest::hover;
using SkinTest::sameColor;
using Item = CCoolTabBar::CPageItem;

namespace {

constexpr int kBarWidth = 400; // tab area 312 pixels wide, from x 28
constexpr int kAreaRight = 28 + 312;

struct Pages {
    QList<QWidget*> list;
    ~Pages() { qDeleteAll(list); }
    QWidget* add()
    {
        list.append(new QWidget);
        return list.last();
    }
};

// The bar and its pages; `count` tabs captioned "页面1", "页面2", ...
struct Fixture {
    CCoolTabBar bar;
    Pages pages;
    explicit Fixture(int count, int width = kBarWidth)
    {
        bar.resize(width, 31);
        for (int i = 0; i < count; ++i)
            bar.AddPage(pages.add(), QStringLiteral("页面%1").arg(i + 1));
    }
};

QPoint tabBody(const CCoolTabBar& bar, int index)
{
    const QRect r = bar.VisibleTabRect(index);
    return QPoint(r.left() + 8, r.center().y());
}

int lastTabEnd(const CCoolTabBar& bar)
{
    const Item* last = bar.GetPageItem(bar.GetPageCount() - 1);
    return last->m_rect.left() + last->m_rect.width() - bar.ScrollOffset();
}

// Situations in which the child must still see and use the right close buttons.
enum class Scene { Plain, TitleArrives, Narrowed, Sliver };

} // namespace

class TestCoolTabBar : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { qRegisterMetaType<Item*>(); }

    void layout()
    {
        const TabBarGeometry g = LayoutTabBar(QRect(0, 0, 600, 31));
        QCOMPARE(g.tabArea, QRect(28, 3, 512, 25));
        QCOMPARE(g.backButton, QRect(9, 3, 19, 25));
        QCOMPARE(g.forwardButton, QRect(540, 3, 19, 25));
        QCOMPARE(TabCloseButtonRect(QRect(100, 3, 80, 25)), QRect(158, 8, 16, 16));
        QCOMPARE(TabTextRect(QRect(100, 3, 80, 25), false), QRect(114, 6, 40, 22));
        QCOMPARE(TabTextRect(QRect(100, 3, 80, 25), true), QRect(133, 6, 21, 22));
    }

    void tabWidth_data()
    {
        QTest::addColumn<int>("text");
        QTest::addColumn<bool>("icon");
        QTest::addColumn<int>("width");
        QTest::newRow("short caption") << 40 << false << 79;
        QTest::newRow("capped") << 500 << false << 139;
        QTest::newRow("at least one digit wide") << 0 << false << 46;
        QTest::newRow("icon adds room") << 40 << true << 97;
    }
    void tabWidth()
    {
        QFETCH(int, text);
        QFETCH(bool, icon);
        QFETCH(int, width);
        QCOMPARE(TabWidthForText(text, 100, 7, icon), width);
    }

    void visibleTabs_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("area");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("no tabs") << QList<int>{} << 0 << 300 << -1 << -1;
        QTest::newRow("all fit") << QList<int>{100, 100} << 0 << 300 << 0 << 1;
        QTest::newRow("scrolled into the second") << QList<int>{100, 100, 100, 100} << 150 << 120 << 1 << 2;
        QTest::newRow("end reached exactly") << QList<int>{100, 100, 100} << 0 << 200 << 0 << 1;
    }
    void visibleTabs()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, offset);
        QFETCH(int, area);
        QFETCH(int, first);
        QFETCH(int, last);
        QCOMPARE(FirstVisibleTab(widths, offset), first);
        QCOMPARE(LastVisibleTab(widths, offset, area), last);
    }

    void rolling_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("back");
        QTest::addColumn<bool>("forward");
        QTest::newRow("fits") << QList<int>{100, 100} << 0 << false << false;
        QTest::newRow("overflows") << QList<int>{200, 200} << 0 << false << true;
        QTest::newRow("end with 20 spare") << QList<int>{200, 200} << 120 << true << false;
        QTest::newRow("one short of the end") << QList<int>{200, 200} << 119 << true << true;
        QTest::newRow("no tabs") << QList<int>{} << 0 << false << false;
    }
    void rolling()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, offset);
        QFETCH(bool, back);
        QFETCH(bool, forward);
        QCOMPARE(CanRollBack(offset), back);
        QCOMPARE(CanRollForward(widths, offset, 300), forward);
    }

    void scrollTicks()
    {
        const QList<int> widths{200, 200};
        // Back: 15 pixels a tick, never below 0, then scrolling ends.
        QList<int> seen;
        ScrollTick t{40, true};
        while (t.scrolling) {
            t = ScrollTickResult(widths, 300, t.offset, -kTabScrollStep);
            seen.append(t.offset);
        }
        QCOMPARE(seen, (QList<int>{25, 10, 0, 0}));
        // Forward: while the end is not reached.
        t = ScrollTickResult(widths, 300, 105, kTabScrollStep);
        QCOMPARE(t.offset, 120);
        QVERIFY(t.scrolling);
        t = ScrollTickResult(widths, 300, 120, kTabScrollStep);
        QCOMPARE(t.offset, 120);
        QVERIFY(!t.scrolling);
    }

    void offsetToShow_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        QTest::newRow("fits: offset stays") << 1 << 7 << 7;
        QTest::newRow("overflow: ends 20 before the edge") << 3 << 0 << 420;
        QTest::newRow("exactly the area: stays") << 2 << 0 << 0;
    }
    void offsetToShow()
    {
        QFETCH(int, index);
        QFETCH(int, offset);
        QFETCH(int, expected);
        QCOMPARE(OffsetToShowTab({100, 100, 100, 400}, index, 300, offset), expected);
    }

    void offsetAfterClose_data()
    {
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("expected");
        QTest::newRow("still overflowing") << QList<int>{200, 200, 200} << 100 << 100;
        QTest::newRow("gap of exactly 20 stays") << QList<int>{200, 200} << 120 << 120;
        QTest::newRow("gap too wide: back to 20") << QList<int>{200, 200} << 200 << 120;
        QTest::newRow("all fit again") << QList<int>{100, 100} << 60 << 0;
        QTest::newRow("one tab left") << QList<int>{500} << 400 << 0;
    }
    void offsetAfterClose()
    {
        QFETCH(QList<int>, widths);
        QFETCH(int, offset);
        QFETCH(int, expected);
        QCOMPARE(OffsetAfterClose(widths, 300, offset), expected);
    }

    void closePlan_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("switches");
        QTest::addColumn<int>("announce");
        QTest::addColumn<int>("activeAfter");
        QTest::newRow("last tab cannot close") << 1 << 0 << 0 << false << false << -1 << -1;
        QTest::newRow("no tab there") << 3 << 0 << 3 << false << false << -1 << -1;
        QTest::newRow("active last of three") << 3 << 2 << 2 << true << true << 1 << 1;
        QTest::newRow("active first of three") << 3 << 0 << 0 << true << true << 1 << 0;
        QTest::newRow("active middle") << 3 << 1 << 1 << true << true << 2 << 1;
        QTest::newRow("after the active") << 3 << 0 << 2 << true << false << 0 << 0;
        QTest::newRow("before the active") << 3 << 2 << 0 << true << false << 2 << 1;
    }
    void closePlan()
    {
        QFETCH(int, count);
        QFETCH(int, active);
        QFETCH(int, index);
        QFETCH(bool, closes);
        QFETCH(bool, switches);
        QFETCH(int, announce);
        QFETCH(int, activeAfter);
        const TabClosePlan plan = PlanTabClose(count, active, index);
        QCOMPARE(plan.closes, closes);
        if (!closes)
            return;
        QCOMPARE(plan.switches, switches);
        QCOMPARE(plan.announceIndex, announce);
        QCOMPARE(plan.activeAfter, activeAfter);
    }

    void keyWalk_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("target");
        QTest::newRow("right") << int(Qt::Key_Right) << 1 << 3 << 2;
        QTest::newRow("right at the end stops") << int(Qt::Key_Right) << 2 << 3 << -1;
        QTest::newRow("left") << int(Qt::Key_Left) << 2 << 3 << 1;
        QTest::newRow("left at the start stops") << int(Qt::Key_Left) << 0 << 3 << -1;
        QTest::newRow("home") << int(Qt::Key_Home) << 2 << 3 << 0;
        QTest::newRow("end") << int(Qt::Key_End) << 0 << 3 << 2;
        QTest::newRow("end on the last") << int(Qt::Key_End) << 2 << 3 << -1;
        QTest::newRow("none active, right") << int(Qt::Key_Right) << -1 << 3 << 0;
        QTest::newRow("stale index, left") << int(Qt::Key_Left) << 7 << 3 << 2;
        QTest::newRow("no tabs") << int(Qt::Key_Home) << -1 << 0 << -1;
        QTest::newRow("other key") << int(Qt::Key_Up) << 1 << 3 << -1;
    }
    void keyWalk()
    {
        QFETCH(int, key);
        QFETCH(int, active);
        QFETCH(int, count);
        QFETCH(int, target);
        QCOMPARE(TabIndexForKey(key, active, count), target);
    }

    // The strip is reached with Tab only; then it rings the active tab and the arrow keys
    // walk the tabs, scrolling the one reached into view.
    void keyboardWalksTheTabsWithARing()
    {
        QWidget window;
        auto* before = new QLineEdit(&window);
        before->setGeometry(0, 0, 100, 24);
        auto* bar = new CCoolTabBar(&window);
        bar->setGeometry(0, 30, kBarWidth, 31);
        Pages pages;
        for (int i = 0; i < 10; ++i)
            bar->AddPage(pages.add(), QStringLiteral("页面%1").arg(i + 1));
        window.resize(kBarWidth, 70);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        before->setFocus();
        QTRY_VERIFY(before->hasFocus());

        // A click selects a tab without taking the keyboard from where it is.
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, tabBody(*bar, 8));
        QCOMPARE(bar->GetActivePage(), 8);
        QVERIFY(before->hasFocus());
        const QImage unfocused = bar->grab().toImage();

        QTest::keyClick(before, Qt::Key_Tab);
        QTRY_VERIFY(bar->hasFocus());
        QVERIFY(bar->HasFocusCue());
        const QImage focused = bar->grab().toImage();
        const QRect tab = bar->VisibleTabRect(8);
        int onRing = 0;
        int elsewhere = 0;
        for (int y = 0; y < focused.height(); ++y) {
            for (int x = 0; x < focused.width(); ++x) {
                if (focused.pixel(x, y) == unfocused.pixel(x, y))
                    continue;
                if (tab.adjusted(2, 2, -2, -2).contains(x, y) && !tab.adjusted(5, 5, -5, -5).contains(x, y))
                    ++onRing;
                else
                    ++elsewhere;
            }
        }
        QVERIFY(onRing > tab.width());
        QCOMPARE(elsewhere, 0);

        QSignalSpy activated(bar, &CCoolTabBar::tabActivated);
        QTest::keyClick(bar, Qt::Key_Home);
        QCOMPARE(bar->GetActivePage(), 0);
        QCOMPARE(bar->ScrollOffset(), 0);
        QTest::keyClick(bar, Qt::Key_Left);
        QTest::keyClick(bar, Qt::Key_Right);
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(activated.count(), 3);
        QCOMPARE(activated.at(1).at(0).toInt(), 1);
        QCOMPARE(bar->GetActivePage(), 9);
        QVERIFY(lastTabEnd(*bar) <= kAreaRight);
        QVERIFY(bar->VisibleTabRect(9).width() == bar->GetPageItem(9)->m_rect.width());
        // Modified arrows are left to the frame.
        QTest::keyClick(bar, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(bar->GetActivePage(), 9);

        // Focus given by a program call shows no ring.
        before->setFocus();
        bar->setFocus(Qt::OtherFocusReason);
        QTRY_VERIFY(bar->hasFocus());
        QVERIFY(!bar->HasFocusCue());
    }

    void addingActivatesAndReports()
    {
        CCoolTabBar bar;
        bar.resize(kBarWidth, 31);
        Pages pages;
        QSignalSpy activated(&bar, &CCoolTabBar::tabActivated);
        QCOMPARE(bar.GetActivePage(), -1);
        QCOMPARE(bar.AddPage(nullptr, QStringLiteral("无")), 0);
        QCOMPARE(bar.GetPageCount(), 0);
        QCOMPARE(activated.count(), 0);
        QWidget* first = pages.add();
        QWidget* second = pages.add();
        QCOMPARE(bar.AddPage(first, QStringLiteral("一")), 1);
        QCOMPARE(bar.AddPage(second, QStringLiteral("二")), 1);
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(0).toInt(), 1);
        QCOMPARE(activated.at(1).at(1).value<Item*>(), bar.GetPageItem(1));
        QCOMPARE(bar.GetActivePage(), 1);
        QCOMPARE(bar.GetActivePageItem()->m_pWnd.data(), second);
        QCOMPARE(bar.GetPageItem(0)->m_nStatus, int(CCoolTabBar::kNormal));
        QCOMPARE(bar.GetPageItemByWnd(first), bar.GetPageItem(0));
        QCOMPARE(bar.GetPageItem(2), nullptr);
    }

    void oneTabHasNoCloseButton()
    {
        Fixture f(1);
        QSignalSpy closeClicked(&f.bar, &CCoolTabBar::tabCloseClicked);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        QVERIFY(!f.bar.IsCanClose());
        QVERIFY(f.bar.CloseButtonRect(0).isNull());
        const QPoint where = TabCloseButtonRect(f.bar.VisibleTabRect(0)).center();
        QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, where);
        QCOMPARE(closeClicked.count(), 0);
        QCOMPARE(f.bar.GetActivePage(), 0);
        QCOMPARE(f.bar.CloseTabButtonByIndex(0), 0);
        QCOMPARE(f.bar.GetPageCount(), 1);
        QCOMPARE(activated.count(), 0);
    }

    void closingActiveLastOfThree()
    {
        Fixture f(3);
        Item* second = f.bar.GetPageItem(1);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        QCOMPARE(f.bar.CloseTabButtonByIndex(2), 1);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 1);
        QCOMPARE(activated.at(0).at(1).value<Item*>(), second);
        QCOMPARE(f.bar.GetPageCount(), 2);
        QCOMPARE(f.bar.GetActivePage(), 1);
        QCOMPARE(f.bar.GetActivePageItem(), second);
    }

    void closingActiveFirstOfThree()
    {
        Fixture f(3);
        f.bar.SetActivePage(0);
        Item* right = f.bar.GetPageItem(1);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        QCOMPARE(f.bar.CloseTabButtonByIndex(0), 1);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 1);
        QCOMPARE(activated.at(0).at(1).value<Item*>(), right);
        QCOMPARE(f.bar.GetActivePage(), 0);
        QCOMPARE(f.bar.GetPageItem(0), right);
        QCOMPARE(f.bar.GetActivePageItem(), right);
        QCOMPARE(right->m_pWnd.data(), f.pages.list.at(1));
    }

    void closingAnotherTabKeepsTheActiveOne_data()
    {
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("announced");
        QTest::addColumn<int>("activeAfter");
        QTest::newRow("after it") << 0 << 2 << 0 << 0;
        QTest::newRow("before it") << 2 << 0 << 2 << 1;
    }
    void closingAnotherTabKeepsTheActiveOne()
    {
        QFETCH(int, active);
        QFETCH(int, index);
        QFETCH(int, announced);
        QFETCH(int, activeAfter);
        Fixture f(3);
        f.bar.SetActivePage(active);
        Item* activeItem = f.bar.GetPageItem(active);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        QCOMPARE(f.bar.CloseTabButtonByIndex(index), 1);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), announced);
        QCOMPARE(activated.at(0).at(1).value<Item*>(), activeItem);
        QCOMPARE(f.bar.GetActivePage(), activeAfter);
        QCOMPARE(f.bar.GetPageItem(activeAfter), activeItem);
        QCOMPARE(activeItem->m_nStatus, int(CCoolTabBar::kActive));
    }

    void clickingTheCloseButtonAsksTheOwner()
    {
        Fixture f(3);
        QPointer<QWidget> page = f.pages.list.at(1);
        QSignalSpy closeClicked(&f.bar, &CCoolTabBar::tabCloseClicked);
        QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, f.bar.CloseButtonRect(1).center());
        QCOMPARE(closeClicked.count(), 1);
        QCOMPARE(closeClicked.at(0).at(0).toInt(), 1);
        QCOMPARE(closeClicked.at(0).at(1).value<Item*>(), f.bar.GetPageItem(1));
        QCOMPARE(f.bar.GetPageCount(), 3); // the bar itself closes nothing

        // The browser's answer: keep a copy, close the tab, then destroy its page.
        connect(&f.bar, &CCoolTabBar::tabCloseClicked, &f.bar, [&f](int index, Item* item) {
            if (!f.bar.IsCanClose())
                return;
            const Item copy(*item);
            if (f.bar.CloseTabButtonByIndex(index)) {
                f.pages.list.removeOne(copy.m_pWnd.data());
                delete copy.m_pWnd.data();
            }
        });
        QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, f.bar.CloseButtonRect(1).center());
        QCOMPARE(f.bar.GetPageCount(), 2);
        QVERIFY(page.isNull());
        QCOMPARE(f.bar.GetActivePage(), 1);
    }

    // Every tab the child can see has its caption clear of its close button, and every
    // close button shown lies wholly in the tab area; the active tab's is always there.
    void closeButtonsStayUsable_data()
    {
        QTest::addColumn<int>("scene");
        QTest::newRow("captions clear of their close buttons") << int(Scene::Plain);
        QTest::newRow("a new tab's long title arrives") << int(Scene::TitleArrives);
        QTest::newRow("strip narrowed") << int(Scene::Narrowed);
        QTest::newRow("sliver beside the back arrow") << int(Scene::Sliver);
    }
    void closeButtonsStayUsable()
    {
        QFETCH(int, scene);
        // The sliver row tries bar widths across a whole tab, so that some scroll offset
        // leaves only part of a close button inside the area.
        const int widths = scene == int(Scene::Sliver) ? 90 : 1;
        int slivers = 0;
        for (int extra = 0; extra < widths; ++extra) {
            Fixture f(scene == int(Scene::Plain) ? 3 : 8, kBarWidth + extra);
            if (scene == int(Scene::TitleArrives)) {
                f.bar.AddPage(f.pages.add(), QStringLiteral("请稍候..."));
                f.bar.SetTabItemText(f.pages.list.last(), QStringLiteral("一个很长很长的儿童故事网站的标题"));
            } else if (scene == int(Scene::Narrowed)) {
                f.bar.show(); // a hidden widget hears of its size only when shown
                QVERIFY(QTest::qWaitForWindowExposed(&f.bar));
                f.bar.resize(kBarWidth - 70, 31);
            }
            const QRect area = f.bar.Geometry().tabArea;
            QVERIFY(area.contains(f.bar.CloseButtonRect(f.bar.GetActivePage())));
            QSignalSpy closeClicked(&f.bar, &CCoolTabBar::tabCloseClicked);
            for (int i = 0; i < f.bar.GetPageCount(); ++i) {
                const Item* item = f.bar.GetPageItem(i);
                const QRect close = f.bar.CloseButtonRect(i);
                const QRect drawn = item->GetCloseButtonRect(f.bar.ScrollOffset());
                QVERIFY2(close.isEmpty() || area.contains(close), qPrintable(QString::number(i)));
                const QRect text = item->GetTextArea(f.bar.ScrollOffset());
                QVERIFY2(text.left() + text.width() + 4 <= drawn.left(), qPrintable(QString::number(i)));
                if (close.isEmpty() && drawn.intersects(area)) {
                    // Only part of it shows: clicking that part must not close the tab.
                    ++slivers;
                    const QRect part = drawn.intersected(area);
                    QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, part.center());
                }
            }
            QCOMPARE(closeClicked.count(), 0);
        }
        if (scene == int(Scene::Sliver))
            QVERIFY(slivers > 0);
    }

    void clickingATabActivatesIt()
    {
        Fixture f(3);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, tabBody(f.bar, 0));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 0);
        QCOMPARE(f.bar.GetActivePage(), 0);
        // Clicking the active tab again reports nothing new.
        QTest::mouseClick(&f.bar, Qt::LeftButton, Qt::NoModifier, tabBody(f.bar, 0));
        QCOMPARE(activated.count(), 1);
    }

    void longCaptionIsCappedWithAnEllipsis()
    {
        Fixture f(0, 800);
        f.bar.AddPage(f.pages.add(), QStringLiteral("1234567890abcdef"));
        f.bar.AddPage(f.pages.add(), QStringLiteral("一个非常非常长的页面标题，放不下的部分会被省略"));
        f.bar.AddPage(f.pages.add(), QStringLiteral("短"));
        const int cap = f.bar.GetPageItem(0)->m_rect.width();
        QCOMPARE(f.bar.GetPageItem(1)->m_rect.width(), cap);
        QVERIFY(f.bar.GetPageItem(2)->m_rect.width() < cap);
        QCOMPARE(f.bar.GetPageItem(0)->GetShownText(), QStringLiteral("1234567890abcdef"));
        QVERIFY(f.bar.GetPageItem(1)->GetShownText().endsWith(QChar(0x2026)));
        QCOMPARE(f.bar.GetPageItem(2)->GetShownText(), QStringLiteral("短"));
    }

    void addingTabsScrollsTheNewOneIntoView()
    {
        Fixture f(0);
        bool overflowed = false;
        for (int i = 0; i < 10; ++i) {
            const int before = f.bar.ScrollOffset();
            f.bar.AddPage(f.pages.add(), QStringLiteral("第%1页").arg(i + 1));
            if (f.bar.GetAllWidthFromIndex(i) > 312) {
                overflowed = true;
                QCOMPARE(lastTabEnd(f.bar), kAreaRight - 20);
            } else {
                QCOMPARE(f.bar.ScrollOffset(), before);
            }
        }
        QVERIFY(overflowed);
        QCOMPARE(f.bar.GetAllWidthFromIndex(-1), 0);
    }

    void holdingTheBackArrowScrollsToTheStart()
    {
        Fixture f(10);
        QVERIFY(f.bar.ScrollOffset() > 0);
        QSignalSpy scrolled(&f.bar, &CCoolTabBar::tabScrollPressed);
        const QPoint back = f.bar.Geometry().backButton.center();
        QTest::mousePress(&f.bar, Qt::LeftButton, Qt::NoModifier, back);
        QCOMPARE(scrolled.count(), 1);
        QVERIFY(f.bar.IsScrolling());
        QTRY_COMPARE(f.bar.ScrollOffset(), 0);
        QTRY_VERIFY(!f.bar.IsScrolling());
        QCOMPARE(f.bar.ScrollOffset(), 0);
        QTest::mouseRelease(&f.bar, Qt::LeftButton, Qt::NoModifier, back);
    }

    void releasingStopsAtOnce()
    {
        Fixture f(10);
        const int offset = f.bar.ScrollOffset();
        const QPoint back = f.bar.Geometry().backButton.center();
        QTest::mousePress(&f.bar, Qt::LeftButton, Qt::NoModifier, back);
        QTest::mouseRelease(&f.bar, Qt::LeftButton, Qt::NoModifier, back);
        QVERIFY(!f.bar.IsScrolling());
        // Several ticks' time in which nothing may move.
        QTest::qWait(60);
        QCOMPARE(f.bar.ScrollOffset(), offset);
    }

    void movingOffTheArrowStopsScrolling()
    {
        Fixture f(10);
        QTest::mousePress(&f.bar, Qt::LeftButton, Qt::NoModifier, f.bar.Geometry().backButton.center());
        QVERIFY(f.bar.IsScrolling());
        hover(&f.bar, f.bar.Geometry().tabArea.center());
        QVERIFY(!f.bar.IsScrolling());
    }

    void forwardArrowStopsAtTheEnd()
    {
        Fixture f(10);
        const int end = f.bar.ScrollOffset();
        f.bar.RollToIndex(0); // tab 0 is in view: the offset stays
        QCOMPARE(f.bar.ScrollOffset(), end);
        QTest::mousePress(&f.bar, Qt::LeftButton, Qt::NoModifier, f.bar.Geometry().forwardButton.center());
        QTRY_VERIFY(!f.bar.IsScrolling());
        QCOMPARE(f.bar.ScrollOffset(), end);
    }

    void closingUntilTheTabsFitBringsTheOffsetBack()
    {
        Fixture f(10);
        while (f.bar.GetPageCount() > 1) {
            QCOMPARE(f.bar.CloseTabButtonByIndex(f.bar.GetPageCount() - 1), 1);
            const int total = f.bar.GetAllWidthFromIndex(f.bar.GetPageCount() - 1);
            // Never more than 20 pixels left empty after the last tab.
            QVERIFY(312 + f.bar.ScrollOffset() <= total + 20 || f.bar.ScrollOffset() == 0);
            if (total <= 312 - 20)
                QCOMPARE(f.bar.ScrollOffset(), 0);
        }
        QCOMPARE(f.bar.ScrollOffset(), 0);
    }

    void growingTheBarDoesNotHideTabs()
    {
        CCoolTabBar bar; // not laid out yet: 100 pixels wide
        Pages pages;
        bar.AddPage(pages.add(), QStringLiteral("请稍候...."));
        bar.resize(800, 31);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        QTRY_COMPARE(bar.ScrollOffset(), 0);
        QCOMPARE(bar.VisibleTabRect(0).left(), 28);
    }

    void captionsFollowTheirPage()
    {
        Fixture f(2);
        const int before = f.bar.GetPageItem(1)->m_rect.width();
        f.bar.SetTabItemText(f.pages.list.at(1), QStringLiteral("儿童乐园 - 动画片"));
        QCOMPARE(f.bar.GetPageItem(1)->m_strText, QStringLiteral("儿童乐园 - 动画片"));
        QVERIFY(f.bar.GetPageItem(1)->m_rect.width() > before);
        QCOMPARE(f.bar.GetPageItem(0)->m_strText, QStringLiteral("页面1"));
    }

    void outOfRangeActivation()
    {
        Fixture f(2);
        QSignalSpy activated(&f.bar, &CCoolTabBar::tabActivated);
        f.bar.SetActivePage(2);
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toInt(), 2);
        QCOMPARE(activated.at(0).at(1).value<Item*>(), nullptr);
        QCOMPARE(f.bar.GetActivePageItem(), nullptr);
        // A tab added at the recorded index still becomes active and is reported.
        f.bar.AddPage(f.pages.add(), QStringLiteral("页面3"));
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(1).value<Item*>(), f.bar.GetPageItem(2));
        QCOMPARE(f.bar.GetActivePageItem(), f.bar.GetPageItem(2));
    }

    void destroyedPageIsForgotten()
    {
        Fixture f(2);
        delete f.pages.list.takeLast();
        QVERIFY(f.bar.GetPageItem(1)->m_pWnd.isNull());
        QCOMPARE(f.bar.GetPageItemByWnd(nullptr), f.bar.GetPageItem(1));
    }

    void handCursorOverClickableParts()
    {
        Fixture f(3);
        hover(&f.bar, tabBody(f.bar, 0));
        QCOMPARE(f.bar.cursor().shape(), Qt::PointingHandCursor);
        hover(&f.bar, f.bar.CloseButtonRect(0).center());
        QCOMPARE(f.bar.cursor().shape(), Qt::ArrowCursor);
        hover(&f.bar, f.bar.Geometry().forwardButton.center());
        QCOMPARE(f.bar.cursor().shape(), Qt::PointingHandCursor);
        hover(&f.bar, QPoint(kBarWidth - 5, 15));
        QCOMPARE(f.bar.cursor().shape(), Qt::ArrowCursor);
    }

    void tabsAreDrawnFromTheSkinInsideTheirArea()
    {
        QTemporaryDir dir;
        auto bmp = [&dir](const char* name, QColor c) {
            return SkinTest::writeSolid(dir.path(), QLatin1String(name), QSize(8, 25), c);
        };
        Fixture f(10);
        f.bar.SetFrameBkPic(bmp("bg.bmp", Qt::blue));
        f.bar.SetTabButtonNormalPic(bmp("nl.bmp", Qt::darkGreen), bmp("nm.bmp", Qt::green), bmp("nr.bmp", Qt::darkGreen));
        f.bar.SetTabButtonActivePic(bmp("al.bmp", Qt::darkYellow), bmp("am.bmp", Qt::yellow), bmp("ar.bmp", Qt::darkYellow));
        f.bar.SetTabCloseButtonPic(SkinTest::writeSolid(dir.path(), QStringLiteral("c.bmp"), QSize(16, 16), Qt::red));
        CSurfaceManager::m_TabActiveTextColor = MakeColorRef(0, 0, 0);
        const QImage image = f.bar.grab().toImage();
        const QRect active = f.bar.VisibleTabRect(9);
        QVERIFY(sameColor(image.pixel(active.left() + 10, active.bottom() - 1), Qt::yellow));
        QVERIFY(sameColor(image.pixel(f.bar.CloseButtonRect(9).center()), Qt::red));
        const QRect normal = f.bar.VisibleTabRect(8);
        QVERIFY(sameColor(image.pixel(normal.left() + 10, normal.bottom() - 1), Qt::green));
        // Scrolled-out tabs do not spill over the arrows' surroundings.
        QVERIFY(sameColor(image.pixel(3, 15), Qt::blue));
        QVERIFY(sameColor(image.pixel(10, 4), Qt::blue));
        QVERIFY(sameColor(image.pixel(kAreaRight + 25, 15), Qt::blue));
    }

    void missingOrBrokenPicturesStillDraw()
    {
        QTemporaryDir dir;
        const QString garbage = SkinTest::writeText(dir.path(), QStringLiteral("g.bmp"), "BM\x10\x00garbage");
        Fixture f(4);
        f.bar.SetFrameBkPic(garbage);
        f.bar.SetPrevButtonPic(garbage, dir.path() + QLatin1Char('/'), QString(), QStringLiteral("/none.bmp"));
        f.bar.SetForwardButtonPic(QString(), QString(), QString(), QString());
        f.bar.SetTabButtonNormalPic(garbage, garbage, garbage);
        f.bar.SetTabCloseButtonPic(dir.path() + QStringLiteral("/missing.bmp"));
        const QImage image = f.bar.grab().toImage();
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(kBarWidth, 31));
    }
};

QTEST_MAIN(TestCoolTabBar)
#include "tst_cooltabbar.moc"
