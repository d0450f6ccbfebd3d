// The browsing database of a family install: the child's database as "main", the
// recommended sites in their own file attached as "family". The child is played by a
// second run of this program as the account "nobody", so that file permissions, not
// the program, keep the sites from the child (root ignores them).
#include "browserdata.h"
#include "browsingdatabase.h"
#include "configmanager.h"
#include "cppsqliteexception.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>
#include <cstring>
#include <optional>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kWorkerOption[] = "--family-worker";
const char kRecommended[] = "http://kids.example/";
const char kChildAccount[] = "nobody";

// The child's side: `--family-worker <family folder> <operation> <argument>`; prints
// one line saying how the operation went. scripts/family-check also runs it as a
// parent for what the control panel stores ("settings", "addsite"), shows
// ("historyrows") and clears ("clearhistory").
int runWorker(const QString& folder, const QString& operation, const QString& argument)
{
    SetFamilyDirectoryOverride(folder);
    QByteArray result;
    const auto outcome = [](bool ok) { return QByteArray(ok ? "ok" : "failed"); };
    if (operation == "settings") {
        // Only recommended sites, with `argument` as the home page; the password stays.
        CConfigManager config;
        config.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        config.LoadConfigFromFile();
        config.m_record.m_bOnlyChildSites = 1;
        config.m_record.m_bUseOwnHomePage = 1;
        const QByteArray home = argument.toUtf8();
        std::memset(config.m_record.m_szHomePage, 0, sizeof config.m_record.m_szHomePage);
        std::strncpy(config.m_record.m_szHomePage, home.constData(), sizeof config.m_record.m_szHomePage - 1);
        result = outcome(config.SaveConfigToFile());
    } else if (operation == "historyrows") {
        try {
            ManagerData::SetPageSize(1000);
            QList<HistoryRecord> rows;
            ManagerData::GetHistoryPage(1, rows);
            QStringList urls;
            for (const HistoryRecord& row : rows)
                urls.prepend(row.m_strVisitUrl);
            result = urls.join(QStringLiteral(" | ")).toUtf8();
        } catch (const CppSQLiteException& e) {
            result = "failed: " + e.errorMessage().toUtf8();
        }
    } else if (operation == "clearhistory") {
        try {
            ManagerData::ClearHistory();
            result = "ok";
        } catch (const CppSQLiteException& e) {
            result = "failed: " + e.errorMessage().toUtf8();
        }
    } else if (operation == "history") {
        result = outcome(BrowserData::AddHistory(QStringLiteral("2026年01月01日 00:00"), 5, argument));
    } else if (operation == "favor") {
        result = outcome(BrowserData::AddFavor(QStringLiteral("fav"), argument, -1) > 0);
    } else if (operation == "ischild") {
        result = BrowserData::IsChildSite(argument) ? "yes" : "no";
    } else if (operation == "links") {
        try {
            QList<SiteLink> links;
            BrowserData::GetSiteLinks(links);
            result = QByteArray::number(links.size());
        } catch (const CppSQLiteException&) {
            result = "failed";
        }
    } else if (operation == "addsite") {
        result = outcome(ManagerData::AddSite(argument, QStringLiteral("mine"), QString()));
    } else if (operation == "updatesite" || operation == "deletesite") {
        try {
            if (operation == "updatesite")
                ManagerData::UpdateSite(1, argument, QStringLiteral("mine"));
            else
                ManagerData::DeleteSite(1);
            result = "ok";
        } catch (const CppSQLiteException& e) {
            std::fprintf(stderr, "%s\n", qPrintable(e.errorMessage()));
            result = "failed";
        }
    } else {
        return 64;
    }
    std::printf("%s\n", result.constData());
    return 0;
}

struct Account {
    uid_t uid = 0;
    gid_t gid = 0;
};

std::optional<Account> childAccount()
{
    const passwd* entry = ::getpwnam(kChildAccount);
    if (!entry)
        return std::nullopt;
    return Account{entry->pw_uid, entry->pw_gid};
}

struct WorkerRun {
    QString result;
    QString log;
};

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

uid_t ownerOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_uid : uid_t(-1);
}

QStringList tablesOf(const QString& path)
{
    CppSQLiteDB db;
    db.open(path);
    QStringList names;
    for (CppSQLiteQuery rows = db.execQuery("select name from sqlite_master where type='table' order by name");
         !rows.eof(); rows.nextRow())
        names << rows.fieldValue(0);
    return names;
}

} // namespace

class TestFamilyDatabase : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_scratch;
    QString m_folder;
    Account m_child;

    QString childDatabase() const { return m_folder + "/children/" + kChildAccount + "/lorvane.db"; }
    QString sitesDatabase() const { return m_folder + "/sites.db"; }

    WorkerRun runAsChild(const QString& operation, const QString& argument = QString())
    {
        QProcess p;
        const Account child = m_child;
        p.setChildProcessModifier([child] {
            // Only the child's own groups: none of the parents'.
            if (::setgroups(0, nullptr) != 0 || ::setgid(child.gid) != 0 || ::setuid(child.uid) != 0)
                ::_exit(65);
        });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_MESSAGE_PATTERN", "%{category}: %{message}");
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kWorkerOption), m_folder, operation, argument});
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return {QStringLiteral("worker did not finish (%1)").arg(p.exitCode()), QString()};
        return {QString::fromUtf8(p.readAllStandardOutput()).trimmed(), QString::fromUtf8(p.readAllStandardError())};
    }

    // A fresh family folder laid out as the installer leaves it, as far as the child
    // sees it: the machine-wide folder is not the child's, its own folder is.
    void makeFamilyFolder()
    {
        QString tag = QTest::currentDataTag() ? QString::fromUtf8(QTest::currentDataTag()) : QString();
        m_folder = m_scratch.path() + '/' + QString::fromUtf8(QTest::currentTestFunction()) + '-' + tag.replace(' ', '_');
        QVERIFY(QDir().mkpath(m_folder + "/children/" + kChildAccount));
        QVERIFY(QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                    | QFileDevice::ReadOther | QFileDevice::ExeOther));
        QCOMPARE(::chown(QFile::encodeName(m_folder + "/children/" + kChildAccount).constData(), m_child.uid,
                         m_child.gid),
                 0);
        QFile ini(m_folder + "/family.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray("[family]\nchild=") + kChildAccount + "\n");
        ini.close();
        SetFamilyDirectoryOverride(m_folder);
        QVERIFY(IsFamilyMode());
        QVERIFY(!CurrentFamilyLayout().isChild);
        ManagerData::SetDataBasePath(QString());
        BrowserData::SetDataBasePath(QString());
    }

    // The installer's and the first start's work: the child's database made by the
    // child, the sites' file by a parent with one recommended site.
    void makeFamilyDatabases()
    {
        makeFamilyFolder();
        QCOMPARE(runAsChild("history", "http://start/").result, QStringLiteral("ok"));
        QVERIFY(ManagerData::AddSite(kRecommended, QStringLiteral("kids"), QStringLiteral("k.bmp")));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        // The child's runs must reach the folders below the scratch folder.
        QVERIFY(QFile::setPermissions(m_scratch.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner | QFileDevice::ExeOther));
    }

    void cleanup()
    {
        SetFamilyDirectoryOverride(QString());
        ManagerData::SetDataBasePath(QString());
        BrowserData::SetDataBasePath(QString());
    }

    void sitesTableNameFollowsTheInstall()
    {
        IsolatedEnvironment env;
        QTemporaryDir folder;
        SetFamilyDirectoryOverride(folder.path());
        QCOMPARE(QByteArray(SitesTableName()), QByteArray("sites"));
        QCOMPARE(SitesSql("select {sites}.siteurl from {sites}"), QByteArray("select sites.siteurl from sites"));
        QFile ini(folder.path() + "/family.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[family]\nchild=kid\n");
        ini.close();
        SetFamilyDirectoryOverride(folder.path());
        QCOMPARE(QByteArray(SitesTableName()), QByteArray("family.sites"));
        QCOMPARE(SitesSql("select {sites}.siteurl from {sites}"),
                 QByteArray("select family.sites.siteurl from family.sites"));
        QCOMPARE(SitesSql("select * from history"), QByteArray("select * from history"));
    }

    void unnamedDatabaseIsRefused()
    {
        IsolatedEnvironment env;
        QTemporaryDir folder;
        QFile ini(folder.path() + "/family.ini");
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[family]\nchild=../escape\n");
        ini.close();
        SetFamilyDirectoryOverride(folder.path());
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("names no usable child account"));
        QVERIFY(GetDataBasePathName().isEmpty());
        // Never a private temporary database that loses every row without a word.
        CppSQLiteDB db;
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, OpenBrowsingDatabase(db, QString()));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("writing a history row failed: no database file"));
        QVERIFY(!BrowserData::AddHistory("t", 1, "http://a/"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("reading the recommended sites failed"));
        QVERIFY(!BrowserData::IsChildSite("http://kids.example/"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, ManagerData::GetHistoryPageCount());
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"family.ini"});
    }

    void childMakesItsOwnDatabase()
    {
        const std::optional<Account> child = childAccount();
        if (::geteuid() != 0 || !child)
            QSKIP("playing the child's account needs root and the account nobody");
        m_child = *child;
        makeFamilyFolder();

        // A parent's program would make the file its own and lock the child out.
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("writing a history row failed: the child's database is "
                                                              "missing; run lorvane-setup --family nobody"));
        QVERIFY(!BrowserData::AddHistory("t", 1, "http://parent/"));
        QVERIFY_THROWS_EXCEPTION(CppSQLiteException, ManagerData::GetHistoryPageCount());
        QVERIFY(!QFile::exists(childDatabase()));

        // Before any parent saved a site: the child's history works, every site is refused.
        const WorkerRun history = runAsChild("history", "http://first/");
        QCOMPARE(history.result, QStringLiteral("ok"));
        QVERIFY2(history.log.contains("are missing"), qPrintable(history.log));
        QCOMPARE(runAsChild("ischild", kRecommended).result, QStringLiteral("no"));
        QVERIFY(!QFile::exists(sitesDatabase()));
        QCOMPARE(ownerOf(childDatabase()), m_child.uid);
        QCOMPARE(modeOf(childDatabase()), 0660);
        QCOMPARE(tablesOf(childDatabase()), (QStringList{"favors", "history", "visitecls"}));

        // The parents' first site makes the sites' file, readable by everyone.
        QVERIFY(ManagerData::AddSite(kRecommended, QStringLiteral("kids"), QStringLiteral("k.bmp")));
        QCOMPARE(modeOf(sitesDatabase()), 0664);
        QCOMPARE(tablesOf(sitesDatabase()), QStringList{"sites"});
        QCOMPARE(tablesOf(childDatabase()), (QStringList{"favors", "history", "visitecls"}));
        QCOMPARE(ManagerData::GetHistoryPageCount(), 1);
        QCOMPARE(runAsChild("ischild", kRecommended).result, QStringLiteral("yes"));
    }

    void childReadsButCannotChangeTheSites_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("logged");
        QTest::addColumn<int>("historyRows");

        QTest::newRow("history") << "history" << "http://kids.example/a" << "ok" << "" << 2;
        QTest::newRow("favorite") << "favor" << "http://kids.example/b" << "ok" << "" << 1;
        QTest::newRow("recommended site opens") << "ischild" << "http://kids.example/page" << "yes" << "" << 1;
        QTest::newRow("other site refused") << "ischild" << "http://other.example/" << "no" << "" << 1;
        QTest::newRow("site links") << "links" << "" << "1" << "" << 1;
        QTest::newRow("adding a site") << "addsite" << "http://other.example/" << "failed"
                                       << "adding a recommended site failed: attempt to write a readonly database"
                                       << 1;
        QTest::newRow("changing a site") << "updatesite" << "http://other.example/" << "failed"
                                         << "attempt to write a readonly database" << 1;
        QTest::newRow("deleting a site") << "deletesite" << "" << "failed" << "attempt to write a readonly database"
                                         << 1;
    }

    void childReadsButCannotChangeTheSites()
    {
        QFETCH(QString, operation);
        QFETCH(QString, argument);
        QFETCH(QString, result);
        QFETCH(QString, logged);
        QFETCH(int, historyRows);
        const std::optional<Account> child = childAccount();
        if (::geteuid() != 0 || !child)
            QSKIP("playing the child's account needs root and the account nobody");
        m_child = *child;
        makeFamilyDatabases();
        QFile sites(sitesDatabase());
        QVERIFY(sites.open(QIODevice::ReadOnly));
        const QByteArray sitesBefore = sites.readAll();
        sites.close();

        const WorkerRun run = runAsChild(operation, argument);
        QCOMPARE(run.result, result);
        if (!logged.isEmpty())
            QVERIFY2(run.log.contains(logged), qPrintable(run.log));

        // The sites are exactly as the parents left them, and no table of theirs moved
        // into the child's file.
        QVERIFY(sites.open(QIODevice::ReadOnly));
        QCOMPARE(sites.readAll(), sitesBefore);
        QCOMPARE(ManagerData::GetSitePageCount(), 1);
        QCOMPARE(ManagerData::GetSiteById(1).m_strSiteUrl, QString::fromLatin1(kRecommended));
        QCOMPARE(tablesOf(childDatabase()), (QStringList{"favors", "history", "visitecls"}));
        // The parents see the child's history.
        ManagerData::SetPageSize(100);
        QList<HistoryRecord> rows;
        ManagerData::GetHistoryPage(1, rows);
        QCOMPARE(rows.size(), historyRows);
        if (operation == "history")
            QCOMPARE(rows.first().m_strVisitUrl, argument);
    }

    void sitesTableInTheChildsFileCountsForNothing()
    {
        const std::optional<Account> child = childAccount();
        if (::geteuid() != 0 || !child)
            QSKIP("playing the child's account needs root and the account nobody");
        m_child = *child;
        makeFamilyFolder();
        // A database of a single-account install, moved into the child's folder: the
        // child owns it and could have put any site into its table.
        {
            CppSQLiteDB db;
            db.open(childDatabase());
            db.execDML("create table sites(siteid integer primary key, siteurl text, sitename text, siteimage text);"
                       "insert into sites(siteurl, sitename) values('http://other.example/', 'mine')");
        }
        QCOMPARE(::chown(QFile::encodeName(childDatabase()).constData(), m_child.uid, m_child.gid), 0);
        QVERIFY(QFile::setPermissions(childDatabase(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                           | QFileDevice::ReadGroup | QFileDevice::WriteGroup));
        QVERIFY(ManagerData::AddSite(kRecommended, QStringLiteral("kids"), QStringLiteral("k.bmp")));

        QCOMPARE(runAsChild("ischild", "http://other.example/").result, QStringLiteral("no"));
        QCOMPARE(runAsChild("ischild", kRecommended).result, QStringLiteral("yes"));
        QCOMPARE(runAsChild("links").result, QStringLiteral("1"));
        QCOMPARE(ManagerData::GetSitePageCount(), 1);
        QCOMPARE(tablesOf(sitesDatabase()), QStringList{"sites"});
    }

    void parentClearsTheChildsHistory()
    {
        const std::optional<Account> child = childAccount();
        if (::geteuid() != 0 || !child)
            QSKIP("playing the child's account needs root and the account nobody");
        m_child = *child;
        makeFamilyDatabases();
        QCOMPARE(runAsChild("history", "http://kids.example/x").result, QStringLiteral("ok"));
        QCOMPARE(ManagerData::GetHistoryPageCount(), 1);
        ManagerData::ClearHistory();
        QCOMPARE(ManagerData::GetHistoryPageCount(), 0);
        // The file is still the child's to write after a parent wrote it.
        QCOMPARE(ownerOf(childDatabase()), m_child.uid);
        QCOMPARE(modeOf(childDatabase()), 0660);
        QCOMPARE(runAsChild("history", "http://kids.example/y").result, QStringLiteral("ok"));
        QList<HistoryRecord> rows;
        ManagerData::GetHistoryPage(1, rows);
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows.first().m_strVisitUrl, QStringLiteral("http://kids.example/y"));
    }
};

int main(int argc, char** argv)
{
    if (argc == 5 && qstrcmp(argv[1], kWorkerOption) == 0)
        return runWorker(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                         QString::fromLocal8Bit(argv[4]));
    QCoreApplication app(argc, argv);
    TestFamilyDatabase test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_familydatabase.moc"
