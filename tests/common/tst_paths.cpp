#include "isolatedenvironment.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
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
