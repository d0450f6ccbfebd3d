#include "configmanager.h"
#include "controlpaneldlg.h"
#include "isolatedenvironment.h"
#include "mainpropertypage.h"
#include "managerart.h"
#include "managerdata.h"
#include "messagerecorder.h"
#include "passwordcheck.h"
#include "passwordpropertypage.h"
#include "timecontrolpropertypage.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatcheckbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>
#include <quenlit/radiobox.h>

#include <QtTest>

#include <cstring>
#include <functional>

namespace {

const QString kSaved = QStringLiteral("保存配置成功!");
const QString kRemind = QStringLiteral("提醒");
const QString kError = QStringLiteral("错误");
const QString kNoSitesNote = QStringLiteral(
    "“仅访问儿童网站”已经打开,但还没有推荐任何网站,孩子打开的每个网页都只会显示拦截页面。请在“家长推荐”页添加网站。");
const QString kOpenPanelNote =
    QStringLiteral("“登陆管理界面需要先登陆”没有打开,这台电脑前的任何人都能打开家长管理控制面板,不用输入密码。");
QString homeNotCoveredNote(const QString& home)
{
    return QStringLiteral("“仅访问儿童网站”已经打开,但主页 %1 不在推荐的网站里,浏览器启动后只会显示拦截页面。"
                          "请把它加入“家长推荐”,或者换一个主页。")
        .arg(home);
}

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

void setHome(ConfigRecord& r, const QByteArray& home)
{
    std::memset(r.m_szHomePage, 0, sizeof r.m_szHomePage);
    std::memcpy(r.m_szHomePage, home.constData(), std::size_t(home.size()));
}

QByteArray homeOf(const ConfigRecord& r)
{
    return QByteArray(r.m_szHomePage, qsizetype(qstrnlen(r.m_szHomePage, sizeof r.m_szHomePage)));
}

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the browser reads at its next start.
ConfigRecord browserView(const QString& path)
{
    CConfigManager browser;
    browser.SetConfigPathName(path.toUtf8().constData());
    browser.LoadConfigFromFile();
    return browser.m_record;
}

} // namespace

class TestSettingsPages : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;
    QString m_path;
    CConfigManager m_config;

    // A stored configuration: switches off, the limit off at 10 minutes, a home page
    // of its own and the password "secret".
    void storeStartingConfig()
    {
        m_config.SetDefaultConfig();
        m_config.m_record.m_bUseOwnHomePage = 1;
        setHome(m_config.m_record, "http://old.example/");
        StorePassword(m_config.m_record, QStringLiteral("secret"));
        QVERIFY(m_config.SaveConfigToFile());
    }

    // The configuration file cannot be written: its folder does not exist.
    void makeUnwritable() { m_config.SetConfigPathName((m_env->root() + "/missing/lorvane.cfg").toUtf8().constData()); }

private slots:
    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        m_path = m_env->configHome() + QStringLiteral("/lorvane.cfg");
        QVERIFY(QDir().mkpath(m_env->configHome()));
        m_config = CConfigManager();
        m_config.SetConfigPathName(m_path.toUtf8().constData());
        storeStartingConfig();
        QVERIFY(QDir().mkpath(m_env->dataHome()));
        ManagerData::SetDataBasePath(m_env->dataHome() + QStringLiteral("/browsing.db"));
    }
    void cleanup()
    {
        ManagerData::SetDataBasePath(QString());
        m_env.reset();
    }

    // The general page.

    void generalPageShowsTheConfiguration_data()
    {
        QTest::addColumn<int>("ownHome");
        QTest::newRow("own home page on") << 1;
        QTest::newRow("own home page off") << 0;
    }
    void generalPageShowsTheConfiguration()
    {
        QFETCH(int, ownHome);
        m_config.m_record.m_bOnlyChildSites = 1;
        m_config.m_record.m_bLoginBeforeManage = 1;
        m_config.m_record.m_bUseOwnHomePage = ownHome;
        CMainPropertyPage page(m_config, nullptr);
        QCOMPARE(page.m_checkOnlyChildSites->GetCheck(), 1);
        QCOMPARE(page.m_checkExitNeedPassword->GetCheck(), 0);
        QCOMPARE(page.m_checkLoginBeforeManage->GetCheck(), 1);
        QCOMPARE(page.m_checkOwnHomePage->GetCheck(), ownHome);
        QCOMPARE(page.m_editHomePage->text(), QStringLiteral("http://old.example/"));
        QCOMPARE(page.m_editHomePage->isEnabled(), ownHome != 0);
        QCOMPARE(page.m_frameHomePage->BorderColor(), ownHome ? kManagerGroupBorder : page.HomePageFrameColor(false));
        QVERIFY(page.HomePageFrameColor(false) != kManagerGroupBorder);

        const QList<std::pair<Quenlit::CFlatCheckBox*, QString>> controls{
            {page.m_checkOnlyChildSites, "仅访问儿童网站"},
            {page.m_checkExitNeedPassword, "退出时需要输入家长密码"},
            {page.m_checkLoginBeforeManage, "登陆管理界面需要先登陆"},
            {page.m_checkOwnHomePage, "使用自己设置的主页"}};
        for (const auto& [check, text] : controls)
            QCOMPARE(check->text(), text);
        QCOMPARE(page.m_btnSave->text(), QStringLiteral("保存"));
        QCOMPARE(page.m_btnDefaults->text(), QStringLiteral("默认设置"));
        const Quenlit::CLabel* heading = page.m_labelHeading;
        QCOMPARE(heading->text(), QStringLiteral("常规设置:"));
        QCOMPARE(heading->LabelFont().pointSize(), 20);
        QVERIFY(heading->LabelFont().bold());
        QCOMPARE(heading->TextColor(), QColor(81, 81, 81));
    }

    void uncheckingTheOwnHomePageGreysTheAddressAtOnce()
    {
        const QByteArray before = fileBytes(m_path);
        CMainPropertyPage page(m_config, nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTest::mouseClick(page.m_checkOwnHomePage, Qt::LeftButton);
        QCOMPARE(page.m_checkOwnHomePage->GetCheck(), 0);
        QVERIFY(!page.m_editHomePage->isEnabled());
        QCOMPARE(page.m_frameHomePage->BorderColor(), page.HomePageFrameColor(false));
        QTest::mouseClick(page.m_checkOwnHomePage, Qt::LeftButton);
        QVERIFY(page.m_editHomePage->isEnabled());
        QCOMPARE(page.m_frameHomePage->BorderColor(), kManagerGroupBorder);
        QCOMPARE(fileBytes(m_path), before);
    }

    void savingTheGeneralPage_data()
    {
        QTest::addColumn<bool>("ownHome");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("storedHome");
        QTest::newRow("own home page off keeps the stored one")
            << false << "http://ignored.example/" << QByteArray("http://old.example/");
        QTest::newRow("own home page on stores the trimmed address")
            << true << "  http://new.example/  " << QByteArray("http://new.example/");
        QTest::newRow("an address without a scheme is kept as typed")
            << true << "new.example" << QByteArray("new.example");
    }
    void savingTheGeneralPage()
    {
        QFETCH(bool, ownHome);
        QFETCH(QString, typed);
        QFETCH(QByteArray, storedHome);
        MessageRecorder boxes;
        CMainPropertyPage page(m_config, nullptr);
        page.m_checkOnlyChildSites->SetCheck(1);
        page.m_checkExitNeedPassword->SetCheck(1);
        page.m_checkOwnHomePage->SetCheck(ownHome);
        page.m_editHomePage->setText(typed);
        click(page.m_btnSave);
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.boxes()[0].text, kSaved);
        QCOMPARE(boxes.boxes()[0].caption, kRemind);
        QCOMPARE(boxes.boxes()[0].icon, MsgIcon::Information);
        // No site is recommended and the login switch is off: both are explained.
        QCOMPARE(boxes.last().text, kNoSitesNote + "\n\n" + kOpenPanelNote);
        QCOMPARE(boxes.last().icon, MsgIcon::Warning);
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(stored.m_bOnlyChildSites, 1);
        QCOMPARE(stored.m_bExitNeedPassword, 1);
        QCOMPARE(stored.m_bLoginBeforeManage, 0);
        QCOMPARE(stored.m_bUseOwnHomePage, ownHome ? 1 : 0);
        QCOMPARE(homeOf(stored), storedHome);
        QCOMPARE(StoredPasswordHash(stored), PasswordHash(QStringLiteral("secret")));
        QCOMPARE(page.m_editHomePage->text(), QString::fromUtf8(storedHome));
    }

    void savingExplainsWhatTheSettingsMean_data()
    {
        QTest::addColumn<bool>("onlyChildSites");
        QTest::addColumn<bool>("loginFirst");
        QTest::addColumn<QStringList>("sites");
        QTest::addColumn<QString>("home"); // stored; the own home page stays off
        QTest::addColumn<QStringList>("notes");
        const QStringList kids{"http://kids.example/"};
        QTest::newRow("nothing to explain") << false << true << QStringList() << "http://old.example/" << QStringList();
        QTest::newRow("no site recommended") << true << true << QStringList() << "http://old.example/"
                                             << QStringList{kNoSitesNote};
        QTest::newRow("home page inside a recommended site")
            << true << true << kids << "http://www.kids.example/start.html" << QStringList();
        QTest::newRow("home page on no recommended site")
            << true << true << kids << "http://old.example/" << QStringList{homeNotCoveredNote("http://old.example/")};
        QTest::newRow("no home page: the browser's own start page")
            << true << true << kids << "" << QStringList();
        QTest::newRow("a direction mark in the home page is written out")
            << true << true << kids << QString("http://a.test/") + QChar(0x202E) + "x"
            << QStringList{homeNotCoveredNote("http://a.test/<U+202E>x")};
        QTest::newRow("login switch off") << false << false << QStringList() << "" << QStringList{kOpenPanelNote};
    }
    void savingExplainsWhatTheSettingsMean()
    {
        QFETCH(bool, onlyChildSites);
        QFETCH(bool, loginFirst);
        QFETCH(QStringList, sites);
        QFETCH(QString, home);
        QFETCH(QStringList, notes);
        for (const QString& site : sites)
            QVERIFY(ManagerData::AddSite(site, QStringLiteral("site"), QStringLiteral("site.png")));
        m_config.m_record.m_bUseOwnHomePage = 0;
        setHome(m_config.m_record, home.toUtf8());
        MessageRecorder boxes;
        CMainPropertyPage page(m_config, nullptr);
        page.m_checkOnlyChildSites->SetCheck(onlyChildSites);
        page.m_checkLoginBeforeManage->SetCheck(loginFirst);
        click(page.m_btnSave);
        QCOMPARE(boxes.boxes().first().text, kSaved);
        QCOMPARE(boxes.count(), notes.isEmpty() ? 1 : 2);
        if (!notes.isEmpty()) {
            QCOMPARE(boxes.last().text, notes.join("\n\n"));
            QCOMPARE(boxes.last().caption, kRemind);
            QCOMPARE(boxes.last().icon, MsgIcon::Warning);
        }
        // Saved as asked all the same.
        QCOMPARE(browserView(m_path).m_bOnlyChildSites, onlyChildSites ? 1 : 0);
    }

    void disabledHomePageFrameIsTheSystemsGrey()
    {
        // As the manager sets it up: window text black in every state.
        const QPalette saved = QApplication::palette();
        QPalette black = saved;
        black.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(black);
        m_config.m_record.m_bUseOwnHomePage = 0;
        CMainPropertyPage page(m_config, nullptr);
        const QColor frame = page.m_frameHomePage->BorderColor();
        QApplication::setPalette(saved);
        QVERIFY(frame != QColor(Qt::black));
        QCOMPARE(frame, black.color(QPalette::Disabled, QPalette::Text));
    }

    void refusedHomePagesWriteNothing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("blanks only") << " \t  " << "错误:请输入主页的地址";
        QTest::newRow("longer than the record holds")
            << "http://a/" + QString(2600, QLatin1Char('x'))
            << "错误:主页的地址太长了,最多只能保存2599个字节,现在有2609个字节!";
        QTest::newRow("a line break inside") << "http://a/\nb" << "错误:主页的地址里不能有换行、制表符等控制字符!";
    }
    void refusedHomePagesWriteNothing()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        const QByteArray before = fileBytes(m_path);
        MessageRecorder boxes;
        CMainPropertyPage page(m_config, nullptr);
        page.m_checkOnlyChildSites->SetCheck(1);
        page.m_editHomePage->setText(typed);
        click(page.m_btnSave);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, message);
        QCOMPARE(boxes.last().caption, kError);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QCOMPARE(fileBytes(m_path), before);
        QCOMPARE(homeOf(m_config.m_record), QByteArray("http://old.example/"));
        // The switch stays in memory, and the next save of any page writes it.
        QCOMPARE(m_config.m_record.m_bOnlyChildSites, 1);
        CTimeControlPropertyPage time(m_config, nullptr);
        click(time.m_btnSave);
        QCOMPARE(browserView(m_path).m_bOnlyChildSites, 1);
    }

    void generalDefaultsTurnTheThreeSwitchesOn()
    {
        m_config.m_record.m_bUseOwnHomePage = 0;
        MessageRecorder boxes;
        CMainPropertyPage page(m_config, nullptr);
        page.m_editHomePage->setText(QStringLiteral("http://typed.example/"));
        click(page.m_btnDefaults);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("恢复默认设置成功!"));
        QCOMPARE(boxes.last().caption, kRemind);
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
        QCOMPARE(page.m_checkOnlyChildSites->GetCheck(), 1);
        QCOMPARE(page.m_checkExitNeedPassword->GetCheck(), 1);
        QCOMPARE(page.m_checkLoginBeforeManage->GetCheck(), 1);
        QCOMPARE(page.m_checkOwnHomePage->GetCheck(), 0);
        // Filled again from the configuration: the stored address, not the typed one.
        QCOMPARE(page.m_editHomePage->text(), QStringLiteral("http://old.example/"));
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(stored.m_bOnlyChildSites, 1);
        QCOMPARE(stored.m_bExitNeedPassword, 1);
        QCOMPARE(stored.m_bLoginBeforeManage, 1);
        QCOMPARE(stored.m_bUseOwnHomePage, 0);
        QCOMPARE(homeOf(stored), QByteArray("http://old.example/"));
    }

    // The time limit page.

    void timePageShowsTheConfiguration_data()
    {
        QTest::addColumn<int>("limit");
        QTest::newRow("limit on") << 1;
        QTest::newRow("limit off") << 0;
    }
    void timePageShowsTheConfiguration()
    {
        QFETCH(int, limit);
        m_config.m_record.m_bLimitTime = limit;
        m_config.m_record.m_nLimitMinutes = 75;
        CTimeControlPropertyPage page(m_config, nullptr);
        QCOMPARE(page.m_radioLimit->GetCheck(), limit);
        QCOMPARE(page.m_radioNoLimit->GetCheck(), 1 - limit);
        QCOMPARE(page.m_editMinutes->isEnabled(), limit == 1);
        // Disabled or not, the edit shows the stored number.
        QCOMPARE(page.m_editMinutes->text(), QStringLiteral("75"));
        QCOMPARE(page.m_radioLimit->text(), QStringLiteral("限制"));
        QCOMPARE(page.m_radioNoLimit->text(), QStringLiteral("不限制"));
        QCOMPARE(page.m_labelHeading->text(), QStringLiteral("时间限制:"));
    }

    void radioBoxesEnableTheMinutesAtOnce()
    {
        CTimeControlPropertyPage page(m_config, nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QVERIFY(!page.m_editMinutes->isEnabled());
        click(page.m_radioLimit);
        QCOMPARE(page.m_radioLimit->GetCheck(), 1);
        QCOMPARE(page.m_radioNoLimit->GetCheck(), 0);
        QVERIFY(page.m_editMinutes->isEnabled());
        click(page.m_radioNoLimit);
        QCOMPARE(page.m_radioLimit->GetCheck(), 0);
        QVERIFY(!page.m_editMinutes->isEnabled());
    }

    void savingTheTimePage_data()
    {
        QTest::addColumn<bool>("limitOn");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("storedMinutes");
        QTest::newRow("limit on, 30 minutes") << true << "30" << 30;
        QTest::newRow("limit on, a unit after the number") << true << " 90分钟" << 90;
        QTest::newRow("limit off keeps the number shown") << false << "10" << 10;
        QTest::newRow("limit off stores letters as 0") << false << "abc" << 0;
    }
    void savingTheTimePage()
    {
        QFETCH(bool, limitOn);
        QFETCH(QString, typed);
        QFETCH(int, storedMinutes);
        MessageRecorder boxes;
        CTimeControlPropertyPage page(m_config, nullptr);
        (limitOn ? page.m_radioLimit : page.m_radioNoLimit)->SetCheck(1);
        page.m_editMinutes->setText(typed);
        click(page.m_btnSave);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("保存成功!"));
        QCOMPARE(boxes.last().caption, QStringLiteral("恭喜"));
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(stored.m_bLimitTime, limitOn ? 1 : 0);
        QCOMPARE(stored.m_nLimitMinutes, storedMinutes);
        QCOMPARE(page.m_editMinutes->text(), QString::number(storedMinutes));
        QCOMPARE(homeOf(stored), QByteArray("http://old.example/"));
    }

    void minutesTheBrowserCannotHonourAreRefused_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("0") << "0";
        QTest::newRow("more than a day") << "1441";
    }
    void minutesTheBrowserCannotHonourAreRefused()
    {
        QFETCH(QString, typed);
        const QByteArray before = fileBytes(m_path);
        MessageRecorder boxes;
        CTimeControlPropertyPage page(m_config, nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.m_radioLimit->SetCheck(1);
        page.m_editMinutes->setText(typed);
        click(page.m_btnSave);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("每天上网时间必须是1-1440分钟之间!"));
        QCOMPARE(boxes.last().caption, kError);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QCOMPARE(fileBytes(m_path), before);
        QCOMPARE(m_config.m_record.m_bLimitTime, 0);
        QVERIFY(page.m_editMinutes->hasFocus());
        QCOMPARE(page.m_editMinutes->selectedText(), typed);
    }

    void timeDefaultsRestoreTheInstallersLimit()
    {
        m_config.m_record.m_bLimitTime = 1;
        m_config.m_record.m_nLimitMinutes = 90;
        MessageRecorder boxes;
        CTimeControlPropertyPage page(m_config, nullptr);
        click(page.m_btnDefaults);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("恢复默认设置成功!"));
        QCOMPARE(boxes.last().caption, kRemind);
        QCOMPARE(page.m_radioNoLimit->GetCheck(), 1);
        QVERIFY(!page.m_editMinutes->isEnabled());
        QCOMPARE(page.m_editMinutes->text(), QStringLiteral("10"));
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(stored.m_bLimitTime, 0);
        QCOMPARE(stored.m_nLimitMinutes, 10);
    }

    // The password page.

    void passwordRefusals_data()
    {
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("next");
        QTest::addColumn<QString>("again");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("focusedEdit"); // 0: focus stays where it was; 1 current, 2 new, 3 again
        QTest::newRow("empty current") << "" << "a" << "a" << "原始密码不能为空!" << 0;
        QTest::newRow("wrong current before matching new ones")
            << "wrong" << "a" << "a" << "原始密码不正确!" << 1;
        QTest::newRow("empty new with the repetition filled") << "secret" << "" << "a" << "新密码不能为空!" << 0;
        QTest::newRow("blanks only as the new one") << "secret" << "   " << "   " << "新密码不能为空!" << 0;
        QTest::newRow("repetition differs") << "secret" << "a" << "b" << "两次输入的密码不一致!" << 3;
    }
    void passwordRefusals()
    {
        QFETCH(QString, current);
        QFETCH(QString, next);
        QFETCH(QString, again);
        QFETCH(QString, message);
        QFETCH(int, focusedEdit);
        const QByteArray before = fileBytes(m_path);
        MessageRecorder boxes;
        CPasswordPropertyPage page(m_config, nullptr);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        page.m_editCurrent->setText(current);
        page.m_editNew->setText(next);
        page.m_editAgain->setText(again);
        page.m_editNew->setFocus();
        click(page.m_btnChange);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, message);
        QCOMPARE(boxes.last().caption, kError);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QCOMPARE(fileBytes(m_path), before);
        QCOMPARE(StoredPasswordHash(m_config.m_record), PasswordHash(QStringLiteral("secret")));
        if (focusedEdit) {
            const QList<Quenlit::CFlatEdit*> edits{page.m_editCurrent, page.m_editNew, page.m_editAgain};
            Quenlit::CFlatEdit* edit = edits[focusedEdit - 1];
            QVERIFY(edit->hasFocus());
            QCOMPARE(edit->selectedText(), edit->text());
        }
    }

    void passwordEditsHideWhatIsTyped()
    {
        CPasswordPropertyPage page(m_config, nullptr);
        for (Quenlit::CFlatEdit* edit : {page.m_editCurrent, page.m_editNew, page.m_editAgain}) {
            QCOMPARE(edit->echoMode(), QLineEdit::Password);
            QVERIFY(edit->text().isEmpty());
        }
        QCOMPARE(page.m_btnChange->text(), QStringLiteral("确认修改"));
        QCOMPARE(page.m_labelHeading->text(), QStringLiteral("设置家长密码"));
    }

    void changingThePassword_data()
    {
        QTest::addColumn<QString>("next");
        QTest::newRow("a new password") << "new pass";
        QTest::newRow("the same password again") << "secret";
    }
    void changingThePassword()
    {
        QFETCH(QString, next);
        MessageRecorder boxes;
        CPasswordPropertyPage page(m_config, nullptr);
        page.m_editCurrent->setText(QStringLiteral("secret"));
        page.m_editNew->setText(next);
        page.m_editAgain->setText(next);
        click(page.m_btnChange);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("修改密码成功!"));
        QCOMPARE(boxes.last().caption, kRemind);
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
        // Nothing typed is left behind.
        QCOMPARE(page.m_editCurrent->text(), QString());
        QCOMPARE(page.m_editNew->text(), QString());
        QCOMPARE(page.m_editAgain->text(), QString());
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(CheckLogin(next, stored), LoginCheck::Accepted);
        if (next != QStringLiteral("secret"))
            QCOMPARE(CheckLogin(QStringLiteral("secret"), stored), LoginCheck::Wrong);
        QCOMPARE(homeOf(stored), QByteArray("http://old.example/"));
    }

    // Every page tells the parent when the file cannot be written.

    void unwritableSavesAreReported_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("general save") << "general save";
        QTest::newRow("general defaults") << "general defaults";
        QTest::newRow("time save") << "time save";
        QTest::newRow("time defaults") << "time defaults";
        QTest::newRow("password change") << "password";
    }
    void unwritableSavesAreReported()
    {
        QFETCH(QString, action);
        makeUnwritable();
        const ConfigRecord before = m_config.m_record;
        MessageRecorder boxes;
        CMainPropertyPage general(m_config, nullptr);
        CTimeControlPropertyPage time(m_config, nullptr);
        CPasswordPropertyPage password(m_config, nullptr);
        if (action == QLatin1String("general save")) {
            general.m_checkExitNeedPassword->SetCheck(1);
            general.m_editHomePage->setText(QStringLiteral("http://new.example/"));
            click(general.m_btnSave);
        } else if (action == QLatin1String("general defaults")) {
            click(general.m_btnDefaults);
            // The page still shows what is in force.
            QCOMPARE(general.m_checkOnlyChildSites->GetCheck(), 0);
        } else if (action == QLatin1String("time save")) {
            time.m_radioLimit->SetCheck(1);
            time.m_editMinutes->setText(QStringLiteral("20"));
            click(time.m_btnSave);
        } else if (action == QLatin1String("time defaults")) {
            m_config.m_record.m_nLimitMinutes = 99;
            click(time.m_btnDefaults);
            QCOMPARE(m_config.m_record.m_nLimitMinutes, 99);
            m_config.m_record.m_nLimitMinutes = before.m_nLimitMinutes;
        } else {
            password.m_editCurrent->setText(QStringLiteral("secret"));
            password.m_editNew->setText(QStringLiteral("other"));
            password.m_editAgain->setText(QStringLiteral("other"));
            click(password.m_btnChange);
        }
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().caption, kError);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QVERIFY(boxes.last().text.startsWith(QStringLiteral("保存配置失败!")));
        QVERIFY(boxes.last().text.contains(m_env->root() + "/missing/lorvane.cfg"));
        // Memory is as before, so no later save writes what was reported as not saved.
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(&m_config.m_record), sizeof(ConfigRecord)),
                 QByteArray(reinterpret_cast<const char*>(&before), sizeof(ConfigRecord)));
        QVERIFY(!QFile::exists(m_env->root() + "/missing"));
    }

    void savingWithoutAPathIsReportedNotFatal()
    {
        CConfigManager noPath;
        noPath.m_record = m_config.m_record;
        MessageRecorder boxes;
        CTimeControlPropertyPage page(noPath, nullptr);
        click(page.m_btnSave);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QString::fromUtf8(kConfigNoPathMessage));
        QCOMPARE(boxes.last().caption, kError);
    }

    // The pages share the control panel's one configuration.

    void aSettingMadeInThePanelReachesTheBrowsersNextStart()
    {
        MessageRecorder boxes;
        CControlPanelDlg panel(m_config);
        CMainPropertyPage* general = panel.m_pageMain;
        general->m_checkOnlyChildSites->SetCheck(1);
        general->m_editHomePage->setText(QStringLiteral("http://kids.example/"));
        click(general->m_btnSave);
        CTimeControlPropertyPage* time = panel.m_pageTime;
        time->m_radioLimit->SetCheck(1);
        time->m_editMinutes->setText(QStringLiteral("25"));
        click(time->m_btnSave);
        QCOMPARE(boxes.count(), 3); // the general page also explained its settings
        const ConfigRecord stored = browserView(m_path);
        QCOMPARE(stored.m_bOnlyChildSites, 1);
        QCOMPARE(homeOf(stored), QByteArray("http://kids.example/"));
        QCOMPARE(stored.m_bLimitTime, 1);
        QCOMPARE(stored.m_nLimitMinutes, 25);
        QCOMPARE(fileBytes(m_path).size(), 2892);
    }
};

QTEST_MAIN(TestSettingsPages)
#include "tst_settingspages.moc"
