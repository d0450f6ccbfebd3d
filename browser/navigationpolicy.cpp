#include "navigationpolicy.h"

#include <QDir>
#include <QStringList>

namespace NavigationPolicy {

namespace {

// A blank document, or the inline document of a frame: nothing comes from anywhere.
bool isBlank(const QUrl& url)
{
    if (url.isEmpty())
        return true;
    if (url.scheme().compare(QLatin1String("about"), Qt::CaseInsensitive) != 0)
        return false;
    const QString what = url.path().toLower();
    return what == QLatin1String("blank") || what == QLatin1String("srcdoc");
}

bool isOwnPage(const QUrl& url, const QString& ownPages)
{
    if (!url.isLocalFile() || ownPages.isEmpty())
        return false;
    const QString folder = QDir::cleanPath(ownPages) + QLatin1Char('/');
    return QDir::cleanPath(url.toLocalFile()).startsWith(folder);
}

} // namespace

bool IsWebAddress(const QUrl& url)
{
    static const QStringList kWeb = {"http", "https", "ws", "wss", "ftp"};
    return kWeb.contains(url.scheme().toLower());
}

bool IsRecommendedWebDocument(const QUrl& url, const SiteCheck& isChildSite)
{
    return IsWebAddress(url) && !url.host().isEmpty() && isChildSite && isChildSite(url.toString());
}

Mode ModeFor(int onlyChildSites, bool restricted)
{
    if (restricted)
        return Mode::OwnPagesOnly;
    return onlyChildSites == 1 ? Mode::ChildSites : Mode::Free;
}

bool IsExemptScheme(const QString& address)
{
    const QString a = address.trimmed().toLower();
    return a.startsWith(QLatin1String("res:")) || a.startsWith(QLatin1String("file:"))
        || a.startsWith(QLatin1String("javascript:"));
}

bool IsBrowserScheme(const QString& scheme)
{
    static const QStringList kSchemes = {"http",   "https",      "ws",          "wss",         "ftp",
                                         "file",   "about",      "data",        "blob",        "javascript",
                                         "res",    "view-source", "chrome",     "chrome-error", "chrome-extension",
                                         "devtools", "filesystem", "qrc"};
    return kSchemes.contains(scheme.toLower());
}

Verdict TopLevel(Mode mode, const QUrl& url, const SiteCheck& isChildSite, const QString& ownPages)
{
    if (!url.isEmpty() && !IsBrowserScheme(url.scheme()))
        return Verdict::External;
    switch (mode) {
    case Mode::Free:
        return Verdict::Allow;
    case Mode::OwnPagesOnly:
        return isOwnPage(url, ownPages) || isBlank(url) ? Verdict::Allow : Verdict::Refuse;
    case Mode::ChildSites:
        break;
    }
    if (IsRecommendedWebDocument(url, isChildSite) || isBlank(url) || isOwnPage(url, ownPages))
        return Verdict::Allow;
    // Of local files only the browser's own pages open: a folder listing would walk the
    // child through the whole disk, the parents' files included.
    if (IsExemptScheme(url.toString()) && !url.isLocalFile())
        return Verdict::Allow;
    // Everything else carries a document of its own making (data:, blob:), shows
    // another address (view-source:) or the engine's internals (chrome:, about:...).
    return Verdict::Refuse;
}

bool FrameAllowed(Mode mode, const QUrl& document, const QUrl& frame, const SiteCheck& isChildSite,
                  const QString& ownPages)
{
    if (!frame.isEmpty() && !IsBrowserScheme(frame.scheme()))
        return false;
    if (mode == Mode::Free)
        return true;
    if (mode == Mode::ChildSites && IsRecommendedWebDocument(document, isChildSite))
        return true;
    return TopLevel(mode, frame, isChildSite, ownPages) == Verdict::Allow;
}

bool RequestAllowed(Mode mode, const QUrl& firstParty, const QUrl& request, const SiteCheck& isChildSite)
{
    if (mode == Mode::Free || !IsWebAddress(request))
        return true;
    if (mode == Mode::OwnPagesOnly)
        return false;
    return IsRecommendedWebDocument(request, isChildSite) || IsRecommendedWebDocument(firstParty, isChildSite);
}

Typed TypedAddress(const QString& typed, Mode mode)
{
    const QString text = typed.trimmed();
    const QUrl direct(text);
    Typed result;
    // "localhost:8080" also parses with a scheme: only the browser's own count as given.
    if (direct.isValid() && IsBrowserScheme(direct.scheme()))
        result.url = direct;
    else
        result.url = QUrl::fromUserInput(text);
    result.refused = mode != Mode::Free && result.url.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive) == 0;
    return result;
}

QString WarningAddress(const QString& exeDirectory, const QString& refusedAddress)
{
    const QString page = QUrl::fromLocalFile(exeDirectory + QStringLiteral("/data/html/warning.html")).toString();
    // The refused address travels as the fragment; percent-encoding keeps a "#" or a
    // space inside it from ending or splitting it.
    QString fragment = refusedAddress;
    fragment.replace(QLatin1Char('\\'), QLatin1Char('/'));
    QString whole = page + QLatin1Char('#') + QString::fromLatin1(QUrl::toPercentEncoding(fragment, "/:?&=@!$'()*+,;~[]"));
    whole.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return whole;
}

QString RefusedAddressShown(const QUrl& document, const QString& exeDirectory)
{
    const QUrl page(WarningAddress(exeDirectory, QString()));
    if (document.adjusted(QUrl::RemoveFragment) != page.adjusted(QUrl::RemoveFragment))
        return {};
    return document.fragment(QUrl::FullyDecoded);
}

} // namespace NavigationPolicy
