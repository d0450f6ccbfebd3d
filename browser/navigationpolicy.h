#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Which addresses a page may open. Free browsing unless the parents' switch is exactly
// 1; then a top-level address must belong to a recommended site, or be one of the
// browser's own kinds (res:, file:, javascript:, about:blank). A damaged settings
// record leaves the browser with its own pages only. Whatever the switch says, no
// address is ever handed to another program.
namespace NavigationPolicy {

enum class Mode {
    Free,         // the switch is off
    ChildSites,   // the switch is exactly 1
    OwnPagesOnly, // the parents' settings could not be read
};
Mode ModeFor(int onlyChildSites, bool restricted);

enum class Verdict {
    Allow,
    Refuse,   // shown as the warning page
    External, // a scheme another program would open: nothing opens at all
};

using SiteCheck = std::function<bool(const QString& address)>;

// An address of the web (http, https, ws, wss, ftp).
bool IsWebAddress(const QUrl& url);

// A web document of a recommended site; one without a host belongs to no site.
bool IsRecommendedWebDocument(const QUrl& url, const SiteCheck& isChildSite);

// The address, trimmed and lower-cased, begins with "res:", "file:" or "javascript:".
bool IsExemptScheme(const QString& address);

// Schemes the web engine shows by itself; any other scheme belongs to another program.
bool IsBrowserScheme(const QString& scheme);

// A page's own top-level navigation. `isChildSite` is only asked for web addresses
// while the switch is on; `ownPages` is the folder of the browser's own pages.
Verdict TopLevel(Mode mode, const QUrl& url, const SiteCheck& isChildSite, const QString& ownPages);

// A frame's navigation inside a page whose top-level document is `document`. Frames of
// an allowed web page are not checked; a document without a web host (a blank page a
// script wrote, a local file, the browser's own pages) may only carry frames that
// could open at the top level.
bool FrameAllowed(Mode mode, const QUrl& document, const QUrl& frame, const SiteCheck& isChildSite,
                  const QString& ownPages);

// Any network request (pictures, scripts, fetches, sockets) of a document whose site
// is `firstParty`: what an allowed web page loads is its own affair, but a document
// without a recommended web host reaches no host that is not recommended.
bool RequestAllowed(Mode mode, const QUrl& firstParty, const QUrl& request, const SiteCheck& isChildSite);

// What a typed address opens: text that names no scheme becomes a web address
// ("example.org" opens http://example.org), everything else opens as given. Typed
// script ("javascript:...") would run inside the page on show, past every check, so
// with the switch on it comes back as refused.
struct Typed {
    QUrl url;
    bool refused = false;
};
Typed TypedAddress(const QString& typed, Mode mode);

// The warning page's address for a refused one: the page's file URL with the refused
// address after "#", every backslash of the whole text turned into a forward slash.
QString WarningAddress(const QString& exeDirectory, const QString& refusedAddress);

// The refused address a document of the warning page shows, decoded; empty when the
// document is not the warning page (or shows no address).
QString RefusedAddressShown(const QUrl& document, const QString& exeDirectory);

} // namespace NavigationPolicy
