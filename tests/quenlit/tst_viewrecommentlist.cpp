#include <quenlit/coolheaderctrl.h>
#include <quenlit/viewrecommentlistctrl.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace Quenlit;

Q_DECLARE_METATYPE(Quenlit::CoolRowLook)

namespace {

const QColor kPictureColour(20, 160, 60);
const QChar kEllipsis(0x2026);

// The page's columns, as the recommended-sites page inserts them.
void addColumns(CViewRecommentListCtrl& list)
{
    list.InsertColumn(0, QStringLiteral("站点预览"), 150);
    list.InsertColumn(1, QStringLiteral("网站名称"), 200);
    list.InsertColumn(2, QStringLiteral("网站URL地址"), 280);
}

QList<int> keys(const CViewRecommentListCtrl& list)
{
    QList<int> out;
    for (int i = 0; i < list.GetItemCount(); ++i)
        out << list.GetDataBaseIndex(i);
    return out;
}

QStringList names(const CViewRecommentListCtrl& list)
{
    QStringList out;
    for (int i = 0; i < list.GetItemCount(); ++i)
        out << list.GetItemText(i, 1);
    return out;
}

// Five sites with keys 10 to 14 and names s0 to s4, without pictures.
void fillFive(CViewRecommentListCtrl& list)
{
    addColumns(list);
    for (int i = 0; i < 5; ++i) {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot load the site picture"));
        const int row = list.InsertItem(list.GetItemCount(), QStringLiteral("/nonexistent/%1.bmp").arg(i), 10 + i);
        list.SetItemText(row, 1, QStringLiteral("s%1").arg(i));
    }
}

// The warnings logged while it lives, each as "category: text"; they are not printed.
class WarningLog
{
public:
    WarningLog() { m_previous = qInstallMessageHandler(&WarningLog::record); }
    ~WarningLog()
    {
        qInstallMessageHandler(m_previous);
        s_lines.clear();
    }
    QStringList lines() const { return s_lines; }

private:
    static void record(QtMsgType type, const QMessageLogContext& context, const QString& text)
    {
        if (type == QtWarningMsg)
            s_lines << QStringLiteral("%1: %2").arg(QString::fromLatin1(context.category), text);
    }
    static inline QStringList s_lines;
    QtMessageHandler m_previous;
};

QString writePicture(const QTemporaryDir& dir, const QString& name)
{
    QImage image(128, 96, QImage::Format_RGB32);
    image.fill(kPictureColour);
    const QString path = dir.filePath(name);
    return image.save(path, "BMP") ? path : QString();
}

bool showAndWait(QWidget& w)
{
    w.show();
    return QTest::qWaitForWindowExposed(&w);
}

} // namespace

class TestViewRecommentList : public QObject
{
    Q_OBJECT

private slots:
    void layout_data()
    {
        QTest::addColumn<QRect>("row");
        QTest::addColumn<QList<int>>("widths");
        QTest::addColumn<QRect>("rowRect");
        QTest::addColumn<QList<QRect>>("cells");
        QTest::addColumn<QRect>("pictureBox");
        QTest::addColumn<QRect>("picture");
        QTest::addColumn<QRect>("frame");
        QTest::addColumn<QRect>("secondText");

        QTest::newRow("the page's three columns, first row")
            << QRect(0, 0, 0, 100) << QList<int>{150, 200, 280} << QRect(0, 0, 630, 100)
            << QList<QRect>{QRect(1, 1, 148, 98), QRect(151, 1, 198, 98), QRect(351, 1, 278, 98)}
            << QRect(11, 11, 128, 78) << QRect(14, 14, 122, 72) << QRect(10, 10, 130, 80)
            << QRect(153, 1, 194, 98);
        QTest::newRow("third row, scrolled 40 pixels right")
            << QRect(-40, 200, 0, 100) << QList<int>{150, 200, 280} << QRect(-40, 200, 630, 100)
            << QList<QRect>{QRect(-39, 201, 148, 98), QRect(111, 201, 198, 98), QRect(311, 201, 278, 98)}
            << QRect(-29, 211, 128, 78) << QRect(-26, 214, 122, 72) << QRect(-30, 210, 130, 80)
            << QRect(113, 201, 194, 98);
        QTest::newRow("lower rows keep the margins")
            << QRect(0, 0, 0, 40) << QList<int>{150, 60} << QRect(0, 0, 210, 40)
            << QList<QRect>{QRect(1, 1, 148, 38), QRect(151, 1, 58, 38)} << QRect(11, 11, 128, 18)
            << QRect(14, 14, 122, 12) << QRect(10, 10, 130, 20) << QRect(153, 1, 54, 38);
        QTest::newRow("picture column too narrow for a box")
            << QRect(0, 0, 0, 100) << QList<int>{20, 3} << QRect(0, 0, 23, 100)
            << QList<QRect>{QRect(1, 1, 18, 98), QRect(21, 1, 1, 98)} << QRect(10, 11, 0, 78) << QRect()
            << QRect() << QRect(21, 1, 0, 98);
        QTest::newRow("box with no room for a picture")
            << QRect(0, 0, 0, 100) << QList<int>{26, 0} << QRect(0, 0, 26, 100)
            << QList<QRect>{QRect(1, 1, 24, 98), QRect(26, 1, 0, 98)} << QRect(11, 11, 4, 78) << QRect(13, 14, 0, 72)
            << QRect(10, 10, 6, 80) << QRect(26, 1, 0, 98);
        QTest::newRow("no columns") << QRect(5, 7, 0, 100) << QList<int>{} << QRect(5, 7, 0, 100) << QList<QRect>{}
                                    << QRect() << QRect() << QRect() << QRect();
    }
    void layout()
    {
        QFETCH(QRect, row);
        QFETCH(QList<int>, widths);
        QFETCH(QRect, rowRect);
        QFETCH(QList<QRect>, cells);
        QFETCH(QRect, pictureBox);
        QFETCH(QRect, picture);
        QFETCH(QRect, frame);
        QFETCH(QRect, secondText);

        const RecommentRowLayout l = LayoutRecommentRow(row, widths);
        QCOMPARE(l.row, rowRect);
        QCOMPARE(l.cells, cells);
        QCOMPARE(l.fullCells.size(), widths.size());
        for (int i = 0; i < cells.size(); ++i) {
            QCOMPARE(l.fullCells[i].width(), widths[i]);
            if (!cells[i].isEmpty())
                QCOMPARE(l.fullCells[i].adjusted(1, 1, -1, -1), cells[i]);
        }
        QCOMPARE(l.pictureBox, pictureBox);
        QCOMPARE(l.picture, picture);
        QCOMPARE(l.pictureFrame, frame);
        QCOMPARE(l.textRects.size(), widths.size());
        if (!widths.isEmpty())
            QVERIFY(l.textRects[0].isNull());
        QCOMPARE(l.textRects.value(1), secondText);
        for (const QRect& r : l.cells + l.textRects)
            QVERIFY(r.width() >= 0 && r.height() >= 0);
    }

    void rowLooks_data()
    {
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("current");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<CoolRowLook>("look");
        QTest::addColumn<QColor>("ground");
        QTest::addColumn<QColor>("text");
        const QColor light(231, 241, 245);
        const QColor white(255, 255, 255);
        const QColor red(255, 0, 0);
        const QColor black(0, 0, 0);
        QTest::newRow("focused row of the focused list: red on light")
            << true << true << true << CoolRowLook::Focused << light << red;
        QTest::newRow("other selected row of the focused list: black on light")
            << true << false << true << CoolRowLook::Selected << light << black;
        QTest::newRow("selected row after the focus left: black on light")
            << false << true << true << CoolRowLook::SelectedUnfocused << light << black;
        QTest::newRow("plain row: black on white") << true << false << false << CoolRowLook::Other << white << black;
        QTest::newRow("current but unselected row of an unfocused list is plain")
            << false << true << false << CoolRowLook::Other << white << black;
    }
    void rowLooks()
    {
        QFETCH(bool, focused);
        QFETCH(bool, current);
        QFETCH(bool, selected);
        QFETCH(CoolRowLook, look);
        QFETCH(QColor, ground);
        QFETCH(QColor, text);
        QCOMPARE(RowLookFor(focused, current, selected), look);
        QCOMPARE(RecommentRowBackground(look), ground);
        QCOMPARE(RecommentRowTextColor(look), text);
    }

    void cellText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("elided");
        QTest::addColumn<QString>("shown"); // when not elided
        QTest::newRow("short name as it is") << QStringLiteral("儿童乐园") << 194 << false << QStringLiteral("儿童乐园");
        QTest::newRow("quotes and a format directive as they are")
            << QStringLiteral("It's \"%s\" %d %n") << 194 << false << QStringLiteral("It's \"%s\" %d %n");
        QTest::newRow("markup is not read")
            << QStringLiteral("<b>bold</b> &amp;") << 274 << false << QStringLiteral("<b>bold</b> &amp;");
        QTest::newRow("emoji as they are") << QStringLiteral("🐼🎈 zoo") << 194 << false << QStringLiteral("🐼🎈 zoo");
        QTest::newRow("line breaks become spaces")
            << QStringLiteral("a\nb\r\nc\td") << 194 << false << QStringLiteral("a b  c d");
        QTest::newRow("no room, no text") << QStringLiteral("abc") << 0 << false << QString();
        QTest::newRow("long name ends in an ellipsis")
            << QStringLiteral("很长的网站名称").repeated(20) << 194 << true << QString();
        QTest::newRow("100 KB address ends in an ellipsis")
            << QStringLiteral("http://a.example/") + QString(100 * 1024, u'x') << 274 << true << QString();
        QTest::newRow("100 KB of emoji ends in an ellipsis")
            << QStringLiteral("🐼").repeated(50 * 1024) << 194 << true << QString();
        QTest::newRow("long run of zero-width characters still shows it goes on")
            << QString(50 * 1024, QChar(0x200b)) + QStringLiteral("tail") << 100 << true << QString();
    }
    void cellText()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, elided);
        QFETCH(QString, shown);
        const QFontMetrics metrics(QApplication::font());
        const QString result = RecommentCellText(metrics, text, width);
        if (!elided) {
            QCOMPARE(result, shown);
            return;
        }
        QVERIFY(result.endsWith(kEllipsis));
        QVERIFY(result.size() < text.size());
        QVERIFY(metrics.horizontalAdvance(result) <= width);
        QVERIFY(!result.contains(QChar(0xfffd)));
        // What is shown before the ellipsis is where the text begins, never half a character.
        const QString kept = result.chopped(1);
        QVERIFY(text.startsWith(kept));
        QVERIFY(kept.isEmpty() || !kept.back().isHighSurrogate());
    }

    void rowsKeepTheirDatabaseKeys()
    {
        CViewRecommentListCtrl list;
        fillFive(list);
        QCOMPARE(keys(list), (QList<int>{10, 11, 12, 13, 14}));
        QCOMPARE(list.GetItemText(0, 0), QStringLiteral("/nonexistent/0.bmp"));

        QVERIFY(list.DeleteItem(1));
        QCOMPARE(keys(list), (QList<int>{10, 12, 13, 14}));
        QCOMPARE(names(list), (QStringList{"s0", "s2", "s3", "s4"}));
        QVERIFY(list.DeleteItem(3));
        QCOMPARE(keys(list), (QList<int>{10, 12, 13}));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot load the site picture"));
        QCOMPARE(list.InsertItem(0, QStringLiteral("/nonexistent/new.bmp"), 99), 0);
        QCOMPARE(keys(list), (QList<int>{99, 10, 12, 13}));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot load the site picture"));
        QCOMPARE(list.InsertItem(40, QStringLiteral("/nonexistent/end.bmp"), 7), 4);
        QCOMPARE(keys(list), (QList<int>{99, 10, 12, 13, 7}));

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("refused a site row"));
        QCOMPARE(list.InsertItem(-1, QStringLiteral("/nonexistent/x.bmp"), 5), -1);
        QCOMPARE(list.GetItemCount(), 5);

        QCOMPARE(list.GetDataBaseIndex(-1), -1);
        QCOMPARE(list.GetDataBaseIndex(5), -1);
        QVERIFY(!list.SetItemText(5, 1, QStringLiteral("x")));
        QVERIFY(!list.SetItemText(0, 3, QStringLiteral("x")));

        list.DeleteAllItems();
        QCOMPARE(list.GetItemCount(), 0);
        QCOMPARE(list.columnCount(), 3);
        QCOMPARE(list.GetDataBaseIndex(0), -1);
    }

    void deleteItemBounds_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("-1 is refused") << -1 << false << QList<int>{10, 11, 12, 13, 14};
        QTest::newRow("count is refused") << 5 << false << QList<int>{10, 11, 12, 13, 14};
        QTest::newRow("count + 1 is refused") << 6 << false << QList<int>{10, 11, 12, 13, 14};
        QTest::newRow("a very low index is refused") << int(INT_MIN) << false << QList<int>{10, 11, 12, 13, 14};
        QTest::newRow("the last row goes") << 4 << true << QList<int>{10, 11, 12, 13};
        QTest::newRow("the first row goes") << 0 << true << QList<int>{11, 12, 13, 14};
    }
    void deleteItemBounds()
    {
        QFETCH(int, row);
        QFETCH(bool, deleted);
        QFETCH(QList<int>, after);
        CViewRecommentListCtrl list;
        fillFive(list);
        list.setCurrentItem(list.topLevelItem(2));
        QCOMPARE(list.DeleteItem(row), deleted);
        QCOMPARE(keys(list), after);
        if (!deleted) {
            QCOMPARE(names(list), (QStringList{"s0", "s1", "s2", "s3", "s4"}));
            QCOMPARE(list.GetFirstSelectedRow(), 2);
        }
    }

    void pictures_data()
    {
        QTest::addColumn<QString>("file");   // written into a temporary folder; empty: none
        QTest::addColumn<QByteArray>("bytes"); // the file's contents; empty: a real picture
        QTest::addColumn<bool>("loads");
        QTest::newRow("a snapshot bitmap") << QStringLiteral("a.bmp") << QByteArray() << true;
        QTest::newRow("a missing file") << QString() << QByteArray() << false;
        QTest::newRow("a damaged file") << QStringLiteral("b.bmp") << QByteArray("BM\x10\x00garbage", 11) << false;
        QTest::newRow("an empty file") << QStringLiteral("c.bmp") << QByteArray("", 0) << false;
        QTest::newRow("the folder itself (no image name in the row)") << QStringLiteral(".") << QByteArray() << false;
    }
    void pictures()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, loads);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QString path = dir.filePath(QStringLiteral("missing.bmp"));
        if (file == QStringLiteral(".")) {
            path = dir.path() + QLatin1Char('/');
        } else if (!file.isEmpty() && bytes.isNull()) {
            path = writePicture(dir, file);
            QVERIFY(!path.isEmpty());
        } else if (!file.isEmpty()) {
            path = dir.filePath(file);
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        }

        CViewRecommentListCtrl list;
        addColumns(list);
        {
            // A picture that does not load is told once, with its path, as a skin failure.
            WarningLog log;
            QCOMPARE(list.InsertItem(0, path, 3), 0);
            if (loads) {
                QCOMPARE(log.lines(), QStringList());
            } else {
                QCOMPARE(log.lines().size(), 1);
                QVERIFY2(log.lines().first().startsWith(QLatin1String("lorvane.skin: cannot load the site picture "))
                             && log.lines().first().contains(path),
                         qPrintable(log.lines().first()));
            }
        }
        QCOMPARE(list.HasPicture(0), loads);
        QCOMPARE(list.GetDataBaseIndex(0), 3);
        QCOMPARE(list.GetItemText(0, 0), path);

        // Painted once per row from what was loaded: the file may go, the picture stays.
        QFile::remove(path);
        list.resize(700, 300);
        QVERIFY(showAndWait(list));
        const RecommentRowLayout l = list.RowLayout(0);
        const QImage shot = list.viewport()->grab().toImage();
        const QColor inside = shot.pixelColor(l.picture.center());
        QCOMPARE(inside, loads ? kPictureColour : QColor(Qt::white));
    }

    void rendersFramedPictureBox()
    {
        QTemporaryDir dir;
        const QString path = writePicture(dir, QStringLiteral("snap.bmp"));
        QVERIFY(!path.isEmpty());
        CViewRecommentListCtrl list;
        addColumns(list);
        QCOMPARE(list.InsertItem(0, path, 1), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot load the site picture"));
        QCOMPARE(list.InsertItem(1, dir.filePath(QStringLiteral("gone.bmp")), 2), 1);
        list.SetItemText(0, 1, QStringLiteral("site"));
        list.resize(700, 300);
        QVERIFY(showAndWait(list));
        list.setFocus();
        QTRY_VERIFY(list.hasFocus());
        // Getting the focus picks no row.
        QCOMPARE(list.RowLook(0), CoolRowLook::Other);
        QCOMPARE(list.GetFirstSelectedRow(), -1);

        const QImage shot = list.viewport()->grab().toImage();
        const QColor grid = CViewRecommentListCtrl::GridColor();
        for (int row : {0, 1}) {
            const RecommentRowLayout l = list.RowLayout(row);
            QCOMPARE(l.row.height(), 100);
            const int midY = l.pictureBox.center().y();
            const int midX = l.pictureBox.center().x();
            QCOMPARE(shot.pixelColor(l.pictureFrame.left(), midY), grid);
            QCOMPARE(shot.pixelColor(l.pictureFrame.right(), midY), grid);
            QCOMPARE(shot.pixelColor(midX, l.pictureFrame.top()), grid);
            // The white rounded border inside the frame; the frame shows at the cut corner.
            QCOMPARE(shot.pixelColor(l.pictureBox.left() + 1, midY), QColor(Qt::white));
            QCOMPARE(shot.pixelColor(midX, l.pictureBox.bottom() - 1), QColor(Qt::white));
            QCOMPARE(shot.pixelColor(l.pictureBox.topLeft()), grid);
            // Between the frame and the cell's grid line the row's own ground shows.
            QCOMPARE(shot.pixelColor(l.cells[0].left() + 4, midY), QColor(Qt::white));
            QCOMPARE(shot.pixelColor(l.fullCells[1].left(), midY), grid);
        }
        QCOMPARE(shot.pixelColor(list.RowLayout(0).picture.center()), kPictureColour);
        QCOMPARE(shot.pixelColor(list.RowLayout(0).picture.topLeft() + QPoint(2, 2)), kPictureColour);
        QCOMPARE(shot.pixelColor(list.RowLayout(1).picture.center()), QColor(Qt::white));
    }

    void focusedRowIsRedThenBlackOnTheLightGround()
    {
        CViewRecommentListCtrl list;
        addColumns(list);
        for (int i = 0; i < 2; ++i) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("without a picture"));
            list.InsertItem(i, QString(), i);
            list.SetItemText(i, 1, QStringLiteral("████"));
        }
        list.resize(700, 300);
        QVERIFY(showAndWait(list));
        list.activateWindow();
        list.setFocus();
        list.setCurrentItem(list.topLevelItem(0));
        QTRY_VERIFY(list.hasFocus());
        QCOMPARE(list.RowLook(0), CoolRowLook::Focused);
        QCOMPARE(list.RowLook(1), CoolRowLook::Other);

        auto sample = [&](int row) {
            const QImage img = list.viewport()->grab().toImage();
            const QRect text = list.RowLayout(row).textRects[1];
            QSet<QRgb> seen;
            for (int x = text.left(); x <= text.right(); ++x)
                seen.insert(img.pixel(x, text.center().y()));
            return std::make_pair(seen, img.pixelColor(text.left() + 1, text.top() + 3));
        };
        auto [seen, ground] = sample(0);
        QVERIFY(seen.contains(QColor(255, 0, 0).rgb()));
        QCOMPARE(ground, CViewRecommentListCtrl::SelectedBackground());
        std::tie(seen, ground) = sample(1);
        QVERIFY(!seen.contains(QColor(255, 0, 0).rgb()));
        QVERIFY(seen.contains(QColor(0, 0, 0).rgb()));
        QCOMPARE(ground, QColor(Qt::white));

        list.clearFocus();
        QTRY_VERIFY(!list.hasFocus());
        QCOMPARE(list.RowLook(0), CoolRowLook::SelectedUnfocused);
        std::tie(seen, ground) = sample(0);
        QVERIFY(!seen.contains(QColor(255, 0, 0).rgb()));
        QVERIFY(seen.contains(QColor(0, 0, 0).rgb()));
        QCOMPARE(ground, CViewRecommentListCtrl::SelectedBackground());
    }

    void longTextsAreElidedInTheirCells()
    {
        CViewRecommentListCtrl list;
        fillFive(list);
        const QString huge = QStringLiteral("http://") + QString(100 * 1024, u'a') + QStringLiteral(".example/");
        list.SetItemText(0, 1, QStringLiteral("<i>%s</i> \"🐼\""));
        list.SetItemText(0, 2, huge);
        list.resize(700, 400);
        QVERIFY(showAndWait(list));
        QCOMPARE(list.GetItemText(0, 2), huge);
        QCOMPARE(list.DisplayedText(0, 1), QStringLiteral("<i>%s</i> \"🐼\""));
        const QString shown = list.DisplayedText(0, 2);
        QVERIFY(shown.startsWith(QStringLiteral("http://aaa")));
        QVERIFY(shown.endsWith(kEllipsis));
        QVERIFY(list.fontMetrics().horizontalAdvance(shown) <= list.RowLayout(0).textRects[2].width());
        QCOMPARE(list.DisplayedText(0, 0), QString());
        QCOMPARE(list.DisplayedText(9, 1), QString());
        // Painting the huge text works and leaves the row's other cells alone.
        const QImage shot = list.viewport()->grab().toImage();
        QCOMPARE(shot.pixelColor(list.RowLayout(0).fullCells[2].left(), 50), CViewRecommentListCtrl::GridColor());
    }

    void rowHeight()
    {
        CViewRecommentListCtrl list;
        fillFive(list);
        list.resize(700, 600);
        QVERIFY(showAndWait(list));
        QCOMPARE(list.ItemHeight(), 100);
        QCOMPARE(list.visualItemRect(list.topLevelItem(2)), QRect(0, 200, 630, 100));
        QCOMPARE(list.RowLayout(2).pictureBox, QRect(11, 211, 128, 78));
        list.SetItemHeight(60);
        QTRY_COMPARE(list.visualItemRect(list.topLevelItem(2)).top(), 120);
        QCOMPARE(list.RowLayout(2).row, QRect(0, 120, 630, 60));
        list.SetItemHeight(0);
        QCOMPARE(list.ItemHeight(), 60);
        QVERIFY(list.RowLayout(7).cells.isEmpty());
    }

    void sortShowsTheArrowAndKeepsTheRows()
    {
        CViewRecommentListCtrl list;
        fillFive(list);
        list.SetItemText(0, 2, QStringLiteral("z"));
        list.SetItemText(4, 2, QStringLiteral("a"));
        list.resize(700, 400);
        QVERIFY(showAndWait(list));
        list.Sort(2, false);
        QCOMPARE(list.HeaderCtrl()->SortColumn(), 2);
        QVERIFY(!list.HeaderCtrl()->SortAscending());
        QCOMPARE(keys(list), (QList<int>{10, 11, 12, 13, 14}));

        CCoolHeaderCtrl* header = list.HeaderCtrl();
        for (int column : {1, 2}) {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              QPoint(header->sectionViewportPosition(column) + 20, header->height() / 2));
        }
        QCOMPARE(keys(list), (QList<int>{10, 11, 12, 13, 14}));
        QCOMPARE(list.HeaderCtrl()->SortColumn(), 2);
        QCOMPARE(list.SortColumn(), 2);
    }

    void clicksReportTheRow()
    {
        CViewRecommentListCtrl list;
        fillFive(list);
        list.resize(700, 700);
        QVERIFY(showAndWait(list));
        QCOMPARE(list.GetFirstSelectedRow(), -1);
        QSignalSpy spy(&list, &CViewRecommentListCtrl::itemClicked);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowLayout(1).cells[2].center());
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), 1);
        QCOMPARE(list.GetFirstSelectedRow(), 1);
        QCOMPARE(list.GetDataBaseIndex(list.GetFirstSelectedRow()), 11);

        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.RowLayout(3).pictureBox.center());
        QCOMPARE(spy.takeFirst().at(0).toInt(), 3);
        QCOMPARE(list.selectionModel()->selectedRows().size(), 1);

        // Beside the rows: nothing is selected any more.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(100, 650));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(spy.takeFirst().at(0).toInt(), -1);
        QCOMPARE(list.GetFirstSelectedRow(), -1);

        QTest::mouseClick(list.viewport(), Qt::RightButton, {}, list.RowLayout(0).cells[1].center());
        QCOMPARE(spy.size(), 0);
    }
};

QTEST_MAIN(TestViewRecommentList)
#include "tst_viewrecommentlist.moc"
