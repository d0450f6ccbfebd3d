#include "managerdata.h"

#include "browsingdatabase.h"
#include "databaselog.h"
#include "longread.h"
#include "paging.h"

#include <algorithm>
#include <atomic>

namespace ManagerData {

namespace {

DataBasePathSetting g_path;
std::atomic<int> g_pageSize{5};

int countPages(const char* countStatement)
{
    CppSQLiteDB db;
    OpenForLongRead(db);
    CppSQLiteQuery count = db.execQuery(countStatement);
    return count.eof() ? 0 : PageCountFor(count.fieldInt64(0), g_pageSize.load());
}

// Appends one record per row of the page the statement selects; a read that fails
// half-way appends nothing.
template <typename Record, typename ReadRow>
void appendPage(const char* statement, int page, QList<Record>& list, ReadRow readRow)
{
    const int size = g_pageSize.load();
    CppSQLiteDB db;
    OpenForLongRead(db);
    QList<Record> read;
    for (CppSQLiteQuery rows = db.execQuery(statement, {PageOffset(page, size), size}); !rows.eof(); rows.nextRow())
        read.append(readRow(rows));
    list.append(read);
}

SiteRecord siteOf(const CppSQLiteQuery& row)
{
    return SiteRecord{row.fieldValue("siteid"), row.fieldValue("siteurl"), row.fieldValue("sitename"),
                      row.fieldValue("siteimage")};
}

} // namespace

void OpenForLongRead(CppSQLiteDB& db)
{
    OpenBrowsingDatabase(db, g_path.get());
    db.execDML("pragma mmap_size=268435456");
}

void SetDataBasePath(const QString& path)
{
    g_path.set(path);
}

QString DataBasePath()
{
    return g_path.get();
}

void SetPageSize(int rows)
{
    g_pageSize.store(std::max(rows, 1));
}

int PageSize()
{
    return g_pageSize.load();
}

bool IsSiteExist(const QString& url)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    return !db.execQuery(SitesSql("select * from {sites} where siteurl=?").constData(), {TrimBlanks(url)}).eof();
}

bool AddSite(const QString& url, const QString& name, const QString& image)
{
    try {
        ExecBrowsingWrite(g_path.get(),
                          SitesSql("Insert Into {sites}(siteurl, sitename, siteimage) values(?,?,?)").constData(),
                          {TrimBlanks(url), TrimBlanks(name), image});
        return true;
    } catch (...) {
        LogDatabaseFailure("adding a recommended site");
        return false;
    }
}

int GetSitePageCount()
{
    return countPages(SitesSql("select count(*) from {sites}").constData());
}

bool HasNextSitePage(int page)
{
    return page < GetSitePageCount();
}

bool HasPrevSitePage(int page)
{
    return page > 1;
}

void GetSitePage(int page, QList<SiteRecord>& list)
{
    appendPage(SitesSql("select * from {sites} order by siteid desc limit ?,?").constData(), page, list, siteOf);
}

SiteRecord GetSiteById(int id)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    const CppSQLiteQuery rows = db.execQuery(SitesSql("select * from {sites} where siteid=?").constData(), {id});
    return rows.eof() ? SiteRecord{} : siteOf(rows);
}

void UpdateSite(int id, const QString& url, const QString& name)
{
    ExecBrowsingWrite(g_path.get(), SitesSql("Update {sites} Set siteurl=?, sitename=? where siteid=?").constData(),
                      {url, name, id});
}

void DeleteSite(int id)
{
    ExecBrowsingWrite(g_path.get(), SitesSql("Delete From {sites} where siteid=?").constData(), {id});
}

int GetHistoryPageCount()
{
    return countPages("select count(*) from history");
}

bool HasNextHistoryPage(int page)
{
    return page < GetHistoryPageCount();
}

bool HasPrevHistoryPage(int page)
{
    return page > 1;
}

void GetHistoryPage(int page, QList<HistoryRecord>& list)
{
    appendPage("select * from history order by historyID desc limit ?,?", page, list, [](const CppSQLiteQuery& row) {
        return HistoryRecord{row.fieldValue("historyID"), row.fieldValue("beginTime"), row.fieldValue("delayTime"),
                             row.fieldValue("visitURL")};
    });
}

void ClearHistory()
{
    ExecBrowsingWrite(g_path.get(), "delete from history");
}

} // namespace ManagerData
