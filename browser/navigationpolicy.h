#pragma once

#include <QString>

#include <functional>

// Which top-level addresses a page may open. Free browsing unless the parents'
// switch is exactly 1; then the address must belong to a recommended site, or be
// one of the browser's own kinds (res:, file:, javascript:), which never leave the
// machine by themselves.
namespace NavigationPolicy {

// The address, trimmed and lower-cased, begins with "res:", "file:" or "javascript:".
bool IsExemptScheme(const QString& address);

// `isChildSite` is only asked when the switch is on and the scheme is not exempt.
bool IsAllowed(int onlyChildSites, const QString& address, const std::function<bool(const QString&)>& isChildSite);

// The warning page's address for a refused one: the page's file URL with the refused
// address after "#", every backslash of the whole text turned into a forward slash.
QString WarningAddress(const QString& exeDirectory, const QString& refusedAddress);

} // namespace NavigationPolicy
