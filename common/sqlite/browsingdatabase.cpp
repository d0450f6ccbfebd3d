#include "browsingdatabase.h"

#include "paths.h"

#include "cppsqliteexception.h"
#include "databaselog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sqlite3.h>

namespace {

// The columns of the sites table, and the other three tables, written once for both the
// single file and a family install's two files.
#define LORVANE_SITES_COLUMNS "(siteid integer primary key, siteurl text, sitename text, siteimage text)"
#define LORVANE_CREATE_OWN_TABLES                                                                          \
    "create table if not exists history(historyID integer primary key, beginTime text, delayTime integer," \
    " visitURL text);"                                                                                    \
    "create table if not exists favors(favorid integer primary key, favorName text, favorURL text,"      \
    " clsid integer);"                                                                                    \
    "create table if not exists visitecls(clsid integer primary key, clsName text)"

const char kCreateTables[] = "create table if not exists sites" LORVANE_SITES_COLUMNS ";" LORVANE_CREATE_OWN_TABLES;

const char kCountTables[] = "select count(*) from sqlite_master where type='table'"
                            " and lower(name) in ('sites','history','favors','visitecls')";

// A family install keeps the recommended sites apart, in the file the child only reads.
const char kCreateOwnTables[] = LORVANE_CREATE_OWN_TABLES;
const char kCountOwnTables[] = "select count(*) from sqlite_master where type='table'"
                               " and lower(name) in ('history','favors','visitecls')";
const char kCreateFamilySites[] = "create table if not exists family.sites" LORVANE_SITES_COLUMNS;
const char kCountFamilySites[] = "select count(*) from family.sqlite_master where type='table'"
                                 " and lower(name)='sites'";

// The child writes its database, the parents' group reads and clears it.
constexpr QFileDevice::Permissions kChildDatabaseMode = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ReadGroup | QFileDevice::WriteGroup;
// The parents' group writes the recommended sites, everyone (the child) reads them.
constexpr QFileDevice::Permissions kSitesDatabaseMode = kChildDatabaseMode | QFileDevice::ReadOther;

// Paths whose tables this process has already seen; the check then costs nothing on
// later opens. A file that vanished since is checked again.
std::mutex g_checkedMutex;
QSet<QString> g_checkedPaths;

bool alreadyChecked(const QString& key)
{
    std::lock_guard lock(g_checkedMutex);
    return g_checkedPaths.contains(key);
}

void rememberChecked(const QString& key)
{
    std::lock_guard lock(g_checkedMutex);
    g_checkedPaths.insert(key);
}

int countOf(CppSQLiteDB& db, const char* sql)
{
    CppSQLiteQuery count = db.execQuery(sql);
    return count.eof() ? 0 : static_cast<int>(count.fieldInt64(0));
}

void keepMode(const QString& path, QFileDevice::Permissions mode)
{
    // Another account then cannot use the file as it should; say why where it shows.
    if (!QFile::setPermissions(path, mode))
        qCWarning(lcDb) << "cannot set the permissions of" << path;
}

void openFamilyDatabase(CppSQLiteDB& db, const QString& path, const FamilyLayout& family)
{
    const bool existed = QFileInfo::exists(path);
    const bool childDatabase = path == family.childDatabase;
    // Made by anyone but the child, the file would belong to that account and the
    // child could not write it; the installer makes it with the right owner.
    if (!existed && childDatabase && !family.isChild)
        throw CppSQLiteException(-1,
                                 QStringLiteral("the child's database is missing; run lorvane-setup --family %1 as root")
                                     .arg(family.child),
                                 QStringLiteral("open ") + path);
    if (!existed && !childDatabase)
        QDir().mkpath(QFileInfo(path).absolutePath());
    db.open(path);
    if (!existed && childDatabase)
        keepMode(path, kChildDatabaseMode);
    const bool sitesExisted = QFileInfo::exists(family.sitesDatabase);
    // Made by the child, the sites' file would be the child's to change. Without it the
    // sites cannot be read (the check then refuses every site), but the child's history
    // and favorites still work.
    const bool attach = sitesExisted || !family.isChild;
    if (attach)
        db.execDML("attach database ? as family", {family.sitesDatabase});
    else
        qCWarning(lcDb) << "the recommended sites" << family.sitesDatabase << "are missing";
    // Opened read-only when this account may not write it (the child): nothing is
    // made there then, and every change of it fails.
    const bool sitesWritable = attach && sqlite3_db_readonly(db.handle(), "family") == 0;
    if (!sitesExisted && sitesWritable)
        keepMode(family.sitesDatabase, kSitesDatabaseMode);
    const QString key = path + QLatin1Char('\n') + family.sitesDatabase;
    if (existed && sitesExisted && alreadyChecked(key))
        return;
    if (countOf(db, kCountOwnTables) != 3) {
        CppSQLiteTransaction transaction(db);
        db.execDML(kCreateOwnTables);
        EnsureHistoryTimeIndex(db);
        transaction.commit();
    }
    if (sitesWritable && countOf(db, kCountFamilySites) != 1) {
        CppSQLiteTransaction transaction(db);
        db.execDML(kCreateFamilySites);
        transaction.commit();
    }
    rememberChecked(key);
}

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\v' || u == u'\f';
}

} // namespace

QString TrimBlanks(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

void DataBasePathSetting::set(const QString& path)
{
    std::lock_guard lock(m_mutex);
    m_path = path;
}

QString DataBasePathSetting::get() const
{
    {
        std::lock_guard lock(m_mutex);
        if (!m_path.isEmpty())
            return m_path;
    }
    return GetDataBasePathName();
}

void CreateBrowsingTables(CppSQLiteDB& db)
{
    {
        CppSQLiteQuery count = db.execQuery(kCountTables);
        if (!count.eof() && count.fieldInt64(0) == 4)
            return;
    }
    CppSQLiteTransaction transaction(db);
    db.execDML(kCreateTables);
    EnsureHistoryTimeIndex(db);
    transaction.commit();
}

const char* SitesTableName()
{
    return IsFamilyMode() ? "family.sites" : "sites";
}

QByteArray SitesSql(const char* sql)
{
    QByteArray text(sql);
    text.replace("{sites}", SitesTableName());
    return text;
}

void OpenBrowsingDatabase(CppSQLiteDB& db, const QString& path)
{
    // SQLite would open a private temporary database for an empty name: whatever is
    // written there is lost without a word.
    if (path.isEmpty())
        throw CppSQLiteException(-1, QStringLiteral("no database file is named"), QStringLiteral("open"));
    const FamilyLayout family = CurrentFamilyLayout();
    if (family.on) {
        openFamilyDatabase(db, path, family);
        return;
    }
    const bool existed = QFileInfo::exists(path);
    if (!existed)
        QDir().mkpath(QFileInfo(path).absolutePath());
    db.open(path);
    if (existed && alreadyChecked(path))
        return;
    CreateBrowsingTables(db);
    rememberChecked(path);
}

int ExecBrowsingWrite(const QString& path, const char* sql, const std::vector<SqlValue>& params)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, path);
    CppSQLiteTransaction transaction(db);
    const int changes = db.execDML(sql, params);
    transaction.commit();
    return changes;
}

void EnsureHistoryTimeIndex(CppSQLiteDB& db)
{
    // Asked first, so a report on a file that has it takes no write lock.
    if (!db.execQuery("select 1 from sqlite_master where type='index' and name='history_beginTime'").eof())
        return;
    db.execDML("savepoint history_index");
    try {
        db.execDML("create index if not exists history_beginTime on history(beginTime)");
    } catch (...) {
        LogDatabaseFailure("making the index on the history's times");
        db.execDML("rollback to history_index");
    }
    db.execDML("release history_index");
}
