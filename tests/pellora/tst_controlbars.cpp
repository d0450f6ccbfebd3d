#include "skintest.h"

#include <isolatedenvironment.h>

#include <inioperater.h>
#include <pellora/colorref.h>
#include <pellora/coolbar.h>
#include <pellora/cooltabctrl.h>
#include <pellora/cooltreectrl.h>
#include <pellora/sizingcontrolbar.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace Pellora;

using SkinTest::sameColor;

Q_DECLARE_METATYPE(Qt::DockWidgetArea)

namespace {

constexpr int kBarId = 7;
const QString kProfile = QStringLiteral("P");

// A frame that records a right click reaching it instead of opening its menu of bars.
class RecordingFrame : public QMainWindow
{
public:
    int contextMenus = 0;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        ++contextMenus;
        event->accept();
    }
};

struct Frame {
    RecordingFrame win;
    explicit Frame(Qt::WindowFlags flags = {})
    {
        if (flags)
            win.setWindowFlags(flags);
        win.setCentralWidget(new QWidget);
        win.resize(900, 700);
    }
    CCoolBar* bar(int id, const QSize& size = QSize(200, 200), bool gripper = true)
    {
        auto* b = new CCoolBar;
        b->Create(QStringLiteral("工作区"), &win, size, gripper, id);
        b->setWidget(new QWidget);
        return b;
    }
    void show()
    {
        win.show();
        QVERIFY(QTest::qWaitForWindowExposed(&win));
    }
};

void writeProfile(const QByteArray& text)
{
    QFile file(ControlBarProfileFile());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray readProfile()
{
    QFile file(ControlBarProfileFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

BarSizes sizes(QSize horz, QSize vert, QSize floating)
{
    BarSizes s;
    s.horzDocked = horz;
    s.vertDocked = vert;
    s.floating = floating;
    return s;
}

// Pixels of `image` inside `r` that are not `color`.
int pixelsOtherThan(const QImage& image, const QRect& r, QColor color)
{
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            count += sameColor(image.pixel(x, y), color, 0) ? 0 : 1;
    return count;
}

} // namespace

class TestControlBars : public QObject
{
    Q_OBJECT

private slots:
    void clampAndNames_data()
    {
        QTest::addColumn<QSize>("horz");
        QTest::addColumn<QSize>("vert");
        QTest::addColumn<QSize>("floating");
        QTest::addColumn<QSize>("horzOut");
        QTest::addColumn<QSize>("vertOut");
        QTest::addColumn<QSize>("floatingOut");
        QTest::newRow("first sizes stay") << QSize(200, 200) << QSize(200, 200) << QSize(200, 200) << QSize(200, 200)
                                          << QSize(200, 200) << QSize(200, 200);
        QTest::newRow("a height of 10 is raised")
            << QSize(200, 10) << QSize(200, 10) << QSize(200, 10) << QSize(200, 32) << QSize(200, 32)
            << QSize(200, 32);
        QTest::newRow("each dimension on its own")
            << QSize(32, 31) << QSize(-5, 500) << QSize(36, 33) << QSize(33, 32) << QSize(33, 500) << QSize(37, 33);
        QTest::newRow("exactly the minimums") << QSize(33, 32) << QSize(33, 32) << QSize(37, 32) << QSize(33, 32)
                                              << QSize(33, 32) << QSize(37, 32);
    }
    void clampAndNames()
    {
        QFETCH(QSize, horz);
        QFETCH(QSize, vert);
        QFETCH(QSize, floating);
        QFETCH(QSize, horzOut);
        QFETCH(QSize, vertOut);
        QFETCH(QSize, floatingOut);
        const BarSizes out = ClampBarSizes(sizes(horz, vert, floating));
        QCOMPARE(out.horzDocked, horzOut);
        QCOMPARE(out.vertDocked, vertOut);
        QCOMPARE(out.floating, floatingOut);

        QCOMPARE(ControlBarSection(QStringLiteral("Lorvane"), 123), QStringLiteral("Lorvane-SCBar-123"));
        QCOMPARE(ControlBarSection(QStringLiteral("%s %d %1"), -4), QStringLiteral("%s %d %1-SCBar--4"));
    }

    void shareRow_data()
    {
        QTest::addColumn<QList<int>>("lengths");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("wanted");
        QTest::addColumn<QList<int>>("minimums");
        QTest::addColumn<QList<int>>("result");
        QTest::newRow("the neighbour gives way") << QList<int>{447, 447} << 0 << 520 << QList<int>{33, 33}
                                                 << QList<int>{520, 374};
        QTest::newRow("the last bar grows") << QList<int>{447, 447} << 1 << 600 << QList<int>{33, 33}
                                            << QList<int>{294, 600};
        QTest::newRow("others share in proportion") << QList<int>{200, 100, 300} << 1 << 300
                                                    << QList<int>{33, 33, 33} << QList<int>{120, 300, 180};
        QTest::newRow("never below the others' minimums")
            << QList<int>{300, 300} << 0 << 2000 << QList<int>{33, 40} << QList<int>{560, 40};
        QTest::newRow("never below its own minimum") << QList<int>{300, 300} << 1 << 10 << QList<int>{33, 33}
                                                     << QList<int>{567, 33};
        QTest::newRow("a neighbour at its minimum stays there")
            << QList<int>{33, 300, 300} << 2 << 500 << QList<int>{33, 33, 33} << QList<int>{33, 100, 500};
        QTest::newRow("no such bar") << QList<int>{100, 100} << 5 << 150 << QList<int>{33, 33}
                                     << QList<int>{100, 100};
        QTest::newRow("alone in its row") << QList<int>{100} << 0 << 150 << QList<int>{33} << QList<int>{100};
    }
    void shareRow()
    {
        QFETCH(QList<int>, lengths);
        QFETCH(int, index);
        QFETCH(int, wanted);
        QFETCH(QList<int>, minimums);
        QFETCH(QList<int>, result);
        QCOMPARE(ShareRowLength(lengths, index, wanted, minimums), result);
    }

    void saveAndLoad()
    {
        IsolatedEnvironment env;
        QVERIFY(ControlBarProfileFile().startsWith(env.configHome()));
        writeProfile("; bars of the frame\r\n[Other]\r\nkey = value\r\n");

        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        QCOMPARE(bar->Sizes(), BarSizes{});
        const BarSizes wanted = sizes({300, 120}, {180, 400}, {250, 150});
        bar->SetSizes(wanted);
        bar->SaveState(kProfile);

        const CINIOperater ini(ControlBarProfileFile());
        const QString section = QStringLiteral("P-SCBar-7");
        QCOMPARE(ini.ReadSections(), (QStringList{QStringLiteral("Other"), section}));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeHorzCX")), QStringLiteral("300"));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeHorzCY")), QStringLiteral("120"));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeVertCX")), QStringLiteral("180"));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeVertCY")), QStringLiteral("400"));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeFloatCX")), QStringLiteral("250"));
        QCOMPARE(ini.ReadString(section, QStringLiteral("sizeFloatCY")), QStringLiteral("150"));
        // The rest of the file is untouched.
        QVERIFY(readProfile().startsWith("; bars of the frame\r\n[Other]\r\nkey = value\r\n"));

        CCoolBar* again = f.bar(kBarId);
        again->LoadState(kProfile);
        QCOMPARE(again->Sizes(), wanted);
        CCoolBar* other = f.bar(kBarId + 1);
        other->LoadState(kProfile);
        QCOMPARE(other->Sizes(), BarSizes{});

        // Saving again changes the values in place, not a second section.
        bar->SetSizes(sizes({310, 120}, {180, 400}, {250, 150}));
        bar->SaveState(kProfile);
        QCOMPARE(readProfile().count("[P-SCBar-7]"), 1);
        QCOMPARE(CINIOperater(ControlBarProfileFile()).ReadString(section, QStringLiteral("sizehorzcx")),
                 QStringLiteral("310"));

        // A profile name with format characters is taken as it is.
        bar->SaveState(QStringLiteral("%s%d"));
        CCoolBar* formatted = f.bar(kBarId);
        formatted->LoadState(QStringLiteral("%s%d"));
        QCOMPARE(formatted->Sizes().horzDocked, QSize(310, 120));
    }

    void loadState_data()
    {
        QTest::addColumn<QByteArray>("profile");
        QTest::addColumn<QSize>("horz");
        QTest::addColumn<QSize>("vert");
        QTest::addColumn<QSize>("floating");
        QTest::addColumn<int>("logged");
        const QSize d(200, 200);
        QTest::newRow("a height of 10 is raised to the minimum")
            << QByteArray("[P-SCBar-7]\nsizeVertCY=10\n") << d << QSize(200, 32) << d << 0;
        QTest::newRow("every value below its minimum")
            << QByteArray("[P-SCBar-7]\nsizeHorzCX=1\nsizeHorzCY=2\nsizeVertCX=-5\nsizeVertCY=0\n"
                          "sizeFloatCX=36\nsizeFloatCY=31\n")
            << QSize(33, 32) << QSize(33, 32) << QSize(37, 32) << 0;
        QTest::newRow("missing keys keep the current sizes")
            << QByteArray("[P-SCBar-7]\nsizeFloatCX=400\n") << d << d << QSize(400, 200) << 0;
        QTest::newRow("values that are no numbers keep the current sizes")
            << QByteArray("[P-SCBar-7]\nsizeHorzCX=wide\nsizeHorzCY=99999999999\nsizeVertCX=12px\n") << d << d << d
            << 3;
        QTest::newRow("another bar's section") << QByteArray("[P-SCBar-8]\nsizeHorzCX=321\n") << d << d << d << 0;
        QTest::newRow("names compare without case")
            << QByteArray("[p-scbar-7]\nSIZEHORZCX = 321\n") << QSize(321, 200) << d << d << 0;
        QTest::newRow("damaged bytes") << QByteArray("\x00\xff[[[\n=\n]]\nsizeHorzCX=5", 24) << d << d << d << 0;
        QTest::newRow("no file") << QByteArray() << d << d << d << 0;
    }
    void loadState()
    {
        QFETCH(QByteArray, profile);
        QFETCH(QSize, horz);
        QFETCH(QSize, vert);
        QFETCH(QSize, floating);
        QFETCH(int, logged);
        IsolatedEnvironment env;
        if (!profile.isEmpty())
            writeProfile(profile);
        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        SkinTest::LoggedWarnings warnings;
        bar->LoadState(kProfile);
        QCOMPARE(bar->Sizes().horzDocked, horz);
        QCOMPARE(bar->Sizes().vertDocked, vert);
        QCOMPARE(bar->Sizes().floating, floating);
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), logged);
    }

    void unusableProfiles()
    {
        IsolatedEnvironment env;
        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        const BarSizes wanted = sizes({300, 120}, {180, 400}, {250, 150});
        bar->SetSizes(wanted);
        SkinTest::LoggedWarnings warnings;

        // A name that would break the file's section lines is refused; nothing is written.
        bar->SaveState(QStringLiteral("x]\n[evil"));
        QVERIFY(!QFile::exists(ControlBarProfileFile()));
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), 1);

        // A profile file that cannot be read is left alone and the sizes stay.
        QVERIFY(QDir().mkpath(ControlBarProfileFile()));
        warnings.clear();
        bar->LoadState(kProfile);
        QCOMPARE(bar->Sizes(), wanted);
        bar->SaveState(kProfile);
        QVERIFY(QFileInfo(ControlBarProfileFile()).isDir());
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), 2);
    }

    void docking_data()
    {
        QTest::addColumn<Qt::DockWidgetArea>("area");
        QTest::addColumn<bool>("floating");
        QTest::addColumn<bool>("horz");
        QTest::addColumn<bool>("vert");
        QTest::newRow("left") << Qt::LeftDockWidgetArea << false << false << true;
        QTest::newRow("right") << Qt::RightDockWidgetArea << false << false << true;
        QTest::newRow("top") << Qt::TopDockWidgetArea << false << true << false;
        QTest::newRow("bottom") << Qt::BottomDockWidgetArea << false << true << false;
        QTest::newRow("floating") << Qt::LeftDockWidgetArea << true << false << false;
    }
    void docking()
    {
        QFETCH(Qt::DockWidgetArea, area);
        QFETCH(bool, floating);
        QFETCH(bool, horz);
        QFETCH(bool, vert);
        IsolatedEnvironment env;
        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        bar->SetSizes(sizes({300, 90}, {150, 300}, {260, 180}));
        f.win.addDockWidget(area, bar);
        f.show();
        if (floating)
            bar->setFloating(true);

        QTRY_COMPARE(bar->IsFloating(), floating);
        QCOMPARE(bar->IsHorzDocked(), horz);
        QCOMPARE(bar->IsVertDocked(), vert);
        QWidget* band = bar->Gripper();
        const int depth = bar->GripperDepth() + 2;
        QCOMPARE(bar->GripperDepth(), 12);
        if (floating) {
            QTRY_COMPARE(bar->size(), QSize(260, 180));
            QCOMPARE(bar->minimumSize(), QSize(37, 32));
            // Still one of the frame's own windows.
            QVERIFY(bar->isWindow());
            QCOMPARE(bar->parentWidget(), &f.win);
        } else {
            QCOMPARE(bar->minimumSize(), QSize(33, 32));
            if (horz)
                QTRY_COMPARE(bar->height(), 90);
            else
                QTRY_COMPARE(bar->width(), 150);
        }
        // The band runs along the left of a bar docked at the top or bottom, along the
        // top otherwise, with the close button at its far end.
        if (horz) {
            QTRY_COMPARE(band->width(), depth);
            QCOMPARE(band->height(), bar->height());
            QCOMPARE(bar->CloseButtonRect().topLeft(), QPoint(1, 2));
        } else {
            QTRY_COMPARE(band->height(), depth);
            // A floating bar keeps a thin frame of its own around the band.
            QVERIFY(band->width() <= bar->width() && band->width() >= bar->width() - 4);
            QVERIFY(band->y() <= 2);
            QCOMPARE(bar->CloseButtonRect().topLeft(), QPoint(band->width() - 13 - 2, 1));
        }
        QVERIFY(band->rect().contains(bar->CloseButtonRect()));
    }

    void userResizeIsRemembered()
    {
        IsolatedEnvironment env;
        Frame f;
        CCoolBar* bar = f.bar(kBarId, QSize(200, 260));
        f.win.addDockWidget(Qt::LeftDockWidgetArea, bar);
        f.show();
        QTRY_COMPARE(bar->width(), 200);
        // As when the child drags the separator.
        f.win.resizeDocks({bar}, {240}, Qt::Horizontal);
        QTRY_COMPARE(bar->Sizes().vertDocked.width(), 240);
        bar->SaveState(kProfile);
        QCOMPARE(CINIOperater(ControlBarProfileFile()).ReadString(QStringLiteral("P-SCBar-7"),
                                                                   QStringLiteral("sizeVertCX")),
                 QStringLiteral("240"));
        // The other states' sizes are not touched by it.
        QCOMPARE(bar->Sizes().horzDocked, QSize(200, 260));
        QCOMPARE(bar->Sizes().floating, QSize(200, 260));
    }

    void closeButtonHidesAndShowRestores()
    {
        IsolatedEnvironment env;
        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        bar->SetSizes(sizes({300, 90}, {230, 300}, {260, 180}));
        f.win.addDockWidget(Qt::LeftDockWidgetArea, bar);
        f.show();
        QTRY_COMPARE(bar->width(), 230);
        QSignalSpy closed(bar, &CCoolBar::closedByButton);
        QWidget* band = bar->Gripper();
        const QPoint button = bar->CloseButtonRect().center();

        // Pressing the button and letting go elsewhere changes nothing.
        QTest::mousePress(band, Qt::LeftButton, Qt::NoModifier, button);
        QTest::mouseRelease(band, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
        QVERIFY(bar->isVisible());
        QCOMPARE(closed.count(), 0);

        QTest::mouseClick(band, Qt::LeftButton, Qt::NoModifier, button);
        QVERIFY(!bar->isVisible());
        QCOMPARE(closed.count(), 1);
        QVERIFY(!bar->toggleViewAction()->isChecked());
        QCOMPARE(f.win.dockWidgetArea(bar), Qt::LeftDockWidgetArea);

        // Another bar takes the side while it is hidden; shown again, it has its size.
        CCoolBar* neighbour = f.bar(kBarId + 1);
        f.win.addDockWidget(Qt::LeftDockWidgetArea, neighbour, Qt::Horizontal);
        QTRY_VERIFY(neighbour->isVisible());
        f.win.resizeDocks({neighbour}, {400}, Qt::Horizontal);
        bar->show();
        QTRY_COMPARE(bar->width(), 230);
        QVERIFY(bar->toggleViewAction()->isChecked());

        // The close message hides it the same way.
        bar->OnCoolBarClose();
        QVERIFY(!bar->isVisible());
        QCOMPARE(closed.count(), 1);
        bar->toggleViewAction()->trigger();
        QTRY_COMPARE(bar->width(), 230);
    }

    void twoBarsShareARow()
    {
        IsolatedEnvironment env;
        Frame f;
        CCoolBar* a = f.bar(1);
        CCoolBar* b = f.bar(2);
        f.win.addDockWidget(Qt::TopDockWidgetArea, a, Qt::Horizontal);
        f.win.addDockWidget(Qt::TopDockWidgetArea, b, Qt::Horizontal);
        f.show();
        QTRY_VERIFY(a->isVisible() && b->isVisible());
        QTRY_COMPARE(a->height(), 200);
        QCOMPARE(a->y(), b->y());
        QVERIFY(b->x() > a->x());
        const int row = a->width() + b->width();
        QVERIFY(row > f.win.width() - 20);

        a->SetSizes(sizes({520, 120}, {200, 200}, {200, 200}));
        QTRY_COMPARE(a->width(), 520);
        QTRY_COMPARE(a->width() + b->width(), row);
        QCOMPARE(a->height(), b->height()); // one row, one depth
        QCOMPARE(a->height(), 120);
        // The neighbour gave up its length and remembers what it has now.
        QTRY_COMPARE(b->Sizes().horzDocked.width(), row - 520);

        b->SetSizes(sizes({600, 120}, {200, 200}, {200, 200}));
        QTRY_COMPARE(b->width(), 600);
        QCOMPARE(a->width(), row - 600);
        QCOMPARE(a->y(), b->y());
    }

    void floatingStaysAboveItsFrame()
    {
        IsolatedEnvironment env;
        Frame f(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        CCoolBar* bar = f.bar(kBarId);
        f.win.addDockWidget(Qt::LeftDockWidgetArea, bar);
        f.show();
        bar->setFloating(true);
        QTRY_VERIFY(bar->isVisible() && bar->isWindow());
        QTRY_VERIFY(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint) && bar->isVisible());
        const Qt::WindowFlags flags = bar->windowFlags();
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(flags.testFlag(Qt::FramelessWindowHint)); // no window menu, no minimise
        QCOMPARE(bar->parentWidget(), &f.win);
        QVERIFY(bar->windowHandle() && bar->windowHandle()->transientParent() == f.win.windowHandle());

        bar->setFloating(false);
        QTRY_VERIFY(bar->IsVertDocked());
        QVERIFY(bar->isVisible());
    }

    void draggingTheBandFloatsTheBar()
    {
        IsolatedEnvironment env;
        Frame f(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
        CCoolBar* bar = f.bar(kBarId);
        bar->SetSizes(sizes({300, 90}, {150, 300}, {260, 180}));
        f.win.addDockWidget(Qt::LeftDockWidgetArea, bar);
        f.show();
        QTRY_COMPARE(bar->width(), 150);
        QWidget* band = bar->Gripper();
        QTest::mousePress(band, Qt::LeftButton, Qt::NoModifier, QPoint(10, 6));
        for (int step = 1; step <= 10; ++step)
            QTest::mouseMove(band, QPoint(10 + step * 30, 6 + step * 30));
        QTest::mouseRelease(band, Qt::LeftButton, Qt::NoModifier, QPoint(310, 306));
        QTRY_VERIFY(bar->IsFloating());
        QVERIFY(bar->isVisible());
        QTRY_COMPARE(bar->size(), QSize(260, 180));
        QTRY_VERIFY(bar->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(bar->isVisible());
    }

    void rightClicksStayInTheBar()
    {
        Frame f;
        CCoolBar* bar = f.bar(kBarId);
        auto* tabs = new CCoolTabCtrl;
        tabs->Create(kTabStyleTop | kTabCtrlVisible, QRect(0, 0, 100, 100), bar, 125);
        bar->setWidget(tabs);
        auto* tree = new CCoolTreeCtrl(tabs);
        new QTreeWidgetItem(tree, {QStringLiteral("网页")});
        tabs->AddPage(tree, QStringLiteral("收藏夹"));
        tabs->UpdateWindow();
        f.win.addDockWidget(Qt::LeftDockWidgetArea, bar);
        f.show();

        auto rightClick = [](QWidget* w, QPoint pos) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, pos, w->mapToGlobal(pos));
            QApplication::sendEvent(w, &event);
        };
        rightClick(f.win.centralWidget(), QPoint(5, 5));
        QCOMPARE(f.win.contextMenus, 1); // the frame does hear clicks meant for it
        rightClick(bar->Gripper(), QPoint(5, 5));
        rightClick(tabs, tabs->GetPageItem(0)->m_rect.center());
        rightClick(tree->viewport(), QPoint(5, 5));
        rightClick(tree->viewport(), QPoint(50, 150));
        QCOMPARE(f.win.contextMenus, 1);
        QVERIFY(bar->isVisible());
    }

    void creation()
    {
        SkinTest::LoggedWarnings warnings;
        CCoolBar orphan;
        QVERIFY(!orphan.Create(QStringLiteral("x"), nullptr, QSize(10, 10), true, 5));
        QCOMPARE(warnings.in(QStringLiteral("lorvane.skin")).size(), 1);

        Frame f;
        auto* bar = new CCoolBar;
        QVERIFY(bar->Create(QStringLiteral("工作区"), &f.win, QSize(200, 10), false, 123));
        QVERIFY(!bar->Create(QStringLiteral("again"), &f.win, QSize(50, 50), true, 124));
        QCOMPARE(bar->BarId(), 123);
        QCOMPARE(bar->objectName(), QStringLiteral("123"));
        QCOMPARE(bar->windowTitle(), QStringLiteral("工作区"));
        QCOMPARE(bar->Sizes(), sizes({200, 32}, {200, 32}, {200, 32}));
        QVERIFY(!bar->HasGripper());
        QCOMPARE(bar->GetNotifyWindow(), &f.win);
        QCOMPARE(bar->GetBackColor(), MakeColorRef(38, 89, 140));
        {
            QObject other;
            bar->SetNotifyWindow(&other);
            QCOMPARE(bar->GetNotifyWindow(), &other);
        }
        QCOMPARE(bar->GetNotifyWindow(), nullptr);
        QCOMPARE(bar->allowedAreas(), Qt::AllDockWidgetAreas);
    }

    void gripperPainting()
    {
        const QColor back(90, 20, 140);
        Frame f;
        CCoolBar* grip = f.bar(1, QSize(200, 200), true);
        CCoolBar* plain = f.bar(2, QSize(200, 200), false);
        f.win.addDockWidget(Qt::LeftDockWidgetArea, grip);
        f.win.addDockWidget(Qt::LeftDockWidgetArea, plain);
        grip->SetBackColor(QColorToColorRef(back));
        plain->SetBackColor(QColorToColorRef(back));
        f.show();
        QTRY_COMPARE(grip->Gripper()->height(), 14);

        const QRect button = grip->CloseButtonRect();
        const QRect lines(0, 0, button.left() - 1, 14);
        const QImage withLines = grip->Gripper()->grab().toImage();
        const QImage without = plain->Gripper()->grab().toImage();
        QVERIFY(pixelsOtherThan(withLines, lines, back) > 20);
        QCOMPARE(pixelsOtherThan(without, lines, back), 0);
        QVERIFY(pixelsOtherThan(without, button, back) > 10); // the cross
        QCOMPARE(pixelsOtherThan(without, button.adjusted(-5, 0, 0, 0).intersected(QRect(0, 0, 1, 14)), back), 0);
        // The bar's own frame takes the colour too.
        QCOMPARE(grip->palette().color(QPalette::Window), back);

        // Held down, the button looks sunken.
        QTest::mousePress(plain->Gripper(), Qt::LeftButton, Qt::NoModifier, button.center());
        const QImage pushed = plain->Gripper()->grab().toImage();
        QVERIFY(pushed != without);
        QTest::mouseRelease(plain->Gripper(), Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    }

    void closeButtonFace()
    {
        const QPalette pal = QGuiApplication::palette();
        CSCBButton button;
        button.Move(QPoint(4, 5));
        QCOMPARE(button.GetRect(), QRect(4, 5, 13, 13));

        auto paint = [&button](bool pushed, bool raised) {
            button.m_bPushed = pushed;
            button.m_bRaised = raised;
            QImage image(24, 24, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            button.Paint(painter);
            return image;
        };
        const QImage flat = paint(false, false);
        // A cross: its centre and the ends of both strokes, nothing outside the button.
        const QRect r = button.GetRect();
        QVERIFY(sameColor(flat.pixel(r.center()), pal.color(QPalette::ButtonText)));
        QCOMPARE(pixelsOtherThan(flat, QRect(0, 0, 24, 5), Qt::white), 0);
        QCOMPARE(pixelsOtherThan(flat, QRect(0, 18, 24, 6), Qt::white), 0);
        QVERIFY(pixelsOtherThan(flat, r, Qt::white) >= 20);
        QVERIFY(sameColor(flat.pixel(r.topLeft()), Qt::white));

        const QImage raised = paint(false, true);
        QVERIFY(sameColor(raised.pixel(r.topLeft()), pal.color(QPalette::Light)));
        QVERIFY(sameColor(raised.pixel(r.bottomRight()), pal.color(QPalette::Dark)));
        const QImage pushed = paint(true, true);
        QVERIFY(sameColor(pushed.pixel(r.topLeft()), pal.color(QPalette::Dark)));
        QVERIFY(sameColor(pushed.pixel(r.bottomRight()), pal.color(QPalette::Light)));
    }

    void globalState()
    {
        IsolatedEnvironment env;
        const BarSizes one = sizes({300, 80}, {150, 420}, {240, 160});
        const BarSizes two = sizes({40, 40}, {90, 90}, {500, 300});
        {
            Frame f;
            f.bar(1)->SetSizes(one);
            f.bar(2)->SetSizes(two);
            f.win.addDockWidget(Qt::LeftDockWidgetArea, new QDockWidget(QStringLiteral("plain")));
            CSizingControlBar::GlobalSaveState(&f.win, QStringLiteral("G"));
        }
        Frame g;
        CCoolBar* first = g.bar(1);
        CCoolBar* second = g.bar(2);
        CSizingControlBar::GlobalLoadState(&g.win, QStringLiteral("G"));
        QCOMPARE(first->Sizes(), one);
        QCOMPARE(second->Sizes(), two);
        CSizingControlBar::GlobalLoadState(nullptr, QStringLiteral("G"));
        CSizingControlBar::GlobalSaveState(nullptr, QStringLiteral("G"));
    }

    void treeIsWhite()
    {
        QPalette dark = QGuiApplication::palette();
        dark.setColor(QPalette::Base, QColor(30, 30, 30));
        QWidget holder;
        holder.setPalette(dark);
        auto* tree = new CCoolTreeCtrl(&holder);
        tree->resize(200, 300);
        auto* branch = new QTreeWidgetItem(tree, {QStringLiteral("分类")});
        for (int i = 0; i < 500; ++i)
            new QTreeWidgetItem(branch, {QStringLiteral("网页%1").arg(i)});
        holder.show();
        QVERIFY(QTest::qWaitForWindowExposed(&holder));
        QVERIFY(tree->isHeaderHidden());
        const QImage collapsed = tree->viewport()->grab().toImage();
        QVERIFY(sameColor(collapsed.pixel(150, 250), Qt::white, 0));
        tree->expandItem(branch);
        const QImage expanded = tree->viewport()->grab().toImage();
        QVERIFY(sameColor(expanded.pixel(195, 250), Qt::white, 0));
        QVERIFY(pixelsOtherThan(expanded, QRect(0, 200, expanded.width(), 60), Qt::white) > 0); // items are drawn
    }
};

QTEST_MAIN(TestControlBars)
#include "tst_controlbars.moc"
