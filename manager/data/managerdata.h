#pragma once

#include "browsingrecords.h"
#include "managerdata_export.h"

#include <QList>
#include <QString>

// The control panel's operations on the browsing database. Each one opens the file,
// runs its statement and closes it again; nothing stays open in between.
//
// Reads, UpdateSite, DeleteSite and ClearHistory throw CppSQLiteException
// (cppsqliteexception.h) when the database fails, so the page can tell the parent;
// AddSite reports a failure by its result.
namespace ManagerData {

// The process-wide database path; until it is set, GetDataBasePathName() is used.
MANAGERDATA_EXPORT void SetDataBasePath(const QString& path);
MANAGERDATA_EXPORT QString DataBasePath();
// Rows per page of the page reads and counts; 5 at start, at least 1.
MANAGERDATA_EXPORT void SetPageSize(int rows);
MANAGERDATA_EXPORT int PageSize();

// True when a site is stored under exactly this address (after trimming it).
MANAGERDATA_EXPORT bool IsSiteExist(const QString& url);
// Stores the trimmed address and name with the image file name unchanged.
MANAGERDATA_EXPORT bool AddSite(const QString& url, const QString& name, const QString& image);
MANAGERDATA_EXPORT int GetSitePageCount();
MANAGERDATA_EXPORT bool HasNextSitePage(int page);
MANAGERDATA_EXPORT bool HasPrevSitePage(int page);
// The page's sites, newest first; a page past the end adds nothing.
MANAGERDATA_EXPORT void GetSitePage(int page, QList<SiteRecord>& list);
// The site with that id, or four empty texts when there is none.
MANAGERDATA_EXPORT SiteRecord GetSiteById(int id);
// Stores address and name as given; the image file name never changes.
MANAGERDATA_EXPORT void UpdateSite(int id, const QString& url, const QString& name);
MANAGERDATA_EXPORT void DeleteSite(int id);

MANAGERDATA_EXPORT int GetHistoryPageCount();
MANAGERDATA_EXPORT bool HasNextHistoryPage(int page);
MANAGERDATA_EXPORT bool HasPrevHistoryPage(int page);
// The page's history rows, newest first; a page past the end adds nothing.
MANAGERDATA_EXPORT void GetHistoryPage(int page, QList<HistoryRecord>& list);
MANAGERDATA_EXPORT void ClearHistory();

} // namespace ManagerData
