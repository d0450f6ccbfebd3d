#include "passwordcheck.h"

#include <QCryptographicHash>
#include <QtTest>

#include <cstring>

Q_DECLARE_METATYPE(FirstPasswordCheck)
Q_DECLARE_METATYPE(LoginCheck)
Q_DECLARE_METATYPE(StartDialog)

namespace {
QByteArray md5Hex(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}
} // namespace

class TestPasswordCheck : public QObject
{
    Q_OBJECT

private slots:
    void firstPassword_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<FirstPasswordCheck>("result");
        QTest::newRow("empty first even with the second filled") << "" << "abc" << FirstPasswordCheck::EmptyFirst;
        QTest::newRow("both empty") << "" << "" << FirstPasswordCheck::EmptyFirst;
        QTest::newRow("different texts") << "abc" << "abd" << FirstPasswordCheck::Mismatch;
        QTest::newRow("second empty") << "abc" << "" << FirstPasswordCheck::Mismatch;
        QTest::newRow("case differs") << "Abc" << "abc" << FirstPasswordCheck::Mismatch;
        QTest::newRow("blanks are not trimmed") << "abc " << "abc" << FirstPasswordCheck::Mismatch;
        QTest::newRow("same texts") << "abc" << "abc" << FirstPasswordCheck::Accepted;
        QTest::newRow("a blank is a password") << " " << " " << FirstPasswordCheck::Accepted;
        QTest::newRow("Chinese") << "家长密码" << "家长密码" << FirstPasswordCheck::Accepted;
    }
    void firstPassword()
    {
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(FirstPasswordCheck, result);
        QCOMPARE(CheckFirstPassword(first, second), result);
    }

    void storingKeepsOnlyTheHash()
    {
        ConfigRecord record {};
        std::memset(record.m_szPassword, 'x', sizeof record.m_szPassword);
        StorePassword(record, QStringLiteral("家长 Pass1"));
        QCOMPARE(record.m_bPasswordSet, 1);
        QCOMPARE(QByteArray(record.m_szPassword), md5Hex(QStringLiteral("家长 Pass1").toUtf8()));
        QCOMPARE(StoredPasswordHash(record).size(), 32);
        // Nothing of what was there before survives after the hash.
        for (std::size_t i = 32; i < sizeof record.m_szPassword; ++i)
            QCOMPARE(record.m_szPassword[i], '\0');
    }

    // The control panel's login and password page share the configuration library's check.
    void login_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<LoginCheck>("result");
        QTest::newRow("empty") << "Secret 1" << "" << LoginCheck::Empty;
        QTest::newRow("right") << "Secret 1" << "Secret 1" << LoginCheck::Accepted;
        QTest::newRow("letter case differs") << "Secret 1" << "secret 1" << LoginCheck::Wrong;
        QTest::newRow("extra blank") << "Secret 1" << "Secret 1 " << LoginCheck::Wrong;
        QTest::newRow("the hash itself is not the password")
            << "Secret 1" << QString::fromLatin1(md5Hex("Secret 1")) << LoginCheck::Wrong;
        QTest::newRow("empty password stored, nothing typed") << "" << "" << LoginCheck::Accepted;
        QTest::newRow("empty password stored, text typed") << "" << "x" << LoginCheck::Wrong;
    }
    void login()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(LoginCheck, result);
        ConfigRecord record {};
        StorePassword(record, stored);
        QCOMPARE(CheckLogin(typed, record), result);
    }

    void loginComparesTheStoredHashExactly()
    {
        // A hash written in upper case by some other tool does not match.
        ConfigRecord record {};
        const QByteArray upper = md5Hex("pw").toUpper();
        std::memcpy(record.m_szPassword, upper.constData(), upper.size());
        record.m_bPasswordSet = 1;
        QCOMPARE(CheckLogin(QStringLiteral("pw"), record), LoginCheck::Wrong);
    }

    void startDialog_data()
    {
        QTest::addColumn<int>("passwordSet");
        QTest::addColumn<int>("login");
        QTest::addColumn<StartDialog>("dialog");
        QTest::newRow("no password, no login") << 0 << 0 << StartDialog::SetPassword;
        QTest::newRow("no password even when login is wanted") << 0 << 1 << StartDialog::SetPassword;
        QTest::newRow("password and login") << 1 << 1 << StartDialog::Login;
        QTest::newRow("any non-zero login value") << 1 << 7 << StartDialog::Login;
        QTest::newRow("password, no login") << 1 << 0 << StartDialog::ControlPanel;
        QTest::newRow("any non-zero password flag") << 2 << 0 << StartDialog::ControlPanel;
    }
    void startDialog()
    {
        QFETCH(int, passwordSet);
        QFETCH(int, login);
        QFETCH(StartDialog, dialog);
        ConfigRecord record {};
        record.m_bPasswordSet = passwordSet;
        record.m_bLoginBeforeManage = login;
        QCOMPARE(ChooseStartDialog(record), dialog);
    }
};

QTEST_GUILESS_MAIN(TestPasswordCheck)
#include "tst_passwordcheck.moc"
