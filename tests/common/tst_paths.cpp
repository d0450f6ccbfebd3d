#include "isolatedenvironment.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

class TestPaths : public QObject
{
    Q_OBJECT

private slots:
    void userFilesLiveInTheXdgFolders()
    {
        IsolatedEnvironment env;
        const QString config = GetConfigerPathName();
        const QString database = GetDataBasePathName();
        const QString snapshots = GetWebSnapShootDirectory();

        QVERIFY2(config.startsWith(env.configHome() + "/lorvane/"), qPrintable(config));
        QVERIFY2(database.startsWith(env.dataHome() + "/lorvane/"), qPrintable(database));
        QVERIFY2(snapshots.startsWith(env.dataHome() + "/lorvane/"), qPrintable(snapshots));
        QVERIFY(snapshots.endsWith('/'));
        // Both programs find the same files: the names depend on nothing per program.
        QCOMPARE(QFileInfo(config).fileName(), QStringLiteral("lorvane.cfg"));
        QCOMPARE(QFileInfo(database).fileName(), QStringLiteral("lorvane.db"));
        // The folders exist, so callers can create their files at once.
        QVERIFY(QFileInfo(QFileInfo(config).absolutePath()).isDir());
        QVERIFY(QFileInfo(QFileInfo(database).absolutePath()).isDir());
        QVERIFY(QFileInfo(snapshots).isDir());
        QVERIFY(QFileInfo(GetUserConfigDirectory()).isDir());
    }

    void shippedFilesLiveBesideTheProgram()
    {
        QCOMPARE(GetExeDirectory(), QCoreApplication::applicationDirPath());
        QVERIFY(!GetExeDirectory().endsWith('/'));
        QVERIFY(GetHtmlModleDirectory().endsWith("/data/html/"));
        QVERIFY(GetHtmlModleDirectory().startsWith(GetExeDirectory()));
        QVERIFY(!GetPictureDirectory().endsWith('/'));
    }

    void installationFolderCanBeMoved()
    {
        QTemporaryDir dir;
        SetExeDirectoryOverride(dir.path() + "/");
        QCOMPARE(GetExeDirectory(), QDir::cleanPath(dir.path()));
        QCOMPARE(GetHtmlModleDirectory(), QDir::cleanPath(dir.path()) + "/data/html/");
        QVERIFY(QFileInfo(GetHtmlModleDirectory()).isDir());
        SetExeDirectoryOverride(QString());
        QCOMPARE(GetExeDirectory(), QCoreApplication::applicationDirPath());
    }

    void installationFolderIsFoundFromTheProgram_data()
    {
        // Paths relative to a scratch root; a trailing "/" makes a folder, else a file.
        QTest::addColumn<QStringList>("layout");
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("expected");

        QTest::newRow("build tree") << QStringList{"build/bin/skinlist.ini", "build/bin/skin/"} << "build/bin"
                                    << "build/bin";
        QTest::newRow("installed") << QStringList{"usr/bin/", "usr/share/lorvane/skinlist.ini"} << "usr/bin"
                                   << "usr/share/lorvane";
        QTest::newRow("installed, given with a trailing separator")
            << QStringList{"usr/bin/", "usr/share/lorvane/skinlist.ini"} << "usr/bin/" << "usr/share/lorvane";
        QTest::newRow("installed data folder without its skin list")
            << QStringList{"usr/bin/", "usr/share/lorvane/"} << "usr/bin" << "usr/share/lorvane";
        QTest::newRow("skin list beside the program wins")
            << QStringList{"usr/bin/skinlist.ini", "usr/share/lorvane/skinlist.ini"} << "usr/bin" << "usr/bin";
        QTest::newRow("a folder named like the skin list is no skin list")
            << QStringList{"usr/bin/skinlist.ini/", "usr/share/lorvane/"} << "usr/bin" << "usr/share/lorvane";
        QTest::newRow("a file where the data folder should be")
            << QStringList{"usr/bin/", "usr/share/lorvane"} << "usr/bin" << "usr/bin";
        QTest::newRow("another program's data folder")
            << QStringList{"usr/bin/", "usr/share/other/skinlist.ini"} << "usr/bin" << "usr/bin";
        QTest::newRow("nothing shipped") << QStringList{"opt/x/bin/"} << "opt/x/bin" << "opt/x/bin";
    }

    void installationFolderIsFoundFromTheProgram()
    {
        QFETCH(QStringList, layout);
        QFETCH(QString, programFolder);
        QFETCH(QString, expected);
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        const QDir root(scratch.path());
        for (const QString& entry : layout) {
            if (entry.endsWith('/')) {
                QVERIFY(root.mkpath(entry));
                continue;
            }
            QVERIFY(root.mkpath(QFileInfo(entry).path()));
            QFile file(root.filePath(entry));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const auto entries = [&root] {
            QStringList all;
            QDirIterator it(root.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                all.append(it.next());
            all.sort();
            return all;
        };
        const QStringList before = entries();
        const QString found = GetInstallationDirectoryFor(root.filePath(programFolder));
        QCOMPARE(found, QDir::cleanPath(root.filePath(expected)));
        QVERIFY(!found.endsWith('/'));
        // The lookup only reads: it makes no folder where none was.
        QCOMPARE(entries(), before);
    }

    void guidsAreUniqueAndUsableAsFileNames()
    {
        const QRegularExpression form(QStringLiteral("^[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}$"));
        QSet<QString> seen;
        for (int i = 0; i < 1000; ++i) {
            const QString g = GetGuid();
            QVERIFY2(form.match(g).hasMatch(), qPrintable(g));
            seen.insert(g);
        }
        QCOMPARE(seen.size(), 1000);
    }
};

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
