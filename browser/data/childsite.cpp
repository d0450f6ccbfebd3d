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

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isSchemeChar(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

struct RawHost {
    std::string_view host; // letter case as stored
    bool ascii = true;
};

// The site's host as it stands in the stored text, found in one pass: the check reads
// it for every row of the table on every navigation. The host follows "scheme://"
// when the text starts with a scheme of that form, and starts the text otherwise (as
// if "http://" stood in front of it); it ends at the path, query, fragment or port,
// and a user name before "@" is skipped.
RawHost rawSiteHost(std::string_view text)
{
    const size_t n = text.size();
    size_t i = 0;
    while (i < n && isBlank(text[i]))
        ++i;
    size_t begin = i;
    if (i < n && isLetter(text[i])) {
        size_t j = i + 1;
        while (j < n && isSchemeChar(text[j]))
            ++j;
        if (n - j >= 3 && text[j] == ':' && text[j + 1] == '/' && text[j + 2] == '/')
            begin = j + 3;
    }
    RawHost result;
    size_t colon = std::string_view::npos;
    size_t end = begin;
    for (; end < n; ++end) {
        const char c = text[end];
        if (c == '/' || c == '\\' || c == '?' || c == '#')
            break;
        if (c == '@') {
            begin = end + 1;
            colon = std::string_view::npos;
            result.ascii = true;
        } else if (c == ':') {
            if (colon == std::string_view::npos)
                colon = end;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            result.ascii = false;
        }
    }
    if (begin < end && text[begin] == '[') {
        const size_t close = text.find(']', begin);
        result.host = text.substr(begin + 1, (close < end ? close : end) - begin - 1);
        return result;
    }
    result.host = trimBlanks(text.substr(begin, (colon < end ? colon : end) - begin));
    return result;
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
    const RawHost raw = rawSiteHost(siteUrl);
    QByteArray bytes(raw.host.data(), static_cast<qsizetype>(raw.host.size()));
    if (raw.ascii)
        return bytes.toLower();
    // An international name compares in the form the address's host is read in; one
    // with no such form (invisible characters only, empty labels) names no host.
    return QUrl::toAce(QString::fromUtf8(bytes));
}

bool SiteAllowsHost(std::string_view addressHost, std::string_view siteUrl)
{
    // The common case needs no allocation: an ASCII row is lower-cased on the fly.
    const RawHost raw = rawSiteHost(siteUrl);
    const std::string_view host = raw.host;
    // A row without a host names no site: it allows nothing rather than everything.
    if (!raw.ascii) {
        const QByteArray converted = SiteHostOf(siteUrl);
        return !converted.isEmpty()
            && addressHost.find(std::string_view(converted.constData(), converted.size())) != std::string_view::npos;
    }
    if (host.empty())
        return false;
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
