#include "configmanager.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

Q_DECLARE_METATYPE(ConfigSource)

namespace {

// What stands at the path of the live file or of its last good copy.
enum class FileState { Missing, RecordA, RecordB, Empty, Truncated, OneShort, OneLong, OverLong, Unreadable, Folder };

constexpr int kMinutesA = 111;
constexpr int kMinutesB = 222;

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

QByteArray recordBytes(int minutes)
{
    ConfigRecord r {};
    r.m_bOnlyChildSites = 1;
    r.m_bExitNeedPassword = 1;
    r.m_bLimitTime = 1;
    r.m_nLimitMinutes = minutes;
    r.m_bPasswordSet = 1;
    std::strcpy(r.m_szPassword, "900150983cd24fb0d6963f7d28e17f72");
    std::strcpy(r.m_szHomePage, "http://kids.example/");
    return QByteArray(reinterpret_cast<const char*>(&r), sizeof r);
}

// Puts `state` at `path`; returns the bytes a file there holds (empty for none).
QByteArray place(const QString& path, FileState state)
{
    switch (state) {
    case FileState::Missing: return {};
    case FileState::RecordA: writeAll(path, recordBytes(kMinutesA)); break;
    case FileState::RecordB: writeAll(path, recordBytes(kMinutesB)); break;
    case FileState::Empty: writeAll(path, QByteArray()); break;
    case FileState::Truncated: writeAll(path, recordBytes(kMinutesA).left(1000)); break;
    case FileState::OneShort: writeAll(path, recordBytes(kMinutesA).chopped(1)); break;
    case FileState::OneLong: writeAll(path, recordBytes(kMinutesA) + '\0'); break;
    case FileState::OverLong: writeAll(path, recordBytes(kMinutesA) + recordBytes(kMinutesB)); break;
    case FileState::Unreadable:
        // Root reads a file whatever its mode: a folder in its place cannot be read by anyone.
        if (::geteuid() == 0) {
            QDir().mkpath(path + "/inside");
            return {};
        }
        writeAll(path, recordBytes(kMinutesA));
        QFile::setPermissions(path, QFileDevice::Permissions());
        break;
    case FileState::Folder: QDir().mkpath(path + "/inside"); return {};
    }
    QFile f(path);
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ReadOwner);
    const QByteArray bytes = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    if (state == FileState::Unreadable)
        QFile::setPermissions(path, QFileDevice::Permissions());
    return bytes;
}

QByteArray bytesAt(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return {};
    const QFileDevice::Permissions mode = QFile::permissions(path);
    QFile::setPermissions(path, mode | QFileDevice::ReadOwner);
    const QByteArray bytes = readAll(path);
    QFile::setPermissions(path, mode);
    return bytes;
}

void removeAll(const QString& path)
{
    if (QFileInfo(path).isDir()) {
        QDir(path).removeRecursively();
    } else {
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile::remove(path);
    }
}

QString lastGood(const QString& path)
{
    return path + QString::fromLatin1(kLastGoodSuffix);
}

// Installer defaults with no password, and nothing of what the members held before.
void verifyDefaultsWithoutPassword(const CConfigManager& c)
{
    QCOMPARE(c.m_record.m_bOnlyChildSites, 0);
    QCOMPARE(c.m_record.m_bExitNeedPassword, 0);
    QCOMPARE(c.m_record.m_bLoginBeforeManage, 0);
    QCOMPARE(c.m_record.m_bLimitTime, 0);
    QCOMPARE(c.m_record.m_nLimitMinutes, 10);
    QCOMPARE(c.m_record.m_bPasswordSet, 0);
    QCOMPARE(c.m_record.m_szPassword[0], '\0');
    QCOMPARE(QByteArray(c.m_record.m_szHomePage), QByteArray(kDefaultHomePage));
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

    void whereTheRecordComesFrom_data()
    {
        QTest::addColumn<FileState>("live");
        QTest::addColumn<FileState>("copy");
        QTest::addColumn<ConfigSource>("source");
        QTest::addColumn<int>("minutes"); // 0: installer defaults without password
        using F = FileState;
        using S = ConfigSource;
        QTest::newRow("live file alone") << F::RecordA << F::Missing << S::File << kMinutesA;
        QTest::newRow("live file before its copy") << F::RecordA << F::RecordB << S::File << kMinutesA;
        QTest::newRow("live file, damaged copy") << F::RecordA << F::Truncated << S::File << kMinutesA;
        QTest::newRow("nothing there: first run") << F::Missing << F::Missing << S::NoFile << 0;
        QTest::newRow("live missing, good copy") << F::Missing << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live empty, good copy") << F::Empty << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live truncated, good copy") << F::Truncated << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live one byte short, good copy") << F::OneShort << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live one byte long, good copy") << F::OneLong << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live unreadable, good copy") << F::Unreadable << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live is a folder, good copy") << F::Folder << F::RecordB << S::LastGoodCopy << kMinutesB;
        QTest::newRow("live empty, no copy") << F::Empty << F::Missing << S::Damaged << 0;
        QTest::newRow("live truncated, no copy") << F::Truncated << F::Missing << S::Damaged << 0;
        QTest::newRow("live one byte short, no copy") << F::OneShort << F::Missing << S::Damaged << 0;
        QTest::newRow("live one byte long, no copy") << F::OneLong << F::Missing << S::Damaged << 0;
        QTest::newRow("live over-long, no copy") << F::OverLong << F::Missing << S::Damaged << 0;
        QTest::newRow("live unreadable, no copy") << F::Unreadable << F::Missing << S::Damaged << 0;
        QTest::newRow("live is a folder, no copy") << F::Folder << F::Missing << S::Damaged << 0;
        QTest::newRow("both damaged") << F::Truncated << F::OverLong << S::Damaged << 0;
        QTest::newRow("both unreadable") << F::Unreadable << F::Unreadable << S::Damaged << 0;
        QTest::newRow("live missing, copy damaged") << F::Missing << F::Empty << S::Damaged << 0;
        QTest::newRow("live damaged, copy a folder") << F::OneLong << F::Folder << S::Damaged << 0;
    }
    void whereTheRecordComesFrom()
    {
        QFETCH(FileState, live);
        QFETCH(FileState, copy);
        QFETCH(ConfigSource, source);
        QFETCH(int, minutes);
        QTemporaryDir dir;
        const QString path = dir.filePath("settings.cfg");
        const QByteArray liveBefore = place(path, live);
        const QByteArray copyBefore = place(lastGood(path), copy);

        CConfigManager c;
        // Old values must not survive into the result, whichever it is.
        c.m_record.m_bOnlyChildSites = 7;
        c.m_record.m_bPasswordSet = 1;
        std::strcpy(c.m_record.m_szPassword, "old");
        setPath(c, path);
        // Reading a copy or nothing at all is worth a warning; a normal start or a first run is not.
        if (source == ConfigSource::LastGoodCopy || source == ConfigSource::Damaged)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("settings\\.cfg"));
        QTest::failOnWarning(QRegularExpression("."));
        const bool loaded = c.LoadConfigFromFile();

        QCOMPARE(c.LoadedFrom(), source);
        QCOMPARE(loaded, source == ConfigSource::File || source == ConfigSource::LastGoodCopy);
        if (minutes) {
            QCOMPARE(std::memcmp(&c.m_record, recordBytes(minutes).constData(), sizeof c.m_record), 0);
        } else {
            verifyDefaultsWithoutPassword(c);
        }
        // Loading never changes either file.
        QCOMPARE(bytesAt(path), liveBefore);
        QCOMPARE(bytesAt(lastGood(path)), copyBefore);
        QCOMPARE(QFileInfo::exists(path), live != FileState::Missing);
        QCOMPARE(QFileInfo::exists(lastGood(path)), copy != FileState::Missing);
        removeAll(path);
        removeAll(lastGood(path));
    }

    void dailyLifeOfTheCopy()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("daily.cfg");
        CConfigManager c;
        setPath(c, path);
        c.SetDefaultConfig();
        c.m_record.m_nLimitMinutes = 45;
        QVERIFY(c.SaveConfigToFile());
        // Every save leaves the same record twice.
        QCOMPARE(readAll(lastGood(path)), readAll(path));
        QCOMPARE(readAll(path).size(), 2892);

        // The live file is lost: the copy stands in, and the next save brings the file back.
        QVERIFY(QFile::remove(path));
        CConfigManager next;
        setPath(next, path);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("daily\\.cfg.*last good copy"));
        QVERIFY(next.LoadConfigFromFile());
        QCOMPARE(next.LoadedFrom(), ConfigSource::LastGoodCopy);
        QCOMPARE(next.m_record.m_nLimitMinutes, 45);
        next.m_record.m_nLimitMinutes = 50;
        QVERIFY(next.SaveConfigToFile());
        CConfigManager third;
        setPath(third, path);
        QVERIFY(third.LoadConfigFromFile());
        QCOMPARE(third.LoadedFrom(), ConfigSource::File);
        QCOMPARE(third.m_record.m_nLimitMinutes, 50);
        QCOMPARE(readAll(lastGood(path)), readAll(path));
        QCOMPARE(QFile::permissions(lastGood(path)) & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
    }

    void copyThatCannotBeWrittenDoesNotFailTheSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("nocopy.cfg");
        QVERIFY(QDir().mkpath(lastGood(path) + "/inside")); // a folder where the copy would go
        CConfigManager c;
        setPath(c, path);
        c.SetDefaultConfig();
        c.m_record.m_nLimitMinutes = 33;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("last good copy.*nocopy\\.cfg\\.lastgood"));
        QVERIFY(c.SaveConfigToFile());
        QCOMPARE(readAll(path).size(), 2892);
        QCOMPARE(intAt(readAll(path), 0x010), 33);
        QVERIFY(QFileInfo(lastGood(path)).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"nocopy.cfg"});
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
        // No temporary file is left beside the file and its copy.
        QCOMPARE(QDir(m_dir.path()).entryList(QStringList{"size.cfg*"}, QDir::Files),
                 (QStringList{"size.cfg", "size.cfg.lastgood"}));
    }

    void failedSaveKeepsBothFiles_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        // A file-size limit makes the write fail half way, like a full disk would.
        QTest::newRow("file size limit") << false;
        QTest::newRow("read-only folder") << true;
    }
    void failedSaveKeepsBothFiles()
    {
        QFETCH(bool, readOnlyFolder);
        if (readOnlyFolder && ::geteuid() == 0)
            QSKIP("root writes into a read-only folder");
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.cfg");
        CConfigManager old;
        setPath(old, path);
        old.SetDefaultConfig();
        old.m_record.m_bPasswordSet = 1;
        std::strcpy(old.m_record.m_szPassword, "900150983cd24fb0d6963f7d28e17f72");
        QVERIFY(old.SaveConfigToFile());
        const QByteArray before = readAll(path);
        const QByteArray copyBefore = readAll(lastGood(path));
        QCOMPARE(copyBefore, before);

        CConfigManager next;
        setPath(next, path);
        next.SetDefaultConfig();
        next.m_record.m_bOnlyChildSites = 1;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot save.*keep\\.cfg"));
        bool saved = true;
        if (readOnlyFolder) {
            const QFileDevice::Permissions mode = QFile::permissions(dir.path());
            QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            saved = next.SaveConfigToFile();
            QFile::setPermissions(dir.path(), mode);
        } else {
            rlimit previous {};
            getrlimit(RLIMIT_FSIZE, &previous);
            rlimit tiny = previous;
            tiny.rlim_cur = 1000;
            auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
            setrlimit(RLIMIT_FSIZE, &tiny);
            saved = next.SaveConfigToFile();
            setrlimit(RLIMIT_FSIZE, &previous);
            std::signal(SIGXFSZ, previousHandler);
        }

        QVERIFY(!saved);
        QCOMPARE(readAll(path), before);
        QCOMPARE(readAll(lastGood(path)), copyBefore);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), (QStringList{"keep.cfg", "keep.cfg.lastgood"}));
        QCOMPARE(next.m_record.m_bOnlyChildSites, 1); // the members keep their values
    }

    void saveIntoMissingFolderFails()
    {
        CConfigManager c;
        setPath(c, file("no/such/folder/x.cfg"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("cannot save"));
        QVERIFY(!c.SaveConfigToFile());
        QVERIFY(!QFile::exists(file("no/such/folder/x.cfg")));
    }
};

QTEST_GUILESS_MAIN(TestConfigManager)
#include "tst_configmanager.moc"
