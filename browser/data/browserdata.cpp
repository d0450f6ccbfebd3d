#include "browserdata.h"

#include "browsingdatabase.h"
#include "childsite.h"
#include "databaselog.h"

#include <QSet>

namespace BrowserData {

namespace {

DataBasePathSetting g_path;


// How far back the address completion looks, in history rows per address wanted.
constexpr int kRecentRowsPerAddress = 8;

int toInt(qint64 value)
{
    return static_cast<int>(value);
}

} // namespace

void SetDataBasePath(const QString& path)
{
    g_path.set(path);
}

QString DataBasePath()
{
    return g_path.get();
}

bool IsChildSite(const QString& address)
{
    const ChildSiteAddress target = ClassifyChildSiteAddress(address);
    if (target.kind != ChildSiteAddress::Kind::Host)
        return target.kind == ChildSiteAddress::Kind::Allowed;
    const std::string_view host(target.host.constData(), static_cast<size_t>(target.host.size()));
    try {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, g_path.get());
        CppSQLiteQuery rows = db.execQuery(SitesSql("select * from {sites}").constData());
        const int urlField = rows.fieldIndex("siteurl");
        if (urlField < 0)
            return false;
        for (; !rows.eof(); rows.nextRow()) {
            if (SiteAllowsHost(host, rows.fieldBytes(urlField)))
                return true;
        }
    } catch (...) {
        // Fail closed: whatever keeps the table from being read refuses the address.
        LogDatabaseFailure("reading the recommended sites");
    }
    return false;
}

void GetSiteLinks(QList<SiteLink>& list)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    QList<SiteLink> read;
    CppSQLiteQuery rows = db.execQuery(SitesSql("select * from {sites}").constData());
    for (; !rows.eof(); rows.nextRow())
        read.append(SiteLink{rows.fieldValue("sitename"), rows.fieldValue("siteurl")});
    list.append(read);
}

void GetVisitClasses(QList<VisitClassRecord>& list)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    CppSQLiteQuery rows = db.execQuery("select * from visitecls");
    const int idField = rows.fieldIndex("clsid");
    QList<VisitClassRecord> read;
    for (; !rows.eof(); rows.nextRow())
        read.append(VisitClassRecord{rows.fieldValue("clsName"), toInt(rows.fieldInt64(idField))});
    list.append(read);
}

bool IsVisitClassExist(const QString& name)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    return !db.execQuery("select * from visitecls where clsName=?", {TrimBlanks(name)}).eof();
}

int GetVisitClassId(const QString& name)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    CppSQLiteQuery rows = db.execQuery("select * from visitecls where clsName=?", {TrimBlanks(name)});
    if (rows.eof())
        return -1;
    return toInt(rows.fieldInt64(rows.fieldIndex("clsid")));
}

bool AddVisitClass(const QString& name)
{
    try {
        ExecBrowsingWrite(g_path.get(), "Insert Into visitecls(clsName) values(?)", {TrimBlanks(name)});
        return true;
    } catch (...) {
        LogDatabaseFailure("adding a favorites category");
        return false;
    }
}

bool DeleteVisitClass(int clsid)
{
    try {
        ExecBrowsingWrite(g_path.get(), "Delete From visitecls where clsid=?;Delete From favors Where clsid=?",
                          {clsid, clsid});
        return true;
    } catch (...) {
        LogDatabaseFailure("deleting a favorites category");
        return false;
    }
}

int AddFavor(const QString& name, const QString& url, int clsid)
{
    try {
        CppSQLiteDB db;
        OpenBrowsingDatabase(db, g_path.get());
        CppSQLiteTransaction transaction(db);
        db.execDML("Insert Into favors(favorName, favorURL, clsid) values (?, ?, ?)", {name, url, clsid});
        int favorid = -1;
        {
            CppSQLiteQuery rows = db.execQuery("select last_insert_rowid()");
            if (!rows.eof())
                favorid = toInt(rows.fieldInt64(0));
        }
        transaction.commit();
        return favorid;
    } catch (...) {
        LogDatabaseFailure("adding a favorite");
        return -1;
    }
}

void GetFavors(QList<FavorRecord>& list)
{
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    CppSQLiteQuery rows = db.execQuery("select * from favors");
    const int classField = rows.fieldIndex("clsid");
    const int idField = rows.fieldIndex("favorid");
    QList<FavorRecord> read;
    for (; !rows.eof(); rows.nextRow()) {
        read.append(FavorRecord{QString(), toInt(rows.fieldInt64(classField)), rows.fieldValue("favorName"),
                                rows.fieldValue("favorURL"), toInt(rows.fieldInt64(idField))});
    }
    list.append(read);
}

bool DeleteFavor(int favorid)
{
    try {
        ExecBrowsingWrite(g_path.get(), "Delete From favors Where favorid=?", {favorid});
        return true;
    } catch (...) {
        LogDatabaseFailure("deleting a favorite");
        return false;
    }
}

bool AddHistory(const QString& beginTime, uint32_t seconds, const QString& url)
{
    try {
        ExecBrowsingWrite(g_path.get(), "Insert Into history(beginTime, delayTime, visitURL) values(?, ?, ?)",
                          {beginTime, seconds, url});
        return true;
    } catch (...) {
        LogDatabaseFailure("writing a history row");
        return false;
    }
}

QStringList GetRecentAddresses(int maxCount)
{
    QStringList addresses;
    if (maxCount <= 0)
        return addresses;
    const QString startRow = QString::fromUtf8(kHistoryStartRow);
    const QString closeRow = QString::fromUtf8(kHistoryCloseRow);
    QSet<QString> seen;
    CppSQLiteDB db;
    OpenBrowsingDatabase(db, g_path.get());
    CppSQLiteQuery rows = db.execQuery("select visitURL from history order by historyID desc limit ?",
                                       {qint64(maxCount) * kRecentRowsPerAddress});
    for (; !rows.eof() && addresses.size() < maxCount; rows.nextRow()) {
        const QString address = rows.fieldValue(0);
        if (address.isEmpty() || address == startRow || address == closeRow || seen.contains(address))
            continue;
        seen.insert(address);
        addresses.append(address);
    }
    return addresses;
}

} // namespace BrowserData
