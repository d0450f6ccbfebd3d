#include "sitesnapshot.h"

#include "bitmap.h"
#include "managerlog.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTimer>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

// Far beyond any desktop's screens, to the top left.
constexpr int kOffScreen = -20000;

// How long to keep looking for a painted page after loading finished before taking
// whatever the view shows (a page may really be one plain colour).
constexpr int kGrabRetryMs = 25;
constexpr int kGrabMaxAttempts = 120;
constexpr int kStaleMaxAttempts = 40;

QImage WhitePicture()
{
    QImage picture(CSiteSnapshot::PictureWidth, CSiteSnapshot::PictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    return picture;
}

// A grab that is one colour all over is what the view shows before the page's first
// frame has reached it.
bool IsPlain(const QImage& image)
{
    if (image.isNull())
        return true;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb first = rgb.pixel(0, 0);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}
} // namespace

// The hidden view's page: it never asks anyone anything, so a site cannot put a dialog,
// a prompt or a window in front of the parent while its picture is taken.
class CSnapshotPage : public QWebEnginePage
{
public:
    CSnapshotPage(QWebEngineProfile* profile, QObject* parent)
        : QWebEnginePage(profile, parent)
    {
        setAudioMuted(true);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        settings()->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
        settings()->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, true);
        settings()->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
        settings()->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);

        connect(this, &QWebEnginePage::featurePermissionRequested, this,
                [this](const QUrl& origin, QWebEnginePage::Feature feature) {
                    setFeaturePermission(origin, feature, QWebEnginePage::PermissionDeniedByUser);
                });
        connect(this, &QWebEnginePage::fullScreenRequested, this,
                [](QWebEngineFullScreenRequest request) { request.reject(); });
        connect(this, &QWebEnginePage::fileSystemAccessRequested, this,
                [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
    }

protected:
    void javaScriptAlert(const QUrl&, const QString&) override {}
    bool javaScriptConfirm(const QUrl&, const QString&) override { return false; }
    bool javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) override { return false; }
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int, const QString&) override {}
    QWebEnginePage* createWindow(WebWindowType) override { return nullptr; }
    QStringList chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) override { return {}; }
};

CSiteSnapshot::CSiteSnapshot(QObject* parent)
    : QObject(parent)
    , m_picture(WhitePicture())
{
    // An off-the-record profile of its own: nothing of the sites is kept on disk, and
    // every download it sees belongs to this page.
    auto* profile = new QWebEngineProfile(this);
    connect(profile, &QWebEngineProfile::downloadRequested, this, [this](QWebEngineDownloadRequest* download) {
        qCWarning(lcSnapshot) << "Refused a download while taking a site snapshot:" << download->url();
        download->cancel();
        // An address that is a file to download has no page to picture: stop waiting.
        ++m_generation;
        m_retryTimer->stop();
        m_loading = false;
        FinishLoading();
    });

    m_view = new QWebEngineView;
    m_page = new CSnapshotPage(profile, m_view);
    m_view->setPage(m_page);
    // Rendered at full page size but never put on the screen. The engine's render
    // window is native and gets mapped even so on X11: it lives far outside every
    // screen, out of the window manager's hands and never takes the focus.
    m_view->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus
                           | Qt::X11BypassWindowManagerHint);
    m_view->setAttribute(Qt::WA_DontShowOnScreen);
    m_view->setAttribute(Qt::WA_ShowWithoutActivating);
    m_view->setGeometry(kOffScreen, kOffScreen, ViewWidth, ViewHeight);
    m_view->show();

    m_retryTimer = new QTimer(this);
    m_retryTimer->setSingleShot(true);
    m_retryTimer->setInterval(kGrabRetryMs);

    connect(m_page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus:
            OnLoadFinished(true);
            break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            qCWarning(lcSnapshot) << "Site snapshot page failed to load:" << info.url() << info.errorString();
            OnLoadFinished(false);
            break;
        case QWebEngineLoadingInfo::LoadStartedStatus:
        case QWebEngineLoadingInfo::LoadStoppedStatus:
            // A load cut short by a newer one: the newer one reports for both.
            break;
        }
    });
    connect(m_page, &QWebEnginePage::titleChanged, this, &CSiteSnapshot::titleChanged);
}

CSiteSnapshot::~CSiteSnapshot()
{
    // The page must go before the profile it was made with (a child of this object).
    delete m_view;
}

void CSiteSnapshot::Start(const QString& address)
{
    ++m_generation;
    m_retryTimer->stop();
    m_picture = WhitePicture();
    m_loading = true;
    m_finishedSignalled = false;
    emit started();
    m_page->load(AddressToUrl(address));
}

QImage CSiteSnapshot::Picture() const
{
    return m_picture;
}

bool CSiteSnapshot::IsLoading() const
{
    return m_loading;
}

QUrl CSiteSnapshot::AddressToUrl(const QString& address)
{
    const QString trimmed = address.trimmed();
    if (trimmed.isEmpty())
        return QUrl();
    // Qt's reading of a typed address: a bare host or "host:port/path" gets "http://".
    return QUrl::fromUserInput(trimmed);
}

void CSiteSnapshot::OnLoadFinished(bool ok)
{
    ++m_generation;
    m_retryTimer->stop();
    if (!ok) {
        m_loading = false;
        FinishLoading();
        return;
    }
    WaitForPaint(m_generation);
}

void CSiteSnapshot::WaitForPaint(quint64 generation)
{
    // Loading done is not painting done: the page marks itself once two frames have
    // been produced after it finished, and only then is the view worth grabbing.
    m_grabAttempts = 0;
    m_page->runJavaScript(QStringLiteral("window.__lorvaneSnapshotPainted = false;"
                                         "requestAnimationFrame(function () { requestAnimationFrame(function () {"
                                         "  window.__lorvaneSnapshotPainted = true; }); });"),
                          QWebEngineScript::ApplicationWorld);
    ScheduleGrab(generation);
}

void CSiteSnapshot::ScheduleGrab(quint64 generation)
{
    m_retryTimer->disconnect();
    connect(m_retryTimer, &QTimer::timeout, this, [this, generation] {
        if (generation != m_generation)
            return;
        m_page->runJavaScript(QStringLiteral("window.__lorvaneSnapshotPainted === true"),
                              QWebEngineScript::ApplicationWorld, [this, generation](const QVariant& painted) {
                                  if (generation != m_generation)
                                      return;
                                  TryGrab(generation, painted.toBool());
                              });
    });
    m_retryTimer->start();
}

void CSiteSnapshot::TryGrab(quint64 generation, bool painted)
{
    ++m_grabAttempts;
    const bool lastTry = m_grabAttempts >= kGrabMaxAttempts;
    if (!painted && !lastTry) {
        ScheduleGrab(generation);
        return;
    }
    const QImage grab = m_view->grab(QRect(0, 0, ViewWidth, ViewHeight)).toImage();
    // Until the new frame reaches the view it still shows the page drawn last; a page
    // that really looks the same is taken once the shorter wait for a change is over.
    const bool unchanged = !m_lastGrab.isNull() && grab == m_lastGrab && m_grabAttempts < kStaleMaxAttempts;
    if ((IsPlain(grab) || unchanged) && !lastTry) {
        ScheduleGrab(generation);
        return;
    }
    if (grab.isNull()) {
        qCWarning(lcSnapshot) << "The hidden view gave no picture of" << m_page->url();
        m_loading = false;
        FinishLoading();
        return;
    }
    m_lastGrab = grab;
    m_picture = grab.scaled(PictureWidth, PictureHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                    .convertToFormat(QImage::Format_RGB32);
    m_loading = false;
    emit captured(m_picture);
    FinishLoading();
}

void CSiteSnapshot::FinishLoading()
{
    if (m_finishedSignalled)
        return;
    m_finishedSignalled = true;
    emit finishedLoading();
}

bool CSiteSnapshot::SavePicture(const QImage& picture, const QString& path)
{
    if (picture.isNull()) {
        qCWarning(lcSnapshot) << "No snapshot picture to save to" << path;
        return false;
    }
    // A file that cannot be written is reported where it is written.
    return SaveToFile(picture, path) != 0;
}

QImage CSiteSnapshot::LoadPicture(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        qCWarning(lcSnapshot) << "No site snapshot at" << path;
        return QImage();
    }
    QImageReader reader(path);
    const QImage stored = reader.read();
    if (stored.isNull()) {
        qCWarning(lcSnapshot) << "Could not read the site snapshot" << path << reader.errorString();
        return QImage();
    }
    return stored.scaled(PictureWidth, PictureHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .convertToFormat(QImage::Format_RGB32);
}
