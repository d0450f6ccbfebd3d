// The recommended-site host match, two ways: the hand-written one-pass reading of a
// stored site address against QUrl's reading of the same text. Every navigation asks
// the fast one, so any difference lets through or refuses a site the parents did not
// mean.

#include "fuzzsupport.h"

#include "childsite.h"

#include <QUrl>

namespace {

std::string_view view(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

// The site's host as QUrl reads the stored text: blanks at either end dropped, a
// backslash read as a slash (as the engine reads web addresses), and "http://" put in
// front when the text does not start with a scheme and "://".
QByteArray referenceHost(const QByteArray& stored)
{
    QByteArray text = stored;
    const QByteArrayView blanks(" \t\n\r\v\f");
    while (!text.isEmpty() && blanks.contains(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && blanks.contains(text.back()))
        text.chop(1);
    text.replace('\\', '/');
    const qsizetype mark = text.indexOf("://");
    const auto isAsciiLetter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
    bool scheme = mark > 0 && isAsciiLetter(text.at(0));
    for (qsizetype i = 1; scheme && i < mark; ++i) {
        const char c = text.at(i);
        scheme = isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    }
    const QUrl url(QString::fromUtf8(scheme ? text : "http://" + text));
    if (!url.isValid())
        return QByteArray();
    return url.host(QUrl::EncodeUnicode).toLower().toUtf8();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Fuzz::Parts parts(data, size);
    const QByteArray stored = parts.at(0);
    const QByteArray fast = SiteHostOf(view(stored));
    const QByteArray reference = referenceHost(stored);
    FUZZ_CHECK(fast == reference, QStringLiteral("site '%1': one-pass host '%2', QUrl host '%3'")
                                      .arg(QString::fromUtf8(stored.toPercentEncoding()), QString::fromUtf8(fast),
                                           QString::fromUtf8(reference)));

    // The match itself: an address host contains the site's host.
    const QByteArray addressHost = parts.count() > 1 ? parts.at(1) : reference;
    const bool expected = !reference.isEmpty() && addressHost.contains(reference);
    FUZZ_CHECK(SiteAllowsHost(view(addressHost), view(stored)) == expected,
               QStringLiteral("site '%1' and host '%2': match should be %3")
                   .arg(QString::fromUtf8(stored.toPercentEncoding()), QString::fromUtf8(addressHost.toPercentEncoding()))
                   .arg(expected));
    return 0;
}
