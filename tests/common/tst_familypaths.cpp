#include "configmanager.h"
#include "isolatedenvironment.h"
#include "paths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <cstring>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What stands where family.ini should be.
enum class FamilyFile { None, Text, Folder, DanglingLink };

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

QStringList entriesBelow(const QString& root)
{
    QStringList all;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all.append(it.next());
    all.sort();
    return all;
}

int modeOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return static_cast<int>(st.st_mode & 07777);
}

QString systemAccountName()
{
    const passwd* entry = ::getpwuid(::geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace

Q_DECLARE_METATYPE(FamilyFile)

class TestFamilyPaths : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        SetFamilyDirectoryOverride(QString());
    }

    void layoutFromTheFamilyFile_data()
    {
        QTest::addColumn<FamilyFile>("file");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("child");
        QTest::addColumn<bool>("isChild");

        QTest::newRow("no file: one account") << FamilyFile::None << QByteArray() << "kid" << false << "" << false;
        QTest::newRow("the child") << FamilyFile::Text << QByteArray("[family]\nchild=kid\n") << "kid" << true << "kid"
                                   << true;
        QTest::newRow("a parent") << FamilyFile::Text << QByteArray("[family]\nchild=kid\n") << "mum" << true << "kid"
                                  << false;
        QTest::newRow("an account of unknown name is a parent")
            << FamilyFile::Text << QByteArray("[family]\nchild=kid\n") << "" << true << "kid" << false;
        QTest::newRow("names compare without case, values trimmed")
            << FamilyFile::Text << QByteArray("[FAMILY]\r\n Child = kid.2_b \r\n") << "kid.2_b" << true << "kid.2_b"
            << true;
        QTest::newRow("byte-order mark") << FamilyFile::Text << QByteArray("\xEF\xBB\xBF[family]\nchild=kid\n") << "kid"
                                         << true << "kid" << true;
        QTest::newRow("account names are case-sensitive")
            << FamilyFile::Text << QByteArray("[family]\nchild=Kid\n") << "kid" << true << "Kid" << false;
        QTest::newRow("empty child") << FamilyFile::Text << QByteArray("[family]\nchild=\n") << "kid" << true << ""
                                     << false;
        QTest::newRow("no child key") << FamilyFile::Text << QByteArray("[family]\n") << "kid" << true << "" << false;
        QTest::newRow("empty file") << FamilyFile::Text << QByteArray() << "kid" << true << "" << false;
        QTest::newRow("another section") << FamilyFile::Text << QByteArray("[other]\nchild=kid\n") << "kid" << true
                                         << "" << false;
        QTest::newRow("climbing out") << FamilyFile::Text << QByteArray("[family]\nchild=../../etc\n") << "../../etc"
                                      << true << "" << false;
        QTest::newRow("a path") << FamilyFile::Text << QByteArray("[family]\nchild=a/b\n") << "a/b" << true << ""
                                << false;
        QTest::newRow("dot dot") << FamilyFile::Text << QByteArray("[family]\nchild=..\n") << ".." << true << ""
                                 << false;
        QTest::newRow("an option") << FamilyFile::Text << QByteArray("[family]\nchild=-rf\n") << "-rf" << true << ""
                                   << false;
        QTest::newRow("blank inside") << FamilyFile::Text << QByteArray("[family]\nchild=a b\n") << "a b" << true
                                      << "" << false;
        QTest::newRow("too long") << FamilyFile::Text << ("[family]\nchild=" + QByteArray(33, 'k') + "\n")
                                  << QString(33, 'k') << true << "" << false;
        QTest::newRow("non-ASCII") << FamilyFile::Text << QByteArray("[family]\nchild=小明\n") << "小明" << true << ""
                                   << false;
        // Something stands there: the parents meant a family install, so their settings
        // must still hold; only nothing is written for an unknown child.
        QTest::newRow("a folder named family.ini") << FamilyFile::Folder << QByteArray() << "kid" << true << ""
                                                   << false;
        QTest::newRow("a dangling link") << FamilyFile::DanglingLink << QByteArray() << "kid" << true << "" << false;
    }

    void layoutFromTheFamilyFile()
    {
        QFETCH(FamilyFile, file);
        QFETCH(QByteArray, text);
        QFETCH(QString, user);
        QFETCH(bool, on);
        QFETCH(QString, child);
        QFETCH(bool, isChild);

        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString folder = scratch.path() + "/machine";
        QVERIFY(QDir().mkpath(folder));
        const QString familyFile = folder + "/family.ini";
        switch (file) {
        case FamilyFile::None:
            break;
        case FamilyFile::Text:
            writeFile(familyFile, text);
            break;
        case FamilyFile::Folder:
            QVERIFY(QDir().mkpath(familyFile));
            break;
        case FamilyFile::DanglingLink:
            QVERIFY(QFile::link(folder + "/nowhere", familyFile));
            break;
        }
        const QStringList before = entriesBelow(scratch.path());

        const FamilyLayout layout = ReadFamilyLayout(folder + "/", user);
        QCOMPARE(layout.on, on);
        QCOMPARE(layout.child, child);
        QCOMPARE(layout.isChild, isChild);
        QCOMPARE(layout.folder, folder);
        if (on) {
            QCOMPARE(layout.configFile, folder + "/lorvane.cfg");
            QCOMPARE(layout.sitesDatabase, folder + "/sites.db");
            QCOMPARE(layout.snapshotFolder, folder + "/snapshots");
        } else {
            QVERIFY(layout.configFile.isEmpty());
            QVERIFY(layout.sitesDatabase.isEmpty());
            QVERIFY(layout.snapshotFolder.isEmpty());
        }
        if (child.isEmpty()) {
            QVERIFY(layout.childFolder.isEmpty());
            QVERIFY(layout.childDatabase.isEmpty());
        } else {
            // The child's and the parents' programs find the same files.
            QCOMPARE(layout.childFolder, folder + "/children/" + child);
            QCOMPARE(layout.childDatabase, folder + "/children/" + child + "/lorvane.db");
        }
        // Deciding makes nothing.
        QCOMPARE(entriesBelow(scratch.path()), before);
    }

    void usableAccountNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("usable");
        QTest::newRow("plain") << "kid" << true;
        QTest::newRow("digits, dot, underscore, dash") << "k1d.a_b-c" << true;
        QTest::newRow("leading dot") << ".kid" << true;
        QTest::newRow("32 characters") << QString(32, 'a') << true;
        QTest::newRow("33 characters") << QString(33, 'a') << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("dot") << "." << false;
        QTest::newRow("dot dot") << ".." << false;
        QTest::newRow("leading dash") << "-kid" << false;
        QTest::newRow("slash") << "k/d" << false;
        QTest::newRow("blank") << "k d" << false;
        QTest::newRow("line feed") << "kid\n" << false;
        QTest::newRow("colon") << "k:d" << false;
        QTest::newRow("non-ASCII letter") << "kïd" << false;
    }

    void usableAccountNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, usable);
        QCOMPARE(IsUsableAccountName(name), usable);
    }

    void accountNameComesFromTheSystem()
    {
        const QString system = systemAccountName();
        QVERIFY(!system.isEmpty());
        const QByteArray savedUser = qgetenv("USER");
        const QByteArray savedLogName = qgetenv("LOGNAME");
        // The child sets its own environment: naming itself a parent there changes nothing.
        qputenv("USER", "someone-else");
        qputenv("LOGNAME", "someone-else");
        const QString name = CurrentAccountName();
        qputenv("USER", savedUser);
        qputenv("LOGNAME", savedLogName);
        QCOMPARE(name, system);
    }

    void programsUseTheFamilyFiles_data()
    {
        QTest::addColumn<bool>("family");
        QTest::addColumn<bool>("asChild");
        QTest::newRow("one account") << false << false;
        QTest::newRow("family, the child") << true << true;
        QTest::newRow("family, a parent") << true << false;
    }

    void programsUseTheFamilyFiles()
    {
        QFETCH(bool, family);
        QFETCH(bool, asChild);
        IsolatedEnvironment env;
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QString folder = scratch.path();
        const QString me = CurrentAccountName();
        const QString child = asChild ? me : (me == "kid" ? QStringLiteral("kid2") : QStringLiteral("kid"));
        if (family)
            writeFile(folder + "/family.ini", "[family]\nchild=" + child.toUtf8() + "\n");
        SetFamilyDirectoryOverride(folder);

        QCOMPARE(GetFamilyDirectory(), QDir::cleanPath(folder));
        QCOMPARE(IsFamilyMode(), family);
        QCOMPARE(CurrentFamilyLayout().isChild, family && asChild);
        if (family) {
            QCOMPARE(GetConfigerPathName(), folder + "/lorvane.cfg");
            QCOMPARE(GetDataBasePathName(), folder + "/children/" + child + "/lorvane.db");
            QCOMPARE(GetSitesDataBasePathName(), folder + "/sites.db");
            QCOMPARE(GetWebSnapShootDirectory(), folder + "/snapshots/");
            // The child's folder is the installer's to make, with its owner and modes.
            QVERIFY(!QFileInfo::exists(folder + "/children"));
        } else {
            QVERIFY(GetConfigerPathName().startsWith(env.configHome() + "/lorvane/"));
            QVERIFY(GetDataBasePathName().startsWith(env.dataHome() + "/lorvane/"));
            QVERIFY(GetSitesDataBasePathName().isEmpty());
            QVERIFY(GetWebSnapShootDirectory().startsWith(env.dataHome() + "/lorvane/"));
        }
        // What each account keeps for itself stays its own in either case.
        QVERIFY(GetUserConfigDirectory().startsWith(env.configHome() + "/lorvane"));
        QVERIFY(GetPrintDirectory().startsWith(env.dataHome() + "/lorvane/"));
        QCOMPARE(IsFamilySharedFile(folder + "/lorvane.cfg"), family);
        QCOMPARE(IsFamilySharedFile(folder + "/sites.db"), family);
        QVERIFY(!IsFamilySharedFile(folder + "/children/" + child + "/lorvane.db"));
        QVERIFY(!IsFamilySharedFile(env.configHome() + "/lorvane/lorvane.cfg"));
    }

    void familyModeIsReadOncePerFolder()
    {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        SetFamilyDirectoryOverride(scratch.path());
        QVERIFY(!IsFamilyMode());
        writeFile(scratch.path() + "/family.ini", "[family]\nchild=kid\n");
        // A running program keeps what it found at its start.
        QVERIFY(!IsFamilyMode());
        SetFamilyDirectoryOverride(scratch.path());
        QVERIFY(IsFamilyMode());
        SetFamilyDirectoryOverride(QString());
        QCOMPARE(GetFamilyDirectory(), QString::fromLatin1(kFamilyDirectory));
    }

    void savedRecordPermissions_data()
    {
        QTest::addColumn<bool>("family");
        QTest::addColumn<QString>("where");
        QTest::addColumn<int>("mode");
        QTest::newRow("one account") << false << "lorvane.cfg" << 0600;
        QTest::newRow("family record") << true << "lorvane.cfg" << 0664;
        QTest::newRow("family, a record elsewhere") << true << "elsewhere/lorvane.cfg" << 0600;
        QTest::newRow("family, a record in a subfolder") << true << "children/kid/lorvane.cfg" << 0600;
    }

    void savedRecordPermissions()
    {
        QFETCH(bool, family);
        QFETCH(QString, where);
        QFETCH(int, mode);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        if (family)
            writeFile(scratch.path() + "/family.ini", "[family]\nchild=kid\n");
        SetFamilyDirectoryOverride(scratch.path());
        const QString path = scratch.path() + "/" + where;
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        // A file that is there already has other permissions: the save sets them anew.
        writeFile(path, "old");
        QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                                                | QFileDevice::ReadOther | QFileDevice::WriteOther));
        // The usual mask would make 0644 of a new file on its own.
        const mode_t savedMask = ::umask(022);

        CConfigManager saved;
        QCOMPARE(saved.SetConfigPathName(path.toUtf8().constData()), 0);
        saved.SetDefaultConfig();
        saved.m_record.m_bOnlyChildSites = 1;
        saved.m_record.m_nLimitMinutes = 42;
        const bool ok = saved.SaveConfigToFile();
        ::umask(savedMask);
        QVERIFY(ok);

        QCOMPARE(modeOf(path), mode);
        QCOMPARE(modeOf(path + kLastGoodSuffix), mode);
        CConfigManager loaded;
        QCOMPARE(loaded.SetConfigPathName(path.toUtf8().constData()), 0);
        QVERIFY(loaded.LoadConfigFromFile());
        QCOMPARE(loaded.m_record.m_bOnlyChildSites, 1);
        QCOMPARE(loaded.m_record.m_nLimitMinutes, 42);
    }
};

QTEST_GUILESS_MAIN(TestFamilyPaths)
#include "tst_familypaths.moc"
