#include "configmanager.h"
#include "isolatedenvironment.h"
#include "logindlg.h"
#include "messagerecorder.h"
#include "passwordcheck.h"
#include "setpassworddlg.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>

#include <QtTest>

Q_DECLARE_METATYPE(MsgResult)

namespace {

const QString kEmpty = QStringLiteral("密码不能为空!");
const QString kMismatch = QStringLiteral("两次密码不相同!");
const QString kWrong = QStringLiteral("密码不对,请仔细输入或者看有没有大写锁定!");
const QString kAsk = QStringLiteral("设置密码成功,是否立刻启动管理后台?");

void click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
}

} // namespace

class TestPasswordDialogs : public QObject
{
    Q_OBJECT

    QScopedPointer<IsolatedEnvironment> m_env;
    QString m_path;

    void configAt(CConfigManager& config, const QString& path)
    {
        QCOMPARE(config.SetConfigPathName(path.toUtf8().constData()), 0);
        config.LoadConfigFromFile();
    }

private slots:
    void init()
    {
        m_env.reset(new IsolatedEnvironment);
        m_path = m_env->configHome() + QStringLiteral("/lorvane.cfg");
    }
    void cleanup() { m_env.reset(); }

    void firstPasswordRefusals_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty first with the second filled") << "" << "abc" << kEmpty;
        QTest::newRow("both empty") << "" << "" << kEmpty;
        QTest::newRow("different texts") << "abc" << "abd" << kMismatch;
        QTest::newRow("case differs") << "abc" << "ABC" << kMismatch;
    }
    void firstPasswordRefusals()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, message);
        MessageRecorder boxes;
        CConfigManager config;
        configAt(config, m_path);
        CSetPasswordDlg dlg(config);
        dlg.show();
        dlg.m_editPassword->setText(first);
        dlg.m_editPasswordAgain->setText(second);
        click(dlg.m_btnOk);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, message);
        QCOMPARE(boxes.last().caption, QStringLiteral("错误:"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        // The dialog stays with the texts as typed, nothing is stored.
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QCOMPARE(dlg.m_editPasswordAgain->text(), second);
        QCOMPARE(config.m_record.m_bPasswordSet, 0);
        QVERIFY(!QFile::exists(m_path));
    }

    void firstPasswordStoredThenAsked_data()
    {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<int>("result");
        QTest::newRow("yes opens the control panel") << MsgResult::Yes << int(QDialog::Accepted);
        QTest::newRow("no ends with the password saved") << MsgResult::No << int(QDialog::Rejected);
    }
    void firstPasswordStoredThenAsked()
    {
        QFETCH(MsgResult, answer);
        QFETCH(int, result);
        MessageRecorder boxes;
        boxes.answerNext(answer);
        CConfigManager config;
        configAt(config, m_path);
        CSetPasswordDlg dlg(config);
        dlg.show();
        const QString typed = QStringLiteral("家长 Pw1");
        dlg.m_editPassword->setText(typed);
        dlg.m_editPasswordAgain->setText(typed);
        click(dlg.m_btnOk);

        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, kAsk);
        QCOMPARE(boxes.last().caption, QStringLiteral("询问"));
        QCOMPARE(boxes.last().icon, MsgIcon::Question);
        QCOMPARE(boxes.last().buttons, MsgButtons::YesNo);
        QCOMPARE(dlg.result(), result);
        QVERIFY(!dlg.isVisible());

        CConfigManager reread;
        configAt(reread, m_path);
        QCOMPARE(reread.m_record.m_bPasswordSet, 1);
        QCOMPARE(QByteArray(reread.m_record.m_szPassword), PasswordHash(typed));
        QCOMPARE(CheckLogin(typed, reread.m_record), LoginCheck::Accepted);
    }

    void firstPasswordEnterAndEscapeAreSwallowed_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }
    void firstPasswordEnterAndEscapeAreSwallowed()
    {
        QFETCH(int, key);
        MessageRecorder boxes;
        CConfigManager config;
        configAt(config, m_path);
        CSetPasswordDlg dlg(config);
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.m_editPassword->setText(QStringLiteral("abc"));
        dlg.m_editPasswordAgain->setText(QStringLiteral("abc"));
        for (QWidget* target : {static_cast<QWidget*>(dlg.m_editPassword), static_cast<QWidget*>(dlg.m_btnOk),
                                static_cast<QWidget*>(&dlg)})
            QTest::keyClick(target, Qt::Key(key));
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.result(), 0);
        QCOMPARE(boxes.count(), 0);
        QVERIFY(!QFile::exists(m_path));
    }

    void firstPasswordCancel()
    {
        MessageRecorder boxes;
        CConfigManager config;
        configAt(config, m_path);
        CSetPasswordDlg dlg(config);
        dlg.show();
        click(dlg.m_btnCancel);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(boxes.count(), 0);
        QVERIFY(!QFile::exists(m_path));
    }

    void firstPasswordNotSavedIsNotReportedAsSet()
    {
        // A configuration folder that is a plain file: the save must fail.
        QFile blocker(m_env->root() + QStringLiteral("/blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        MessageRecorder boxes;
        CConfigManager config;
        configAt(config, blocker.fileName() + QStringLiteral("/lorvane.cfg"));
        const QByteArray before(config.m_record.m_szPassword, sizeof config.m_record.m_szPassword);
        CSetPasswordDlg dlg(config);
        dlg.show();
        dlg.m_editPassword->setText(QStringLiteral("abc"));
        dlg.m_editPasswordAgain->setText(QStringLiteral("abc"));
        click(dlg.m_btnOk);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().caption, QStringLiteral("错误:"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QVERIFY(boxes.last().text != kAsk);
        QVERIFY(dlg.isVisible());
        QCOMPARE(config.m_record.m_bPasswordSet, 0);
        QCOMPARE(QByteArray(config.m_record.m_szPassword, sizeof config.m_record.m_szPassword), before);
    }

    void login_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::newRow("empty") << "" << kEmpty << "错误:";
        QTest::newRow("letter case differs") << "secret 1" << kWrong << "错误";
        QTest::newRow("trailing blank") << "Secret 1 " << kWrong << "错误";
        QTest::newRow("right") << "Secret 1" << QString() << QString();
    }
    void login()
    {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        MessageRecorder boxes;
        CConfigManager config;
        StorePassword(config.m_record, QStringLiteral("Secret 1"));
        CLoginDlg dlg(config);
        dlg.show();
        dlg.m_editPassword->setText(typed);
        click(dlg.m_btnLogin);
        if (message.isEmpty()) {
            QCOMPARE(boxes.count(), 0);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
            return;
        }
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, message);
        QCOMPARE(boxes.last().caption, caption);
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.m_editPassword->text(), typed);
    }

    void loginByEnterAndEndByEscape()
    {
        MessageRecorder boxes;
        CConfigManager config;
        StorePassword(config.m_record, QStringLiteral("pw"));
        {
            CLoginDlg dlg(config);
            dlg.show();
            dlg.m_editPassword->setText(QStringLiteral("PW"));
            QTest::keyClick(dlg.m_editPassword, Qt::Key_Return);
            QCOMPARE(boxes.count(), 1);
            QVERIFY(dlg.isVisible());
            dlg.m_editPassword->setText(QStringLiteral("pw"));
            // Enter works wherever the focus is, the cancel button included.
            QTest::keyClick(dlg.m_btnCancel, Qt::Key_Enter);
            QCOMPARE(dlg.result(), int(QDialog::Accepted));
        }
        {
            CLoginDlg dlg(config);
            dlg.show();
            dlg.m_editPassword->setText(QStringLiteral("pw"));
            QTest::keyClick(dlg.m_editPassword, Qt::Key_Escape);
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
            QVERIFY(!dlg.isVisible());
        }
        {
            CLoginDlg dlg(config);
            dlg.show();
            click(dlg.m_btnCancel);
            QCOMPARE(dlg.result(), int(QDialog::Rejected));
        }
        QCOMPARE(boxes.count(), 1);
    }

    void dialogsLookTheirPart()
    {
        CConfigManager config;
        CSetPasswordDlg first(config);
        QCOMPARE(first.windowTitle(), QStringLiteral("请设置父母的管理密码:"));
        QCOMPARE(first.m_editPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(first.m_editPasswordAgain->echoMode(), QLineEdit::Password);
        QCOMPARE(first.m_btnOk->text(), QStringLiteral("确定"));
        QCOMPARE(first.m_btnCancel->text(), QStringLiteral("取消"));
        QVERIFY(!first.m_hIcon.isNull());
        CLoginDlg login(config);
        QCOMPARE(login.windowTitle(), QStringLiteral("登陆"));
        QCOMPARE(login.m_editPassword->echoMode(), QLineEdit::Password);
        QCOMPARE(login.m_btnLogin->text(), QStringLiteral("登陆"));
        QVERIFY(!login.m_bHasMaxButton && !login.m_bHasMinButton && login.m_bHasCloseButton);
    }
};

QTEST_MAIN(TestPasswordDialogs)
#include "tst_passworddialogs.moc"
