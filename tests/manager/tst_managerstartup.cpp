#include "configmanager.h"
#include "isolatedenvironment.h"
#include "managerapp.h"
#include "messagerecorder.h"
#include "passwordcheck.h"
#include "paths.h"
#include "setpassworddlg.h"

#include <quenlit/flatedit.h>

#include <QLockFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

// Writes the configuration file the program will find; passwordSet < 0 leaves no file.
void writeConfig(int passwordSet, int login)
{
    if (passwordSet < 0)
        return;
    CConfigManager config;
    config.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
    config.SetDefaultConfig();
    if (passwordSet)
        StorePassword(config.m_record, QStringLiteral("pw"));
    config.m_record.m_bPasswordSet = passwordSet;
    config.m_record.m_bLoginBeforeManage = login;
    QVERIFY(config.SaveConfigToFile());
}

// Runs the start-up with the modal dialogs answered from a list; returns the dialogs shown.
QStringList runStartUp(const QList<int>& answers, bool* returned = nullptr)
{
    QStringList shown;
    QList<int> queue = answers;
    CManagerApp app;
    app.SetModalRunner([&](QDialog& dialog) {
        shown << QString::fromLatin1(dialog.metaObject()->className());
        return queue.isEmpty() ? int(QDialog::Rejected) : queue.takeFirst();
    });
    const bool result = app.InitInstance();
    if (returned)
        *returned = result;
    return shown;
}

// What is left of the configuration file and its last good copy after writeConfig.
enum class Damage { TruncatedNoCopy, EmptyNoCopy, FolderNoCopy, BothTruncated, TruncatedGoodCopy, LostGoodCopy };

void damage(Damage how)
{
    const QString live = GetConfigerPathName();
    const QString copy = live + QString::fromLatin1(kLastGoodSuffix);
    auto truncate = [](const QString& path, int size) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.resize(size));
    };
    switch (how) {
    case Damage::TruncatedNoCopy:
        truncate(live, 100);
        QVERIFY(QFile::remove(copy));
        break;
    case Damage::EmptyNoCopy:
        truncate(live, 0);
        QVERIFY(QFile::remove(copy));
        break;
    case Damage::FolderNoCopy:
        QVERIFY(QFile::remove(live));
        QVERIFY(QDir().mkpath(live));
        QVERIFY(QFile::remove(copy));
        break;
    case Damage::BothTruncated:
        truncate(live, 2000);
        truncate(copy, 2891);
        break;
    case Damage::TruncatedGoodCopy: truncate(live, 100); break;
    case Damage::LostGoodCopy: QVERIFY(QFile::remove(live)); break;
    }
}

constexpr int kOk = QDialog::Accepted;
constexpr int kCancel = QDialog::Rejected;

} // namespace

Q_DECLARE_METATYPE(Damage)

class TestManagerStartUp : public QObject
{
    Q_OBJECT

private slots:
    void dialogsShown_data()
    {
        QTest::addColumn<int>("passwordSet");
        QTest::addColumn<int>("login");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QStringList>("dialogs");
        QTest::newRow("no configuration file: first password")
            << -1 << 0 << QList<int>{kCancel} << QStringList{"CSetPasswordDlg"};
        QTest::newRow("no password even when login is wanted")
            << 0 << 1 << QList<int>{kCancel} << QStringList{"CSetPasswordDlg"};
        QTest::newRow("first password set and accepted opens the panel")
            << 0 << 1 << QList<int>{kOk, kCancel} << QStringList{"CSetPasswordDlg", "CControlPanelDlg"};
        QTest::newRow("login cancelled ends") << 1 << 1 << QList<int>{kCancel} << QStringList{"CLoginDlg"};
        QTest::newRow("login accepted opens the panel")
            << 1 << 1 << QList<int>{kOk, kCancel} << QStringList{"CLoginDlg", "CControlPanelDlg"};
        QTest::newRow("no login wanted: the panel at once")
            << 1 << 0 << QList<int>{kCancel} << QStringList{"CControlPanelDlg"};
    }
    void dialogsShown()
    {
        QFETCH(int, passwordSet);
        QFETCH(int, login);
        QFETCH(QList<int>, answers);
        QFETCH(QStringList, dialogs);
        IsolatedEnvironment env;
        MessageRecorder boxes;
        writeConfig(passwordSet, login);
        bool returned = true;
        QCOMPARE(runStartUp(answers, &returned), dialogs);
        QVERIFY(!returned);
        QCOMPARE(boxes.count(), 0);
    }

    void answeringNoEndsAndTheNextStartFollowsTheLoginSwitch_data()
    {
        QTest::addColumn<int>("login");
        QTest::addColumn<QString>("nextDialog");
        QTest::newRow("login wanted") << 1 << "CLoginDlg";
        QTest::newRow("no login") << 0 << "CControlPanelDlg";
    }
    void answeringNoEndsAndTheNextStartFollowsTheLoginSwitch()
    {
        QFETCH(int, login);
        QFETCH(QString, nextDialog);
        IsolatedEnvironment env;
        writeConfig(0, login);
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::No);
        QStringList shown;
        {
            CManagerApp app;
            app.SetModalRunner([&](QDialog& dialog) {
                shown << QString::fromLatin1(dialog.metaObject()->className());
                auto* first = qobject_cast<CSetPasswordDlg*>(&dialog);
                if (!first)
                    return int(QDialog::Rejected);
                first->show();
                first->m_editPassword->setText(QStringLiteral("pw 2"));
                first->m_editPasswordAgain->setText(QStringLiteral("pw 2"));
                first->OnBnClickedOk();
                return first->result();
            });
            app.InitInstance();
        }
        QCOMPARE(shown, QStringList{"CSetPasswordDlg"});
        QCOMPARE(boxes.last().text, QStringLiteral("设置密码成功,是否立刻启动管理后台?"));

        QCOMPARE(runStartUp({kCancel}), QStringList{nextDialog});
    }

    void damagedRecord_data()
    {
        QTest::addColumn<Damage>("how");
        QTest::addColumn<QStringList>("dialogs");
        QTest::addColumn<bool>("told");
        QTest::newRow("truncated, no copy: told, then a new password")
            << Damage::TruncatedNoCopy << QStringList{"CSetPasswordDlg"} << true;
        QTest::newRow("empty, no copy") << Damage::EmptyNoCopy << QStringList{"CSetPasswordDlg"} << true;
        QTest::newRow("a folder in its place, no copy") << Damage::FolderNoCopy << QStringList{"CSetPasswordDlg"}
                                                        << true;
        QTest::newRow("both damaged") << Damage::BothTruncated << QStringList{"CSetPasswordDlg"} << true;
        // The copy holds the stored password and the login switch: nothing to tell.
        QTest::newRow("truncated, good copy: its login") << Damage::TruncatedGoodCopy << QStringList{"CLoginDlg"}
                                                         << false;
        QTest::newRow("lost, good copy: its login") << Damage::LostGoodCopy << QStringList{"CLoginDlg"} << false;
    }
    void damagedRecord()
    {
        QFETCH(Damage, how);
        QFETCH(QStringList, dialogs);
        QFETCH(bool, told);
        IsolatedEnvironment env;
        writeConfig(1, 1);
        damage(how);
        MessageRecorder boxes;
        QStringList shown;
        int boxesBeforeFirstDialog = -1;
        CManagerApp app;
        app.SetModalRunner([&](QDialog& dialog) {
            if (boxesBeforeFirstDialog < 0)
                boxesBeforeFirstDialog = boxes.count();
            shown << QString::fromLatin1(dialog.metaObject()->className());
            return int(QDialog::Rejected);
        });
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lorvane\\.cfg"));
        app.InitInstance();
        QCOMPARE(shown, dialogs);
        QCOMPARE(boxes.count(), told ? 1 : 0);
        QCOMPARE(boxesBeforeFirstDialog, boxes.count());
        if (told) {
            QCOMPARE(boxes.last().text, QStringLiteral("家长设置文件已损坏，无法读取，请重新设置家长密码和各项设置。"));
            QCOMPARE(boxes.last().caption, QStringLiteral("提醒"));
            QCOMPARE(app.m_config.LoadedFrom(), ConfigSource::Damaged);
            QCOMPARE(app.m_config.m_record.m_bPasswordSet, 0);
        } else {
            QCOMPARE(app.m_config.LoadedFrom(), ConfigSource::LastGoodCopy);
            QCOMPARE(CheckLogin(QStringLiteral("pw"), app.m_config.m_record), LoginCheck::Accepted);
        }
    }

    void newPasswordAfterDamageRewritesTheFile()
    {
        IsolatedEnvironment env;
        writeConfig(1, 1);
        damage(Damage::TruncatedNoCopy);
        MessageRecorder boxes;
        boxes.answerNext(MsgResult::Ok);
        boxes.answerNext(MsgResult::No);
        {
            CManagerApp app;
            app.SetModalRunner([&](QDialog& dialog) {
                auto* first = qobject_cast<CSetPasswordDlg*>(&dialog);
                if (!first)
                    return int(QDialog::Rejected);
                first->show();
                first->m_editPassword->setText(QStringLiteral("new pw"));
                first->m_editPasswordAgain->setText(QStringLiteral("new pw"));
                first->OnBnClickedOk();
                return first->result();
            });
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("lorvane\\.cfg"));
            app.InitInstance();
        }
        QCOMPARE(boxes.count(), 2);
        QCOMPARE(boxes.last().text, QStringLiteral("设置密码成功,是否立刻启动管理后台?"));

        CConfigManager reread;
        reread.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        QVERIFY(reread.LoadConfigFromFile());
        QCOMPARE(reread.LoadedFrom(), ConfigSource::File);
        QCOMPARE(CheckLogin(QStringLiteral("new pw"), reread.m_record), LoginCheck::Accepted);
        QVERIFY(QFile::exists(GetConfigerPathName() + QString::fromLatin1(kLastGoodSuffix)));
        // The new record has the installer defaults: no login, so the panel comes at once.
        QCOMPARE(runStartUp({kCancel}), QStringList{"CControlPanelDlg"});
    }

    void secondCopyInTheSameSessionIsTurnedAway()
    {
        IsolatedEnvironment env;
        writeConfig(1, 0);
        QLockFile held(CManagerApp::SingleInstanceLockPath());
        QVERIFY(held.tryLock(0));
        MessageRecorder boxes;
        bool returned = true;
        QCOMPARE(runStartUp({kCancel}, &returned), QStringList());
        QVERIFY(!returned);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("程序已运行!"));
        QCOMPARE(boxes.last().caption, QStringLiteral("提醒"));
        QCOMPARE(boxes.last().icon, MsgIcon::Information);
        held.unlock();
        QCOMPARE(runStartUp({kCancel}), QStringList{"CControlPanelDlg"});
    }

    void theCopyHoldsTheLockWhileItRuns()
    {
        IsolatedEnvironment env;
        writeConfig(1, 0);
        bool lockedMeanwhile = false;
        CManagerApp app;
        app.SetModalRunner([&](QDialog&) {
            QLockFile other(CManagerApp::SingleInstanceLockPath());
            lockedMeanwhile = !other.tryLock(0);
            return int(QDialog::Rejected);
        });
        app.InitInstance();
        QVERIFY(lockedMeanwhile);
    }

    void aLockThatCannotBeMadeIsToldAndKeepsNoOneOut()
    {
        IsolatedEnvironment env;
        writeConfig(1, 0);
        // Neither the runtime folder nor the temporary folder can hold the lock: both are a file.
        const QString file = env.root() + QStringLiteral("/not-a-folder");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        const QByteArray tmp = qgetenv("TMPDIR");
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(file));
        qputenv("TMPDIR", QFile::encodeName(file));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot create the single-copy lock .*; going on without it"));
        MessageRecorder boxes;
        const QStringList shown = runStartUp({kCancel});
        if (tmp.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", tmp);
        QCOMPARE(shown, QStringList{"CControlPanelDlg"});
        QCOMPARE(boxes.count(), 0);
    }

    void configurationPathTooLongIsReportedNotFatal()
    {
        IsolatedEnvironment env;
        // A configuration folder deeper than the record's path field can name.
        QString deep = env.root();
        for (int i = 0; i < 3; ++i)
            deep += QLatin1Char('/') + QString(100, QLatin1Char('d'));
        QVERIFY(QDir().mkpath(deep));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(deep));
        MessageRecorder boxes;
        bool returned = true;
        QCOMPARE(runStartUp({kOk}, &returned), QStringList());
        QVERIFY(!returned);
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().caption, QStringLiteral("错误"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
    }

    void dialogsGetWhiteGroundAndBlackText()
    {
        IsolatedEnvironment env;
        writeConfig(1, 0);
        runStartUp({kCancel});
        QCOMPARE(QApplication::palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(QApplication::palette().color(QPalette::WindowText), QColor(Qt::black));
    }
};

QTEST_MAIN(TestManagerStartUp)
#include "tst_managerstartup.moc"
