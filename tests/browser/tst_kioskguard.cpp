#include "taskkeymanager.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cstring>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

using KeyGuard = CTaskKeyManager::KeyGuard;

namespace {

// A stand-in compositor: another process, under a name of its own, listening on a local
// socket the way a Wayland compositor does. The browser must name it, not itself.
class Listener
{
public:
    ~Listener() { Stop(); }

    bool Start(const QByteArray& path, const QByteArray& name)
    {
        int ready[2];
        int hold[2];
        if (::pipe(ready) != 0 || ::pipe(hold) != 0)
            return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            // Only plain system calls between fork and _exit.
            ::close(ready[0]);
            ::close(hold[1]);
            ::prctl(PR_SET_NAME, name.constData());
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
            const char ok = (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                             && ::listen(fd, 4) == 0)
                                ? '1'
                                : '0';
            (void)!::write(ready[1], &ok, 1);
            char c;
            (void)!::read(hold[0], &c, 1); // until the test lets go
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(hold[0]);
        m_hold = hold[1];
        char ok = '0';
        const bool told = ::read(ready[0], &ok, 1) == 1;
        ::close(ready[0]);
        return m_pid > 0 && told && ok == '1';
    }

    // Ends the listener; its socket file stays, as a crashed compositor's does.
    void Stop()
    {
        if (m_hold >= 0) {
            ::close(m_hold);
            m_hold = -1;
        }
        if (m_pid > 0) {
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }

private:
    pid_t m_pid = -1;
    int m_hold = -1;
};

// Sets or clears a variable for one test and puts the old value back after it.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const QByteArray& value, bool set)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        if (set)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

} // namespace

class TestKioskGuard : public QObject
{
    Q_OBJECT

private slots:
    void guardFor_data()
    {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("compositor");
        QTest::addColumn<KeyGuard>("guard");

        QTest::newRow("X11 grabs") << "xcb" << "" << KeyGuard::Grab;
        QTest::newRow("X11 grabs whatever compositor is named") << "xcb" << "cage" << KeyGuard::Grab;
        QTest::newRow("Wayland under the kiosk") << "wayland" << "cage" << KeyGuard::Kiosk;
        QTest::newRow("a Wayland plug-in variant under the kiosk") << "wayland-egl" << "cage" << KeyGuard::Kiosk;
        QTest::newRow("Wayland under a desktop compositor") << "wayland" << "kwin_wayland" << KeyGuard::Unguarded;
        QTest::newRow("Wayland, compositor unknown") << "wayland" << "" << KeyGuard::Unguarded;
        QTest::newRow("a name that only starts like the kiosk") << "wayland" << "cage-helper" << KeyGuard::Unguarded;
        QTest::newRow("the kiosk's name in capitals is another program") << "wayland" << "Cage" << KeyGuard::Unguarded;
        QTest::newRow("a platform only named like Wayland") << "waylandish" << "cage" << KeyGuard::Unguarded;
        QTest::newRow("no screen: nothing to guard") << "offscreen" << "" << KeyGuard::None;
        QTest::newRow("another platform cannot block") << "eglfs" << "cage" << KeyGuard::Unguarded;
        QTest::newRow("no platform yet") << "" << "" << KeyGuard::Unguarded;
    }

    void guardFor()
    {
        QFETCH(QString, platform);
        QFETCH(QString, compositor);
        QFETCH(KeyGuard, guard);
        QCOMPARE(CTaskKeyManager::GuardFor(platform, compositor), guard);
    }

    // How the socket is named to the browser; the listener may be missing or gone.
    void waylandCompositor_data()
    {
        QTest::addColumn<QString>("display");     // WAYLAND_DISPLAY; "<unset>", or "<abs>" for the full path
        QTest::addColumn<bool>("runtimeSet");     // whether XDG_RUNTIME_DIR is set
        QTest::addColumn<QString>("socketName");  // the file the listener binds in the runtime folder
        QTest::addColumn<QString>("listenerName"); // the listener's process name; empty for none
        QTest::addColumn<bool>("listenerEnds");   // the listener ends before the browser asks
        QTest::addColumn<QString>("expected");
        QTest::addColumn<KeyGuard>("guard");
        QTest::addColumn<QString>("warning");     // a pattern of the warning said; empty for none

        QTest::newRow("the kiosk on a named display")
            << "wayland-1" << true << "wayland-1" << "cage" << false << "cage" << KeyGuard::Kiosk << "";
        QTest::newRow("another compositor on a named display")
            << "wayland-1" << true << "wayland-1" << "sway" << false << "sway" << KeyGuard::Unguarded << "";
        QTest::newRow("a display given as a full path")
            << "<abs>" << false << "kiosk.sock" << "cage" << false << "cage" << KeyGuard::Kiosk << "";
        QTest::newRow("no display named: wayland-0 as the client library takes it")
            << "<unset>" << true << "wayland-0" << "cage" << false << "cage" << KeyGuard::Kiosk << "";
        QTest::newRow("nothing listens on the named display")
            << "wayland-1" << true << "wayland-2" << "cage" << false << "" << KeyGuard::Unguarded
            << "cannot reach the Wayland compositor at .*/wayland-1: No such file or directory";
        QTest::newRow("a compositor that ended left its socket")
            << "wayland-1" << true << "wayland-1" << "cage" << true << "" << KeyGuard::Unguarded
            << "cannot reach the Wayland compositor at .*/wayland-1: Connection refused";
        QTest::newRow("a relative display without a runtime folder")
            << "wayland-1" << false << "wayland-1" << "cage" << false << "" << KeyGuard::Unguarded
            << "XDG_RUNTIME_DIR is not set";
        QTest::newRow("a path too long for a socket")
            << QString("/" + QString(120, 'x')) << true << "wayland-1" << "cage" << false << "" << KeyGuard::Unguarded
            << "too long";
        QTest::newRow("a plain file where the socket should be")
            << "wayland-1" << true << "plain:wayland-1" << "" << false << "" << KeyGuard::Unguarded
            << "cannot reach the Wayland compositor at .*/wayland-1: Connection refused";
    }

    void waylandCompositor()
    {
        QFETCH(QString, display);
        QFETCH(bool, runtimeSet);
        QFETCH(QString, socketName);
        QFETCH(QString, listenerName);
        QFETCH(bool, listenerEnds);
        QFETCH(QString, expected);
        QFETCH(KeyGuard, guard);
        QFETCH(QString, warning);

        // Short, so the socket path fits however deep the temporary folder lies.
        QTemporaryDir runtime(QStringLiteral("/tmp/kg-XXXXXX"));
        QVERIFY(runtime.isValid());
        Listener listener;
        if (socketName.startsWith("plain:")) {
            QFile plain(runtime.filePath(socketName.mid(6)));
            QVERIFY(plain.open(QIODevice::WriteOnly));
        } else if (!listenerName.isEmpty()) {
            QVERIFY(listener.Start(QFile::encodeName(runtime.filePath(socketName)), listenerName.toUtf8()));
            if (listenerEnds)
                listener.Stop();
        }

        const QString path = display == "<abs>" ? runtime.filePath(socketName) : display;
        ScopedEnv waylandDisplay("WAYLAND_DISPLAY", QFile::encodeName(path), display != "<unset>");
        ScopedEnv runtimeDir("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()), runtimeSet);

        if (warning.isEmpty())
            QTest::failOnWarning(QRegularExpression(".*"));
        else
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        const QString name = CTaskKeyManager::WaylandCompositor();
        QCOMPARE(name, expected);
        QCOMPARE(CTaskKeyManager::GuardFor(QStringLiteral("wayland"), name), guard);
    }
};

QTEST_GUILESS_MAIN(TestKioskGuard)
#include "tst_kioskguard.moc"
