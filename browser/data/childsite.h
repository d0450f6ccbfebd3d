#pragma once

#include "lorvanebrowserdata_export.h"

#include <QByteArray>
#include <QString>

#include <string_view>

// The rule that decides whether one recommended-site row lets the child open an
// address, as plain functions; IsChildSite (browserdata.h) applies it to every row.

struct ChildSiteAddress {
    enum class Kind {
        // No host (about:blank and the like) or a local file: always allowed.
        Allowed,
        // An address that cannot be read as a URL: refused without looking further.
        Refused,
        // A host to look for among the recommended sites.
        Host,
    };
    Kind kind = Kind::Refused;
    // The address's host, lower-case, in its ASCII (punycode) form.
    QByteArray host;
};

LORVANEBROWSERDATA_EXPORT ChildSiteAddress ClassifyChildSiteAddress(const QString& address);

// The host of a recommended site's address as the parent stored it, exactly as QUrl
// reads it once blanks at either end are removed, a backslash is read as a slash and
// "http://" stands in front of a text that names no scheme of its own: lower-case, in
// ASCII (punycode) form; the path, the port and any user name are ignored. Empty when
// the text names no host, cannot be read as an address, or names a host that has no
// ASCII form.
LORVANEBROWSERDATA_EXPORT QByteArray SiteHostOf(std::string_view siteUrl);

// A site allows every address whose host contains the site's host. A row whose
// address yields no host allows nothing.
LORVANEBROWSERDATA_EXPORT bool SiteAllowsHost(std::string_view addressHost, std::string_view siteUrl);
