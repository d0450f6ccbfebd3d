// A typed address through the navigation rules, as the address box hands it on: with the
// parents' switch on, whatever opens is a recommended site, a blank page, or one of the
// browser's own; with damaged settings only the browser's own; never another program.
// The warning page carries any refused address back unchanged.

#include "fuzzsupport.h"

#include "childsite.h"
#include "navigationpolicy.h"

#include <QDir>

#include <algorithm>

using namespace NavigationPolicy;

namespace {

const QList<QByteArray> kSites = {"kids.example", "https://Zoo.test/animals", "ftp://files.kids.example:21/x",
                                  "http://[::1]:8080/"};
const QString kOwnPages = QStringLiteral("/opt/lorvane/data/html");

std::string_view view(const QByteArray& bytes)
{
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

// The recommended-sites check of every navigation, over the rows above.
bool isChildSite(const QString& address)
{
    const ChildSiteAddress target = ClassifyChildSiteAddress(address);
    if (target.kind != ChildSiteAddress::Kind::Host)
        return target.kind == ChildSiteAddress::Kind::Allowed;
    for (const QByteArray& site : kSites) {
        if (SiteAllowsHost(view(target.host), view(site)))
            return true;
    }
    return false;
}

bool hostOfASite(const QUrl& url)
{
    const QByteArray host = url.host(QUrl::EncodeUnicode).toLower().toUtf8();
    for (const QByteArray& site : kSites) {
        const QByteArray siteHost = SiteHostOf(view(site));
        if (!siteHost.isEmpty() && host.contains(siteHost))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const Fuzz::Parts parts(data, size);
    const QString typed = QString::fromUtf8(parts.at(0));
    const Mode mode = static_cast<Mode>(parts.number(1) % 3);
    const Typed result = TypedAddress(typed, mode);
    const QUrl& url = result.url;
    const bool script = url.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive) == 0;
    FUZZ_CHECK(result.refused == (mode != Mode::Free && script), typed);
    if (result.refused)
        return 0;

    const Verdict verdict = TopLevel(mode, url, isChildSite, kOwnPages);
    const QString scheme = url.scheme().toLower();
    const bool web = QStringList{"http", "https", "ws", "wss", "ftp"}.contains(scheme);
    FUZZ_CHECK(!(web && verdict == Verdict::External), url.toString());
    if (verdict == Verdict::Allow && mode != Mode::Free) {
        const bool blank = url.isEmpty() || url.toString().compare(QLatin1String("about:blank"), Qt::CaseInsensitive) == 0
            || (scheme == QLatin1String("about") && QStringList{"blank", "srcdoc"}.contains(url.path().toLower()));
        const bool own = url.isLocalFile() && QDir::cleanPath(url.toLocalFile()).startsWith(kOwnPages + u'/');
        const bool site = mode == Mode::ChildSites && web && !url.host().isEmpty() && hostOfASite(url);
        // The browser's own scheme and a script typed into a page stay inside the page.
        const bool inside = mode == Mode::ChildSites && (scheme == QLatin1String("res") || script);
        FUZZ_CHECK(blank || own || site || inside,
                   QStringLiteral("typed '%1' opens %2 (mode %3)").arg(typed, url.toString()).arg(int(mode)));
        // The engine opens the address the check was asked about: its text must read back
        // as the same host.
        if (site)
            FUZZ_CHECK(QUrl(url.toString()).host() == url.host(), url.toString());
    }

    // Whatever is refused travels to the warning page and back unchanged.
    const QString refused = url.toString();
    const QUrl warning(WarningAddress(QStringLiteral("/opt/lorvane"), refused));
    QString expected = refused;
    expected.replace(u'\\', u'/');
    FUZZ_CHECK(warning.isLocalFile() && warning.toLocalFile() == QLatin1String("/opt/lorvane/data/html/warning.html"),
               warning.toString());
    // Unicode noncharacters come back as replacement characters: no address is made of them.
    const QList<uint> points = expected.toUcs4();
    if (std::any_of(points.begin(), points.end(), [](uint c) { return QChar::isNonCharacter(c); }))
        return 0;
    FUZZ_CHECK(warning.fragment(QUrl::FullyDecoded) == expected,
               QStringLiteral("'%1' came back as '%2'").arg(expected, warning.fragment(QUrl::FullyDecoded)));
    return 0;
}
