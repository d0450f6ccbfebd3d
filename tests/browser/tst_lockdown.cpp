#include "configmanager.h"
#include "cppsqlitedb.h"
#include "cppsqlitequery.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "paths.h"
#include "recordingserver.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include <algorithm>
#include <cstring>

// The real browser under a real X server, the parents' switch on, one recommended
// host (127.0.0.1, server A) and one host that is not (localhost, server B). Each row
// is one way a child could try to leave the recommended sites: the browser opens the
// row's first page, the row's page or the test (with the mouse and keyboard) takes the
// route, and the row passes only when B saw no connection, no file appeared under the
// browser's home, and no other program was started.
namespace {

enum class Step {
    None,        // the first page takes the route by itself
    Type,        // the address box gets `input` and Enter
    TypeReported, // the address box gets the address the page reported, and Enter
    Click,       // a click in the middle of the page; `input` may name "middle", "ctrl" or "shift"
    ContextMenu, // a right click in the middle of the page, then the keys of `input`
    Drag,        // the link at the page's top left is dragged into the page
    Keys,        // a click in the page, then the keys of `input`
};

// What a row checks besides what every row checks (no program started, no file written
// and, with the switch on, no connection to B).
enum Check : unsigned {
    Warning = 1,   // the history shows the warning page: a top-level refusal
    NotShown = 2,  // no history row shows an internal page of the engine
    Opens = 4,     // not refused: no warning page in the history
    InHistory = 8, // the first page is in the history: it opened and was recorded
    Reaches = 16,  // `reach` names a request that must arrive ("A:/path", "C:/path")
};

struct Route {
    const char* name;
    int onlyChildSites;
    // What the browser opens first. "{PAGE}" is the row's own page, served by A at
    // /r/<name>; "{FILE}" is the same page written to a local file.
    const char* home;
    // The body of the row's page; "link:<address>" makes it one link to that address
    // over the whole page.
    const char* page;
    Step step;
    const char* input;
    unsigned checks;
    const char* reach;
};

// Every page reports "ready" to A once it has loaded and, where it takes the route by
// itself, only just before it does.
const char kReadyOnly[] = R"(<h1>start</h1><script>ping('ready')</script>)";
const char kLinkToB[] = "link:{B}/link";
const char kDraggableLinkToB[] =
    R"(<a href="{B}/dragged" style="position:absolute;left:0;top:0;width:300px;height:120px;background:#9cf">drag me</a>
<script>ping('ready')</script>)";

constexpr unsigned kRefused = Warning;

// The engine's context menu over a link of a fresh page holds, from the top: Back and
// Forward (disabled, so the keys pass over them), Reload, "Save page", "Open link in new
// tab", "Open link in new window", "Save link", "Copy link address"; the browser may
// take the two "Save" items out. Whether they are there or not, the third item from
// either end opens the link in a new tab or window. The second from the bottom is
// "Save link" over a link and "Save page" over a page without one, where they are kept.
const char kMenuThirdFromTop[] = "Down Down Down Return";
const char kMenuThirdFromBottom[] = "Up Up Up Return";
const char kMenuSecondFromBottom[] = "Up Up Return";

const Route kRoutes[] = {
    // Typed into the address box.
    {"typed http address of B", 1, "{PAGE}", kReadyOnly, Step::Type, "{B}/typed", kRefused, nullptr},
    {"typed https address of B", 1, "{PAGE}", kReadyOnly, Step::Type, "https://{BHOST}/typed", kRefused, nullptr},
    {"typed address of B without scheme", 1, "{PAGE}", kReadyOnly, Step::Type, "{BHOST}/bare", kRefused, nullptr},
    {"typed view-source of B", 1, "{PAGE}", kReadyOnly, Step::Type, "view-source:{B}/source", kRefused, nullptr},
    {"typed data: page holding a frame, image and WebSocket of B", 1, "{PAGE}", kReadyOnly, Step::Type,
     "data:text/html,<iframe src='{B}/dataframe'></iframe><img src='{B}/dataimg'>"
     "<script>new WebSocket('ws://{BHOST}/dataws')</script>",
     0, nullptr},
    {"typed javascript: that navigates to B", 1, "{PAGE}", kReadyOnly, Step::Type,
     "javascript:location.href='{B}/jsnav'", kRefused, nullptr},
    {"typed javascript: that puts a frame of B into the recommended page", 1, "{PAGE}", kReadyOnly, Step::Type,
     "javascript:void(document.body.appendChild(document.createElement('iframe')).src='{B}/jsframe')", 0,
     nullptr},
    {"typed JavaScript: in mixed case after blanks, putting a frame of B into the page", 1, "{PAGE}", kReadyOnly,
     Step::Type, "  JavaScript:void(document.body.appendChild(document.createElement('iframe')).src='{B}/jsframe')",
     0, nullptr},
    {"typed address of B with the recommended host as user name", 1, "{PAGE}", kReadyOnly, Step::Type,
     "http://127.0.0.1@{BHOST}/user", kRefused, nullptr},
    {"typed address of B with the recommended host in path and query", 1, "{PAGE}", kReadyOnly, Step::Type,
     "{B}/127.0.0.1/?site=127.0.0.1", kRefused, nullptr},
    {"refused address carrying markup into the warning page", 1, "{PAGE}", kReadyOnly, Step::Type,
     "{B}/<img src='{B}/markup'><script>location='{B}/script'</script>", kRefused, nullptr},
    {"typed blob: document holding a frame of B", 1, "{PAGE}",
     R"(<script>
const u = URL.createObjectURL(new Blob(["<iframe src='{B}/blobframe'></iframe>"], {type: 'text/html'}));
ping('ready', 'url=' + encodeURIComponent(u));
</script>)",
     Step::TypeReported, nullptr, 0, nullptr},
    // The engine itself turns about: pages other than about:blank into a blank page.
    {"typed about:gpu", 1, "{PAGE}", kReadyOnly, Step::Type, "about:gpu", NotShown, nullptr},
    {"typed chrome://gpu", 1, "{PAGE}", kReadyOnly, Step::Type, "chrome://gpu", kRefused | NotShown, nullptr},
    {"typed chrome://net-internals", 1, "{PAGE}", kReadyOnly, Step::Type, "chrome://net-internals",
     kRefused | NotShown, nullptr},
    {"typed devtools: page", 1, "{PAGE}", kReadyOnly, Step::Type, "devtools://devtools/bundled/inspector.html",
     kRefused | NotShown, nullptr},
    {"typed ftp address of B", 1, "{PAGE}", kReadyOnly, Step::Type, "ftp://{BHOST}/file", 0, nullptr},
    {"typed ftp address, switch off", 0, "{PAGE}", kReadyOnly, Step::Type, "ftp://{BHOST}/file", 0, nullptr},
    {"typed mailto: address", 1, "{PAGE}", kReadyOnly, Step::Type, "mailto:someone@example.org", 0, nullptr},
    {"typed mailto: address, switch off", 0, "{PAGE}", kReadyOnly, Step::Type, "mailto:someone@example.org", 0,
     nullptr},
    {"typed made-up scheme", 1, "{PAGE}", kReadyOnly, Step::Type, "myapp:open?x=1", 0, nullptr},
    {"typed made-up scheme, switch off", 0, "{PAGE}", kReadyOnly, Step::Type, "myapp:open?x=1", 0, nullptr},

    // The recommended page takes the route by itself.
    {"home page set to B", 1, "{B}/home", nullptr, Step::None, nullptr, kRefused, nullptr},
    {"server redirect from A to B", 1, "{A}/redirect-to-b", nullptr, Step::None, nullptr, kRefused, nullptr},
    {"meta refresh to B", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => {
const m = document.createElement('meta'); m.httpEquiv = 'refresh'; m.content = '0;url={B}/meta';
document.head.appendChild(m); });</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"location assignment to B", 1, "{PAGE}", R"(<script>ping('ready').then(() => { location.href = '{B}/assign'; });</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"location.replace to B", 1, "{PAGE}", R"(<script>ping('ready').then(() => { location.replace('{B}/replace'); });</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"frame of A sets top.location to B", 1, "{PAGE}",
     R"(<iframe srcdoc="<script>top.location='{B}/top'</script>"></iframe><script>ping('ready')</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"form posted to B", 1, "{PAGE}",
     R"(<form id="f" method="post" action="{B}/post"><input name="q" value="1"></form>
<script>ping('ready').then(() => document.getElementById('f').submit());</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"form sent to B in a new window", 1, "{PAGE}",
     R"(<form id="f" target="_blank" action="{B}/formwindow"><input name="q" value="1"></form>
<script>ping('ready').then(() => document.getElementById('f').submit());</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"window.open of B", 1, "{PAGE}", R"(<script>ping('ready').then(() => window.open('{B}/open'));</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"blank window opened, then sent to B: no window to send", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { const w = window.open('about:blank', 'later');
if (w) w.location.href = '{B}/later'; });</script>)",
     Step::None, nullptr, 0, nullptr},
    {"Refresh header from A to B", 1, "{A}/refresh-header", nullptr, Step::None, nullptr, kRefused, nullptr},
    {"about:blank window written with a frame of B", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { const w = window.open('');
if (w) { w.document.write("<iframe src='{B}/written'></iframe>"); w.document.close(); } });</script>)",
     Step::None, nullptr, 0, nullptr},
    // A page never gets hold of a window it opens: a blank one is not opened at all, so
    // nothing the page would write into it loads (and the engine, which crashed on showing
    // such a window, never has one to show).
    {"about:blank window the recommended page writes a picture into opens nothing", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { const w = window.open('');
if (w) { w.document.write("<img src='{CL}/writtenimg'>"); w.document.close(); } });</script>)",
     Step::None, nullptr, 0, nullptr},
    {"window.open of a javascript: address that writes a frame of B", 1, "{PAGE}",
     R"HTML(<script>ping('ready').then(() => window.open("javascript:document.write(\"<iframe src='{B}/jswindow'></iframe>\")"));</script>)HTML",
     Step::None, nullptr, 0, nullptr},
    {"window.open of a data: page with a frame of B", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => window.open("data:text/html,<iframe src='{B}/datawindow'></iframe>"));</script>)",
     Step::None, nullptr, 0, nullptr},
    {"page navigates to a data: document with a frame of B", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { location.href = "data:text/html,<iframe src='{B}/dataframe'></iframe>"; });</script>)",
     Step::None, nullptr, 0, nullptr},
    {"page navigates to a blob: document with a frame, image and WebSocket of B", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { location.href = URL.createObjectURL(new Blob(
["<iframe src='{B}/blobframe'></iframe><img src='{B}/blobimg'><script>new WebSocket('ws://{BHOST}/blobws')</scr" + "ipt>"],
{type: 'text/html'})); });</script>)",
     Step::None, nullptr, 0, nullptr},
    {"page navigates to a data: download", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { location.href = 'data:application/octet-stream;base64,bm90IGZvciB0aGUgY2hpbGQ='; });</script>)",
     Step::None, nullptr, 0, nullptr},
    {"local file page with frame, image, script, fetch and WebSocket to B", 1, "{FILE}",
     R"(<iframe src="{B}/fileframe"></iframe><img src="{B}/fileimg"><script src="{B}/filescript.js"></script>
<script>fetch('{B}/filefetch', {mode: 'no-cors'}).catch(() => {});
try { new WebSocket('ws://{BHOST}/filews'); } catch (e) {}
</script>)",
     Step::None, nullptr, kRefused, nullptr},
    {"local file page opens a WebSocket to B", 1, "{FILE}",
     R"(<script>try { new WebSocket('ws://{BHOST}/ws'); } catch (e) {}</script>)", Step::None, nullptr,
     kRefused, nullptr},
    {"typed local folder listing", 1, "{PAGE}", kReadyOnly, Step::Type, "file:///", kRefused, nullptr},
    {"download from A by Content-Disposition", 1, "{PAGE}",
     R"(<script>ping('ready').then(() => { location.href = '{A}/attachment'; });</script>)", Step::None, nullptr,
     0, nullptr},
    {"PDF from A, saved with Ctrl+S", 1, "{A}/doc.pdf", nullptr, Step::Keys, "ctrl+s", 0, nullptr},

    // The child's hands.
    {"link to B clicked", 1, "{PAGE}", kLinkToB, Step::Click, nullptr, kRefused, nullptr},
    {"link to B middle-clicked", 1, "{PAGE}", kLinkToB, Step::Click, "middle", kRefused, nullptr},
    {"link to B ctrl-clicked", 1, "{PAGE}", kLinkToB, Step::Click, "ctrl", kRefused, nullptr},
    {"link to B shift-clicked", 1, "{PAGE}", kLinkToB, Step::Click, "shift", kRefused, nullptr},
    {"link to B with target _blank clicked", 1, "{PAGE}",
     R"(<a href="{B}/blank" target="_blank" style="position:fixed;inset:0">go</a><script>ping('ready')</script>)",
     Step::Click, nullptr, kRefused, nullptr},
    {"context menu: open link to B in a new tab or window, third item from the top", 1, "{PAGE}", kLinkToB,
     Step::ContextMenu, kMenuThirdFromTop, kRefused, nullptr},
    {"context menu: open link to B in a new tab or window, third item from the bottom", 1, "{PAGE}", kLinkToB,
     Step::ContextMenu, kMenuThirdFromBottom, kRefused, nullptr},
    {"context menu: save link to B", 1, "{PAGE}", kLinkToB, Step::ContextMenu, kMenuSecondFromBottom, 0, nullptr},
    {"context menu: save page", 1, "{PAGE}", kReadyOnly, Step::ContextMenu, kMenuSecondFromBottom, 0, nullptr},
    // The engine never loads a link dropped on the page it was dragged from, and the
    // address box takes no dragged link: the row holds the browser to that.
    {"link to B dragged onto the page", 1, "{PAGE}", kDraggableLinkToB, Step::Drag, nullptr, 0, nullptr},
    {"link with download attribute clicked", 1, "{PAGE}",
     R"(<a href="{A}/saved.bin" download="saved.bin" style="position:fixed;inset:0">get</a><script>ping('ready')</script>)",
     Step::Click, nullptr, 0, nullptr},
    {"page-made blob saved through a download link", 1, "{PAGE}",
     R"(<a id="d" download="made.txt" style="position:fixed;inset:0">save</a>
<script>document.getElementById('d').href = URL.createObjectURL(new Blob(['made by the page'], {type: 'text/plain'}));
ping('ready');</script>)",
     Step::Click, nullptr, 0, nullptr},
    {"link to A that redirects to mailto: clicked", 1, "{PAGE}", "link:{A}/redirect-to-mailto", Step::Click, nullptr,
     0, nullptr},
    {"link to A that redirects to mailto: clicked, switch off", 0, "{PAGE}", "link:{A}/redirect-to-mailto",
     Step::Click, nullptr, 0, nullptr},
    {"mailto: link clicked", 1, "{PAGE}", "link:mailto:someone@example.org", Step::Click, nullptr, 0, nullptr},
    {"mailto: link clicked, switch off", 0, "{PAGE}", "link:mailto:someone@example.org", Step::Click, nullptr, 0, nullptr},
    {"tel: link clicked", 1, "{PAGE}", "link:tel:+100200300", Step::Click, nullptr, 0, nullptr},
    {"tel: link clicked, switch off", 0, "{PAGE}", "link:tel:+100200300", Step::Click, nullptr, 0, nullptr},
    {"magnet: link clicked", 1, "{PAGE}", "link:magnet:?xt=urn:btih:0123456789abcdef", Step::Click, nullptr, 0, nullptr},
    {"magnet: link clicked, switch off", 0, "{PAGE}", "link:magnet:?xt=urn:btih:0123456789abcdef", Step::Click, nullptr, 0, nullptr},
    {"made-up scheme link clicked", 1, "{PAGE}", "link:myapp:open?x=1", Step::Click, nullptr, 0, nullptr},
    {"made-up scheme link clicked, switch off", 0, "{PAGE}", "link:myapp:open?x=1", Step::Click, nullptr, 0, nullptr},

    // What stays open: the rule's own consequences.
    {"recommended host on another port opens", 1, "{C}/other", nullptr, Step::None, nullptr,
     Opens | InHistory | Reaches, "C:/other"},
    {"host that contains the recommended host opens", 1, "http://127.0.0.1.localhost:{CPORT}/contains", nullptr,
     Step::None, nullptr, Opens | InHistory | Reaches, "C:/contains"},
    {"frame of another host inside the recommended page loads", 1, "{PAGE}",
     R"(<iframe src="{CL}/frame"></iframe><script>ping('ready')</script>)", Step::None, nullptr, Reaches,
     "C:/frame"},
    {"javascript: link of the recommended page works", 1, "{PAGE}",
     "link:javascript:ping('jsok')", Step::Click, nullptr, Reaches, "A:/jsok"},
    {"typed about:blank opens", 1, "{PAGE}", kReadyOnly, Step::Type, "about:blank", Opens, nullptr},
};

// Programs a browser could hand an address or a file to. Each stand-in only writes
// its name and arguments to the marker file.
const char* const kOpeners[] = {"xdg-open", "xdg-email", "gio", "gvfs-open", "kde-open", "kde-open5", "kfmclient",
                                "gnome-open", "x-www-browser", "www-browser", "sensible-browser", "exo-open",
                                "mimeopen", "firefox", "chromium", "google-chrome", "lorvane-test-browser"};

// Where the test points, from the frame's layout: the frame covers the screen from
// (0, 0) and 3 pixels more; the control toolbar on top is 67 pixels high, its address
// box starts at x = 305 and its 25-pixel close button ends 5 pixels before the frame's
// right edge; the tab strip below is 33 pixels high; the page fills the rest but the
// status bar.
struct ScreenPlaces {
    QPoint addressBox;
    QPoint closeButton;
    QPoint pageMiddle;
    QPoint pageTopLeftLink; // inside a link placed at the page's (0, 0), 300 x 120

    static ScreenPlaces of(const QSize& screen)
    {
        constexpr int kPageTop = 67 + 33;
        return {QPoint(500, 28), QPoint(screen.width() + 3 - 5 - 12, 5 + 12),
                QPoint(screen.width() / 2, kPageTop + (screen.height() - kPageTop - 30) / 2),
                QPoint(100, kPageTop + 50)};
    }
};

// After a step, the time for what it might set off (a download, another program, a
// request to B) to show, none of which may.
constexpr int kSettleMs = 1500;
constexpr int kWaitMs = 20000;

// Files the browser may write under its home: the configuration record, the database
// and its journal, and the caches of the graphics stack. Anything else is a leak.
bool isExpectedFile(const QString& relative)
{
    static const QRegularExpression expected(QStringLiteral(
        "^(config/lorvane/lorvane\\.cfg|data/lorvane/lorvane\\.db(-journal|-wal|-shm)?"
        "|cache/(mesa_shader_cache|qtshadercache-[^/]+|fontconfig)/.*)$"));
    return expected.match(relative).hasMatch();
}

struct FileState {
    qint64 size;
    qint64 modified;
    bool operator==(const FileState&) const = default;
};

QMap<QString, FileState> snapshotTree(const QString& root)
{
    QMap<QString, FileState> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir base(root);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        files.insert(base.relativeFilePath(info.filePath()),
                     {info.size(), info.lastModified().toMSecsSinceEpoch()});
    }
    return files;
}

QStringList historyAddresses()
{
    QStringList out;
    CppSQLiteDB db;
    db.open(GetDataBasePathName());
    for (CppSQLiteQuery q = db.execQuery("select visitURL from history order by historyID"); !q.eof(); q.nextRow())
        out.append(q.fieldValue(0));
    return out;
}

QByteArray minimalPdf()
{
    return "%PDF-1.4\n1 0 obj<</Type/Catalog/Pages 2 0 R>>endobj\n"
           "2 0 obj<</Type/Pages/Kids[3 0 R]/Count 1>>endobj\n"
           "3 0 obj<</Type/Page/Parent 2 0 R/MediaBox[0 0 300 300]/Contents 4 0 R>>endobj\n"
           "4 0 obj<</Length 8>>stream\n0 0 m S\nendstream endobj\n"
           "trailer<</Root 1 0 R>>\n%%EOF\n";
}

} // namespace

class TestLockdown : public QObject
{
    Q_OBJECT

    RecordingServer m_a; // the recommended host, addressed as 127.0.0.1
    RecordingServer m_b; // not recommended, addressed as localhost
    RecordingServer m_c; // a second server for what must stay open
    QTemporaryDir m_tools;
    QString m_browser;
    QString m_markerFile;
    ScreenPlaces m_places = ScreenPlaces::of(QSize(1280, 1024));

    static QString encoded(const QString& text) { return QString::fromLatin1(QUrl::toPercentEncoding(text)); }

    QString expand(QString text, const QString& route) const
    {
        text.replace(QLatin1String("{PAGE}"), QStringLiteral("{A}/r/") + encoded(route));
        text.replace(QLatin1String("{FILE}"), QUrl::fromLocalFile(filePageOf(route)).toString());
        text.replace(QLatin1String("{A}"), QStringLiteral("http://127.0.0.1:%1").arg(m_a.port()));
        text.replace(QLatin1String("{B}"), QStringLiteral("http://localhost:%1").arg(m_b.port()));
        text.replace(QLatin1String("{BHOST}"), QStringLiteral("localhost:%1").arg(m_b.port()));
        text.replace(QLatin1String("{CL}"), QStringLiteral("http://localhost:%1").arg(m_c.port()));
        text.replace(QLatin1String("{C}"), QStringLiteral("http://127.0.0.1:%1").arg(m_c.port()));
        text.replace(QLatin1String("{CPORT}"), QString::number(m_c.port()));
        return text;
    }

    QString filePageOf(const QString& route) const
    {
        QString file = route;
        file.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]+")), QStringLiteral("-"));
        return m_tools.path() + QStringLiteral("/pages/") + file + QStringLiteral(".html");
    }

    // The row's own page: `body` with a helper that reports to A. An image request
    // reaches A from any kind of document, a local file included.
    QByteArray routePage(const Route& route) const
    {
        const QString name = QString::fromUtf8(route.name);
        const QString head = QStringLiteral(R"(<!DOCTYPE html><html><head><meta charset="utf-8"><title>route</title>
<script>
function ping(what, extra) {
  return new Promise(done => {
    const i = new Image();
    i.onload = i.onerror = () => done();
    i.src = '{A}/' + what + '?route=%1' + (extra ? '&' + extra : '') + '&t=' + Date.now();
  });
}
</script></head><body style="margin:0">)")
                                 .arg(encoded(name));
        QString body = QString::fromUtf8(route.page);
        if (body.startsWith(QLatin1String("link:")))
            body = QStringLiteral(R"(<a href="%1" style="position:fixed;inset:0;background:#9cf">go</a>)"
                                  "<script>ping('ready')</script>")
                       .arg(body.mid(5));
        return expand(head + body + QStringLiteral("</body></html>"), name).toUtf8();
    }

    QString readyPrefix(const Route& route) const
    {
        // A local page may be kept from asking A for anything: it gets a fixed time instead.
        if (route.page && QString::fromUtf8(route.home) != QLatin1String("{FILE}"))
            return QStringLiteral("/ready?route=") + encoded(QString::fromUtf8(route.name));
        const QString home = QString::fromUtf8(route.home);
        if (home.startsWith(QLatin1String("{A}")))
            return home.mid(3);
        return QString();
    }

    // Runs one of the X tools without blocking the servers of this process.
    static bool runTool(const QString& program, const QStringList& args, int timeoutMs = 15000)
    {
        QProcess p;
        p.start(program, args);
        if (!p.waitForStarted())
            return false;
        if (!QTest::qWaitFor([&p] { return p.state() == QProcess::NotRunning; }, timeoutMs)) {
            p.kill();
            p.waitForFinished();
            return false;
        }
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    static bool xdo(const QStringList& args) { return runTool(QStringLiteral("xdotool"), args); }

    static QStringList pointAt(const QPoint& p)
    {
        return {"mousemove", QString::number(p.x()), QString::number(p.y())};
    }

    static bool click(const QPoint& p, int button = 1)
    {
        return xdo(pointAt(p) + QStringList{"click", QString::number(button)});
    }

    static bool keys(const QString& sequence)
    {
        return xdo(QStringList{"key", "--delay", "60"} + sequence.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    }

    bool typeAddress(const QString& text) const
    {
        return click(m_places.addressBox) && keys(QStringLiteral("ctrl+a BackSpace"))
            && xdo({"type", "--delay", "4", "--", text}) && keys(QStringLiteral("Return"));
    }

    static bool drag(const QPoint& from, const QPoint& to)
    {
        if (!xdo(pointAt(from) + QStringList{"mousedown", "1"}))
            return false;
        // The page starts a drag only after the pointer has moved a little with the
        // button held, and the engine takes a moment to hand it to the window system.
        for (int i = 1; i <= 5; ++i) {
            xdo(pointAt(from + QPoint(4 * i, 4 * i)));
            QTest::qWait(60);
        }
        QTest::qWait(400);
        for (int i = 1; i <= 10; ++i) {
            xdo(pointAt(from + (to - from) * i / 10));
            QTest::qWait(50);
        }
        QTest::qWait(300);
        return xdo(pointAt(to) + QStringList{"mouseup", "1"});
    }

    bool waitForRequest(const RecordingServer& server, const QString& prefix, int timeoutMs) const
    {
        return QTest::qWaitFor([&] { return server.sawRequest(prefix); }, timeoutMs);
    }

    QString reportedAddress(const QString& prefix) const
    {
        for (const RecordingServer::Request& r : m_a.requests()) {
            if (r.target.startsWith(prefix))
                return QUrlQuery(r.query).queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded);
        }
        return QString();
    }

    QProcessEnvironment browserEnvironment(const IsolatedEnvironment& env) const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        // Downloads and anything else written to the user's home land where the test looks.
        e.insert(QStringLiteral("HOME"), env.root());
        e.insert(QStringLiteral("TMPDIR"), env.root() + QStringLiteral("/tmp"));
        e.insert(QStringLiteral("PATH"), m_tools.path() + QStringLiteral("/bin:") + e.value(QStringLiteral("PATH")));
        e.insert(QStringLiteral("BROWSER"), QStringLiteral("lorvane-test-browser"));
        e.insert(QStringLiteral("DEFAULT_BROWSER"), QStringLiteral("lorvane-test-browser"));
        // The engine's start-up report is the same for every row.
        e.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("qt.webenginecontext.info=false"));
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                                 "DBUS_SESSION_BUS_ADDRESS"})
            e.remove(QString::fromLatin1(name));
        return e;
    }

    // Closes the browser the way the child would, with its close button, so that every
    // page records its last stay. False when it would not close.
    bool closeBrowser(QProcess& browser) const
    {
        for (int attempt = 0; attempt < 3 && browser.state() != QProcess::NotRunning; ++attempt) {
            // A menu or a dialog left open would take the click.
            keys(QStringLiteral("Escape Escape"));
            click(m_places.closeButton);
            if (QTest::qWaitFor([&browser] { return browser.state() == QProcess::NotRunning; }, 5000))
                break;
        }
        if (browser.state() == QProcess::NotRunning)
            return true;
        browser.kill();
        browser.waitForFinished();
        return false;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server");
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool is needed");
        QProcess geometry;
        geometry.start(QStringLiteral("xdotool"), {"getdisplaygeometry"});
        QVERIFY(geometry.waitForFinished());
        const QStringList size = QString::fromLatin1(geometry.readAllStandardOutput()).split(QLatin1Char(' '));
        QCOMPARE(size.size(), 2);
        m_places = ScreenPlaces::of(QSize(size[0].toInt(), size[1].trimmed().toInt()));
        m_browser = QCoreApplication::applicationDirPath() + QStringLiteral("/Lorvane");
        QVERIFY2(QFileInfo(m_browser).isExecutable(), qPrintable(m_browser + " is missing"));
        QVERIFY(m_tools.isValid());
        QVERIFY(QDir().mkpath(m_tools.path() + QStringLiteral("/bin")));
        QVERIFY(QDir().mkpath(m_tools.path() + QStringLiteral("/pages")));
        m_markerFile = m_tools.path() + QStringLiteral("/opened.log");
        for (const char* name : kOpeners) {
            QFile f(m_tools.path() + QStringLiteral("/bin/") + QLatin1String(name));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("#!/bin/sh\nprintf '%s %s\\n' \"$(basename \"$0\")\" \"$*\" >> '" + QFile::encodeName(m_markerFile)
                    + "'\n");
            f.close();
            QVERIFY(f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
        }

        QVERIFY(m_a.listen(false));
        QVERIFY(m_b.listen(true));
        QVERIFY(m_c.listen(true));

        QHash<QString, RecordingServer::Response> pagesOfA;
        for (const Route& route : kRoutes) {
            if (!route.page)
                continue;
            const QByteArray html = routePage(route);
            if (QString::fromUtf8(route.home) == QLatin1String("{FILE}")) {
                QFile f(filePageOf(QString::fromUtf8(route.name)));
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(html);
            } else {
                pagesOfA.insert(QStringLiteral("/r/") + QString::fromUtf8(route.name), RecordingServer::page(html));
            }
        }
        const QByteArray b = expand(QStringLiteral("{B}"), QString()).toUtf8();
        pagesOfA.insert(QStringLiteral("/redirect-to-b"), RecordingServer::redirect(b + "/redirected"));
        pagesOfA.insert(QStringLiteral("/redirect-to-mailto"), RecordingServer::redirect("mailto:someone@example.org"));
        pagesOfA.insert(QStringLiteral("/refresh-header"),
                        {200, "Content-Type: text/html\r\nRefresh: 0; url=" + b + "/refreshed\r\n", "<p>moving on</p>"});
        pagesOfA.insert(QStringLiteral("/attachment"),
                        {200, "Content-Type: application/octet-stream\r\nContent-Disposition: attachment; filename=\"saved.bin\"\r\n",
                         "not for the child's folders"});
        pagesOfA.insert(QStringLiteral("/saved.bin"), {200, "Content-Type: application/octet-stream\r\n", "data"});
        pagesOfA.insert(QStringLiteral("/doc.pdf"), {200, "Content-Type: application/pdf\r\n", minimalPdf()});
        m_a.setHandler([pagesOfA](const RecordingServer::Request& r) -> RecordingServer::Response {
            if (r.path == QLatin1String("/ready") || r.path == QLatin1String("/jsok"))
                return {204, QByteArray(), QByteArray()};
            // decode "/r/<name>" the way it was encoded in the address
            const QString path = QUrl::fromPercentEncoding(r.path.toUtf8());
            return pagesOfA.value(path, {404, "Content-Type: text/plain\r\n", "not found"});
        });
        // What a child must never see: a page that pulls in more of its host.
        m_b.setHandler([](const RecordingServer::Request&) {
            return RecordingServer::page("<!DOCTYPE html><title>not for children</title><body>"
                                         "<img src=\"/more.png\"><script src=\"/more.js\"></script></body>");
        });
        m_c.setHandler([](const RecordingServer::Request&) {
            return RecordingServer::page("<!DOCTYPE html><title>allowed</title><body>allowed</body>");
        });
    }

    void routes_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kRoutes)); ++i)
            QTest::newRow(kRoutes[i].name) << i;
    }

    void routes()
    {
        QFETCH(int, index);
        const Route& route = kRoutes[index];
        const QString name = QString::fromUtf8(route.name);

        IsolatedEnvironment env;
        QVERIFY(QDir().mkpath(env.root() + QStringLiteral("/tmp")));
        CConfigManager config;
        std::memset(&config.m_record, 0, sizeof config.m_record);
        QCOMPARE(config.SetConfigPathName(GetConfigerPathName().toUtf8().constData()), 0);
        config.SetDefaultConfig();
        config.m_record.m_bOnlyChildSites = route.onlyChildSites;
        config.m_record.m_bExitNeedPassword = 0;
        const QByteArray home = expand(QString::fromUtf8(route.home), name).toUtf8();
        QVERIFY(home.size() < int(sizeof config.m_record.m_szHomePage));
        std::memset(config.m_record.m_szHomePage, 0, sizeof config.m_record.m_szHomePage);
        std::memcpy(config.m_record.m_szHomePage, home.constData(), size_t(home.size()));
        QVERIFY(config.SaveConfigToFile());
        ManagerData::SetDataBasePath(GetDataBasePathName());
        QVERIFY(ManagerData::AddSite(QStringLiteral("127.0.0.1"), QStringLiteral("recommended"), QString()));

        m_a.clear();
        m_b.clear();
        m_c.clear();
        QFile::remove(m_markerFile);
        const QMap<QString, FileState> before = snapshotTree(env.root());

        QProcess browser;
        browser.setProcessEnvironment(browserEnvironment(env));
        browser.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The X server of a loaded machine now and then turns a connection away for a
        // moment: a browser that ends within 0.6 s of its start (it could not open the
        // display) is started once more. One that fails again fails the row.
        for (int attempt = 0; attempt < 2; ++attempt) {
            browser.start(m_browser, {});
            QVERIFY(browser.waitForStarted());
            if (!QTest::qWaitFor([&browser] { return browser.state() == QProcess::NotRunning; }, 600))
                break;
            qWarning("the browser ended at once (exit code %d)", browser.exitCode());
        }
        auto killBrowser = qScopeGuard([&browser] {
            if (browser.state() != QProcess::NotRunning) {
                browser.kill();
                browser.waitForFinished();
            }
        });

        QStringList problems;
        const QString ready = readyPrefix(route);
        if (!ready.isEmpty()) {
            if (!waitForRequest(m_a, ready, kWaitMs))
                problems.append(QStringLiteral("the first page never loaded (no %1 at A)").arg(ready));
        } else {
            if (!QTest::qWaitFor([] { return runTool(QStringLiteral("xdotool"), {"search", "--name", "^Lorvane$"}); },
                                 kWaitMs))
                problems.append(QStringLiteral("the browser's window never showed"));
            QTest::qWait(3000); // the engine's start and the first navigation
        }

        if (problems.isEmpty()) {
            const QString input = expand(QString::fromUtf8(route.input ? route.input : ""), name);
            bool done = true;
            switch (route.step) {
            case Step::None:
                break;
            case Step::Type:
                done = typeAddress(input);
                break;
            case Step::TypeReported: {
                const QString address = reportedAddress(ready);
                if (address.isEmpty())
                    problems.append(QStringLiteral("the page reported no address to type"));
                else
                    done = typeAddress(address);
                break;
            }
            case Step::Click:
                if (input == QLatin1String("middle")) {
                    done = click(m_places.pageMiddle, 2);
                } else if (!input.isEmpty()) {
                    done = xdo(pointAt(m_places.pageMiddle)
                               + QStringList{"keydown", input, "click", "1", "keyup", input});
                } else {
                    done = click(m_places.pageMiddle);
                }
                break;
            case Step::ContextMenu:
                done = click(m_places.pageMiddle, 3);
                QTest::qWait(500); // the menu opens in the browser, out of the test's sight
                done = done && keys(input);
                break;
            case Step::Drag:
                done = drag(m_places.pageTopLeftLink, m_places.pageMiddle);
                break;
            case Step::Keys:
                QTest::qWait(1000); // the viewer builds itself after the file arrived
                done = click(m_places.pageMiddle) && keys(input);
                break;
            }
            if (!done)
                problems.append(QStringLiteral("xdotool could not carry out the step"));
        }
        QTest::qWait(kSettleMs);

        const bool closed = closeBrowser(browser);
        if (!closed)
            problems.append(QStringLiteral("the browser did not close from its close button"));
        else if (browser.exitStatus() != QProcess::NormalExit || browser.exitCode() != 0)
            problems.append(QStringLiteral("the browser crashed or failed (exit code %1)").arg(browser.exitCode()));

        if (route.onlyChildSites == 1 && !m_b.connections().isEmpty())
            problems.append(QStringLiteral("B (not recommended) saw %1 connection(s): %2")
                                .arg(m_b.connections().size())
                                .arg(m_b.describeConnections()));

        QFile marker(m_markerFile);
        if (marker.open(QIODevice::ReadOnly))
            problems.append(QStringLiteral("another program was started: %1")
                                .arg(QString::fromUtf8(marker.readAll()).trimmed()));

        const QMap<QString, FileState> after = snapshotTree(env.root());
        QStringList written;
        for (auto it = after.constBegin(); it != after.constEnd(); ++it) {
            if (isExpectedFile(it.key()))
                continue;
            if (!before.contains(it.key()) || before.value(it.key()) != it.value())
                written.append(it.key());
        }
        if (!written.isEmpty())
            problems.append(QStringLiteral("files written under the browser's home: %1").arg(written.join(", ")));

        const QStringList history = closed ? historyAddresses() : QStringList();
        const QString historyText = history.join(QStringLiteral(" | "));
        const auto isWarning = [](const QString& a) { return a.contains(QLatin1String("warning.html#")); };
        if (closed && route.onlyChildSites == 1) {
            if ((route.checks & Warning) && std::none_of(history.begin(), history.end(), isWarning))
                problems.append(QStringLiteral("no warning page in the history: %1").arg(historyText));
            for (const QString& a : history) {
                if (isWarning(a))
                    continue;
                const QUrl shown(a);
                if (shown.host() == QLatin1String("localhost") && shown.port() == m_b.port())
                    problems.append(QStringLiteral("B was shown: history row %1").arg(a));
                if ((route.checks & NotShown)
                    && (a.startsWith(QLatin1String("chrome:")) || a.startsWith(QLatin1String("devtools:"))
                        || (a.startsWith(QLatin1String("about:")) && !a.startsWith(QLatin1String("about:blank")))))
                    problems.append(QStringLiteral("an internal page was shown: history row %1").arg(a));
            }
        }
        if ((route.checks & Opens) && std::any_of(history.begin(), history.end(), isWarning))
            problems.append(QStringLiteral("refused, though it should open: %1").arg(historyText));
        if (route.checks & InHistory) {
            const QString expected = expand(QString::fromUtf8(route.home), name);
            if (closed && !history.contains(expected))
                problems.append(QStringLiteral("the first page %1 is not in the history: %2").arg(expected, historyText));
        }
        if (route.checks & Reaches) {
            const QString reach = QString::fromUtf8(route.reach);
            const RecordingServer& server = reach.startsWith(QLatin1String("C:")) ? m_c : m_a;
            if (!server.sawRequest(reach.mid(2)))
                problems.append(QStringLiteral("%1 was never asked for: it should stay open").arg(reach));
        }

        QVERIFY2(problems.isEmpty(), qPrintable(name + QStringLiteral(": ") + problems.join(QStringLiteral("; "))));
    }
};

QTEST_GUILESS_MAIN(TestLockdown)
#include "tst_lockdown.moc"
