#include <quenlit/coolheaderctrl.h>
#include <quenlit/coollistctrl.h>

#include <QtTest>

using Quenlit::CCoolHeaderCtrl;
using Quenlit::CCoolListCtrl;
using Quenlit::CoolRowLook;
using Quenlit::RowLookFor;
using Quenlit::SortArrowPoints;

Q_DECLARE_METATYPE(Quenlit::CoolRowLook)

namespace {

void fill(CCoolListCtrl& list, const QList<QStringList>& rows)
{
    list.InsertColumn(0, QStringLiteral("登陆时间"), 120);
    list.InsertColumn(1, QStringLiteral("登陆站点"), 160);
    list.InsertColumn(2, QStringLiteral("停留时间"), 80);
    for (const QStringList& r : rows) {
        const int i = list.InsertItem(list.GetItemCount(), r[0]);
        for (int c = 1; c < r.size(); ++c)
            list.SetItemText(i, c, r[c]);
    }
}

QStringList column(const CCoolListCtrl& list, int c)
{
    QStringList out;
    for (int i = 0; i < list.GetItemCount(); ++i)
        out << list.GetItemText(i, c);
    return out;
}

} // namespace

class TestCoolListCtrl : public QObject
{
    Q_OBJECT

private slots:
    void rowLooks_data()
    {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("current");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<CoolRowLook>("look");
        QTest::newRow("current row of the focused list") << true << true << true << CoolRowLook::Focused;
        QTest::newRow("current row even unselected") << true << true << false << CoolRowLook::Focused;
        QTest::newRow("other selected row, focused list") << true << false << true << CoolRowLook::Selected;
        QTest::newRow("plain row, focused list") << true << false << false << CoolRowLook::Other;
        QTest::newRow("selected row, unfocused list") << false << true << true << CoolRowLook::SelectedUnfocused;
        QTest::newRow("current row of an unfocused list is plain") << false << true << false << CoolRowLook::Other;
    }
    void rowLooks()
    {
        QFETCH(bool, focused);
        QFETCH(bool, current);
        QFETCH(bool, selected);
        QFETCH(CoolRowLook, look);
        QCOMPARE(RowLookFor(focused, current, selected), look);
    }

    void rowsAndColumns()
    {
        CCoolListCtrl list;
        fill(list, {{"a", "http://a/", "1"}, {"b", "http://b/", "2"}});
        QCOMPARE(list.columnCount(), 3);
        QCOMPARE(list.headerItem()->text(1), QStringLiteral("登陆站点"));
        QCOMPARE(list.columnWidth(1), 160);
        QCOMPARE(list.InsertItem(0, QStringLiteral("first")), 0);
        QCOMPARE(column(list, 0), (QStringList{"first", "a", "b"}));
        QCOMPARE(list.InsertItem(99, QStringLiteral("last")), 3);
        QVERIFY(!list.SetItemText(9, 0, QStringLiteral("x")));
        QVERIFY(!list.SetItemText(0, 3, QStringLiteral("x")));

        QVERIFY(!list.DeleteItem(-1));
        QVERIFY(!list.DeleteItem(list.GetItemCount()));
        QCOMPARE(list.GetItemCount(), 4);
        QVERIFY(list.DeleteItem(0));
        QCOMPARE(column(list, 0), (QStringList{"a", "b", "last"}));
        list.DeleteAllItems();
        QCOMPARE(list.GetItemCount(), 0);
        QCOMPARE(list.columnCount(), 3);
    }

    void insertingAColumnKeepsRowsAligned()
    {
        CCoolListCtrl list;
        list.InsertColumn(0, QStringLiteral("A"), 50);
        list.InsertColumn(1, QStringLiteral("C"), 70);
        list.InsertItem(0, QStringLiteral("a"));
        list.SetItemText(0, 1, QStringLiteral("c"));
        QCOMPARE(list.InsertColumn(1, QStringLiteral("B"), 60), 1);
        QCOMPARE(list.GetItemText(0, 0), QStringLiteral("a"));
        QCOMPARE(list.GetItemText(0, 1), QString());
        QCOMPARE(list.GetItemText(0, 2), QStringLiteral("c"));
        QCOMPARE(list.columnWidth(1), 60);
        QCOMPARE(list.columnWidth(2), 70);
    }

    void rowHeight()
    {
        CCoolListCtrl list;
        fill(list, {{"a", "x", "1"}, {"b", "y", "2"}});
        list.resize(400, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        QCOMPARE(list.visualItemRect(list.topLevelItem(0)).height(), 25);
        list.SetItemHeight(40);
        QTRY_COMPARE(list.visualItemRect(list.topLevelItem(1)).height(), 40);
        QCOMPARE(list.GetFullCellRect(1, 1), QRect(120, 40, 160, 40));
        QCOMPARE(list.GetCellRect(1, 1), QRect(121, 41, 158, 38));
        QVERIFY(list.GetCellRect(5, 0).isNull());
        list.SetItemHeight(0);
        QCOMPARE(list.ItemHeight(), 40);
    }

    void sortByColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("numbers by value") << 2 << true << QStringList{"b", "c", "a"};
        QTest::newRow("numbers descending") << 2 << false << QStringList{"a", "c", "b"};
        QTest::newRow("texts") << 1 << true << QStringList{"c", "a", "b"};
    }
    void sortByColumn()
    {
        QFETCH(int, column);
        QFETCH(bool, ascending);
        QFETCH(QStringList, order);
        CCoolListCtrl list;
        fill(list, {{"a", "http://m/", "100"}, {"b", "http://z/", "9"}, {"c", "http://a/", "10"}});
        list.Sort(column, ascending);
        QCOMPARE(::column(list, 0), order);
        QCOMPARE(list.HeaderCtrl()->SortColumn(), column);
        QCOMPARE(list.HeaderCtrl()->SortAscending(), ascending);
    }

    void headerClickSortsAndTurnsTheDirection()
    {
        CCoolListCtrl list;
        fill(list, {{"a", "x", "3"}, {"b", "y", "1"}, {"c", "z", "2"}});
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        CCoolHeaderCtrl* header = list.HeaderCtrl();
        const QPoint third(header->sectionViewportPosition(2) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(column(list, 0), (QStringList{"b", "c", "a"}));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, third);
        QCOMPARE(column(list, 0), (QStringList{"a", "c", "b"}));
        QVERIFY(!list.SortAscending());
    }

    void focusedRowIsRedOnTheLightGround()
    {
        CCoolListCtrl list;
        fill(list, {{"████", "████", "1"}, {"████", "████", "2"}});
        list.resize(400, 200);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFocus();
        list.setCurrentItem(list.topLevelItem(0));
        QTRY_VERIFY(list.hasFocus());
        const QRect cell = list.GetCellRect(0, 0);
        auto colours = [&] {
            const QImage img = list.viewport()->grab().toImage();
            QSet<QRgb> seen;
            for (int x = cell.left(); x <= cell.right(); ++x)
                seen.insert(img.pixel(x, cell.center().y()));
            return seen;
        };
        QSet<QRgb> seen = colours();
        QVERIFY(seen.contains(QColor(255, 0, 0).rgb()));
        QVERIFY(seen.contains(CCoolListCtrl::SelectedBackground().rgb()));

        list.clearFocus();
        QTRY_VERIFY(!list.hasFocus());
        seen = colours();
        QVERIFY(!seen.contains(QColor(255, 0, 0).rgb()));
        QVERIFY(seen.contains(CCoolListCtrl::SelectedBackground().rgb()));
        QVERIFY(seen.contains(QColor(0, 0, 0).rgb()));
    }

    void sortArrowSitsBetween22And5PixelsFromTheRight()
    {
        const QRect section(100, 0, 120, 24);
        for (bool ascending : {true, false}) {
            const QPolygon arrow = SortArrowPoints(section, ascending);
            const QRect box = arrow.boundingRect();
            QVERIFY(box.left() >= 220 - 22);
            QVERIFY(box.right() <= 220 - 5);
            QVERIFY(box.top() >= 0 && box.bottom() < 24);
        }
        // The tip is the third point: above the base when ascending, below when descending.
        QVERIFY(SortArrowPoints(section, true)[2].y() < SortArrowPoints(section, true)[0].y());
        QVERIFY(SortArrowPoints(section, false)[2].y() > SortArrowPoints(section, false)[0].y());
    }

    void headerCaptionsAreCut()
    {
        CCoolListCtrl list;
        list.InsertColumn(0, QStringLiteral("一个很长很长很长很长的列标题"), 40);
        list.InsertColumn(1, QStringLiteral("短"), 100);
        QVERIFY(list.HeaderCtrl()->DisplayedText(0).endsWith(QChar(0x2026)));
        QCOMPARE(list.HeaderCtrl()->DisplayedText(1), QStringLiteral("短"));
        QVERIFY(list.HeaderCtrl()->sizeHint().height() >= list.HeaderCtrl()->CalcFontHeight() + 10);
    }
};

QTEST_MAIN(TestCoolListCtrl)
#include "tst_coollistctrl.moc"
