#include "browsingdatabase.h"

#include "paths.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

const char kCreateTables[] =
    "create table if not exists sites(siteid integer primary key, siteurl text, sitename text, siteimage text);"
    "create table if not exists history(historyID integer primary key, beginTime text, delayTime integer,"
    " visitURL text);"
    "create table if not exists favors(favorid integer primary key, favorName text, favorURL text,"
    " clsid integer);"
    "create table if not exists visitecls(clsid integer primary key, clsName text)";

const char kCountTables[] = "select count(*) from sqlite_master where type='table'"
                            " and lower(name) in ('sites','history','favors','visitecls')";

// Paths whose tables this process has already seen; the check then costs nothing on
// later opens. A file that vanished since is checked again.
std::mutex g_checkedMutex;
QSet<QString> g_checkedPaths;

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
    transaction.commit();
}

void OpenBrowsingDatabase(CppSQLiteDB& db, const QString& path)
{
    const bool existed = QFileInfo::exists(path);
    if (!existed)
        QDir().mkpath(QFileInfo(path).absolutePath());
    db.open(path);
    bool checked;
    {
        std::lock_guard lock(g_checkedMutex);
        checked = existed && g_checkedPaths.contains(path);
    }
    if (checked)
        return;
    CreateBrowsingTables(db);
    std::lock_guard lock(g_checkedMutex);
    g_checkedPaths.insert(path);
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
