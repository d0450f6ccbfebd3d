#include "isolatedenvironment.h"
#include "mainframe.h"
#include "screencovers.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <cstdlib>
#include <cstring>
#include <sys/uio.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace {

// An X server of the test's own whose one X screen is split into monitors, the way a
// desktop with several monitors looks to programs. Xvfb's own several screens do not
// do: with "+xinerama" it lays every screen at (0, 0), one over the other, and Qt
// (which asks RandR for monitors) sees one screen; so the monitors are set through
// RandR 1.5, which also feeds Xinerama.
class MonitorServer
{
public:
    ~MonitorServer()
    {
        if (m_connection)
            xcb_disconnect(m_connection);
        m_server.kill();
        m_server.waitForFinished();
    }

    QString Display() const { return m_display; }

    // Starts the server with one X screen of `size`, showing as one monitor.
    QString Start(const QSize& size)
    {
        // -noreset: the monitors would go with a server reset when the last client leaves.
        m_server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-noreset", "-nolisten", "tcp", "-screen", "0",
                                                QStringLiteral("%1x%2x24").arg(size.width()).arg(size.height())});
        if (!m_server.waitForStarted())
            return QStringLiteral("Xvfb does not start");
        QByteArray number;
        const auto toldOrEnded = [&] {
            number += m_server.readAllStandardOutput();
            return number.contains('\n') || m_server.state() != QProcess::Running;
        };
        if (!QTest::qWaitFor(toldOrEnded, 20000) || !number.contains('\n'))
            return QStringLiteral("Xvfb told no display number");
        m_display = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
        m_connection = xcb_connect(m_display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(m_connection))
            return QStringLiteral("cannot connect to ") + m_display;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;

        xcb_query_extension_reply_t* ext =
            xcb_query_extension_reply(m_connection, xcb_query_extension(m_connection, 5, "RANDR"), nullptr);
        const bool present = ext && ext->present;
        m_randr = ext ? ext->major_opcode : 0;
        free(ext);
        if (!present)
            return QStringLiteral("the server has no RandR");
        free(request(kQueryVersion, {1, 5}));
        const QList<Monitor> monitors = getMonitors();
        if (monitors.size() != 1 || monitors[0].outputs.isEmpty())
            return QStringLiteral("the server does not start with one monitor of one output");
        m_output = monitors[0].outputs.first();
        return QString();
    }

    // Sets (or adds) monitor `number` at `place`. The primary one takes the server's one
    // output, and with it the place of the server's own monitor.
    QString SetMonitor(int number, const QRect& place, bool primary)
    {
        const xcb_atom_t name = monitorName(number);
        QList<uint32_t> body = {m_root,
                                name,
                                uint32_t(primary ? 1 : 0) | (uint32_t(primary ? 1 : 0) << 16),
                                uint32_t(uint16_t(place.x())) | (uint32_t(uint16_t(place.y())) << 16),
                                uint32_t(place.width()) | (uint32_t(place.height()) << 16),
                                uint32_t(place.width() / 4),
                                uint32_t(place.height() / 4)};
        if (primary)
            body.append(m_output);
        if (!name || !checked(kSetMonitor, body))
            return QStringLiteral("the server refuses monitor ") + QString::number(number);
        return QString();
    }

    QString RemoveMonitor(int number)
    {
        const xcb_atom_t name = monitorName(number);
        if (!name || !checked(kDeleteMonitor, {m_root, name}))
            return QStringLiteral("the server keeps monitor ") + QString::number(number);
        return QString();
    }

    // The places of the monitors the server has now, left to right.
    QList<QRect> Monitors()
    {
        QList<QRect> places;
        for (const Monitor& m : getMonitors())
            places.append(m.geometry);
        std::sort(places.begin(), places.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
        return places;
    }

private:
    static constexpr uint8_t kQueryVersion = 0;
    static constexpr uint8_t kGetMonitors = 42;
    static constexpr uint8_t kSetMonitor = 43;
    static constexpr uint8_t kDeleteMonitor = 44;

    xcb_atom_t monitorName(int number)
    {
        const QByteArray name = "LORVANE-" + QByteArray::number(number);
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, uint16_t(name.size()), name.constData()), nullptr);
        const xcb_atom_t atom = reply ? reply->atom : 0;
        free(reply);
        return atom;
    }

    struct Monitor {
        QRect geometry;
        QList<uint32_t> outputs;
    };

    // One RandR request built by hand: the extension's client headers are not needed
    // for these three requests.
    unsigned send(uint8_t minor, const QList<uint32_t>& body, bool hasReply)
    {
        QList<uint32_t> words;
        words.append(uint32_t(m_randr) | (uint32_t(minor) << 8) | (uint32_t(body.size() + 1) << 16));
        words.append(body);
        iovec parts[3]; // xcb uses the two before the request itself
        parts[2].iov_base = words.data();
        parts[2].iov_len = size_t(words.size()) * 4;
        xcb_protocol_request_t info = {1, nullptr, 0, uint8_t(hasReply ? 0 : 1)};
        return xcb_send_request(m_connection, XCB_REQUEST_RAW | XCB_REQUEST_CHECKED, parts + 2, &info);
    }

    uint8_t* request(uint8_t minor, const QList<uint32_t>& body)
    {
        xcb_generic_error_t* error = nullptr;
        auto* reply = static_cast<uint8_t*>(xcb_wait_for_reply(m_connection, send(minor, body, true), &error));
        free(error);
        return reply;
    }

    bool checked(uint8_t minor, const QList<uint32_t>& body)
    {
        xcb_generic_error_t* error = xcb_request_check(m_connection, {send(minor, body, false)});
        free(error);
        return !error;
    }

    QList<Monitor> getMonitors()
    {
        QList<Monitor> out;
        uint8_t* reply = request(kGetMonitors, {m_root, 1});
        if (!reply)
            return out;
        uint32_t count;
        std::memcpy(&count, reply + 12, 4);
        const uint8_t* p = reply + 32;
        for (uint32_t i = 0; i < count; ++i) {
            uint16_t outputs, w, h;
            int16_t x, y;
            std::memcpy(&outputs, p + 6, 2);
            std::memcpy(&x, p + 8, 2);
            std::memcpy(&y, p + 10, 2);
            std::memcpy(&w, p + 12, 2);
            std::memcpy(&h, p + 14, 2);
            Monitor m{QRect(x, y, w, h), {}};
            for (int o = 0; o < outputs; ++o) {
                uint32_t id;
                std::memcpy(&id, p + 24 + 4 * o, 4);
                m.outputs.append(id);
            }
            out.append(m);
            p += 24 + 4 * outputs;
        }
        free(reply);
        return out;
    }

    QProcess m_server;
    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    uint32_t m_output = 0;
    uint8_t m_randr = 0;
};

} // namespace

// The frame takes the primary screen, and every other screen gets a cover: nowhere on
// any monitor does the pointer reach the desktop.
class TestScreens : public QObject
{
    Q_OBJECT

    static QByteArray run(const QProcessEnvironment& env, const QString& program, const QStringList& args,
                          int* exitCode = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(program, args);
        p.waitForFinished(30000);
        if (exitCode)
            *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        return p.readAllStandardOutput();
    }

    // The program owning the top window under `point`, with that window's title.
    static QPair<qint64, QString> windowAt(const QProcessEnvironment& env, const QPoint& point)
    {
        run(env, "xdotool", {"mousemove", QString::number(point.x()), QString::number(point.y())});
        QByteArray window;
        for (const QByteArray& line : run(env, "xdotool", {"getmouselocation", "--shell"}).split('\n')) {
            if (line.startsWith("WINDOW="))
                window = line.mid(7);
        }
        if (window.isEmpty())
            return {-1, QString()};
        int code = 0;
        const QByteArray pid = run(env, "xdotool", {"getwindowpid", QString::fromLatin1(window)}, &code).trimmed();
        const QString name =
            QString::fromUtf8(run(env, "xdotool", {"getwindowname", QString::fromLatin1(window)}).trimmed());
        return {code == 0 ? pid.toLongLong() : -1, name};
    }

    static void startServer(MonitorServer& server, const QSize& size)
    {
        QVERIFY2(!QStandardPaths::findExecutable("Xvfb").isEmpty(), "needs Xvfb");
        const QString failure = server.Start(size);
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
    }

    // The test's own environment (an isolated one, when set up first) on the server.
    static QProcessEnvironment displayEnvironment(const MonitorServer& server)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", server.Display());
        env.insert("QT_QPA_PLATFORM", "xcb");
        return env;
    }

    static QString screenLine(const QRect& r, bool primary)
    {
        return QStringLiteral("screen %1 %2 %3 %4%5")
            .arg(r.x())
            .arg(r.y())
            .arg(r.width())
            .arg(r.height())
            .arg(primary ? " primary" : "");
    }

    // The screens that a Qt program sees there, as screenLine() gives them, sorted.
    static QStringList qtScreens(const QProcessEnvironment& env)
    {
        QStringList lines = QString::fromLatin1(
                                run(env, QCoreApplication::applicationDirPath() + "/lorvane_keyprobe", {"--screens"}))
                                .split('\n', Qt::SkipEmptyParts);
        lines.sort();
        return lines;
    }

    static void startBrowser(QProcess& browser, const QProcessEnvironment& env)
    {
        browser.setProcessEnvironment(env);
        browser.start(QCoreApplication::applicationDirPath() + "/Lorvane", {});
        QVERIFY(browser.waitForStarted());
        int found = -1;
        run(env, "xdotool", {"search", "--sync", "--name", "^Lorvane$"}, &found);
        QCOMPARE(found, 0);
    }

private slots:
    void frameGeometry_data()
    {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("frame");
        QTest::newRow("primary at (0, 0)") << QRect(0, 0, 1280, 800) << QRect(0, 0, 1283, 803);
        QTest::newRow("primary at (800, 0)") << QRect(800, 0, 1024, 768) << QRect(800, 0, 1027, 771);
        QTest::newRow("primary below another") << QRect(0, 600, 640, 480) << QRect(0, 600, 643, 483);
        QTest::newRow("primary left of the origin") << QRect(-1920, 0, 1920, 1080) << QRect(-1920, 0, 1923, 1083);
    }

    void frameGeometry()
    {
        QFETCH(QRect, screen);
        QFETCH(QRect, frame);
        QCOMPARE(CMainFrame::FrameGeometry(screen), frame);
    }

    void coverAreas_data()
    {
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<int>("primary");
        QTest::addColumn<QList<int>>("covered");
        QTest::addColumn<QList<QRegion>>("cutOuts");

        QTest::newRow("one screen") << QList<QRect>{{0, 0, 1280, 800}} << 0 << QList<int>{} << QList<QRegion>{};
        // The frame's 3 extra pixels reach into the screen on the right: the cover leaves them.
        QTest::newRow("second screen on the right")
            << QList<QRect>{{0, 0, 800, 600}, {800, 0, 640, 480}} << 0 << QList<int>{1}
            << QList<QRegion>{QRegion(0, 0, 3, 480)};
        QTest::newRow("primary on the right")
            << QList<QRect>{{0, 0, 640, 480}, {640, 0, 800, 600}} << 1 << QList<int>{0} << QList<QRegion>{QRegion()};
        QTest::newRow("second screen below")
            << QList<QRect>{{0, 0, 800, 600}, {0, 600, 800, 600}} << 0 << QList<int>{1}
            << QList<QRegion>{QRegion(0, 0, 800, 3)};
        QTest::newRow("mirrored screen") << QList<QRect>{{0, 0, 1024, 768}, {0, 0, 1024, 768}} << 0 << QList<int>{}
                                         << QList<QRegion>{};
        QTest::newRow("smaller screen inside the primary")
            << QList<QRect>{{0, 0, 1920, 1080}, {0, 0, 1024, 768}} << 0 << QList<int>{} << QList<QRegion>{};
        QTest::newRow("three screens, primary in the middle")
            << QList<QRect>{{0, 0, 1024, 768}, {1024, 0, 1920, 1080}, {2944, 0, 1280, 1024}} << 1
            << QList<int>{0, 2} << QList<QRegion>{QRegion(), QRegion(0, 0, 3, 1024)};
        QTest::newRow("empty screen ignored")
            << QList<QRect>{{0, 0, 800, 600}, QRect()} << 0 << QList<int>{} << QList<QRegion>{};
    }

    void coverAreas()
    {
        QFETCH(QList<QRect>, screens);
        QFETCH(int, primary);
        QFETCH(QList<int>, covered);
        QFETCH(QList<QRegion>, cutOuts);

        const QList<CScreenCovers::Area> areas =
            CScreenCovers::CoverAreas(screens, CMainFrame::FrameGeometry(screens[primary]));
        QCOMPARE(areas.size(), covered.size());
        for (int i = 0; i < areas.size(); ++i) {
            QCOMPARE(areas[i].screen, covered[i]);
            QCOMPARE(areas[i].geometry, screens[covered[i]]);
            QCOMPARE(areas[i].cutOut, cutOuts[i]);
        }
    }

    void everyScreenCovered_data()
    {
        QTest::addColumn<QList<QRect>>("monitors");
        QTest::addColumn<int>("primary");
        QTest::newRow("primary on the left") << QList<QRect>{{0, 0, 800, 600}, {800, 0, 640, 480}} << 0;
        QTest::newRow("primary on the right") << QList<QRect>{{0, 0, 640, 480}, {640, 0, 800, 600}} << 1;
    }

    void everyScreenCovered()
    {
        QFETCH(QList<QRect>, monitors);
        QFETCH(int, primary);

        MonitorServer server;
        QRect all;
        for (const QRect& m : monitors)
            all |= m;
        startServer(server, QSize(all.right() + 1, all.bottom() + 1));
        for (int i = 0; i < monitors.size(); ++i)
            QCOMPARE(server.SetMonitor(i + 1, monitors[i], i == primary), QString());
        QList<QRect> leftToRight = monitors;
        std::sort(leftToRight.begin(), leftToRight.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
        QCOMPARE(server.Monitors(), leftToRight);

        IsolatedEnvironment isolated;
        const QProcessEnvironment env = displayEnvironment(server);
        // Qt has to see the monitors as screens, or what follows proves nothing.
        QStringList expected;
        for (int i = 0; i < monitors.size(); ++i)
            expected.append(screenLine(monitors[i], i == primary));
        expected.sort();
        QCOMPARE(qtScreens(env), expected);

        QProcess browser;
        startBrowser(browser, env);
        for (int i = 0; i < monitors.size(); ++i) {
            const QString title = i == primary ? QStringLiteral("Lorvane") : QStringLiteral("lorvane-cover");
            QTRY_COMPARE_WITH_TIMEOUT(windowAt(env, monitors[i].center()), qMakePair(browser.processId(), title),
                                      20000);
        }
        browser.kill();
        browser.waitForFinished();
    }

    // A monitor plugged in while the browser runs is covered at once; one unplugged
    // takes its cover with it.
    void coversFollowScreens()
    {
        const QRect first(0, 0, 800, 600);
        const QRect second(800, 0, 640, 480);
        MonitorServer server;
        startServer(server, QSize(1440, 600));
        QCOMPARE(server.SetMonitor(1, first, true), QString());
        IsolatedEnvironment isolated;
        const QProcessEnvironment env = displayEnvironment(server);
        QCOMPARE(qtScreens(env), QStringList{screenLine(first, true)});

        QProcess browser;
        startBrowser(browser, env);
        const auto frame = qMakePair(browser.processId(), QStringLiteral("Lorvane"));
        const auto cover = qMakePair(browser.processId(), QStringLiteral("lorvane-cover"));
        const auto nothing = qMakePair(qint64(-1), QString());
        QTRY_COMPARE_WITH_TIMEOUT(windowAt(env, first.center()), frame, 20000);
        // Beyond the one monitor nothing is shown, so nothing needs covering there.
        QCOMPARE(windowAt(env, second.center()), nothing);

        QCOMPARE(server.SetMonitor(2, second, false), QString());
        QTRY_COMPARE_WITH_TIMEOUT(windowAt(env, second.center()), cover, 20000);
        QCOMPARE(windowAt(env, first.center()), frame);

        QCOMPARE(server.RemoveMonitor(2), QString());
        QTRY_COMPARE_WITH_TIMEOUT(windowAt(env, second.center()), nothing, 20000);
        QCOMPARE(windowAt(env, first.center()), frame);
        browser.kill();
        browser.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(TestScreens)
#include "tst_screens.moc"
