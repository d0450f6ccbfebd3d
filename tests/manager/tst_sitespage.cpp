#include "nextdialog.h"
#include "addsitedlg.h"
#include "bitmap.h"
#include "browsingdatabase.h"
#include "editsitedlg.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "messagerecorder.h"
#include "parentrecommentpropertypage.h"
#include "paths.h"
#include "siterules.h"
#include "sitesnapshot.h"
#include "testhttpserver.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/picturebox.h>
#include <quenlit/pictureex.h>
#include <quenlit/viewrecommentlistctrl.h>

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTextDocument>
#include <QtTest>

#include <functional>

using Quenlit::CCoolButton;
using Quenlit::CCoolGroupBox;
using Quenlit::CViewRecommentListCtrl;

Q_DECLARE_METATYPE(MsgResult)

namespace {

const QString kNoHost = QStringLiteral("网址里没有网站的名字，请输入完整的网址，例如 www.example.com");

QString siteUrl(int n)
{
    return QStringLiteral("http://site%1.test/").arg(n);
}

QString pictureName(int n)
{
    return QStringLiteral("pic%1.bmp").arg(n);
}

QImage plainPicture(const QColor& colour)
{
    QImage picture(CSiteSnapshot::PictureWidth, CSiteSnapshot::PictureHeight, QImage::Format_RGB32);
    picture.fill(colour);
    return picture;
}

// Sites 1 .. count, oldest first, each with a picture file of its own.
void addSites(int count, int first = 1)
{
    for (int i = first; i < first + count; ++i) {
        QVERIFY(ManagerData::AddSite(siteUrl(i), QStringLiteral("站点%1").arg(i), pictureName(i)));
        QVERIFY(SaveToFile(plainPicture(QColor(10 * (i % 20), 90, 160)), GetWebSnapShootDirectory() + pictureName(i)));
    }
}

QStringList shownUrls(const CViewRecommentListCtrl* list)
{
    QStringList urls;
    for (int i = 0; i < list->GetItemCount(); ++i)
        urls << list->GetItemText(i, 2);
    return urls;
}

QStringList urlsFromNewest(int newest, int count)
{
    QStringList urls;
    for (int i = newest; i > newest - count; --i)
        urls << siteUrl(i);
    return urls;
}

QStringList storedPictures()
{
    return QDir(GetWebSnapShootDirectory()).entryList(QDir::Files, QDir::Name);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void clickRow(CViewRecommentListCtrl* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->RowLayout(row).row.center());
}

// The focus leaving the address field for another control of the dialog.
void leaveUrlField(CSiteDlgBase* dlg)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(dlg->m_editUrl, &out);
}

void execDML(const char* sql)
{
    ExecBrowsingWrite(ManagerData::DataBasePath(), sql);
}

} // namespace

class TestSitesPage : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;
    TestHttpServer m_server;

    static void verifyPaging(const CParentRecommentPropertyPage& p, const QString& page, const QString& pages,
                             bool prev, bool next)
    {
        QCOMPARE(p.m_editPage->text(), page);
        QCOMPARE(p.m_editPageCount->text(), pages);
        QCOMPARE(p.m_btnPrev->isEnabled(), prev);
        QCOMPARE(p.m_btnNext->isEnabled(), next);
    }
    static void verifyActions(const CParentRecommentPropertyPage& p, bool enabled)
    {
        QCOMPARE(p.m_btnEdit->isEnabled(), enabled);
        QCOMPARE(p.m_btnDelete->isEnabled(), enabled);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.listen());
        m_server.addTitledPage(QStringLiteral("/kids"), QStringLiteral("儿童乐园"),
                               QStringLiteral("<div style='position:fixed;inset:0;background:rgb(200,30,40)'></div>"));
    }

    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        ManagerData::SetDataBasePath(GetDataBasePathName());
    }
    void cleanup()
    {
        ManagerData::SetDataBasePath(QString());
        m_env.reset();
    }

    void pageLooks()
    {
        CParentRecommentPropertyPage page(nullptr);
        QCOMPARE(ManagerData::DataBasePath(), GetDataBasePathName());
        CViewRecommentListCtrl* list = page.m_listSites;
        QCOMPARE(list->parentWidget(), &page);
        QCOMPARE(list->columnCount(), 3);
        const QStringList captions{"站点预览", "网站名称", "网站URL地址"};
        const QList<int> widths{150, 200, 280};
        for (int c = 0; c < 3; ++c) {
            QCOMPARE(list->headerItem()->text(c), captions[c]);
            QCOMPARE(list->columnWidth(c), widths[c]);
        }
        const QList<std::pair<CCoolButton*, QString>> buttons{
            {page.m_btnPrev, "上一页"}, {page.m_btnNext, "下一页"}, {page.m_btnGoTo, "跳转"},
            {page.m_btnAdd, "添加推荐"}, {page.m_btnEdit, "编辑推荐"}, {page.m_btnDelete, "删除推荐"}};
        for (const auto& [button, text] : buttons)
            QCOMPARE(button->text(), text);
        QCOMPARE(page.m_groupResult->Text(), QStringLiteral("结果:"));
        QCOMPARE(page.m_groupActions->Text(), QStringLiteral("操作:"));
        for (CCoolGroupBox* group : {page.m_groupResult, page.m_groupActions})
            QCOMPARE(group->BorderColor(), QColor(87, 117, 159));
        QVERIFY(page.m_editPageCount->isReadOnly());
        QVERIFY(!page.m_btnEdit->isEnabled());
        QVERIFY(!page.m_btnDelete->isEnabled());
        QVERIFY(page.rect().contains(page.m_btnDelete->geometry()));
        verifyPaging(page, "1", "0", false, false);
    }

    // A site's name comes from a page's title: markup in it is shown, never applied.
    void tooltipsArePlainText()
    {
        const QString name = QStringLiteral("<b>粗</b><img src='file:///etc/x.png'>");
        const QString url = QStringLiteral("http://t.example/<i>x</i>");
        QVERIFY(ManagerData::AddSite(url, name, QString()));
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTextDocument tip;
        tip.setHtml(page.m_listSites->topLevelItem(0)->toolTip(1));
        QCOMPARE(tip.toPlainText(), name);
        tip.setHtml(page.m_listSites->topLevelItem(0)->toolTip(2));
        QCOMPARE(tip.toPlainText(), url);
    }

    void paging_data()
    {
        QTest::addColumn<int>("sites");
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("pages");
        QTest::addColumn<int>("newestShown");
        QTest::addColumn<int>("rows");
        QTest::addColumn<bool>("prev");
        QTest::addColumn<bool>("next");
        QTest::newRow("no sites") << 0 << QStringList{} << "1" << "0" << 0 << 0 << false << false;
        QTest::newRow("five sites, one page") << 5 << QStringList{} << "1" << "1" << 5 << 5 << false << false;
        QTest::newRow("six sites, first page") << 6 << QStringList{} << "1" << "2" << 6 << 5 << false << true;
        QTest::newRow("six sites: the second holds the oldest alone")
            << 6 << QStringList{"next"} << "2" << "2" << 1 << 1 << true << false;
        QTest::newRow("next and back") << 6 << QStringList{"next", "prev"} << "1" << "2" << 6 << 5 << false << true;
        QTest::newRow("middle of three") << 12 << QStringList{"next"} << "2" << "3" << 7 << 5 << true << true;
        QTest::newRow("go to the last") << 12 << QStringList{"goto 3"} << "3" << "3" << 2 << 2 << true << false;
        QTest::newRow("past the end shows the last") << 12 << QStringList{"goto 99"} << "3" << "3" << 2 << 2 << true
                                                     << false;
        QTest::newRow("letters show page 1") << 12 << QStringList{"next", "goto abc"} << "1" << "3" << 12 << 5
                                             << false << true;
        QTest::newRow("negative shows page 1") << 12 << QStringList{"goto -2"} << "1" << "3" << 12 << 5 << false
                                               << true;
        QTest::newRow("digits then letters") << 12 << QStringList{"goto 2页"} << "2" << "3" << 7 << 5 << true << true;
    }
    void paging()
    {
        QFETCH(int, sites);
        QFETCH(QStringList, steps);
        QFETCH(QString, page);
        QFETCH(QString, pages);
        QFETCH(int, newestShown);
        QFETCH(int, rows);
        QFETCH(bool, prev);
        QFETCH(bool, next);
        addSites(sites);
        MessageRecorder boxes;
        CParentRecommentPropertyPage p(nullptr);
        for (const QString& step : steps) {
            if (step == QLatin1String("next")) {
                click(p.m_btnNext);
            } else if (step == QLatin1String("prev")) {
                click(p.m_btnPrev);
            } else {
                p.m_editPage->setText(step.mid(5));
                click(p.m_btnGoTo);
            }
        }
        verifyPaging(p, page, pages, prev, next);
        QCOMPARE(shownUrls(p.m_listSites), urlsFromNewest(newestShown, rows));
        for (int r = 0; r < rows; ++r) {
            QCOMPARE(p.m_listSites->GetDataBaseIndex(r), newestShown - r);
            QCOMPARE(p.m_listSites->GetItemText(r, 1), QStringLiteral("站点%1").arg(newestShown - r));
            QVERIFY(p.m_listSites->HasPicture(r));
        }
        verifyActions(p, false);
        QCOMPARE(boxes.count(), 0);
    }

    void actionsWaitForAClickedRowAfterEveryRefresh()
    {
        addSites(12);
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        verifyActions(page, false);
        clickRow(page.m_listSites, 1);
        QCOMPARE(page.m_listSites->GetFirstSelectedRow(), 1);
        verifyActions(page, true);
        click(page.m_btnNext);
        verifyActions(page, false);
        clickRow(page.m_listSites, 0);
        verifyActions(page, true);
        click(page.m_btnGoTo);
        verifyActions(page, false);
        clickRow(page.m_listSites, 2);
        click(page.m_btnPrev);
        verifyActions(page, false);
    }

    void addingFromPageThreeShowsTheNewSiteFirst()
    {
        addSites(11);
        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        page.m_editPage->setText(QStringLiteral("3"));
        click(page.m_btnGoTo);
        QCOMPARE(page.CurrentPage(), 3);

        bool seen = false;
        onNextDialog<CAddSiteDlg>(
            [](CAddSiteDlg* dlg) {
                QCOMPARE(dlg->windowTitle(), QStringLiteral("添加父母推荐站点"));
                dlg->m_editUrl->setText(QStringLiteral("  www.new.test "));
                dlg->m_editName->setText(QStringLiteral(" 新的站点\t"));
                click(dlg->m_btnOk);
            },
            &seen);
        click(page.m_btnAdd);
        QVERIFY(seen);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("已经添加成功!"));
        QCOMPARE(boxes.last().caption, QStringLiteral("提醒"));
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
        verifyPaging(page, "1", "3", false, true);
        QCOMPARE(page.m_listSites->GetItemText(0, 2), QStringLiteral("www.new.test"));
        QCOMPARE(page.m_listSites->GetItemText(0, 1), QStringLiteral("新的站点"));
        QVERIFY(page.m_listSites->HasPicture(0));

        const SiteRecord stored = ManagerData::GetSiteById(page.m_listSites->GetDataBaseIndex(0));
        const QRegularExpression guidName(
            QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\.bmp$"));
        QVERIFY2(guidName.match(stored.m_strSiteImage).hasMatch(), qPrintable(stored.m_strSiteImage));
        // No capture ran: the picture written is the white one the dialog started with.
        const QImage written(GetWebSnapShootDirectory() + stored.m_strSiteImage);
        QCOMPARE(written.size(), QSize(128, 96));
        QCOMPARE(QColor(written.pixel(64, 48)), QColor(Qt::white));
    }

    void cancellingTheAddDialogChangesNothing()
    {
        addSites(6);
        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        click(page.m_btnNext);
        bool seen = false;
        onNextDialog<CAddSiteDlg>(
            [](CAddSiteDlg* dlg) {
                dlg->m_editUrl->setText(QStringLiteral("www.new.test"));
                dlg->m_editName->setText(QStringLiteral("新的站点"));
                click(dlg->m_btnCancel);
            },
            &seen);
        click(page.m_btnAdd);
        QVERIFY(seen);
        QCOMPARE(page.CurrentPage(), 2);
        QCOMPARE(ManagerData::GetSitePageCount(), 2);
        QCOMPARE(storedPictures().size(), 6);
        QCOMPARE(boxes.count(), 0);
    }

    void addDialogChecks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty url") << "" << "名字" << "URL不能为空!" << "错误";
        QTest::newRow("blank url") << "  \t" << "名字" << "URL不能为空!" << "错误";
        QTest::newRow("empty name") << "www.new.test" << "" << "站点名不能为空!" << "错误";
        QTest::newRow("blank name") << "www.new.test" << "   " << "站点名不能为空!" << "错误";
        QTest::newRow("scheme only") << "http://" << "名字" << kNoHost << "错误";
        QTest::newRow("https scheme only") << "https://" << "名字" << kNoHost << "错误";
        QTest::newRow("port only") << ":80" << "名字" << kNoHost << "错误";
        QTest::newRow("no host before the port") << "http://:8080/x" << "名字" << kNoHost << "错误";
        QTest::newRow("exists") << siteUrl(2) << "名字" << "该站点已经存在!" << "提醒";
        QTest::newRow("exists after trimming") << " " + siteUrl(2) + "\n" << "名字" << "该站点已经存在!" << "提醒";
        QTest::newRow("a trailing slash less is another site") << "http://site2.test" << "名字" << "" << "";
        QTest::newRow("new") << "www.new.test" << "名字" << "" << "";
    }
    void addDialogChecks()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        addSites(3);
        MessageRecorder boxes;
        CAddSiteDlg dlg;
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        dlg.m_editUrl->setText(url);
        dlg.m_editName->setText(name);
        click(dlg.m_btnOk);
        QCOMPARE(boxes.count(), 1);
        if (text.isEmpty()) {
            QCOMPARE(boxes.last().text, QStringLiteral("已经添加成功!"));
            QCOMPARE(accepted.count(), 1);
            QCOMPARE(ManagerData::GetSitePageCount(), 1);
            QCOMPARE(storedPictures().size(), 4);
            return;
        }
        QCOMPARE(boxes.last().text, text);
        QCOMPARE(boxes.last().caption, caption);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QCOMPARE(accepted.count(), 0);
        // The dialog keeps what was typed, and nothing was written.
        QCOMPARE(dlg.m_editUrl->text(), url);
        QCOMPARE(dlg.m_editName->text(), name);
        QList<SiteRecord> all;
        ManagerData::GetSitePage(1, all);
        QCOMPARE(all.size(), 3);
        QCOMPARE(storedPictures().size(), 3);
    }

    void editDialogChecks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("storedUrl");
        QTest::newRow("keeps its own address") << siteUrl(2) << "新名字" << "" << "" << siteUrl(2);
        QTest::newRow("own address with blanks around") << "  " + siteUrl(2) << "新名字" << "" << "" << siteUrl(2);
        QTest::newRow("a new address") << "www.new.test" << "新名字" << "" << "" << "www.new.test";
        QTest::newRow("another site's address") << siteUrl(3) << "新名字" << "该站点已经存在!" << "提醒" << siteUrl(2);
        QTest::newRow("empty url") << "" << "新名字" << "URL不能为空!" << "错误" << siteUrl(2);
        QTest::newRow("empty name") << siteUrl(2) << " " << "站点名不能为空!" << "错误" << siteUrl(2);
        QTest::newRow("no host") << "https://" << "新名字" << kNoHost << "错误" << siteUrl(2);
    }
    void editDialogChecks()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, caption);
        QFETCH(QString, storedUrl);
        addSites(3);
        const QByteArray pictureBefore = [] {
            QFile f(GetWebSnapShootDirectory() + pictureName(2));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();
        MessageRecorder boxes;
        CEditSiteDlg dlg(2);
        QVERIFY(dlg.LoadFailure().isEmpty());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("编辑站点信息"));
        QCOMPARE(dlg.m_editUrl->text(), siteUrl(2));
        QCOMPARE(dlg.m_editName->text(), QStringLiteral("站点2"));
        QCOMPARE(dlg.m_btnOk->text(), QStringLiteral("确定"));
        // The edit dialog frames the site's texts only: no preview frame.
        QVERIFY(!dlg.m_groupPreview);
        QCOMPARE(dlg.findChildren<CCoolGroupBox*>(Qt::FindDirectChildrenOnly), QList<CCoolGroupBox*>{dlg.m_groupInfo});
        // The stored picture is shown.
        QCOMPARE(dlg.m_picPreview->Bitmap().pixel(5, 5), plainPicture(QColor(20, 90, 160)).pixel(5, 5));
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        dlg.m_editUrl->setText(url);
        dlg.m_editName->setText(name);
        click(dlg.m_btnOk);

        const SiteRecord after = ManagerData::GetSiteById(2);
        QCOMPARE(after.m_strSiteUrl, storedUrl);
        QCOMPARE(after.m_strSiteImage, pictureName(2));
        if (text.isEmpty()) {
            QCOMPARE(boxes.count(), 0);
            QCOMPARE(accepted.count(), 1);
            QCOMPARE(after.m_strSiteName, QStringLiteral("新名字"));
        } else {
            QCOMPARE(boxes.count(), 1);
            QCOMPARE(boxes.last().text, text);
            QCOMPARE(boxes.last().caption, caption);
            QCOMPARE(boxes.last().icon, MsgIcon::Error);
            QCOMPARE(accepted.count(), 0);
            QCOMPARE(after.m_strSiteName, QStringLiteral("站点2"));
        }
        // No capture was started, so the picture file is untouched.
        QFile f(GetWebSnapShootDirectory() + pictureName(2));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), pictureBefore);
    }

    void editingFromThePageStaysOnItsPage()
    {
        addSites(7);
        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        click(page.m_btnNext);
        clickRow(page.m_listSites, 1);
        QCOMPARE(page.m_listSites->GetDataBaseIndex(1), 1);
        bool seen = false;
        onNextDialog<CEditSiteDlg>(
            [](CEditSiteDlg* dlg) {
                QCOMPARE(dlg->m_editUrl->text(), siteUrl(1));
                dlg->m_editName->setText(QStringLiteral("改过的名字"));
                click(dlg->m_btnOk);
            },
            &seen);
        click(page.m_btnEdit);
        QVERIFY(seen);
        QCOMPARE(boxes.count(), 0);
        verifyPaging(page, "2", "2", true, false);
        QCOMPARE(page.m_listSites->GetItemText(1, 1), QStringLiteral("改过的名字"));
        verifyActions(page, false);
    }

    void noSelectedRow_data()
    {
        QTest::addColumn<bool>("deleting");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<QStringList>("texts");
        const QString question = QStringLiteral("你试图删除站点信息，如果删除了，小孩将无法进该站点，是否继续?");
        QTest::newRow("delete, yes") << true << MsgResult::Yes
                                     << QStringList{question, QStringLiteral("请选择你要删除的站点信息!")};
        QTest::newRow("delete, no") << true << MsgResult::No << QStringList{question};
        QTest::newRow("edit") << false << MsgResult::Ok << QStringList{QStringLiteral("请选择你要编辑的站点信息!")};
    }
    void noSelectedRow()
    {
        QFETCH(bool, deleting);
        QFETCH(MsgResult, answer);
        QFETCH(QStringList, texts);
        addSites(2);
        MessageRecorder boxes;
        boxes.answerNext(answer);
        CParentRecommentPropertyPage page(nullptr);
        if (deleting)
            page.OnDeleteSite();
        else
            page.OnEditSite();
        QCOMPARE(boxes.count(), texts.size());
        for (int i = 0; i < texts.size(); ++i)
            QCOMPARE(boxes.boxes()[i].text, texts[i]);
        if (deleting) {
            QCOMPARE(boxes.boxes()[0].caption, QStringLiteral("询问"));
            QCOMPARE(boxes.boxes()[0].icon, MsgIcon::Question);
            QCOMPARE(boxes.boxes()[0].buttons, MsgButtons::YesNo);
        }
        if (texts.size() > (deleting ? 1 : 0)) {
            QCOMPARE(boxes.last().caption, QStringLiteral("提醒你哦!"));
            QCOMPARE(boxes.last().icon, MsgIcon::Information);
        }
        QCOMPARE(page.m_listSites->GetItemCount(), 2);
        QCOMPARE(storedPictures().size(), 2);
    }

    void deletingTheOnlySiteOfTheLastPage()
    {
        addSites(6);
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::Yes);
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        click(page.m_btnNext);
        clickRow(page.m_listSites, 0);
        click(page.m_btnDelete);
        QCOMPARE(boxes.count(), 1);
        verifyPaging(page, "1", "1", false, false);
        QCOMPARE(shownUrls(page.m_listSites), urlsFromNewest(6, 5));
        verifyActions(page, false);
        QCOMPARE(ManagerData::GetSiteById(1), SiteRecord{});
        QCOMPARE(storedPictures(), (QStringList{pictureName(2), pictureName(3), pictureName(4), pictureName(5),
                                                pictureName(6)}));
    }

    void editingASiteThatIsGone()
    {
        addSites(3);
        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        clickRow(page.m_listSites, 0);
        ManagerData::DeleteSite(3); // meanwhile, elsewhere
        // No dialog may open; one that did is closed at once so the test fails instead of hanging.
        bool opened = false;
        QTimer guard;
        connect(&guard, &QTimer::timeout, [&opened] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                opened = true;
                d->reject();
            }
        });
        guard.start(20);
        click(page.m_btnEdit);
        guard.stop();
        QVERIFY(!opened);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        QCOMPARE(shownUrls(page.m_listSites), urlsFromNewest(2, 2));
        QVERIFY(!CEditSiteDlg(3).LoadFailure().isEmpty());
    }

    void declinedDeleteKeepsTheSite()
    {
        addSites(3);
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::No);
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        clickRow(page.m_listSites, 0);
        click(page.m_btnDelete);
        QCOMPARE(page.m_listSites->GetItemCount(), 3);
        QCOMPARE(storedPictures().size(), 3);
        verifyActions(page, true);
    }

    void deletingNeverReachesOutsideTheSnapshotFolder()
    {
        // A row whose picture name climbs out of the folder, as a damaged database could hold.
        const QString victim = QDir::cleanPath(GetWebSnapShootDirectory() + QStringLiteral("../../victim.bmp"));
        QVERIFY(!victim.startsWith(GetWebSnapShootDirectory()));
        QVERIFY(SaveToFile(plainPicture(Qt::green), victim));
        QVERIFY(ManagerData::AddSite(QStringLiteral("www.odd.test"), QStringLiteral("odd"),
                                     QStringLiteral("../../victim.bmp")));
        QVERIFY(QFile::exists(GetWebSnapShootDirectory() + QStringLiteral("../../victim.bmp")));
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::Yes);
        CParentRecommentPropertyPage page(nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(!page.m_listSites->HasPicture(0));
        clickRow(page.m_listSites, 0);
        click(page.m_btnDelete);
        QCOMPARE(page.m_listSites->GetItemCount(), 0);
        QVERIFY(QFile::exists(victim));
    }

    void failedWritesAreReportedAndLeaveNothingHalfDone_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QString>("message");
        QTest::newRow("insert") << "add"
                                << "create trigger refuse before insert on sites begin select raise(abort, 'no'); end"
                                << "";
        QTest::newRow("update") << "edit"
                                << "create trigger refuse before update on sites begin select raise(abort, 'no'); end"
                                << "保存站点信息失败!\nno";
        QTest::newRow("delete") << "delete"
                                << "create trigger refuse before delete on sites begin select raise(abort, 'no'); end"
                                << "删除站点失败!\nno";
    }
    void failedWritesAreReportedAndLeaveNothingHalfDone()
    {
        QFETCH(QString, operation);
        QFETCH(QString, trigger);
        QFETCH(QString, message);
        if (operation == QLatin1String("add"))
            message = SiteAddFailedMessage(GetDataBasePathName());
        addSites(2);
        execDML(trigger.toUtf8().constData());
        QFile picture(GetWebSnapShootDirectory() + pictureName(2));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        const QByteArray pictureBefore = picture.readAll();
        picture.close();
        MessageRecorder boxes;

        if (operation == QLatin1String("add")) {
            CAddSiteDlg dlg;
            QSignalSpy accepted(&dlg, &QDialog::accepted);
            dlg.m_editUrl->setText(QStringLiteral("www.new.test"));
            dlg.m_editName->setText(QStringLiteral("新站"));
            click(dlg.m_btnOk);
            QCOMPARE(accepted.count(), 0);
            QCOMPARE(dlg.m_editUrl->text(), QStringLiteral("www.new.test"));
        } else if (operation == QLatin1String("edit")) {
            CEditSiteDlg dlg(2);
            QSignalSpy accepted(&dlg, &QDialog::accepted);
            dlg.m_editName->setText(QStringLiteral("新名字"));
            click(dlg.m_btnOk);
            QCOMPARE(accepted.count(), 0);
        } else {
            boxes.answerNext(MsgResult::Yes);
            CParentRecommentPropertyPage page(nullptr);
            page.show();
            QVERIFY(QTest::qWaitForWindowExposed(&page));
            clickRow(page.m_listSites, 0);
            click(page.m_btnDelete);
            QCOMPARE(page.m_listSites->GetItemCount(), 2);
            QVERIFY(boxes.count() > 1);
            QCOMPARE(boxes.boxes()[0].caption, QStringLiteral("询问"));
        }
        QCOMPARE(boxes.last().text, message);
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        // The rows and pictures are as they were.
        QCOMPARE(ManagerData::GetSiteById(2).m_strSiteName, QStringLiteral("站点2"));
        QCOMPARE(ManagerData::GetSitePageCount(), 1);
        QCOMPARE(storedPictures(), (QStringList{pictureName(1), pictureName(2)}));
        QVERIFY(picture.open(QIODevice::ReadOnly));
        QCOMPARE(picture.readAll(), pictureBefore);
    }

    void anUnreadableDatabaseIsReported()
    {
        QVERIFY(QDir().mkpath(GetDataBasePathName())); // a folder where the file belongs
        MessageRecorder boxes;
        CParentRecommentPropertyPage page(nullptr);
        QCOMPARE(boxes.count(), 1);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("读取推荐站点失败!\n")));
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        verifyPaging(page, "1", "", false, false);
        verifyActions(page, false);

        CAddSiteDlg dlg;
        dlg.m_editUrl->setText(QStringLiteral("www.new.test"));
        dlg.m_editName->setText(QStringLiteral("新站"));
        click(dlg.m_btnOk);
        QCOMPARE(boxes.count(), 2);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("读取站点信息失败!\n")));
        QVERIFY(storedPictures().isEmpty());

        CEditSiteDlg edit(1);
        QVERIFY(edit.LoadFailure().startsWith(QStringLiteral("读取站点信息失败!\n")));
    }

    void hostileTextsRoundTrip_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("name");
        QTest::newRow("quotes") << "http://a.test/it's?q=\"x\"" << "Tom's \"best\" site'); drop table sites; --";
        QTest::newRow("printf") << "http://b.test/%s%d%n" << "%s %d %n %%";
        QTest::newRow("emoji") << "http://c.test/🦄" << "🦄🌈 儿童 👨‍👩‍👧";
        QTest::newRow("100 KB") << "http://d.test/" + QString(100 * 1024, QLatin1Char('x'))
                                << QString(50 * 1024, QChar(0x732B));
        QTest::newRow("markup") << "http://e.test/<b>" << "<b>bold</b> &amp;";
    }
    void hostileTextsRoundTrip()
    {
        QFETCH(QString, url);
        QFETCH(QString, name);
        MessageRecorder boxes;
        {
            CAddSiteDlg dlg;
            dlg.m_editUrl->setText(url);
            dlg.m_editName->setText(name);
            click(dlg.m_btnOk);
            QCOMPARE(boxes.last().text, QStringLiteral("已经添加成功!"));
        }
        CParentRecommentPropertyPage page(nullptr);
        QCOMPARE(page.m_listSites->GetItemCount(), 1);
        QCOMPARE(page.m_listSites->GetItemText(0, 1), name);
        QCOMPARE(page.m_listSites->GetItemText(0, 2), url);
        const int id = page.m_listSites->GetDataBaseIndex(0);
        const SiteRecord stored = ManagerData::GetSiteById(id);
        QCOMPARE(stored.m_strSiteUrl, url);
        QCOMPARE(stored.m_strSiteName, name);
        QVERIFY(ManagerData::IsSiteExist(url));

        // Opened for editing and saved unchanged, the texts stay exactly the same.
        CEditSiteDlg edit(id);
        QCOMPARE(edit.m_editUrl->text(), url);
        QCOMPARE(edit.m_editName->text(), name);
        click(edit.m_btnOk);
        QCOMPARE(edit.result(), int(QDialog::Accepted));
        QCOMPARE(ManagerData::GetSiteById(id), stored);

        // And the same address cannot be added twice.
        CAddSiteDlg again;
        again.m_editUrl->setText(url);
        again.m_editName->setText(QStringLiteral("x"));
        click(again.m_btnOk);
        QCOMPARE(boxes.last().text, QStringLiteral("该站点已经存在!"));
    }

    void enterAndEscapeLeaveTheDialogsOpen()
    {
        addSites(1);
        MessageRecorder boxes;
        CAddSiteDlg add;
        CEditSiteDlg edit(1);
        for (CSiteDlgBase* dlg : {static_cast<CSiteDlgBase*>(&add), static_cast<CSiteDlgBase*>(&edit)}) {
            dlg->show();
            QVERIFY(QTest::qWaitForWindowExposed(dlg));
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
                QTest::keyClick(dlg->m_editName, key);
                QTest::keyClick(dlg, key);
                QVERIFY(dlg->isVisible());
            }
            click(dlg->m_btnCancel);
            QVERIFY(!dlg->isVisible());
            QCOMPARE(dlg->result(), int(QDialog::Rejected));
        }
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(ManagerData::GetSiteById(1).m_strSiteName, QStringLiteral("站点1"));
    }

    void addDialogSnapshotAndTitle()
    {
        MessageRecorder boxes;
        CAddSiteDlg dlg;
        QCOMPARE(dlg.m_groupPreview->Text(), QStringLiteral("站点预览"));
        QCOMPARE(dlg.m_textWait->text(), QStringLiteral("正在获取网站快照..."));
        QVERIFY(!dlg.IsWaiting());

        // A blank address starts nothing when the field is left.
        dlg.m_editUrl->setText(QStringLiteral("   "));
        leaveUrlField(&dlg);
        QVERIFY(!dlg.IsWaiting());
        QVERIFY(!dlg.m_snapshot->IsLoading());

        dlg.m_editName->setText(QStringLiteral("typed first"));
        dlg.m_editUrl->setText(QStringLiteral(" ") + m_server.url(QStringLiteral("/kids")).toString());
        leaveUrlField(&dlg);
        QVERIFY(dlg.IsWaiting());
        QVERIFY(dlg.m_picPreview->Bitmap().isNull());
        QCOMPARE(QColor(dlg.SnapshotPicture().pixel(64, 48)), QColor(Qt::white));
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsWaiting(), 20000);
        // The name follows the page's title, replacing what was typed.
        QTRY_COMPARE_WITH_TIMEOUT(dlg.m_editName->text(), QStringLiteral("儿童乐园"), 20000);
        const QColor shown(dlg.m_picPreview->Bitmap().pixel(64, 48));
        QVERIFY2(shown.red() > 150 && shown.green() < 100, qPrintable(shown.name()));
        QCOMPARE(dlg.SnapshotPicture().size(), QSize(128, 96));

        // Back into the field and out again with the same address: the picture and the
        // name the parent typed since stay.
        dlg.m_editName->setText(QStringLiteral("乐园"));
        leaveUrlField(&dlg);
        QVERIFY(!dlg.IsWaiting());
        QCOMPARE(dlg.m_editName->text(), QStringLiteral("乐园"));
        QVERIFY(QColor(dlg.SnapshotPicture().pixel(64, 48)).red() > 150);
        // "获取快照" always loads anew.
        click(dlg.m_btnSnapshot);
        QVERIFY(dlg.IsWaiting());
        QCOMPARE(QColor(dlg.SnapshotPicture().pixel(64, 48)), QColor(Qt::white));
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsWaiting(), 20000);
        QVERIFY(QColor(dlg.SnapshotPicture().pixel(64, 48)).red() > 150);

        click(dlg.m_btnOk);
        QCOMPARE(boxes.last().text, QStringLiteral("已经添加成功!"));
        const QStringList pictures = storedPictures();
        QCOMPARE(pictures.size(), 1);
        const QImage written(GetWebSnapShootDirectory() + pictures.first());
        QVERIFY(QColor(written.pixel(64, 48)).red() > 150);
    }

    void editDialogRetakesOnlyWhenAsked()
    {
        addSites(1);
        const QString path = GetWebSnapShootDirectory() + pictureName(1);
        MessageRecorder boxes;
        CEditSiteDlg dlg(1);
        // Leaving the field with the stored address starts nothing.
        dlg.m_editUrl->setText(QStringLiteral(" ") + siteUrl(1));
        leaveUrlField(&dlg);
        QVERIFY(!dlg.IsWaiting());
        QVERIFY(!dlg.SnapshotRetaken());

        const QString url = m_server.url(QStringLiteral("/kids")).toString();
        dlg.m_editUrl->setText(url);
        leaveUrlField(&dlg);
        QVERIFY(dlg.SnapshotRetaken());
        QVERIFY(dlg.IsWaiting());
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsWaiting(), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(QColor(dlg.m_picPreview->Bitmap().pixel(64, 48)).red() > 150, 20000);
        // Leaving again with the same address does not load it again.
        leaveUrlField(&dlg);
        QVERIFY(!dlg.IsWaiting());
        // The edit dialog keeps the name as typed.
        QCOMPARE(dlg.m_editName->text(), QStringLiteral("站点1"));

        click(dlg.m_btnOk);
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const SiteRecord after = ManagerData::GetSiteById(1);
        QCOMPARE(after.m_strSiteUrl, url);
        QCOMPARE(after.m_strSiteImage, pictureName(1));
        QCOMPARE(storedPictures(), QStringList{pictureName(1)});
        QVERIFY(QColor(QImage(path).pixel(64, 48)).red() > 150);
    }

    void snapshotButtonRetakesInTheEditDialog()
    {
        addSites(1);
        CEditSiteDlg dlg(1);
        QVERIFY(!dlg.m_picWait->isVisibleTo(&dlg));
        QCOMPARE(dlg.m_btnSnapshot->text(), QStringLiteral("获取快照"));
        dlg.m_editUrl->setText(m_server.url(QStringLiteral("/kids")).toString());
        click(dlg.m_btnSnapshot);
        QVERIFY(dlg.SnapshotRetaken());
        QVERIFY(dlg.IsWaiting());
        QVERIFY(dlg.m_snapshot->IsLoading());
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.IsWaiting(), 20000);
        click(dlg.m_btnCancel);
        // Cancelled: the stored picture stays as it was.
        QCOMPARE(QColor(QImage(GetWebSnapShootDirectory() + pictureName(1)).pixel(64, 48)), QColor(10, 90, 160));
    }
};

QTEST_MAIN(TestSitesPage)
#include "tst_sitespage.moc"
