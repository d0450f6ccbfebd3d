#include "taskkeymanager.h"

#include "browserlog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

// Said at info level, so the session's log shows who keeps the child in.
Q_LOGGING_CATEGORY(lcKiosk, "lorvane.browser.kiosk", QtInfoMsg)

namespace {

// The kiosk compositor of the children's session (lorvane-kids-session).
const char kKioskCompositor[] = "cage";

constexpr int kRetryMs = 250;
constexpr int kWatchdogMs = 500;

unsigned long g_blockedClasses = 0;
bool g_held = false;
bool g_regrabEnabled = true;
bool g_toldUnsupported = false;
bool g_toldKiosk = false;
bool g_toldRefused = false;

// The plug-in's variants ("wayland-egl", ...) talk to the same compositor.
bool isWaylandPlatform(const QString& platform)
{
    return platform == QLatin1String("wayland") || platform.startsWith(QLatin1String("wayland-"));
}

// The compositor of this run, asked once; empty off Wayland.
QString currentCompositor()
{
    static const QString name =
        isWaylandPlatform(QGuiApplication::platformName()) ? CTaskKeyManager::WaylandCompositor() : QString();
    return name;
}

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootOf(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// Waits until the server has carried out everything sent on `c` so far.
void roundTrip(xcb_connection_t* c)
{
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

bool grabKeyboard()
{
    xcb_connection_t* c = x11Connection();
    if (!c)
        return false;
    // Keys meant for the browser's own windows still reach them (owner events);
    // everything else, the window manager's shortcuts included, goes nowhere.
    xcb_grab_keyboard_cookie_t cookie =
        xcb_grab_keyboard(c, 1, rootOf(c), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(c, cookie, nullptr);
    const bool ok = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    return ok;
}

void ungrabKeyboard()
{
    if (xcb_connection_t* c = x11Connection()) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
}

// A second client of the same display, the witness: the keyboard is ours only if it
// cannot take it. Opened on first need and kept for the run.
xcb_connection_t* witness()
{
    static xcb_connection_t* connection = nullptr;
    static bool tried = false;
    if (!tried) {
        tried = true;
        connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection)) {
            qCWarning(lcTaskKeys) << "cannot open a second connection to the X server; whether the keyboard"
                                     " is held is then known only from the browser's own bookkeeping";
            xcb_disconnect(connection);
            connection = nullptr;
        }
    }
    return connection;
}

// Whether some client holds the keyboard: false when the witness could take it.
bool anyClientHoldsKeyboard()
{
    xcb_connection_t* ours = x11Connection();
    xcb_connection_t* other = witness();
    if (!ours || !other)
        return true;
    // Whatever Qt has queued (an ungrab among it) reaches the server before the witness asks.
    roundTrip(ours);
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(
        other,
        xcb_grab_keyboard(other, 0, rootOf(other), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool nobodyHolds = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    if (nobodyHolds) {
        xcb_ungrab_keyboard(other, XCB_CURRENT_TIME);
        roundTrip(other);
    }
    return !nobodyHolds;
}

// While a popup is open it holds the keyboard for the program (Qt grabs it on the
// popup's window) and must keep it, or it would not see its own Escape.
bool popupOrGrabberOpen()
{
    if (QApplication::activePopupWidget() || QWidget::keyboardGrabber())
        return true;
    const QWindowList windows = QGuiApplication::topLevelWindows();
    for (QWindow* w : windows) {
        if (w->type() == Qt::Popup && w->isVisible())
            return true;
    }
    return false;
}

void restoreGrab();

// Watches for everything that may have ended the grab and takes it back.
class GrabKeeper : public QObject
{
public:
    GrabKeeper()
    {
        m_watchdog.setInterval(kWatchdogMs);
        QObject::connect(&m_watchdog, &QTimer::timeout, this, restoreGrab);
    }

    void Start()
    {
        if (!m_installed) {
            qApp->installEventFilter(this);
            m_installed = true;
        }
        m_watchdog.start();
    }

    void Stop()
    {
        m_watchdog.stop();
        if (m_installed) {
            qApp->removeEventFilter(this);
            m_installed = false;
        }
    }

    void RestoreSoon()
    {
        if (m_pending)
            return;
        m_pending = true;
        QTimer::singleShot(0, this, [this] {
            m_pending = false;
            restoreGrab();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Hide)
            return false;
        bool window = false;
        bool popup = false;
        if (watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            window = w->isWindow();
            popup = w->windowType() == Qt::Popup;
        } else if (watched->isWindowType()) {
            auto* w = static_cast<QWindow*>(watched);
            window = !w->parent();
            popup = w->type() == Qt::Popup;
        }
        if (!window)
            return false;
        if (popup && !popupOrGrabberOpen()) {
            // With the last popup gone Qt has just ungrabbed the keyboard for the whole
            // program. Taken back here and now, before the next event, so that not even
            // a key pressed at once escapes.
            if (g_held) {
                g_held = false;
                qCDebug(lcTaskKeys) << "a popup closed and took the keyboard grab with it";
            }
            restoreGrab();
        } else {
            RestoreSoon();
        }
        return false;
    }

private:
    QTimer m_watchdog;
    bool m_installed = false;
    bool m_pending = false;
};

GrabKeeper* keeper()
{
    static QPointer<GrabKeeper> instance;
    if (!instance) {
        instance = new GrabKeeper;
        instance->setParent(qApp);
    }
    return instance;
}

void restoreGrab()
{
    if (!g_blockedClasses || !g_regrabEnabled || popupOrGrabberOpen())
        return;
    // Taking it again while it is ours only replaces our own grab.
    const bool was = g_held;
    g_held = grabKeyboard();
    if (g_held && !was) {
        qCDebug(lcTaskKeys) << "keyboard held again";
        g_toldRefused = false;
    } else if (!g_held && !g_toldRefused) {
        g_toldRefused = true;
        qCWarning(lcTaskKeys) << "another program holds the keyboard; trying again every" << kWatchdogMs << "ms";
    }
}

// Another program (a menu, the window manager) may hold the keyboard for a moment:
// keep trying until the grab is ours or nothing is to be blocked any more.
void holdKeyboard()
{
    if (g_held || !g_blockedClasses)
        return;
    g_held = grabKeyboard();
    if (!g_held)
        QTimer::singleShot(kRetryMs, qGuiApp, holdKeyboard);
}

} // namespace

void CTaskKeyManager::Disable(unsigned long keyClass, int block, int /*flag*/)
{
    switch (CurrentGuard()) {
    case KeyGuard::Grab:
        break;
    case KeyGuard::None:
        return;
    case KeyGuard::Kiosk:
        if (!g_toldKiosk) {
            g_toldKiosk = true;
            qCInfo(lcKiosk).noquote()
                << QStringLiteral("the %1 kiosk compositor keeps the child in: it shows the browser alone and"
                                  " passes it every key, so no keyboard grab is needed")
                       .arg(QLatin1String(kKioskCompositor));
        }
        return;
    case KeyGuard::Unguarded:
        if (!g_toldUnsupported) {
            g_toldUnsupported = true;
            const QString platform = QGuiApplication::platformName();
            if (isWaylandPlatform(platform)) {
                const QString compositor = currentCompositor();
                qCWarning(lcTaskKeys).noquote()
                    << QStringLiteral("the task keys cannot be blocked under Wayland (compositor: %1): no program"
                                      " can hold the keyboard there; the children's session lorvane-kids-session"
                                      " runs the browser under the %2 kiosk compositor, which keeps the child in")
                           .arg(compositor.isEmpty() ? QStringLiteral("unknown") : compositor,
                                QLatin1String(kKioskCompositor));
            } else {
                qCWarning(lcTaskKeys).noquote()
                    << "the task keys cannot be blocked on the" << platform << "platform";
            }
        }
        return;
    }
    if (block)
        g_blockedClasses |= keyClass;
    else
        g_blockedClasses &= ~keyClass;

    if (g_blockedClasses) {
        keeper()->Start();
        holdKeyboard();
    } else {
        keeper()->Stop();
        if (g_held) {
            ungrabKeyboard();
            g_held = false;
        }
    }
}

bool CTaskKeyManager::IsKeyboardHeld()
{
    if (!g_held)
        return false;
    if (!anyClientHoldsKeyboard()) {
        g_held = false;
        qCDebug(lcTaskKeys) << "the keyboard grab was lost";
        if (g_blockedClasses)
            keeper()->RestoreSoon();
    }
    return g_held;
}

void CTaskKeyManager::SetRegrabEnabled(bool enabled)
{
    g_regrabEnabled = enabled;
}

CTaskKeyManager::KeyGuard CTaskKeyManager::GuardFor(const QString& platform, const QString& compositor)
{
    if (platform == QLatin1String("xcb"))
        return KeyGuard::Grab;
    if (platform == QLatin1String("offscreen"))
        return KeyGuard::None;
    if (isWaylandPlatform(platform))
        return compositor == QLatin1String(kKioskCompositor) ? KeyGuard::Kiosk : KeyGuard::Unguarded;
    return KeyGuard::Unguarded;
}

QString CTaskKeyManager::WaylandCompositor()
{
    // Where the Wayland client library itself would connect.
    QString path = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (path.isEmpty())
        path = QStringLiteral("wayland-0");
    if (!QDir::isAbsolutePath(path)) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtime.isEmpty()) {
            qCWarning(lcTaskKeys) << "XDG_RUNTIME_DIR is not set: cannot tell which Wayland compositor runs";
            return {};
        }
        path = runtime + QLatin1Char('/') + path;
    }
    const QByteArray native = QFile::encodeName(path);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (native.size() >= qsizetype(sizeof address.sun_path)) {
        qCWarning(lcTaskKeys) << "the Wayland socket path is too long to connect to:" << path;
        return {};
    }
    std::memcpy(address.sun_path, native.constData(), native.size());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        qCWarning(lcTaskKeys).noquote() << "cannot open a socket to ask for the Wayland compositor:"
                                        << strerror(errno);
        return {};
    }
    // The credentials of a connected local socket name the process listening on it.
    ucred peer {};
    socklen_t size = sizeof peer;
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int connectError = errno;
    const bool known = connected && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && peer.pid > 0;
    ::close(fd);
    if (!connected) {
        qCWarning(lcTaskKeys).noquote()
            << QStringLiteral("cannot reach the Wayland compositor at %1: %2").arg(path, strerror(connectError));
        return {};
    }
    if (!known) {
        qCWarning(lcTaskKeys).noquote() << "the Wayland compositor at" << path << "does not tell its process";
        return {};
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(peer.pid));
    if (!comm.open(QIODevice::ReadOnly)) {
        qCWarning(lcTaskKeys).noquote()
            << QStringLiteral("cannot read the name of the Wayland compositor's process %1: %2")
                   .arg(peer.pid)
                   .arg(comm.errorString());
        return {};
    }
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

CTaskKeyManager::KeyGuard CTaskKeyManager::CurrentGuard()
{
    static const KeyGuard guard = GuardFor(QGuiApplication::platformName(), currentCompositor());
    return guard;
}
