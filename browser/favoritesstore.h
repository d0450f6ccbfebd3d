#pragma once

#include "favorites.h"

// The favorites and categories in the browsing database. Every read or write that the
// database refuses is logged in "lorvane.browser" and reported by the result only.
class CFavoritesDatabase : public Favorites::Store
{
public:
    std::optional<QList<VisitClassRecord>> GetVisitClasses() override;
    std::optional<QList<FavorRecord>> GetFavors() override;
    std::optional<QList<SiteLink>> GetSiteLinks() override;
    std::optional<bool> IsVisitClassExist(const QString& name) override;
    std::optional<int> GetVisitClassId(const QString& name) override;
    bool AddVisitClass(const QString& name) override;
    int AddFavor(const QString& name, const QString& url, int clsid) override;
    bool DeleteVisitClass(int clsid) override;
    bool DeleteFavor(int favorid) override;
};
