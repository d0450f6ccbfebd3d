#pragma once

#include "browsingrecords.h"
#include "lorvanebrowserdata_export.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

// The browser's operations on the browsing database. Each one opens the file, runs
// its statement and closes it again; nothing stays open in between. List reads
// append one record per row to the caller's list, in the order the rows came.
//
// Reads throw CppSQLiteException (cppsqliteexception.h) when the database cannot be
// read; writes catch every failure and report it only by their result.
namespace BrowserData {

// The process-wide database path; until it is set, GetDataBasePathName() is used.
LORVANEBROWSERDATA_EXPORT void SetDataBasePath(const QString& path);
LORVANEBROWSERDATA_EXPORT QString DataBasePath();

// The navigation check of the recommended sites: true when the address has no host,
// is a local file, or its host contains the host of any stored site. The table is
// read anew on every call. Refuses (false) when the database cannot be opened or read
// and when the address cannot be read as a URL, so a damaged or locked file never
// opens the way to every site.
LORVANEBROWSERDATA_EXPORT bool IsChildSite(const QString& address);

// Every recommended site, in the table's own order.
LORVANEBROWSERDATA_EXPORT void GetSiteLinks(QList<SiteLink>& list);

LORVANEBROWSERDATA_EXPORT void GetVisitClasses(QList<VisitClassRecord>& list);
// Looks the category up by its exact name after trimming the given one.
LORVANEBROWSERDATA_EXPORT bool IsVisitClassExist(const QString& name);
// The id of the first category of that (trimmed) name, -1 when there is none.
LORVANEBROWSERDATA_EXPORT int GetVisitClassId(const QString& name);
// Stores the trimmed name; false when the write failed.
LORVANEBROWSERDATA_EXPORT bool AddVisitClass(const QString& name);
// Removes the category and every favorite in it, together or not at all.
LORVANEBROWSERDATA_EXPORT bool DeleteVisitClass(int clsid);

// Stores a favorite (clsid -1: outside any category) and returns its new favorid,
// -1 when the write failed.
LORVANEBROWSERDATA_EXPORT int AddFavor(const QString& name, const QString& url, int clsid);
LORVANEBROWSERDATA_EXPORT void GetFavors(QList<FavorRecord>& list);
LORVANEBROWSERDATA_EXPORT bool DeleteFavor(int favorid);

// Records one stay on a page (or the browser's start or close). Waits for a moment
// when the control panel holds the file; false when the row could not be written.
LORVANEBROWSERDATA_EXPORT bool AddHistory(const QString& beginTime, uint32_t seconds, const QString& url);

// The most recent distinct page addresses of the history, newest first, at most
// maxCount of them, for completing what the child types in the address box. The
// browser's own start and close rows are left out.
LORVANEBROWSERDATA_EXPORT QStringList GetRecentAddresses(int maxCount);

} // namespace BrowserData
