#include "md5a.h"
#include "timelimit.h"

#include <QtTest>

#include <climits>

class TestTimeLimit : public QObject
{
    Q_OBJECT

private slots:
    void shouldLock_data()
    {
        QTest::addColumn<int>("limitSwitch");
        QTest::addColumn<uint>("now");
        QTest::addColumn<uint>("start");
        QTest::addColumn<uint>("allowance");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("locks");
        QTest::newRow("599.999 s of 10 min") << 1 << 1599999u << 1000000u << 600000u << false << false;
        QTest::newRow("600 s of 10 min") << 1 << 1600000u << 1000000u << 600000u << false << true;
        QTest::newRow("switch 2 never locks") << 2 << 9999999u << 0u << 600000u << false << false;
        QTest::newRow("switch 0 never locks") << 0 << 9999999u << 0u << 600000u << false << false;
        QTest::newRow("a dialog is open") << 1 << 1600000u << 1000000u << 600000u << true << false;
        // start + allowance wraps: a 32-bit sum would lock at once.
        QTest::newRow("sum wraps, 1 s elapsed") << 1 << 0xFFFFFC18u + 1000u << 0xFFFFFC18u << 600000u << false << false;
        QTest::newRow("counter wraps, allowance used") << 1 << 600000u - 1000u << 0xFFFFFC18u << 600000u << false << true;
        QTest::newRow("zero allowance locks at once") << 1 << 5u << 5u << 0u << false << true;
    }
    void shouldLock()
    {
        QFETCH(int, limitSwitch);
        QFETCH(uint, now);
        QFETCH(uint, start);
        QFETCH(uint, allowance);
        QFETCH(bool, busy);
        QFETCH(bool, locks);
        QCOMPARE(TimeLimit::ShouldLock(limitSwitch, now, start, allowance, busy), locks);
    }

    void decimalNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("digits") << "45" << 45;
        QTest::newRow("leading digits only") << "12abc" << 12;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("blanks and sign") << "  -7" << -7;
        QTest::newRow("beyond 32 bits") << "99999999999" << INT_MAX;
    }
    void decimalNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(TimeLimit::DecimalNumber(text), value);
    }

    void unlockChecks_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("granted");
        const QString wrongPw = "密码不对,请仔细输入或者看有没有大写锁定!";
        QTest::newRow("empty password is checked first") << "" << "" << "密码不能为空!" << "错误:" << 0;
        QTest::newRow("wrong password with valid minutes") << "nope" << "30" << wrongPw << "错误" << 0;
        QTest::newRow("upper case is another password") << "PARENT" << "30" << wrongPw << "错误" << 0;
        QTest::newRow("empty minutes") << "parent" << "" << "延长时间不能为零!" << "错误" << 0;
        QTest::newRow("zero minutes") << "parent" << "0" << "延长时间不能为零!" << "错误" << 0;
        QTest::newRow("601 minutes")
            << "parent" << "601" << "输入的延时时间必须是1-600分钟之间，不可超过这个数字！" << "错误" << 0;
        QTest::newRow("600 minutes") << "parent" << "600" << "" << "" << 600;
        QTest::newRow("1 minute") << "parent" << "1" << "" << "" << 1;
    }
    void unlockChecks()
    {
        QFETCH(QString, password);
        QFETCH(QString, minutes);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(int, granted);
        int got = -1;
        const TimeLimit::Refusal r = TimeLimit::CheckUnlock(password, CMd5A().MDString("parent"), minutes, &got);
        QCOMPARE(r.text, message);
        QCOMPARE(r.caption, caption);
        if (granted)
            QCOMPARE(got, granted);
        else
            QCOMPARE(got, -1);
    }

    void storedUpperCaseHashNeverMatches()
    {
        const QByteArray upper = CMd5A().MDString("parent").toUpper();
        QVERIFY(!TimeLimit::CheckExitPassword("parent", upper).text.isEmpty());
        QVERIFY(TimeLimit::CheckExitPassword("parent", CMd5A().MDString("parent")).text.isEmpty());
        QCOMPARE(TimeLimit::CheckExitPassword("", upper).caption, QStringLiteral("错误:"));
        QCOMPARE(TimeLimit::CheckExitPassword("x", upper).caption, QStringLiteral("错误"));
    }

    void dimmingOfAKnownImage()
    {
        QImage img(3, 1, QImage::Format_RGB32);
        img.setPixel(0, 0, qRgb(0, 0, 0));
        img.setPixel(1, 0, qRgb(255, 255, 255));
        img.setPixel(2, 0, qRgb(201, 100, 7));
        const QImage dim = TimeLimit::Dimmed(img);
        QCOMPARE(dim.size(), img.size());
        QCOMPARE(QColor(dim.pixel(0, 0)), QColor(100, 100, 100));
        QCOMPARE(QColor(dim.pixel(1, 0)), QColor(227, 227, 227));
        QCOMPARE(QColor(dim.pixel(2, 0)), QColor(200, 150, 103));
    }
};

QTEST_GUILESS_MAIN(TestTimeLimit)
#include "tst_timelimit.moc"
