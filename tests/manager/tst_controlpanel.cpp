#include "aboutpropage.h"
#include "configmanager.h"
#include "controlpaneldlg.h"
#include "isolatedenvironment.h"
#include "mainpropertypage.h"
#include "messagerecorder.h"
#include "panelpage.h"
#include "passwordcheck.h"
#include "passwordpropertypage.h"
#include "timecontrolpropertypage.h"

#include <quenlit/coolgroupbox.h>
#include <quenlit/cooltabbutton.h>
#include <quenlit/flatcheckbox.h>
#include <quenlit/flatedit.h>

#include <QLabel>
#include <QtTest>

using Quenlit::CCoolGroupBox;
using Quenlit::CCoolTabButton;

Q_DECLARE_METATYPE(CControlPanelDlg::Page)

namespace {

QList<CControlPanelDlg::Page> visiblePages(const CControlPanelDlg& dlg)
{
    QList<CControlPanelDlg::Page> pages;
    for (int i = 0; i < CControlPanelDlg::PageCount; ++i)
        if (dlg.PageWidget(CControlPanelDlg::Page(i))->isVisible())
            pages << CControlPanelDlg::Page(i);
    return pages;
}

} // namespace

class TestControlPanel : public QObject
{
    Q_OBJECT

    // The history page reads the database when the panel is built: never the user's own.
    IsolatedEnvironment m_env;
    CConfigManager m_config;

private slots:
    void pageButtonsInTheirOrder_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("bmp");
        QTest::newRow("general") << 0 << 1002 << "常规控制" << 134u;
        QTest::newRow("time") << 1 << 1004 << "时间限制" << 159u;
        QTest::newRow("password") << 2 << 1003 << "修改密码" << 160u;
        QTest::newRow("recommended") << 3 << 1007 << "家长推荐" << 161u;
        QTest::newRow("history") << 4 << 1005 << "上网记录" << 162u;
        QTest::newRow("about") << 5 << 1008 << "关于我们" << 163u;
    }
    void pageButtonsInTheirOrder()
    {
        QFETCH(int, position);
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(uint, bmp);
        CControlPanelDlg dlg(m_config);
        CCoolTabButton* button = dlg.PageButtonAt(position);
        QVERIFY(button);
        QCOMPARE(button->parentWidget(), &dlg);
        QCOMPARE(CControlPanelDlg::PageButtons()[position].ctrlId, id);
        QCOMPARE(button->text(), text);
        QCOMPARE(button->BmpID(), bmp);
        if (position > 0)
            QVERIFY(dlg.PageButtonAt(position - 1)->geometry().right() < button->geometry().left());
        QCOMPARE(button->geometry().top(), dlg.PageButtonAt(0)->geometry().top());
        // Only the last one has no division after it.
        QCOMPARE(button->NeedsDivision(), position != 5);
    }

    void afterStartTheGeneralPageShows()
    {
        CControlPanelDlg dlg(m_config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.windowTitle(), QStringLiteral("家长管理控制面板"));
        QCOMPARE(dlg.ClientRect().size(), CControlPanelDlg::kClientSize);
        QCOMPARE(visiblePages(dlg), QList<CControlPanelDlg::Page>{CControlPanelDlg::General});
        QCOMPARE(CCoolTabButton::CheckedButton(), dlg.PageButtonAt(0));
        QVERIFY(dlg.PageButtonAt(0)->IsChecked());
        QVERIFY(dlg.m_bHasCloseButton && dlg.m_bHasMinButton && !dlg.m_bHasMaxButton);
    }

    void everyPageFillsThePageArea()
    {
        CControlPanelDlg dlg(m_config);
        CCoolGroupBox* area = dlg.PageArea();
        QVERIFY(area);
        QCOMPARE(area->parentWidget(), &dlg);
        QVERIFY(area->isHidden());
        QCOMPARE(area->geometry(), CControlPanelDlg::PageAreaRect().translated(dlg.ClientRect().topLeft()));
        const QList<int> templates{135, 136, 141, 144, 151, 164};
        for (int i = 0; i < CControlPanelDlg::PageCount; ++i) {
            CPanelPage* page = dlg.PageWidget(CControlPanelDlg::Page(i));
            QCOMPARE(page->parentWidget(), &dlg);
            QCOMPARE(page->geometry(), area->geometry());
            QCOMPARE(page->TemplateId(), templates[i]);
        }
        // The pages sit below the buttons, inside the client area.
        QVERIFY(area->geometry().top() > dlg.PageButtonAt(0)->geometry().bottom());
        QVERIFY(dlg.ClientRect().contains(area->geometry()));
    }

    void aPageButtonShowsItsPage_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<CControlPanelDlg::Page>("page");
        QTest::newRow("time") << 1 << CControlPanelDlg::TimeLimit;
        QTest::newRow("password") << 2 << CControlPanelDlg::Password;
        QTest::newRow("recommended") << 3 << CControlPanelDlg::Recommend;
        QTest::newRow("history") << 4 << CControlPanelDlg::History;
        QTest::newRow("about") << 5 << CControlPanelDlg::About;
        QTest::newRow("general again") << 0 << CControlPanelDlg::General;
    }
    void aPageButtonShowsItsPage()
    {
        QFETCH(int, position);
        QFETCH(CControlPanelDlg::Page, page);
        CControlPanelDlg dlg(m_config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        if (position == 0)
            QTest::mouseClick(dlg.PageButtonAt(5), Qt::LeftButton);
        QTest::mouseClick(dlg.PageButtonAt(position), Qt::LeftButton);
        QCOMPARE(visiblePages(dlg), QList<CControlPanelDlg::Page>{page});
        QCOMPARE(dlg.CurrentPage(), page);
        QCOMPARE(CCoolTabButton::CheckedButton(), dlg.PageButtonAt(position));
        QVERIFY(dlg.updatesEnabled());
    }

    void thePageFollowsThePressEvenWhenReleasedElsewhere()
    {
        CControlPanelDlg dlg(m_config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        CCoolTabButton* history = dlg.PageButtonAt(4);
        QTest::mousePress(history, Qt::LeftButton);
        QTest::mouseRelease(history, Qt::LeftButton, {}, QPoint(-50, -50));
        QVERIFY(history->IsChecked());
        QCOMPARE(visiblePages(dlg), QList<CControlPanelDlg::Page>{CControlPanelDlg::History});
    }

    void enterAndEscapeNeverCloseIt_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void enterAndEscapeNeverCloseIt()
    {
        QFETCH(int, key);
        MessageRecorder boxes;
        CControlPanelDlg dlg(m_config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        for (int i = 0; i < CControlPanelDlg::PageCount; ++i) {
            dlg.ShowPage(CControlPanelDlg::Page(i));
            QTest::keyClick(dlg.PageWidget(CControlPanelDlg::Page(i)), Qt::Key(key));
            QTest::keyClick(dlg.PageButtonAt(i), Qt::Key(key));
            QTest::keyClick(&dlg, Qt::Key(key));
        }
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QCOMPARE(boxes.count(), 0);
    }

    void itClosesThroughItsCloseButton()
    {
        MessageRecorder boxes;
        CControlPanelDlg dlg(m_config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint close = dlg.Geometry().closeHit.center();
        QTest::mousePress(&dlg, Qt::LeftButton, {}, close);
        QVERIFY(dlg.isVisible());
        QTest::mouseRelease(&dlg, Qt::LeftButton, {}, close);
        QTRY_VERIFY(!dlg.isVisible());
        // Nothing was changed, so nothing was asked.
        QCOMPARE(boxes.count(), 0);
    }

    void unsavedChangesAreOfferedOnClose_data()
    {
        QTest::addColumn<int>("change");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("written");
        enum { General, Time, GoodPassword, WrongPassword };
        const int yes = int(MsgResult::Yes);
        const int no = int(MsgResult::No);
        QTest::newRow("general page, kept") << int(General) << yes << "“常规控制”页上的修改还没有保存,要保存吗?" << true << true;
        QTest::newRow("general page, dropped") << int(General) << no << "“常规控制”页上的修改还没有保存,要保存吗?" << true << false;
        QTest::newRow("time page, kept") << int(Time) << yes << "“时间限制”页上的修改还没有保存,要保存吗?" << true << true;
        QTest::newRow("password, kept") << int(GoodPassword) << yes << "“修改密码”页上的修改还没有保存,要保存吗?" << true << true;
        QTest::newRow("a save that fails keeps the panel open on its page")
            << int(WrongPassword) << yes << "“修改密码”页上的修改还没有保存,要保存吗?" << false << false;
    }
    void unsavedChangesAreOfferedOnClose()
    {
        QFETCH(int, change);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(bool, closed);
        QFETCH(bool, written);
        QVERIFY(QDir().mkpath(m_env.configHome()));
        const QString path = m_env.configHome() + QStringLiteral("/panel.cfg");
        QFile::remove(path);
        CConfigManager config;
        config.SetConfigPathName(path.toUtf8().constData());
        config.SetDefaultConfig();
        StorePassword(config.m_record, QStringLiteral("old"));
        QVERIFY(config.SaveConfigToFile());
        const QByteArray before = [&] { QFile f(path); return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(); }();

        MessageRecorder boxes;
        CControlPanelDlg dlg(config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(dlg.PagesWithUnsavedChanges(), QList<CControlPanelDlg::Page>{});
        switch (change) {
        case 0: dlg.m_pageMain->m_checkExitNeedPassword->SetCheck(1); break;
        case 1: dlg.m_pageTime->m_editMinutes->setText(QStringLiteral("45")); break;
        case 2:
        case 3:
            dlg.m_pagePassword->m_editCurrent->setText(change == 2 ? QStringLiteral("old") : QStringLiteral("wrong"));
            dlg.m_pagePassword->m_editNew->setText(QStringLiteral("new"));
            dlg.m_pagePassword->m_editAgain->setText(QStringLiteral("new"));
            break;
        }
        boxes.answerNext(MsgResult(answer));
        dlg.close();
        QCOMPARE(boxes.boxes().first().text, question);
        QCOMPARE(boxes.boxes().first().caption, QStringLiteral("询问"));
        QCOMPARE(boxes.boxes().first().buttons, MsgButtons::YesNo);
        QCOMPARE(!dlg.isVisible(), closed);
        if (!closed)
            QCOMPARE(dlg.CurrentPage(), CControlPanelDlg::Password);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll() != before, written);
    }

    void pagesShareTheRoundedWhiteCard()
    {
        CControlPanelDlg dlg(m_config);
        for (int i = 0; i < CControlPanelDlg::PageCount; ++i) {
            CPanelPage* page = dlg.PageWidget(CControlPanelDlg::Page(i));
            const QImage img = page->grab().toImage();
            const int w = img.width();
            const int h = img.height();
            QCOMPARE(QColor(img.pixel(w / 2, h / 2 + 60)), QColor(Qt::white));
            QCOMPARE(QColor(img.pixel(w / 2, 0)), CPanelPage::CardBorderColor());
            QCOMPARE(QColor(img.pixel(0, h / 2)), CPanelPage::CardBorderColor());
            // The card leaves the last column and row to the panel, and rounds its corners.
            QCOMPARE(QColor(img.pixel(w - 1, h / 2)), QColor(227, 239, 243));
            QCOMPARE(QColor(img.pixel(w / 2, h - 1)), QColor(227, 239, 243));
            QCOMPARE(QColor(img.pixel(0, 0)), QColor(227, 239, 243));
        }
    }

    void aboutPageShowsTheMaker()
    {
        CControlPanelDlg dlg(m_config);
        dlg.show();
        dlg.ShowPage(CControlPanelDlg::About);
        const QList<QLabel*> labels = dlg.m_pageAbout->findChildren<QLabel*>();
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.first()->text(), CAboutPropage::MakerLine());
        QVERIFY(!CAboutPropage::MakerLine().isEmpty());
        QVERIFY(labels.first()->isVisible());
        QVERIFY(dlg.m_pageAbout->rect().contains(labels.first()->geometry()));
        QVERIFY(labels.first()->width() >= labels.first()->sizeHint().width());
        // The build's own version, as the project declares it.
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+(\\.\\d+)+$")).match(CAboutPropage::Version()).hasMatch());
        QVERIFY(labels.first()->text().contains(CAboutPropage::Version()));
    }

    void makerLinePlace_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::newRow("the page's own size") << QSize(558, 496);
        QTest::newRow("the panel's page area") << QSize(680, 491);
        QTest::newRow("narrower than the text") << QSize(120, 80);
    }
    void makerLinePlace()
    {
        QFETCH(QSize, page);
        const QSize text(180, 18);
        const QRect r = CAboutPropage::MakerLineRect(page, text);
        QVERIFY(QRect(QPoint(0, 0), page).contains(r));
        QVERIFY(r.height() >= text.height());
        if (page.width() > text.width() + 4)
            QVERIFY(r.width() >= text.width());
        // Its top-left corner sits where the layout puts it, unless the text needs the room.
        QVERIFY(qAbs(r.top() - page.height() * 124 / 305) <= 1);
        if (page.width() * 131 / 372 + r.width() <= page.width() - 2)
            QVERIFY(qAbs(r.left() - page.width() * 131 / 372) <= 1);
        else
            QCOMPARE(r.right(), page.width() - 3);
    }
};

QTEST_MAIN(TestControlPanel)
#include "tst_controlpanel.moc"
