#include "configmanager.h"
#include "parentpassword.h"
#include "setparentpassword.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cstdlib>
#include <cstring>

Q_DECLARE_METATYPE(PasswordCheck)

namespace {

const QByteArray kHashOfEmpty = "d41d8cd98f00b204e9800998ecf8427e";
const QByteArray kHashOfAbc = "900150983cd24fb0d6963f7d28e17f72";
const QByteArray kHashOfChinese = "0e97e515e154af9de4ec17e534189a05"; // "家长密码" in UTF-8
const QByteArray kHashOfBlanks = "fb2e39e3717f21ab7e420b76f06d5e3a";  // " pw "

// A record whose password field holds exactly `field` (no terminator added) and
// whose next member would show up in the hash if it were read past the field.
ConfigRecord recordWithField(const QByteArray& field)
{
    ConfigRecord record {};
    std::memcpy(record.m_szPassword, field.constData(),
                qMin<std::size_t>(std::size_t(field.size()), sizeof record.m_szPassword));
    record.m_nReserved = 0x41414141;
    record.m_bPasswordSet = 1;
    return record;
}

} // namespace

class TestParentPassword : public QObject
{
    Q_OBJECT

private slots:
    void hashOfATypedPassword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("hash");
        QTest::newRow("ascii") << "abc" << kHashOfAbc;
        QTest::newRow("empty") << "" << kHashOfEmpty;
        QTest::newRow("Chinese, over its UTF-8 bytes") << "家长密码" << kHashOfChinese;
        QTest::newRow("blanks are part of it") << " pw " << kHashOfBlanks;
    }
    void hashOfATypedPassword()
    {
        QFETCH(QString, typed);
        QTEST(ParentPasswordHash(typed), "hash");
    }

    void check_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<PasswordCheck>("result");
        using P = PasswordCheck;
        QTest::newRow("no hash stored, nothing typed") << QByteArray() << "" << P::Empty;
        QTest::newRow("no hash stored, text typed") << QByteArray() << "abc" << P::Wrong;
        QTest::newRow("hash of the empty password, nothing typed") << kHashOfEmpty << "" << P::Accepted;
        QTest::newRow("hash of the empty password, a blank typed") << kHashOfEmpty << " " << P::Wrong;
        QTest::newRow("hash of the empty password, text typed") << kHashOfEmpty << "abc" << P::Wrong;
        QTest::newRow("right password") << kHashOfAbc << "abc" << P::Accepted;
        QTest::newRow("nothing typed for a real password") << kHashOfAbc << "" << P::Empty;
        QTest::newRow("letter case differs") << kHashOfAbc << "ABC" << P::Wrong;
        QTest::newRow("the hash itself is not the password") << kHashOfAbc << QString::fromLatin1(kHashOfAbc)
                                                             << P::Wrong;
        QTest::newRow("Chinese password") << kHashOfChinese << "家长密码" << P::Accepted;
        QTest::newRow("Chinese, one character less") << kHashOfChinese << "家长密" << P::Wrong;
        QTest::newRow("blanks kept, typed with them") << kHashOfBlanks << " pw " << P::Accepted;
        QTest::newRow("blanks kept, typed without them") << kHashOfBlanks << "pw" << P::Wrong;
        QTest::newRow("blanks kept, one missing") << kHashOfBlanks << " pw" << P::Wrong;
        QTest::newRow("upper-case stored hash refused") << kHashOfAbc.toUpper() << "abc" << P::Wrong;
        QTest::newRow("upper-case hash of the empty password refused") << kHashOfEmpty.toUpper() << "" << P::Empty;
        QTest::newRow("bytes after the terminator carry no meaning")
            << (kHashOfAbc + '\0' + QByteArray(100, 'z')) << "abc" << P::Accepted;
        QTest::newRow("hash followed by more text is another hash")
            << (kHashOfAbc + QByteArray(227, 'z')) << "abc" << P::Wrong;
        QTest::newRow("259-byte field without terminator") << (kHashOfAbc + QByteArray(227, 'z')) << "" << P::Empty;
        QTest::newRow("260-byte field without terminator")
            << (kHashOfAbc + QByteArray(228, 'z')) << "abc" << P::Wrong;
    }
    void check()
    {
        QFETCH(QByteArray, field);
        QFETCH(QString, typed);
        QFETCH(PasswordCheck, result);
        QCOMPARE(CheckParentPassword(typed, recordWithField(field)), result);
    }

    void storedHashStopsAtTheFieldsEnd_data()
    {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("ordinary hash") << kHashOfAbc << kHashOfAbc;
        QTest::newRow("nothing stored") << QByteArray() << QByteArray();
        QTest::newRow("259 bytes and a terminator") << QByteArray(259, 'a') << QByteArray(259, 'a');
        QTest::newRow("260 bytes, no terminator") << QByteArray(260, 'a') << QByteArray(260, 'a');
    }
    void storedHashStopsAtTheFieldsEnd()
    {
        QFETCH(QByteArray, field);
        QTEST(StoredPasswordHash(recordWithField(field)), "stored");
    }

    // The installer may store the empty password; it must then open the lock.
    void emptyPasswordFromTheInstallerIsAccepted()
    {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("installer.cfg").toUtf8();
        lorvane_stack_t* top = nullptr;
        for (const QByteArray& text : {path, QByteArray()}) {
            auto* node = static_cast<lorvane_stack_t*>(std::malloc(sizeof(lorvane_stack_t) + std::size_t(text.size())));
            node->next = top;
            std::memcpy(node->text, text.constData(), std::size_t(text.size()) + 1);
            top = node;
        }
        SetParentPassword(nullptr, 1024, nullptr, &top);
        QCOMPARE(top, nullptr);

        CConfigManager config;
        QCOMPARE(config.SetConfigPathName(path.constData()), 0);
        QVERIFY(config.LoadConfigFromFile());
        QCOMPARE(StoredPasswordHash(config.m_record), kHashOfEmpty);
        QCOMPARE(CheckParentPassword(QString(), config.m_record), PasswordCheck::Accepted);
        QCOMPARE(CheckParentPassword(QStringLiteral(" "), config.m_record), PasswordCheck::Wrong);
    }
};

QTEST_GUILESS_MAIN(TestParentPassword)
#include "tst_parentpassword.moc"
