#pragma once

#include <QString>

// The rows of the browsing database as the two programs hand them around. Texts are
// the columns' texts exactly as the database returns them (ids included); callers
// convert ids with a plain decimal conversion.

// A recommended site: siteid, siteurl, sitename, siteimage (a file name in the
// snapshot folder).
struct SiteRecord {
    QString m_strSiteId;
    QString m_strSiteUrl;
    QString m_strSiteName;
    QString m_strSiteImage;

    bool operator==(const SiteRecord&) const = default;
};

// The history rows the browser writes for its own start and normal close (the close
// row repeats the start's beginTime and holds the whole run's seconds).
inline constexpr char kHistoryStartRow[] = "打开Lorvane";
inline constexpr char kHistoryCloseRow[] = "关闭Lorvane";

// One stay on a page: historyID, beginTime, delayTime (whole seconds), visitURL.
struct HistoryRecord {
    QString m_strHistoryId;
    QString m_strBeginTime;
    QString m_strDelayTime;
    QString m_strVisitUrl;

    bool operator==(const HistoryRecord&) const = default;
};

// A recommended site as the browser's tree shows it.
struct SiteLink {
    QString m_strSiteName;
    QString m_strSiteUrl;

    bool operator==(const SiteLink&) const = default;
};

// A category of favorites.
struct VisitClassRecord {
    QString m_strClsName;
    int m_nClsId = -1;

    bool operator==(const VisitClassRecord&) const = default;
};

// A favorite; m_nClsId is -1 for one outside any category. The read leaves
// m_strClsName empty.
struct FavorRecord {
    QString m_strClsName;
    int m_nClsId = -1;
    QString m_strFavorName;
    QString m_strFavorUrl;
    int m_nFavorId = -1;

    bool operator==(const FavorRecord&) const = default;
};
