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

bool isPlainHostChar(char c)
{
    return isLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// A host QUrl takes as it stands, but for letter case: labels of letters, digits and
// inner hyphens, 1 to 63 long, an optional final dot, no ACE ("xn--") label, and a last
// label that starts with a letter, so that it is no IPv4 address in any of the short or
// hexadecimal forms QUrl rewrites.
bool isPlainHost(std::string_view host)
{
    if (!host.empty() && host.back() == '.')
        host.remove_suffix(1);
    if (host.empty() || host.size() > 253)
        return false;
    size_t labelStart = 0;
    while (true) {
        const size_t dot = host.find('.', labelStart);
        const std::string_view label = host.substr(labelStart, dot == std::string_view::npos ? dot : dot - labelStart);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-')
            return false;
        if (label.size() >= 4 && (label[0] | 0x20) == 'x' && (label[1] | 0x20) == 'n' && label[2] == '-' && label[3] == '-')
            return false;
        if (dot == std::string_view::npos)
            return isLetter(label.front());
        labelStart = dot + 1;
    }
}

// Where the host starts: after "scheme://" when the text starts with a scheme of that
// form (either slash may be a backslash), at the text's start otherwise (as if "http://"
// stood in front of it).
size_t hostStart(std::string_view text)
{
    if (text.empty() || !isLetter(text.front()))
        return 0;
    size_t j = 1;
    while (j < text.size() && isSchemeChar(text[j]))
        ++j;
    const auto slash = [&](size_t k) { return k < text.size() && (text[k] == '/' || text[k] == '\\'); };
    return j < text.size() && text[j] == ':' && slash(j + 1) && slash(j + 2) ? j + 3 : 0;
}

struct RawHost {
    std::string_view host; // letter case as stored
    // The text has the common form [scheme "://"] host [":" port] [("/" | "\\" | "?" | "#") rest]
    // with a host of letters, digits, '-' and '.', and printable ASCII after it. Only
    // then is `host` the answer; anything else is read by QUrl.
    bool plain = false;
};

// The site's host found in one pass over the stored text: the check reads it for every
// row of the table on every navigation, and nearly every row has the common form.
RawHost rawSiteHost(std::string_view text)
{
    text = trimBlanks(text);
    const size_t begin = hostStart(text);
    const size_t n = text.size();
    size_t end = begin;
    while (end < n && isPlainHostChar(text[end]))
        ++end;
    RawHost result;
    result.host = text.substr(begin, end - begin);
    if (!isPlainHost(result.host))
        return result;
    size_t i = end;
    if (i < n && text[i] == ':') {
        // A port QUrl accepts: none at all, or a number up to 65535.
        size_t digits = 0;
        unsigned port = 0;
        for (++i; i < n && text[i] >= '0' && text[i] <= '9' && digits < 6; ++i, ++digits)
            port = port * 10 + unsigned(text[i] - '0');
        if (port > 65535)
            return result;
    }
    if (i < n && text[i] != '/' && text[i] != '\\' && text[i] != '?' && text[i] != '#')
        return result;
    for (; i < n; ++i) {
        const char c = text[i];
        if (c < ' ' || c > '~')
            return result;
    }
    result.plain = true;
    return result;
}

// The site's host as QUrl reads the text, for every text of an uncommon form.
QByteArray urlSiteHost(std::string_view siteUrl)
{
    siteUrl = trimBlanks(siteUrl);
    QByteArray text(siteUrl.data(), static_cast<qsizetype>(siteUrl.size()));
    // Parents copy addresses written the Windows way; the engine reads a backslash in a
    // web address as a slash, and so does the check.
    text.replace('\\', '/');
    if (hostStart(std::string_view(text.constData(), size_t(text.size()))) == 0)
        text.prepend("http://");
    const QUrl url(QString::fromUtf8(text));
    // A text QUrl cannot read names no host: such a row allows nothing.
    return url.isValid() ? url.host(QUrl::EncodeUnicode).toLower().toUtf8() : QByteArray();
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
    if (raw.plain)
        return QByteArray(raw.host.data(), static_cast<qsizetype>(raw.host.size())).toLower();
    return urlSiteHost(siteUrl);
}

bool SiteAllowsHost(std::string_view addressHost, std::string_view siteUrl)
{
    // The common case needs no allocation: a plain row is lower-cased on the fly.
    const RawHost raw = rawSiteHost(siteUrl);
    const std::string_view host = raw.host;
    if (!raw.plain) {
        // A row without a host names no site: it allows nothing rather than everything.
        const QByteArray converted = urlSiteHost(siteUrl);
        return !converted.isEmpty()
            && addressHost.find(std::string_view(converted.constData(), converted.size())) != std::string_view::npos;
    }
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
