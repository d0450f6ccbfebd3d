#include "md5a.h"
#include "timetext.h"

#include <QtTest>

class TestCommonText : public QObject
{
    Q_OBJECT

private slots:
    void md5Vectors_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("digest");
        // The test suite of RFC 1321.
        QTest::newRow("empty") << QByteArray("") << QByteArray("d41d8cd98f00b204e9800998ecf8427e");
        QTest::newRow("a") << QByteArray("a") << QByteArray("0cc175b9c0f1b6a831c399e269772661");
        QTest::newRow("abc") << QByteArray("abc") << QByteArray("900150983cd24fb0d6963f7d28e17f72");
        QTest::newRow("message digest") << QByteArray("message digest")
                                        << QByteArray("f96b697d7cb7938d525a2f31aaf161d0");
        QTest::newRow("a-z") << QByteArray("abcdefghijklmnopqrstuvwxyz")
                             << QByteArray("c3fcd3d76192e4007dfb496cca67e13b");
        QTest::newRow("A-Za-z0-9")
            << QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789")
            << QByteArray("d174ab98d277d9f5a5611c2c9f419d9f");
        QTest::newRow("8 x 1234567890")
            << QByteArray("12345678901234567890123456789012345678901234567890123456789012345678901234567890")
            << QByteArray("57edf4a22be3c955ac49da2e2107b67a");
        // A Chinese password is hashed over its UTF-8 bytes.
        QTest::newRow("chinese") << QByteArray("家长密码") << QByteArray("0e97e515e154af9de4ec17e534189a05");
    }
    void md5Vectors()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, digest);
        CMd5A md5;
        QCOMPARE(md5.MDString(input), digest);
        QCOMPARE(md5.MDString(input.constData()), digest);
        QCOMPARE(md5.MDString(QString::fromUtf8(input)), digest);
    }

    void md5IsCaseSensitiveAndExact()
    {
        CMd5A md5;
        QVERIFY(md5.MDString("Secret") != md5.MDString("secret"));
        QVERIFY(md5.MDString("pw ") != md5.MDString("pw"));
        QCOMPARE(md5.MDString(static_cast<const char*>(nullptr)), md5.MDString(""));
    }

    void elapsedSeconds_data()
    {
        QTest::addColumn<uint>("start");
        QTest::addColumn<uint>("now");
        QTest::addColumn<uint>("seconds");
        QTest::newRow("nothing elapsed") << 5000u << 5000u << 0u;
        QTest::newRow("1 ms rounds up to 1") << 5000u << 5001u << 1u;
        QTest::newRow("1000 ms is 1") << 5000u << 6000u << 1u;
        QTest::newRow("1001 ms is 2") << 5000u << 6001u << 2u;
        QTest::newRow("an hour") << 0u << 3600000u << 3600u;
        QTest::newRow("counter wraps in between") << 0xFFFFFC18u << 1000u << 2u;
    }
    void elapsedSeconds()
    {
        QFETCH(uint, start);
        QFETCH(uint, now);
        QFETCH(uint, seconds);
        QCOMPARE(ElapsedSeconds(start, now), seconds);
    }

    void timeText()
    {
        const QDateTime when(QDate(2026, 3, 7), QTime(9, 5, 59));
        QCOMPARE(FormatTimeText(when), QStringLiteral("2026年03月07日 09:05"));
        QCOMPARE(FormatTimeText(QDateTime(QDate(1999, 12, 31), QTime(23, 0))), QStringLiteral("1999年12月31日 23:00"));
    }
};

QTEST_GUILESS_MAIN(TestCommonText)
#include "tst_commontext.moc"
