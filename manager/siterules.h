#pragma once

#include <QString>

#include <exception>
#include <functional>

// What the recommended-sites page and its two dialogs decide, without any widget: the
// page and dialogs read their controls, call these and present the result.

inline constexpr int kSitePageSize = 5;

struct SitePagingButtons {
    bool prev = false; // "上一页"
    bool next = false; // "下一页"

    bool operator==(const SitePagingButtons&) const = default;
};
// The paging buttons for a page already clamped into `pageCount` pages.
SitePagingButtons SitePagingButtonsFor(int page, int pageCount);

// "编辑推荐" and "删除推荐" act on the selected row, so they are enabled exactly when
// there is one (`selectedRow` is -1 when none is).
bool SiteActionsEnabled(int selectedRow);

// True when the address, read as a browser reads a typed address, names a web host.
// Without one ("http://", ":80", a bare scheme) the browser could never match the site.
bool NamesWebHost(const QString& address);

// A refusal of the add or edit dialog: the message, its caption and whether it carries
// the error icon (all do today). An empty text means the input is accepted.
struct SiteRefusal {
    QString text;
    QString caption;

    bool IsRefused() const { return !text.isEmpty(); }
    bool operator==(const SiteRefusal&) const = default;
};

// Asked with the trimmed address; may throw when the database cannot be read.
using SiteExistsCheck = std::function<bool(const QString& url)>;

// The add dialog's "确定", in the order the parent hears of them: no address, an
// address without a web host, no name, an address that is stored already. `url` and
// `name` are trimmed here; `exists` is only asked once everything else is fine.
SiteRefusal CheckNewSite(const QString& url, const QString& name, const SiteExistsCheck& exists);

// The edit dialog's "确定": as CheckNewSite, except that keeping the site's own stored
// address is not a duplicate.
SiteRefusal CheckEditedSite(const QString& url, const QString& name, const QString& storedUrl,
                            const SiteExistsCheck& exists);

// The path of a site's snapshot in `folder` (which ends with a separator), or an empty
// text when the stored name is not a plain file name: a name that is empty, "." or "..",
// or holds a separator would reach outside the snapshot folder, so nothing may be
// written or deleted under it.
QString SnapshotPath(const QString& folder, const QString& imageName);

// The text of a failed database operation: what failed, then the engine's own reason.
QString SiteFailureMessage(const QString& what, const std::exception& failure);

// The message a parent gets when a new site could not be written to the database.
QString SiteAddFailedMessage(const QString& databasePath);
