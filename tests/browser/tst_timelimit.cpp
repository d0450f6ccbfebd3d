#include "md5a.h"
#include "timelimit.h"

#include <QtTest>

#include <climits>
#include <cstring>

namespace {

ConfigRecord recordFor(const QByteArray& storedHash)
{
    ConfigRecord record {};
    std::memcpy(record.m_szPassword, storedHash.constData(),
                qMin<std::size_t>(std::size_t(storedHash.size()), sizeof record.m_szPassword));
    record.m_bPasswordSet = 1;
    return record;
}

} // namespace

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

    // The notices before the lock and the minutes the status bar shows (start tick 1000).
    void windDown_data()
    {
        QTest::addColumn<int>("limitSwitch");
        QTest::addColumn<uint>("elapsed");
        QTest::addColumn<uint>("allowance");
        QTest::addColumn<int>("lastNotice");
        QTest::addColumn<int>("notice");
        QTest::addColumn<int>("minutesLeft");
        const uint minute = 60000;
        QTest::newRow("5:00.001 left: nothing yet") << 1 << 5 * minute - 1 << 10 * minute << 0 << 0 << -1;
        QTest::newRow("5:00 left: the 5-minute notice") << 1 << 5 * minute << 10 * minute << 0 << 5 << 5;
        QTest::newRow("4:59.999 left, given: none twice") << 1 << 5 * minute + 1 << 10 * minute << 5 << 0 << 5;
        QTest::newRow("1:00.001 left: 2 minutes shown") << 1 << 9 * minute - 1 << 10 * minute << 5 << 0 << 2;
        QTest::newRow("1:00 left: the 1-minute notice") << 1 << 9 * minute << 10 * minute << 5 << 1 << 1;
        QTest::newRow("after the 1-minute notice: none") << 1 << 9 * minute + 30000 << 10 * minute << 1 << 0 << 1;
        QTest::newRow("both due at once: only 1 minute") << 1 << 9 * minute + 10 << 10 * minute << 0 << 1 << 1;
        QTest::newRow("used up: the lock, no notice") << 1 << 10 * minute << 10 * minute << 1 << 0 << -1;
        QTest::newRow("3 minutes granted: no 5-minute notice") << 1 << 0u << 3 * minute << 0 << 0 << 3;
        QTest::newRow("3 minutes granted: 1-minute notice") << 1 << 2 * minute << 3 * minute << 0 << 1 << 1;
        QTest::newRow("1 minute granted: no notice at all") << 1 << 30000u << minute << 0 << 0 << 1;
        QTest::newRow("switch 0: nothing") << 0 << 5 * minute << 10 * minute << 0 << 0 << -1;
        QTest::newRow("switch 2: nothing") << 2 << 9 * minute << 10 * minute << 0 << 0 << -1;
    }
    void windDown()
    {
        QFETCH(int, limitSwitch);
        QFETCH(uint, elapsed);
        QFETCH(uint, allowance);
        QFETCH(int, lastNotice);
        QFETCH(int, notice);
        QFETCH(int, minutesLeft);
        // Across the tick counter's wrap as well as in the middle of it.
        for (uint32_t start : {1000u, 0xFFFFFFFFu - 100u}) {
            const TimeLimit::WindDown w = TimeLimit::WindDownAt(limitSwitch, start + elapsed, start, allowance, lastNotice);
            QCOMPARE(w.notice, notice);
            QCOMPARE(w.minutesLeft, minutesLeft);
        }
    }

    // Minutes from a record edited by hand never wrap the 32-bit milliseconds.
    void allowance_data()
    {
        QTest::addColumn<int>("minutes");
        QTest::addColumn<uint>("ms");
        QTest::newRow("ten") << 10 << 600000u;
        QTest::newRow("zero") << 0 << 0u;
        QTest::newRow("negative") << -1 << 0u;
        QTest::newRow("most negative") << INT_MIN << 0u;
        QTest::newRow("largest that fits") << 71582 << 4294920000u;
        QTest::newRow("one more is held") << 71583 << 4294920000u;
        QTest::newRow("largest int is held") << INT_MAX << 4294920000u;
    }
    void allowance()
    {
        QFETCH(int, minutes);
        QFETCH(uint, ms);
        QCOMPARE(TimeLimit::AllowanceMs(minutes), ms);
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
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("minutes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("granted");
        const QString wrongPw = "密码不对,请仔细输入或者看有没有大写锁定!";
        const QByteArray parent = CMd5A().MDString("parent");
        const QByteArray empty = CMd5A().MDString("");
        QTest::newRow("empty password is checked first") << parent << "" << "" << "密码不能为空!" << "错误:" << 0;
        QTest::newRow("wrong password with valid minutes") << parent << "nope" << "30" << wrongPw << "错误" << 0;
        QTest::newRow("upper case is another password") << parent << "PARENT" << "30" << wrongPw << "错误" << 0;
        QTest::newRow("empty minutes") << parent << "parent" << "" << "延长时间不能为零!" << "错误" << 0;
        QTest::newRow("zero minutes") << parent << "parent" << "0" << "延长时间不能为零!" << "错误" << 0;
        QTest::newRow("601 minutes")
            << parent << "parent" << "601" << "输入的延时时间必须是1-600分钟之间，不可超过这个数字！" << "错误" << 0;
        QTest::newRow("600 minutes") << parent << "parent" << "600" << "" << "" << 600;
        QTest::newRow("1 minute") << parent << "parent" << "1" << "" << "" << 1;
        QTest::newRow("upper-case stored hash never matches")
            << parent.toUpper() << "parent" << "30" << wrongPw << "错误" << 0;
        // The installer may store the empty password: nothing typed must then lift the lock.
        QTest::newRow("empty password stored, nothing typed") << empty << "" << "30" << "" << "" << 30;
        QTest::newRow("empty password stored, minutes still checked")
            << empty << "" << "0" << "延长时间不能为零!" << "错误" << 0;
        QTest::newRow("empty password stored, text typed") << empty << "x" << "30" << wrongPw << "错误" << 0;
        QTest::newRow("no password stored, nothing typed") << QByteArray() << "" << "30" << "密码不能为空!" << "错误:"
                                                           << 0;
        QTest::newRow("stored field without terminator")
            << (parent + QByteArray(228, 'z')) << "parent" << "30" << wrongPw << "错误" << 0;
    }
    void unlockChecks()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, password);
        QFETCH(QString, minutes);
        QFETCH(QString, message);
        QFETCH(QString, caption);
        QFETCH(int, granted);
        int got = -1;
        const TimeLimit::Refusal r = TimeLimit::CheckUnlock(password, recordFor(stored), minutes, &got);
        QCOMPARE(r.text, message);
        QCOMPARE(r.caption, caption);
        if (granted)
            QCOMPARE(got, granted);
        else
            QCOMPARE(got, -1);
    }

    void exitChecks_data()
    {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("caption"); // empty: accepted
        const QByteArray parent = CMd5A().MDString("parent");
        const QByteArray empty = CMd5A().MDString("");
        QTest::newRow("right password") << parent << "parent" << "";
        QTest::newRow("nothing typed") << parent << "" << "错误:";
        QTest::newRow("wrong password") << parent << "x" << "错误";
        QTest::newRow("upper-case stored hash, right password") << parent.toUpper() << "parent" << "错误";
        QTest::newRow("upper-case stored hash, nothing typed") << parent.toUpper() << "" << "错误:";
        QTest::newRow("empty password stored, nothing typed") << empty << "" << "";
        QTest::newRow("empty password stored, a blank typed") << empty << " " << "错误";
    }
    void exitChecks()
    {
        QFETCH(QByteArray, stored);
        QFETCH(QString, password);
        QFETCH(QString, caption);
        const TimeLimit::Refusal r = TimeLimit::CheckExitPassword(password, recordFor(stored));
        QCOMPARE(r.caption, caption);
        QCOMPARE(r.text.isEmpty(), caption.isEmpty());
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
