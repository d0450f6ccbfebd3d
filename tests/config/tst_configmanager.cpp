#include "configmanager.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>

namespace {

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file");
}

qint32 intAt(const QByteArray& b, int offset)
{
    qint32 v;
    std::memcpy(&v, b.constData() + offset, 4);
    return qFromLittleEndian(v);
}

void setPath(CConfigManager& c, const QString& path)
{
    QCOMPARE(c.SetConfigPathName(path.toUtf8().constData()), 0);
}

} // namespace

class TestConfigManager : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void recordBytesAtEveryOffset()
    {
        CConfigManager c;
        setPath(c, file("offsets.cfg"));
        c.m_record.m_bOnlyChildSites = 1;
        c.m_record.m_bExitNeedPassword = 2;
        c.m_record.m_bLoginBeforeManage = 3;
        c.m_record.m_bLimitTime = 4;
        c.m_record.m_nLimitMinutes = 600;
        c.m_record.m_bPasswordSet = 1;
        std::strcpy(c.m_record.m_szPassword, "0123456789abcdef0123456789abcdef");
        c.m_record.m_nReserved = -7;
        c.m_record.m_bUseOwnHomePage = 1;
        std::strcpy(c.m_record.m_szHomePage, "http://例子.cn/?q='%s'");
        QVERIFY(c.SaveConfigToFile());

        const QByteArray b = readAll(file("offsets.cfg"));
        QCOMPARE(b.size(), 2892);
        QCOMPARE(intAt(b, 0x000), 1);
        QCOMPARE(intAt(b, 0x004), 2);
        QCOMPARE(intAt(b, 0x008), 3);
        QCOMPARE(intAt(b, 0x00C), 4);
        QCOMPARE(intAt(b, 0x010), 600);
        QCOMPARE(intAt(b, 0x014), 1);
        QCOMPARE(QByteArray(b.constData() + 0x018), QByteArray("0123456789abcdef0123456789abcdef"));
        QCOMPARE(intAt(b, 0x11C), -7);
        QCOMPARE(intAt(b, 0x120), 1);
        QCOMPARE(QByteArray(b.constData() + 0x124), QByteArray("http://例子.cn/?q='%s'"));

        CConfigManager back;
        setPath(back, file("offsets.cfg"));
        QVERIFY(back.LoadConfigFromFile());
        QCOMPARE(std::memcmp(&back.m_record, &c.m_record, sizeof c.m_record), 0);
    }

    void fullLengthTextsSurviveARoundTrip()
    {
        CConfigManager c;
        setPath(c, file("full.cfg"));
        std::memset(c.m_record.m_szHomePage, 'x', sizeof c.m_record.m_szHomePage - 1);
        c.m_record.m_szHomePage[sizeof c.m_record.m_szHomePage - 1] = '\0';
        QVERIFY(c.SaveConfigToFile());
        CConfigManager back;
        setPath(back, file("full.cfg"));
        QVERIFY(back.LoadConfigFromFile());
        QCOMPARE(std::strlen(back.m_record.m_szHomePage), size_t(2599));
    }

    void defaultsLeaveThePasswordAlone()
    {
        CConfigManager c;
        c.m_record.m_bPasswordSet = 1;
        std::strcpy(c.m_record.m_szPassword, "hash");
        c.m_record.m_bOnlyChildSites = 1;
        c.m_record.m_nReserved = 9;
        c.SetDefaultConfig();
        QCOMPARE(c.m_record.m_bOnlyChildSites, 0);
        QCOMPARE(c.m_record.m_bExitNeedPassword, 0);
        QCOMPARE(c.m_record.m_bLoginBeforeManage, 0);
        QCOMPARE(c.m_record.m_bLimitTime, 0);
        QCOMPARE(c.m_record.m_nLimitMinutes, 10);
        QCOMPARE(c.m_record.m_nReserved, 0);
        QCOMPARE(c.m_record.m_bUseOwnHomePage, 1);
        QCOMPARE(QByteArray(c.m_record.m_szHomePage), QByteArray(kDefaultHomePage));
        QVERIFY(QByteArray(kDefaultHomePage).startsWith("http"));
        QCOMPARE(c.m_record.m_bPasswordSet, 1);
        QCOMPARE(QByteArray(c.m_record.m_szPassword), QByteArray("hash"));
    }

    void pathTrimming_data()
    {
        QTest::addColumn<QByteArray>("given");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("result");
        QTest::newRow("blanks around are dropped") << QByteArray("   /tmp/a.cfg  ") << QByteArray("/tmp/a.cfg") << 0;
        QTest::newRow("tabs stay") << QByteArray("\t/tmp/a.cfg\t") << QByteArray("\t/tmp/a.cfg\t") << 0;
        QTest::newRow("inner blanks stay") << QByteArray(" /tmp/my file.cfg") << QByteArray("/tmp/my file.cfg") << 0;
        QTest::newRow("blanks only store nothing") << QByteArray("     ") << QByteArray("") << -1;
        QTest::newRow("empty stores nothing") << QByteArray("") << QByteArray("") << -1;
        QTest::newRow("259 bytes fit") << QByteArray(259, 'p') << QByteArray(259, 'p') << 0;
        QTest::newRow("260 bytes would be cut: refused") << QByteArray(260, 'p') << QByteArray("") << -1;
        QTest::newRow("blanks do not count against the limit")
            << (" " + QByteArray(259, 'p') + "  ") << QByteArray(259, 'p') << 0;
    }
    void pathTrimming()
    {
        QFETCH(QByteArray, given);
        QFETCH(QByteArray, stored);
        QFETCH(int, result);
        CConfigManager c;
        std::strcpy(c.m_szConfigPathName, "/previous");
        QCOMPARE(c.SetConfigPathName(given.constData()), result);
        QCOMPARE(QByteArray(c.m_szConfigPathName), stored);
        QCOMPARE(c.SetConfigPathName(nullptr), -1);
    }

    void noPathRaisesItsMessageAndTouchesNothing()
    {
        QTemporaryDir empty;
        const QString cwdBefore = QDir::currentPath();
        QDir::setCurrent(empty.path());
        CConfigManager c;
        c.SetConfigPathName("    ");
        const QByteArray expected =
            "调用CConfigManager这个类的其他方法的时候,请先调用SetConfigPathName这个函数，设置配置文件的路径!";
        for (int op = 0; op < 2; ++op) {
            try {
                op == 0 ? c.SaveConfigToFile() : c.LoadConfigFromFile();
                QFAIL("no exception raised");
            } catch (const CConfigPathException& e) {
                QCOMPARE(QByteArray(e.what()), expected);
            }
        }
        QDir::setCurrent(cwdBefore);
        QCOMPARE(QDir(empty.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void badFilesLoadAsDefaults_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("exists");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("truncated") << QByteArray(1000, '\x01') << true;
        QTest::newRow("one byte short") << QByteArray(2891, '\x01') << true;
        QTest::newRow("one byte long") << QByteArray(2893, '\x01') << true;
    }
    void badFilesLoadAsDefaults()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, exists);
        const QString path = file("bad.cfg");
        QFile::remove(path);
        if (exists)
            writeAll(path, content);
        CConfigManager c;
        c.m_record.m_bOnlyChildSites = 1;
        c.m_record.m_bPasswordSet = 1;
        setPath(c, path);
        QVERIFY(!c.LoadConfigFromFile());
        // Whole defaults, never a mix of file bytes and old values; no password.
        QCOMPARE(c.m_record.m_bOnlyChildSites, 0);
        QCOMPARE(c.m_record.m_bPasswordSet, 0);
        QCOMPARE(c.m_record.m_szPassword[0], '\0');
        QCOMPARE(c.m_record.m_nLimitMinutes, 10);
        QCOMPARE(QByteArray(c.m_record.m_szHomePage), QByteArray(kDefaultHomePage));
        // Loading never changes the file.
        QCOMPARE(QFile::exists(path), exists);
        if (exists)
            QCOMPARE(readAll(path), content);
    }

    void unterminatedTextsAreCutAtTheirField()
    {
        QByteArray bytes(2892, 'A');
        const QString path = file("unterminated.cfg");
        writeAll(path, bytes);
        CConfigManager c;
        setPath(c, path);
        QVERIFY(c.LoadConfigFromFile());
        QCOMPARE(std::strlen(c.m_record.m_szPassword), size_t(259));
        QCOMPARE(std::strlen(c.m_record.m_szHomePage), size_t(2599));
    }

    void savedFileIsAlwaysOneRecordAndPrivate()
    {
        const QString path = file("size.cfg");
        writeAll(path, QByteArray(5000, 'z')); // a longer old file is replaced, not overwritten in part
        CConfigManager c;
        setPath(c, path);
        c.SetDefaultConfig();
        QVERIFY(c.SaveConfigToFile());
        QCOMPARE(QFileInfo(path).size(), qint64(2892));
        QCOMPARE(QFile::permissions(path) & (QFileDevice::ReadOther | QFileDevice::ReadGroup), QFileDevice::Permissions());
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"size.cfg.*"}, QDir::Files), QStringList());
    }

    void failedSaveKeepsTheOldFile()
    {
        const QString path = file("keep.cfg");
        CConfigManager old;
        setPath(old, path);
        old.SetDefaultConfig();
        old.m_record.m_bPasswordSet = 1;
        std::strcpy(old.m_record.m_szPassword, "900150983cd24fb0d6963f7d28e17f72");
        QVERIFY(old.SaveConfigToFile());
        const QByteArray before = readAll(path);

        // A file-size limit makes the write fail half way, like a full disk would.
        CConfigManager next;
        setPath(next, path);
        next.SetDefaultConfig();
        next.m_record.m_bOnlyChildSites = 1;
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        rlimit tiny = saved;
        tiny.rlim_cur = 1000;
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &tiny);
        const bool saved1 = next.SaveConfigToFile();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!saved1);
        QCOMPARE(readAll(path), before);
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"keep.cfg.*"}, QDir::Files), QStringList());
        QCOMPARE(next.m_record.m_bOnlyChildSites, 1); // the members keep their values
    }

    void saveIntoMissingFolderFails()
    {
        CConfigManager c;
        setPath(c, file("no/such/folder/x.cfg"));
        QVERIFY(!c.SaveConfigToFile());
        QVERIFY(!QFile::exists(file("no/such/folder/x.cfg")));
    }
};

QTEST_GUILESS_MAIN(TestConfigManager)
#include "tst_configmanager.moc"
