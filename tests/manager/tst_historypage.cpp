#include "browsingdatabase.h"
#include "cppsqlitequery.h"
#include "historylistctrl.h"
#include "historypropertypage.h"
#include "historyrules.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "messagerecorder.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>

#include <QDesktopServices>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>

namespace {

// Stands in for the system's browser: every address handed to it is recorded.
class OpenedUrls : public QObject
{
    Q_OBJECT

public:
    OpenedUrls()
    {
        for (const char* scheme : {"http", "https", "file", "javascript", "ftp"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), this, "open");
    }
    ~OpenedUrls() override
    {
        for (const char* scheme : {"http", "https", "file", "javascript", "ftp"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
    }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

// Rows first .. first + count - 1 with addresses "http://site<n>.test/" and n seconds
// each, oldest first, in one statement.
void addHistoryRows(int count, int first = 1)
{
    QByteArray sql = "insert into history(beginTime, delayTime, visitURL) values(?,?,?)";
    std::vector<SqlValue> values;
    for (int i = first; i < first + count; ++i) {
        if (i > first)
            sql += ",(?,?,?)";
        values.insert(values.end(), {QStringLiteral("2026年03月01日 10:%1").arg(i % 60, 2, 10, QLatin1Char('0')), i,
                                     QStringLiteral("http://site%1.test/").arg(i)});
    }
    ExecBrowsingWrite(ManagerData::DataBasePath(), sql.constData(), values);
}

void addHistoryRow(const QString& url, int seconds)
{
    ExecBrowsingWrite(ManagerData::DataBasePath(), "insert into history(beginTime, delayTime, visitURL) values(?,?,?)",
                      {QStringLiteral("2026年03月02日 08:00"), seconds, url});
}

QStringList shownAddresses(const CHistoryListCtrl* list)
{
    QStringList urls;
    for (int i = 0; i < list->GetItemCount(); ++i)
        urls << list->GetItemText(i, 1);
    return urls;
}

QStringList sitesFromNewest(int newest, int count)
{
    QStringList urls;
    for (int i = newest; i > newest - count; --i)
        urls << QStringLiteral("http://site%1.test/").arg(i);
    return urls;
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

// A click and then the double-click, as the mouse sends them: the view acts on a
// double-click only over the row the press went to.
void doubleClickAt(QWidget* viewport, const QPoint& at)
{
    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
}

void doubleClickCell(CHistoryListCtrl* list, int row, int column)
{
    doubleClickAt(list->viewport(), list->GetCellRect(row, column).center());
}

} // namespace

class TestHistoryPage : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;

    struct PageState {
        QString page;
        QString pages;
        bool prev;
        bool next;
        int rows;
    };
    static PageState stateOf(const CHistoryPropertyPage& p)
    {
        return {p.m_editPage->text(), p.m_editPageCount->text(), p.m_btnPrev->isEnabled(), p.m_btnNext->isEnabled(),
                p.m_listHistory->GetItemCount()};
    }
    static void verifyState(const CHistoryPropertyPage& p, const QString& page, const QString& pages, bool prev,
                            bool next, int rows)
    {
        const PageState s = stateOf(p);
        QCOMPARE(s.page, page);
        QCOMPARE(s.pages, pages);
        QCOMPARE(s.prev, prev);
        QCOMPARE(s.next, next);
        QCOMPARE(s.rows, rows);
    }

private slots:
    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        ManagerData::SetDataBasePath(m_env->dataHome() + QStringLiteral("/history.db"));
    }
    void cleanup()
    {
        ManagerData::SetDataBasePath(QString());
        m_env.reset();
    }

    void fortyRowsMakeThreePagesNewestFirst()
    {
        addHistoryRows(40);
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        verifyState(page, "1", "3", false, true, 16);
        QCOMPARE(shownAddresses(page.m_listHistory), sitesFromNewest(40, 16));

        click(page.m_btnNext);
        verifyState(page, "2", "3", true, true, 16);
        QCOMPARE(shownAddresses(page.m_listHistory), sitesFromNewest(24, 16));

        click(page.m_btnNext);
        verifyState(page, "3", "3", true, false, 8);
        QCOMPARE(shownAddresses(page.m_listHistory), sitesFromNewest(8, 8));

        click(page.m_btnPrev);
        verifyState(page, "2", "3", true, true, 16);
        QCOMPARE(boxes.count(), 0);
    }

    void rowsShowTimeAddressAndDuration()
    {
        addHistoryRow(QStringLiteral("打开Lorvane"), 0);
        addHistoryRow(QStringLiteral("http://a.test/it's \"quoted\" %s"), 3725);
        addHistoryRow(QStringLiteral("关闭Lorvane"), 59);
        CHistoryPropertyPage page(nullptr);
        const CHistoryListCtrl* list = page.m_listHistory;
        QCOMPARE(list->GetItemCount(), 3);
        QCOMPARE(list->GetItemText(0, 1), QStringLiteral("关闭Lorvane"));
        QCOMPARE(list->GetItemText(0, 2), QStringLiteral("59秒"));
        QCOMPARE(list->GetItemText(1, 0), QStringLiteral("2026年03月02日 08:00"));
        QCOMPARE(list->GetItemText(1, 1), QStringLiteral("http://a.test/it's \"quoted\" %s"));
        QCOMPARE(list->GetItemText(1, 2), QStringLiteral("1小时2分5秒"));
        QCOMPARE(list->GetItemText(2, 2), QStringLiteral("0秒"));
    }

    void directionMarksShowAsCodes()
    {
        // Shown raw, the override would make the end of this address read "live".
        const QString recorded = QStringLiteral("http://a.test/") + QChar(0x202E) + QStringLiteral("live");
        const QString longOne = QStringLiteral("http://b.test/") + QString(400, QLatin1Char('x')) + QChar(0x2067);
        addHistoryRow(recorded, 5);
        addHistoryRow(longOne, 5);
        OpenedUrls opened;
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        CHistoryListCtrl* list = page.m_listHistory;
        QCOMPARE(list->GetItemText(1, 1), QStringLiteral("http://a.test/<U+202E>live"));

        QTextDocument tip;
        tip.setHtml(list->topLevelItem(1)->toolTip(1));
        QCOMPARE(tip.toPlainText(), QStringLiteral("http://a.test/<U+202E>live"));
        // The long one: a few lines, the cut marked, no direction mark anywhere.
        tip.setHtml(list->topLevelItem(0)->toolTip(1));
        const QStringList lines = tip.toPlainText().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), kToolTipLines);
        QVERIFY(lines.last().endsWith(QChar(0x2026)));
        QVERIFY(!tip.toPlainText().contains(QChar(0x2067)));

        // Opening the row hands on the address as recorded, not as shown.
        doubleClickCell(list, 1, 1);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(recorded)});
    }

    void goingToATypedPage_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("within") << "2" << "2";
        QTest::newRow("past the end shows the last page") << "99" << "3";
        QTest::newRow("0 shows page 1") << "0" << "1";
        QTest::newRow("letters show page 1") << "abc" << "1";
        QTest::newRow("negative shows page 1") << "-4" << "1";
        QTest::newRow("digits then letters") << " 3页" << "3";
        QTest::newRow("beyond any integer") << "99999999999999999999" << "3";
    }
    void goingToATypedPage()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        addHistoryRows(40);
        CHistoryPropertyPage page(nullptr);
        click(page.m_btnNext);
        page.m_editPage->setText(typed);
        click(page.m_btnGoTo);
        QCOMPARE(page.m_editPage->text(), shown);
        QCOMPARE(page.CurrentPage(), shown.toInt());
        QCOMPARE(page.m_listHistory->GetItemText(0, 1),
                 QStringLiteral("http://site%1.test/").arg(40 - 16 * (shown.toInt() - 1)));
        QCOMPARE(page.m_btnNext->isEnabled(), shown != QLatin1String("3"));
        QCOMPARE(page.m_btnPrev->isEnabled(), shown != QLatin1String("1"));
    }

    void enterInThePageBoxGoesThere()
    {
        addHistoryRows(40);
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.m_editPage->setFocus();
        page.m_editPage->setText(QStringLiteral("3"));
        QTest::keyClick(page.m_editPage, Qt::Key_Return);
        QCOMPARE(page.CurrentPage(), 3);
    }

    void clearingAsksFirst()
    {
        addHistoryRows(40);
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        click(page.m_btnNext);

        boxes.answerNext(MsgResult::No);
        click(page.m_btnClear);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("确定要清除全部上网记录吗?"));
        QCOMPARE(boxes.last().caption, QStringLiteral("询问"));
        QCOMPARE(boxes.last().buttons, MsgButtons::YesNo);
        verifyState(page, "2", "3", true, true, 16);
        QCOMPARE(ManagerData::GetHistoryPageCount(), 3);

        boxes.answerNext(MsgResult::Yes);
        click(page.m_btnClear);
        verifyState(page, "1", "0", false, false, 0);
        QCOMPARE(ManagerData::GetHistoryPageCount(), 0);
        QCOMPARE(boxes.count(), 3);
        QCOMPARE(boxes.last().text, QStringLiteral("上网记录已经全部清除。"));
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
    }

    void rowsRecordedMeanwhileShowAfterAButtonOrOnShowing()
    {
        addHistoryRows(3);
        CHistoryPropertyPage page(nullptr);
        addHistoryRows(2, 4);
        QCOMPARE(page.m_listHistory->GetItemCount(), 3);
        click(page.m_btnGoTo);
        QCOMPARE(page.m_listHistory->GetItemCount(), 5);

        // The parent switches away and back: what the browser wrote meanwhile is there.
        QWidget panel;
        page.setParent(&panel);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        page.hide();
        addHistoryRows(2, 6);
        QCOMPARE(page.m_listHistory->GetItemCount(), 5);
        page.show();
        QCOMPARE(page.m_listHistory->GetItemCount(), 7);
        QCOMPARE(page.m_listHistory->GetItemText(0, 1), QStringLiteral("http://site7.test/"));
        page.setParent(nullptr);
    }

    void doubleClickOpensOnlyWebAddresses_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("opened");
        QTest::newRow("http") << "http://a.test/page" << 1 << "http://a.test/page";
        QTest::newRow("https") << "https://b.test/" << 1 << "https://b.test/";
        QTest::newRow("the start row") << "打开Lorvane" << 1 << "";
        QTest::newRow("the close row") << "关闭Lorvane" << 1 << "";
        QTest::newRow("a local file") << "file:///etc/passwd" << 1 << "";
        QTest::newRow("script that mentions http") << "javascript:alert('http://c.test/')" << 1 << "";
        QTest::newRow("http, but the time column") << "http://a.test/page" << 0 << "";
        QTest::newRow("http, but the duration column") << "http://a.test/page" << 2 << "";
    }
    void doubleClickOpensOnlyWebAddresses()
    {
        QFETCH(QString, address);
        QFETCH(int, column);
        QFETCH(QString, opened);
        addHistoryRow(address, 10);
        OpenedUrls browser;
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        doubleClickCell(page.m_listHistory, 0, column);
        if (opened.isEmpty())
            QVERIFY(browser.urls.isEmpty());
        else
            QCOMPARE(browser.urls, QList<QUrl>{QUrl(opened)});
        QCOMPARE(boxes.count(), 0);
    }

    void enterOpensTheChosenRow()
    {
        addHistoryRow("http://a.test/first", 10);
        addHistoryRow("http://b.test/second", 10);
        OpenedUrls browser;
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        page.m_listHistory->setFocus();
        page.m_listHistory->setCurrentIndex(page.m_listHistory->model()->index(1, 0));
        QTest::keyClick(page.m_listHistory, Qt::Key_Return);
        QCOMPARE(browser.urls.size(), 1);
        QVERIFY(browser.urls.first().host().endsWith(".test"));
        QCOMPARE(boxes.count(), 0);
    }

    void doubleClickBelowTheRowsOpensNothing()
    {
        addHistoryRow(QStringLiteral("http://a.test/"), 1);
        OpenedUrls browser;
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        const QRect cell = page.m_listHistory->GetCellRect(0, 1);
        doubleClickAt(page.m_listHistory->viewport(), cell.center() + QPoint(0, 100));
        QVERIFY(browser.urls.isEmpty());
    }

    void unreadableDatabaseIsReported()
    {
        // Not a database at all.
        QFile junk(ManagerData::DataBasePath());
        QVERIFY(QDir().mkpath(m_env->dataHome()));
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write(QByteArray(8192, 'x'));
        junk.close();
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("读取上网记录失败!\n")));
        QVERIFY(boxes.last().text.size() > QStringLiteral("读取上网记录失败!\n").size());
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        verifyState(page, "1", "", false, false, 0);

        boxes.answerNext(MsgResult::Yes);
        click(page.m_btnClear);
        QCOMPARE(boxes.count(), 4);
        QVERIFY(boxes.boxes()[2].text.startsWith(QStringLiteral("清除上网记录失败!\n")));
        QVERIFY(boxes.boxes()[3].text.startsWith(QStringLiteral("读取上网记录失败!\n")));
    }

    void aDatabaseThatFailsLaterLeavesNoStaleRows()
    {
        addHistoryRows(20);
        MessageRecorder boxes;
        CHistoryPropertyPage page(nullptr);
        QCOMPARE(page.m_listHistory->GetItemCount(), 16);
        QVERIFY(QFile::remove(ManagerData::DataBasePath()));
        QVERIFY(QDir().mkpath(ManagerData::DataBasePath())); // a folder where the file was
        click(page.m_btnNext);
        QCOMPARE(boxes.count(), 1);
        verifyState(page, "2", "", false, false, 0);
        QVERIFY(QDir().rmdir(ManagerData::DataBasePath()));
        addHistoryRows(20, 21);
        click(page.m_btnGoTo);
        verifyState(page, "2", "2", true, false, 4);
    }

    void listLooksAndHeader()
    {
        addHistoryRows(16);
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        CHistoryListCtrl* list = page.m_listHistory;
        QCOMPARE(list->parentWidget(), &page);
        QCOMPARE(list->columnCount(), 3);
        const QStringList captions{"登陆时间", "登陆站点", "停留时间"};
        const QList<int> widths{150, 415, 80};
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(list->headerItem()->text(c), captions[c]);
            QCOMPARE(list->columnWidth(c), widths[c]);
        }
        QCOMPARE(list->visualItemRect(list->topLevelItem(0)).height(), 25);
        CHistoryHeaderCtrl* header = list->HistoryHeader();
        QCOMPARE(header->height(), QFontMetrics(header->font()).height() + 5);
        // A whole page fits without scrolling.
        QCOMPARE(list->verticalScrollBar()->maximum(), 0);
        // Clicking a header does not sort.
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(200, header->height() / 2));
        QCOMPARE(list->SortColumn(), -1);
        QCOMPARE(shownAddresses(list), sitesFromNewest(16, 16));
        const QList<std::pair<Quenlit::CCoolButton*, QString>> buttons{{page.m_btnPrev, "上一页"},
                                                                        {page.m_btnNext, "下一页"},
                                                                        {page.m_btnGoTo, "跳转"},
                                                                        {page.m_btnClear, "清除历史记录"}};
        for (const auto& [button, text] : buttons)
            QCOMPARE(button->text(), text);
        QVERIFY(page.m_editPageCount->isReadOnly());
        QVERIFY(page.rect().contains(page.m_btnClear->geometry()));
        QVERIFY(page.m_btnClear->geometry().top() > list->geometry().bottom());
    }

    void rowColoursFollowTheFocus()
    {
        addHistoryRows(3);
        CHistoryPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        CHistoryListCtrl* list = page.m_listHistory;
        list->setCurrentItem(list->topLevelItem(1));
        list->setFocus();
        QTRY_VERIFY(list->hasFocus());
        // A point of the address cell far right of its short text.
        const QRect cell = list->GetCellRect(1, 1);
        const QPoint ground(cell.right() - 20, cell.center().y());
        QImage shot = list->viewport()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(ground)), CHistoryListCtrl::LightRowBackground());
        QCOMPARE(QColor(shot.pixel(cell.center().x(), list->visualItemRect(list->topLevelItem(1)).top())),
                 CHistoryListCtrl::RowFrameColor());
        QCOMPARE(QColor(shot.pixel(ground + QPoint(0, -25))), QColor(Qt::white));
        QCOMPARE(QColor(shot.pixel(list->GetFullCellRect(2, 0).right(), cell.center().y() + 25)),
                 CHistoryListCtrl::CellLineColor());

        page.m_editPage->setFocus();
        QTRY_VERIFY(!list->hasFocus());
        shot = list->viewport()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(ground)), QColor(Qt::white));
    }
};

QTEST_MAIN(TestHistoryPage)
#include "tst_historypage.moc"
