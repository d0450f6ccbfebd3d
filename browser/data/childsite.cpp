#include "childsite.h"

#include <QUrl>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isSchemeChar(char c, bool first)
{
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (first)
        return letter;
    return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

// The part after "scheme://" when the text starts with a scheme of that form; the whole
// text otherwise (as if "http://" stood in front of it).
std::string_view afterScheme(std::string_view text)
{
    const size_t mark = text.find("://");
    if (mark == std::string_view::npos || mark == 0)
        return text;
    for (size_t i = 0; i < mark; ++i) {
        if (!isSchemeChar(text[i], i == 0))
            return text;
    }
    return text.substr(mark + 3);
}

std::string_view hostOfAuthority(std::string_view rest)
{
    std::string_view authority = rest.substr(0, rest.find_first_of("/\\?#"));
    const size_t at = authority.rfind('@');
    if (at != std::string_view::npos)
        authority.remove_prefix(at + 1);
    if (!authority.empty() && authority.front() == '[') {
        const size_t close = authority.find(']');
        return close == std::string_view::npos ? authority.substr(1) : authority.substr(1, close - 1);
    }
    return trimBlanks(authority.substr(0, authority.find(':')));
}

// The site's host as it stands in the stored text, letter case unchanged.
std::string_view rawSiteHost(std::string_view siteUrl)
{
    while (!siteUrl.empty() && isBlank(siteUrl.front()))
        siteUrl.remove_prefix(1);
    return hostOfAuthority(afterScheme(siteUrl));
}

bool isAscii(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

ChildSiteAddress ClassifyChildSiteAddress(const QString& address)
{
    ChildSiteAddress result;
    const QUrl url(address.trimmed());
    if (!url.isValid())
        return result;
    if (url.scheme() == QLatin1String("file")) {
        result.kind = ChildSiteAddress::Kind::Allowed;
        return result;
    }
    result.host = url.host(QUrl::EncodeUnicode).trimmed().toUtf8();
    result.kind = result.host.isEmpty() ? ChildSiteAddress::Kind::Allowed : ChildSiteAddress::Kind::Host;
    return result;
}

QByteArray SiteHostOf(std::string_view siteUrl)
{
    const std::string_view host = rawSiteHost(siteUrl);
    QByteArray bytes(host.data(), static_cast<qsizetype>(host.size()));
    if (isAscii(host))
        return bytes.toLower();
    // An international name compares in the form the address's host is read in.
    const QByteArray ace = QUrl::toAce(QString::fromUtf8(bytes));
    return ace.isEmpty() ? QString::fromUtf8(bytes).toLower().toUtf8() : ace;
}

bool SiteAllowsHost(std::string_view addressHost, std::string_view siteUrl)
{
    // The common case needs no allocation: an ASCII row is lower-cased on the fly.
    const std::string_view host = rawSiteHost(siteUrl);
    if (!isAscii(host)) {
        const QByteArray converted = SiteHostOf(siteUrl);
        return addressHost.find(std::string_view(converted.constData(), converted.size())) != std::string_view::npos;
    }
    if (host.empty())
        return true;
    if (host.size() > addressHost.size())
        return false;
    for (size_t start = 0; start + host.size() <= addressHost.size(); ++start) {
        size_t i = 0;
        for (; i < host.size(); ++i) {
            char c = host[i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
            if (addressHost[start + i] != c)
                break;
        }
        if (i == host.size())
            return true;
    }
    return false;
}
