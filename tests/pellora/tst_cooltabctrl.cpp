#include "skintest.h"

#include <pellora/colorref.h>
#include <pellora/cooltabctrl.h>
#include <pellora/surfacemanager.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Pellora;

using SkinTest::sameColor;

namespace {

// The control's own font, as the captions are measured with it.
QFontMetrics controlMetrics()
{
    QFont f;
    f.setFamily(QStringLiteral("宋体"));
    f.setPixelSize(12);
    return QFontMetrics(f);
}

QIcon starIcon()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::yellow);
    return QIcon(pm);
}

// A control of the given size with pages captioned as given, laid out and showing page 0.
// The control sits in a bar, as in the browser (a window of its own would follow the
// sizing rule of windows).
struct Fixture {
    QWidget bar;
    CCoolTabCtrl& ctrl = *new CCoolTabCtrl;
    QList<QPointer<QWidget>> pages;
    Fixture(const QStringList& captions, unsigned style = kTabStyleTop, QSize size = QSize(200, 300),
            const QIcon& icon = QIcon())
    {
        bar.resize(size);
        ctrl.Create(style | kTabCtrlVisible, QRect(QPoint(0, 0), size), &bar, 125);
        for (const QString& caption : captions) {
            auto* page = new QWidget;
            pages.append(page);
            ctrl.AddPage(page, caption, icon);
        }
        ctrl.UpdateWindow();
        while (ctrl.IsAnimating())
            ctrl.AnimationStep();
    }
};

QList<QRect> tabRects(const CCoolTabCtrl& ctrl)
{
    QList<QRect> rects;
    for (int i = 0; i < ctrl.GetPageCount(); ++i)
        rects.append(ctrl.GetPageItem(i)->m_rect);
    return rects;
}

QPoint middle(const QRect& r)
{
    return r.center();
}

} // namespace

class TestCoolTabCtrl : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QRect>("pageArea");
        QTest::addColumn<QRect>("strip");
        QTest::addColumn<QList<QRect>>("tabs");
        QTest::addColumn<QRect>("close");
        QTest::addColumn<bool>("drawn");

        // A 200 x 300 client: the strip is 192 wide from x 2.
        const QRect topArea(2, 26, 196, 272);
        const QRect topStrip(2, 0, 192, 26);
        QTest::newRow("natural widths side by side from the left")
            << kTabStyleTop << QList<int>{60, 70} << topArea << topStrip
            << QList<QRect>{QRect(2, 0, 60, 26), QRect(62, 0, 70, 26)} << QRect(134, 3, 14, 14) << true;
        QTest::newRow("exactly as wide as the strip stays natural")
            << kTabStyleTop << QList<int>{100, 92} << topArea << topStrip
            << QList<QRect>{QRect(2, 0, 100, 26), QRect(102, 0, 92, 26)} << QRect(196, 3, 14, 14) << true;
        QTest::newRow("two long captions cut to half the strip")
            << kTabStyleTop << QList<int>{300, 250} << topArea << topStrip
            << QList<QRect>{QRect(2, 0, 96, 26), QRect(99, 0, 96, 26)} << QRect(197, 3, 14, 14) << true;
        QTest::newRow("overflow keeps a short tab short")
            << kTabStyleTop << QList<int>{40, 400} << topArea << topStrip
            << QList<QRect>{QRect(2, 0, 40, 26), QRect(43, 0, 96, 26)} << QRect(141, 3, 14, 14) << true;
        QTest::newRow("mono-space shares the strip evenly")
            << (kTabStyleTop | kTabStyleMonoSpace) << QList<int>{40, 300, 10} << topArea << topStrip
            << QList<QRect>{QRect(2, 0, 64, 26), QRect(66, 0, 64, 26), QRect(130, 0, 64, 26)}
            << QRect(196, 3, 14, 14) << true;
        QTest::newRow("bottom tabs laid out but not drawn")
            << kTabStyleBottom << QList<int>{60, 70} << QRect(2, 2, 196, 272) << QRect(2, 274, 192, 25)
            << QList<QRect>{QRect(2, 274, 60, 25), QRect(62, 274, 70, 25)} << QRect(134, 277, 14, 14) << false;
        QTest::newRow("no direction bit means top")
            << kTabStyleMonoSpace << QList<int>{60} << topArea << topStrip << QList<QRect>{QRect(2, 0, 192, 26)}
            << QRect(196, 3, 14, 14) << true;
        QTest::newRow("no pages, no tabs and no close button")
            << kTabStyleTop << QList<int>{} << topArea << topStrip << QList<QRect>{} << QRect() << true;
    }
    void layout()
    {
        QFETCH(unsigned, style);
        QFETCH(QList<int>, widths);
        QFETCH(QRect, pageArea);
        QFETCH(QRect, strip);
        QFETCH(QList<QRect>, tabs);
        QFETCH(QRect, close);
        QFETCH(bool, drawn);

        const TabCtrlLayout l = LayoutTabCtrl(QRect(0, 0, 200, 300), style, 1, widths);
        QCOMPARE(l.pageArea, pageArea);
        QCOMPARE(l.pageWindow, pageArea.adjusted(2, 2, -2, -2));
        QCOMPARE(l.strip, strip);
        QCOMPARE(l.tabs, tabs);
        QCOMPARE(l.closeButton, close);
        QCOMPARE(l.tabsDrawn, drawn);
    }

    void hitTest_data()
    {
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::newRow("first tab") << kTabStyleTop << QPoint(10, 10) << int(TabCtrlHit::Tab) << 0;
        QTest::newRow("second tab's last column") << kTabStyleTop << QPoint(194, 25) << int(TabCtrlHit::Tab) << 1;
        QTest::newRow("gap between cut tabs") << kTabStyleTop << QPoint(98, 10) << int(TabCtrlHit::Nothing) << -1;
        QTest::newRow("close button over the strip's end")
            << kTabStyleTop << QPoint(200, 10) << int(TabCtrlHit::CloseButton) << -1;
        QTest::newRow("below the strip is the page")
            << kTabStyleTop << QPoint(10, 30) << int(TabCtrlHit::Nothing) << -1;
        QTest::newRow("bottom tab") << kTabStyleBottom << QPoint(150, 280) << int(TabCtrlHit::Tab) << 1;
        QTest::newRow("bottom close button")
            << kTabStyleBottom << QPoint(199, 280) << int(TabCtrlHit::CloseButton) << -1;
        QTest::newRow("top of a bottom-tab control is the page")
            << kTabStyleBottom << QPoint(10, 10) << int(TabCtrlHit::Nothing) << -1;
    }
    void hitTest()
    {
        QFETCH(unsigned, style);
        QFETCH(QPoint, pos);
        QFETCH(int, kind);
        QFETCH(int, index);
        // Two long captions: tabs at 2..97 and 99..194, close button at 197..210.
        const TabCtrlLayout l = LayoutTabCtrl(QRect(0, 0, 200, 300), style, 1, {300, 250});
        const TabCtrlHit hit = HitTestTabCtrl(l, pos);
        QCOMPARE(int(hit.kind), kind);
        QCOMPARE(hit.index, index);
    }

    void slideAndSizing()
    {
        const QRect area(2, 26, 100, 200);
        QCOMPARE(TabCtrlSlideRect(area, 0), QRect(-88, 26, 100, 200)); // right-most 10 pixels show
        QCOMPARE(TabCtrlSlideRect(area, 1), QRect(-78, 26, 100, 200));
        QCOMPARE(TabCtrlSlideRect(area, 9), QRect(2, 26, 100, 200));
        QCOMPARE(TabCtrlSlideRect(area, 10), area);
        QCOMPARE(TabCtrlSlideRect(area, 25), area);
        // A width that tenths do not divide still ends exactly in the area.
        const QRect odd(2, 26, 123, 200);
        QCOMPARE(TabCtrlSlideRect(odd, 0).left(), 2 - 123 + 10);
        QCOMPARE(TabCtrlSlideRect(odd, 9).left(), 2 - 123 + 10 + 9 * 12);
        QCOMPARE(TabCtrlSlideRect(odd, 10), odd);

        QCOMPARE(TabCtrlSizeWhileSizing(QSize(499, 80)), QSize(300, 80));
        QCOMPARE(TabCtrlSizeWhileSizing(QSize(120, 80)), QSize(300, 80));
        QCOMPARE(TabCtrlSizeWhileSizing(QSize(500, 80)), QSize(500, 80));
    }

    void widgetLayout_data()
    {
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<unsigned>("style");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("icon");
        QTest::newRow("short captions at their natural widths")
            << QStringList{QStringLiteral("收藏夹"), QStringLiteral("推荐页")} << kTabStyleTop << 300 << true;
        QTest::newRow("short captions without icons")
            << QStringList{QStringLiteral("ab"), QStringLiteral("收藏")} << kTabStyleTop << 300 << false;
        QTest::newRow("long captions in a narrow control")
            << QStringList{QString(60, QChar(u'长')), QString(4000, QChar(u'W'))} << kTabStyleTop << 160 << true;
        QTest::newRow("mono-space")
            << QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}
            << (kTabStyleTop | kTabStyleMonoSpace) << 300 << false;
        QTest::newRow("bottom") << QStringList{QStringLiteral("收藏夹"), QStringLiteral("推荐页")}
                                << kTabStyleBottom << 300 << true;
    }
    void widgetLayout()
    {
        QFETCH(QStringList, captions);
        QFETCH(unsigned, style);
        QFETCH(int, width);
        QFETCH(bool, icon);
        Fixture f(captions, style, QSize(width, 260), icon ? starIcon() : QIcon());

        QList<int> natural;
        for (const QString& c : captions)
            natural.append(controlMetrics().horizontalAdvance(c) + (icon ? 49 : 31));
        const TabCtrlLayout expected = LayoutTabCtrl(QRect(0, 0, width, 260), style, 1, natural);
        QCOMPARE(tabRects(f.ctrl), expected.tabs);
        QCOMPARE(f.ctrl.CloseButtonRect(), expected.closeButton);
        QCOMPARE(f.ctrl.GetClientRect(), expected.pageArea);
        // Every page sits in the page area shrunk by the border plus one.
        for (const QPointer<QWidget>& page : f.pages)
            QCOMPARE(page->geometry(), expected.pageArea.adjusted(2, 2, -2, -2));

        const int strip = width - 8;
        if (style & kTabStyleMonoSpace) {
            for (const QRect& r : expected.tabs)
                QCOMPARE(r.width(), strip / int(captions.size()));
        } else if (width < 200) {
            for (const QRect& r : expected.tabs)
                QCOMPARE(r.width(), strip / 2);
        } else {
            QCOMPARE(expected.tabs.first().left(), 2);
            for (int i = 0; i < expected.tabs.size(); ++i)
                QCOMPARE(expected.tabs.at(i).width(), natural.at(i));
        }
    }

    void creation()
    {
        CCoolTabCtrl fresh;
        QCOMPARE(fresh.GetStyle(), kTabStyleBottom);
        QCOMPARE(fresh.GetActivePage(), -1);
        QCOMPARE(fresh.GetBackgroundColor(), MakeColorRef(38, 89, 140));
        QCOMPARE(fresh.GetBorderColor(), MakeColorRef(111, 33, 0));

        QWidget parent;
        parent.resize(300, 300);
        CCoolTabCtrl* ctrl = new CCoolTabCtrl;
        QVERIFY(ctrl->Create(0x40000000u | kTabCtrlVisible, QRect(0, 0, 100, 100), &parent, 125));
        QCOMPARE(ctrl->GetStyle(), kTabStyleTop); // no tab bits: top tabs
        QCOMPARE(ctrl->parentWidget(), &parent);
        QCOMPARE(ctrl->geometry(), QRect(0, 0, 100, 100));
        QCOMPARE(ctrl->objectName(), QStringLiteral("125"));
        QCOMPARE(parent.findChild<CCoolTabCtrl*>(QStringLiteral("125")), ctrl);
        parent.show();
        QVERIFY(ctrl->isVisible());

        CCoolTabCtrl* hidden = new CCoolTabCtrl;
        hidden->Create(kTabStyleBottom | kTabStyleAnimate, QRect(0, 0, 100, 100), &parent, 126);
        QCOMPARE(hidden->GetStyle(), kTabStyleBottom | kTabStyleAnimate);
        QVERIFY(!hidden->isVisible());

        // Direction and mono-space re-lay the tabs out.
        ctrl->AddPage(new QWidget, QStringLiteral("a"));
        ctrl->AddPage(new QWidget, QStringLiteral("b"));
        ctrl->SetStyleDirection(2);
        QCOMPARE(ctrl->GetStyle(), kTabStyleBottom);
        QCOMPARE(ctrl->GetPageItem(0)->m_rect.top(), 100 - 26);
        ctrl->SetStyleDirection(7);
        QCOMPARE(ctrl->GetStyle(), kTabStyleTop);
        QCOMPARE(ctrl->GetPageItem(0)->m_rect.top(), 0);
        ctrl->SetStyleMonoSpace(true);
        QCOMPARE(ctrl->GetPageItem(1)->m_rect, QRect(2 + 46, 0, 46, 26));
        ctrl->SetStyleMonoSpace(false);
        ctrl->SetStyleAnimate(true);
        QCOMPARE(ctrl->GetStyle(), kTabStyleTop | kTabStyleAnimate);
        ctrl->SetStyleAnimate(false);
        QCOMPARE(ctrl->GetStyle(), kTabStyleTop);
    }

    void activation_data()
    {
        QTest::addColumn<QList<int>>("calls");
        QTest::addColumn<int>("active");
        QTest::addColumn<QList<bool>>("shown");
        QTest::addColumn<int>("reported");
        // Fixture activates page 0 first (one signal, not counted here).
        QTest::newRow("switch to the second page") << QList<int>{1} << 1 << QList<bool>{false, true, false} << 1;
        QTest::newRow("the active page again does nothing") << QList<int>{0} << 0 << QList<bool>{true, false, false}
                                                            << 0;
        QTest::newRow("an index without a page hides the current page")
            << QList<int>{7} << 0 << QList<bool>{false, false, false} << 0;
        QTest::newRow("a negative index likewise") << QList<int>{-1} << 0 << QList<bool>{false, false, false} << 0;
        QTest::newRow("there and back") << QList<int>{2, 0} << 0 << QList<bool>{true, false, false} << 2;
        QTest::newRow("then the same page again")
            << QList<int>{2, 2, 2} << 2 << QList<bool>{false, false, true} << 1;
    }
    void activation()
    {
        QFETCH(QList<int>, calls);
        QFETCH(int, active);
        QFETCH(QList<bool>, shown);
        QFETCH(int, reported);
        Fixture f({QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三")});
        f.bar.show();
        QCOMPARE(f.ctrl.GetActivePage(), 0);
        QSignalSpy spy(&f.ctrl, &CCoolTabCtrl::pageActivated);
        for (int index : calls)
            f.ctrl.SetActivePage(index);
        QCOMPARE(f.ctrl.GetActivePage(), active);
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(f.pages.at(i)->isVisible(), shown.at(i));
        QCOMPARE(int(spy.count()), reported);

        // Bringing the control up to date shows the active page again, whatever happened.
        f.ctrl.UpdateWindow();
        QVERIFY(f.pages.at(active)->isVisible());
    }

    void clicks()
    {
        Fixture f({QStringLiteral("收藏夹"), QStringLiteral("推荐页")}, kTabStyleTop, QSize(300, 260));
        f.bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.bar));
        QSignalSpy closes(&f.ctrl, &CCoolTabCtrl::closeButtonClicked);
        QSignalSpy activated(&f.ctrl, &CCoolTabCtrl::pageActivated);

        QTest::mouseClick(&f.ctrl, Qt::LeftButton, Qt::NoModifier, middle(f.ctrl.GetPageItem(1)->m_rect));
        QCOMPARE(f.ctrl.GetActivePage(), 1);
        QVERIFY(f.pages.at(1)->isVisible());
        QVERIFY(!f.pages.at(0)->isVisible());
        QCOMPARE(activated.count(), 1);
        QCOMPARE(closes.count(), 0);

        QTest::mouseClick(&f.ctrl, Qt::LeftButton, Qt::NoModifier, middle(f.ctrl.CloseButtonRect()));
        QCOMPARE(closes.count(), 1);
        QCOMPARE(f.ctrl.GetActivePage(), 1);
        // The right button neither activates nor closes.
        QTest::mouseClick(&f.ctrl, Qt::RightButton, Qt::NoModifier, middle(f.ctrl.GetPageItem(0)->m_rect));
        QTest::mouseClick(&f.ctrl, Qt::RightButton, Qt::NoModifier, middle(f.ctrl.CloseButtonRect()));
        QCOMPARE(f.ctrl.GetActivePage(), 1);
        QCOMPARE(closes.count(), 1);

        // Bottom tabs are not drawn but still answer clicks.
        f.ctrl.SetStyleDirection(2);
        QTest::mouseClick(&f.ctrl, Qt::LeftButton, Qt::NoModifier, middle(f.ctrl.GetPageItem(0)->m_rect));
        QCOMPARE(f.ctrl.GetActivePage(), 0);
        QTest::mouseClick(&f.ctrl, Qt::LeftButton, Qt::NoModifier, middle(f.ctrl.CloseButtonRect()));
        QCOMPARE(closes.count(), 2);
    }

    void animation()
    {
        Fixture f({QStringLiteral("一"), QStringLiteral("二")}, kTabStyleTop | kTabStyleAnimate, QSize(243, 300));
        f.bar.show();
        const QRect area = f.ctrl.GetClientRect();
        QCOMPARE(area, QRect(2, 26, 239, 272));
        QWidget* page = f.pages.at(1);

        f.ctrl.SetActivePage(1);
        QVERIFY(f.ctrl.IsAnimating());
        QCOMPARE(f.ctrl.GetActivePage(), 1);
        QVERIFY(!page->isVisible()); // it appears with the first tick
        QVERIFY(!f.pages.at(0)->isVisible());

        const int step = area.width() / 10;
        for (int tick = 0; tick < 10; ++tick) {
            f.ctrl.AnimationStep();
            QVERIFY(page->isVisible());
            QVERIFY(!f.ctrl.IsBackgroundDrawn());
            QVERIFY(f.ctrl.IsAnimating());
            QCOMPARE(page->geometry().size(), area.size());
            QCOMPARE(page->geometry().top(), area.top());
            // Only its right-most 10 pixels show at first, then a tenth of its width per tick.
            QCOMPARE(page->geometry().left(), area.left() - area.width() + 10 + tick * step);
        }
        f.ctrl.AnimationStep();
        QVERIFY(!f.ctrl.IsAnimating());
        QCOMPARE(page->geometry(), area);
        QVERIFY(f.ctrl.IsBackgroundDrawn());
        f.ctrl.AnimationStep(); // nothing runs any more
        QCOMPARE(page->geometry(), area);

        // One animation at a time: a new activation puts the sliding page where it
        // belongs, hides it and starts the new page from the beginning.
        f.ctrl.SetActivePage(0);
        f.ctrl.AnimationStep();
        f.ctrl.AnimationStep();
        f.ctrl.SetActivePage(1);
        QVERIFY(!f.pages.at(0)->isVisible());
        QCOMPARE(f.pages.at(0)->geometry(), area);
        f.ctrl.AnimationStep();
        QCOMPARE(page->geometry().left(), area.left() - area.width() + 10);

        // Left to its timer, the slide ends in the page area.
        QTRY_VERIFY_WITH_TIMEOUT(!f.ctrl.IsAnimating(), 5000);
        QCOMPARE(page->geometry(), area);
        QVERIFY(page->isVisible());

        // A page deleted while it slides stops the animation cleanly.
        f.ctrl.SetActivePage(0);
        f.ctrl.AnimationStep();
        delete f.pages.at(0);
        f.ctrl.AnimationStep();
        QVERIFY(!f.ctrl.IsAnimating());
        QVERIFY(f.ctrl.IsBackgroundDrawn());
        f.ctrl.repaint();
    }

    void painting()
    {
        SkinTest::Folder skin;
        const QColor normal(200, 40, 40), active(40, 160, 40), close(30, 30, 220), back(10, 100, 120);
        Fixture f({QStringLiteral("a"), QStringLiteral("b")}, kTabStyleTop, QSize(300, 200));
        f.ctrl.SetTabPicture(skin.bmp("nl.bmp", {6, 26}, normal), skin.bmp("nm.bmp", {4, 26}, normal),
                             skin.bmp("nr.bmp", {6, 26}, normal), skin.bmp("al.bmp", {6, 26}, active),
                             skin.bmp("am.bmp", {4, 26}, active), skin.bmp("ar.bmp", {6, 26}, active));
        f.ctrl.SetCloseButtonPicture(skin.bmp("close.bmp", {14, 14}, close));
        f.ctrl.SetBackgroundColor(QColorToColorRef(back));
        f.bar.show();

        auto pixel = [&f](QPoint p) { return f.ctrl.grab().toImage().pixel(p); };
        const QRect tab0 = f.ctrl.GetPageItem(0)->m_rect;
        const QRect tab1 = f.ctrl.GetPageItem(1)->m_rect;
        QVERIFY(sameColor(pixel(QPoint(tab0.left() + 3, tab0.top() + 3)), active));
        QVERIFY(sameColor(pixel(QPoint(tab1.left() + 3, tab1.top() + 3)), normal));
        QVERIFY(sameColor(pixel(f.ctrl.CloseButtonRect().center()), close));
        QVERIFY(sameColor(pixel(QPoint(f.ctrl.CloseButtonRect().right() + 20, 5)), back));

        // At the bottom the tabs are not drawn: the strip shows the background.
        f.ctrl.SetStyleDirection(2);
        const QRect bottom0 = f.ctrl.GetPageItem(0)->m_rect;
        QVERIFY(sameColor(pixel(QPoint(bottom0.left() + 3, bottom0.top() + 3)), back));
        QVERIFY(sameColor(pixel(f.ctrl.CloseButtonRect().center()), close));
    }

    void badInput()
    {
        SkinTest::LoggedWarnings warnings;
        Fixture f({QStringLiteral("ab\u202Ecd"), QString(20000, QChar(u'%')) + QStringLiteral("%s%d")}, kTabStyleTop,
                  QSize(200, 200));
        // A caption reads in the order it was written.
        QCOMPARE(f.ctrl.GetPageItem(0)->GetShownText(), QStringLiteral("ab<U+202E>cd"));
        // A huge caption is cut to its share of the strip.
        QCOMPARE(f.ctrl.GetPageItem(1)->m_rect.width(), 192 / 2);
        QVERIFY(!f.ctrl.grab().isNull());

        QCOMPARE(f.ctrl.AddPage(nullptr, QStringLiteral("x")), nullptr);
        QCOMPARE(f.ctrl.GetPageCount(), 2);
        QCOMPARE(f.ctrl.AddCreatedPage([](QWidget*) -> QWidget* { return nullptr; }, QStringLiteral("y")), 0);
        QCOMPARE(f.ctrl.AddCreatedPage({}, QStringLiteral("z")), 0);
        QCOMPARE(f.ctrl.GetPageCount(), 2);
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), 3);

        // Missing pictures are logged and the control still draws its tabs and button.
        warnings.clear();
        f.ctrl.SetTabPicture(QStringLiteral("/nonexistent/l.bmp"), QString(), QString(), QString(), QString(),
                             QString());
        f.ctrl.SetCloseButtonPicture(QStringLiteral("/nonexistent/close.bmp"));
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), 2);
        const QImage shot = f.ctrl.grab().toImage();
        const QColor back = ColorRefToQColor(f.ctrl.GetBackgroundColor());
        QVERIFY(!sameColor(shot.pixel(f.ctrl.GetPageItem(0)->m_rect.center()), back));
        bool crossDrawn = false;
        const QRect c = f.ctrl.CloseButtonRect();
        for (int y = c.top(); y <= c.bottom(); ++y)
            for (int x = c.left(); x <= c.right(); ++x)
                crossDrawn = crossDrawn || !sameColor(shot.pixel(x, y), back);
        QVERIFY(crossDrawn);

        // Pages the caller deletes leave the control working.
        delete f.pages.at(1);
        f.ctrl.SetActivePage(1);
        QCOMPARE(f.ctrl.GetActivePage(), 1);
        f.ctrl.resize(260, 220);
        f.ctrl.UpdateWindow();
        QVERIFY(!f.ctrl.grab().isNull());
    }

    void ownership()
    {
        QPointer<QWidget> created;
        QPointer<QWidget> given;
        {
            CCoolTabCtrl ctrl;
            ctrl.Create(kTabStyleTop, QRect(0, 0, 200, 200), nullptr, 125);
            QCOMPARE(ctrl.AddCreatedPage(
                         [&created](QWidget* parent) {
                             created = new QWidget(parent);
                             return created.data();
                         },
                         QStringLiteral("c")),
                     1);
            QCOMPARE(ctrl.GetPageItem(0)->m_nStyle, int(CCoolTabCtrl::CPageItem::kCreatedWindow));
            given = new QWidget;
            ctrl.AddPage(given, QStringLiteral("g"));
            QCOMPARE(given->parentWidget(), &ctrl); // moved into the control
            QCOMPARE(ctrl.GetPageItem(1)->m_nStyle, int(CCoolTabCtrl::CPageItem::kCallersWindow));
            QCOMPARE(given->geometry(), ctrl.GetClientRect().adjusted(2, 2, -2, -2));
            QVERIFY(created);
        }
        QVERIFY(!created);
    }

    void sizingRule()
    {
        // Only a window is sized by the user dragging its edge.
        CCoolTabCtrl window;
        window.Create(kTabStyleTop | kTabCtrlVisible, QRect(50, 50, 600, 200), nullptr, 125);
        window.AddPage(new QWidget, QStringLiteral("a"));
        window.resize(450, 220);
        QTRY_COMPARE(window.size(), QSize(300, 220));
        QCOMPARE(window.GetPageItem(0)->m_pWnd->geometry(), window.GetClientRect().adjusted(2, 2, -2, -2));
        window.resize(640, 220);
        QTRY_COMPARE(window.size(), QSize(640, 220));

        QWidget bar;
        bar.resize(200, 300);
        auto* child = new CCoolTabCtrl;
        child->Create(kTabStyleTop | kTabCtrlVisible, QRect(0, 0, 200, 300), &bar, 125);
        bar.show();
        child->resize(180, 280);
        QCOMPARE(child->size(), QSize(180, 280));
    }
};

QTEST_MAIN(TestCoolTabCtrl)
#include "tst_cooltabctrl.moc"
