#include "favoritesstore.h"

#include "browserdata.h"
#include "browserlog.h"
#include "cppsqliteexception.h"

#include <exception>

namespace {

// Called inside a catch block: says what could not be done and why.
void logFailure(const char* what)
{
    try {
        throw;
    } catch (const CppSQLiteException& e) {
        qCWarning(lcBrowser).noquote() << "favorites:" << what << "failed:" << e.errorMessage();
    } catch (const std::exception& e) {
        qCWarning(lcBrowser).noquote() << "favorites:" << what << "failed:" << e.what();
    } catch (...) {
        qCWarning(lcBrowser).noquote() << "favorites:" << what << "failed";
    }
}

template <typename Record, typename Read>
std::optional<QList<Record>> readAll(const char* what, Read read)
{
    try {
        QList<Record> list;
        read(list);
        return list;
    } catch (...) {
        logFailure(what);
        return std::nullopt;
    }
}

} // namespace

std::optional<QList<VisitClassRecord>> CFavoritesDatabase::GetVisitClasses()
{
    return readAll<VisitClassRecord>("reading the categories", &BrowserData::GetVisitClasses);
}

std::optional<QList<FavorRecord>> CFavoritesDatabase::GetFavors()
{
    return readAll<FavorRecord>("reading the favorites", &BrowserData::GetFavors);
}

std::optional<QList<SiteLink>> CFavoritesDatabase::GetSiteLinks()
{
    return readAll<SiteLink>("reading the recommended sites", &BrowserData::GetSiteLinks);
}

std::optional<bool> CFavoritesDatabase::IsVisitClassExist(const QString& name)
{
    try {
        return BrowserData::IsVisitClassExist(name);
    } catch (...) {
        logFailure("looking a category up");
        return std::nullopt;
    }
}

std::optional<int> CFavoritesDatabase::GetVisitClassId(const QString& name)
{
    try {
        return BrowserData::GetVisitClassId(name);
    } catch (...) {
        logFailure("reading a category's id");
        return std::nullopt;
    }
}

bool CFavoritesDatabase::AddVisitClass(const QString& name)
{
    if (BrowserData::AddVisitClass(name))
        return true;
    qCWarning(lcBrowser) << "favorites: the new category was not stored";
    return false;
}

int CFavoritesDatabase::AddFavor(const QString& name, const QString& url, int clsid)
{
    const int favorid = BrowserData::AddFavor(name, url, clsid);
    if (favorid == -1)
        qCWarning(lcBrowser) << "favorites: the favorite was not stored";
    return favorid;
}

bool CFavoritesDatabase::DeleteVisitClass(int clsid)
{
    if (BrowserData::DeleteVisitClass(clsid))
        return true;
    qCWarning(lcBrowser) << "favorites: category" << clsid << "was not deleted";
    return false;
}

bool CFavoritesDatabase::DeleteFavor(int favorid)
{
    if (BrowserData::DeleteFavor(favorid))
        return true;
    qCWarning(lcBrowser) << "favorites: favorite" << favorid << "was not deleted";
    return false;
}
