#include "isolatedenvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

// Under a real X server: while the browser holds the keyboard, another program's
// window gets no keys; once it lets go, or is killed, keys reach it again.
class TestTaskKeys : public QObject
{
    Q_OBJECT

    QProcess m_probe;
    QByteArray m_probeOutput;

    static bool waitForLine(QProcess& p, const QByteArray& line, QByteArray* seen = nullptr)
    {
        QByteArray all;
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 20000) {
            p.waitForReadyRead(100);
            all += p.readAllStandardOutput();
            if (all.contains(line)) {
                if (seen)
                    *seen += all;
                return true;
            }
        }
        if (seen)
            *seen += all;
        return false;
    }

    static void typeKey(const char* key)
    {
        QProcess::execute("xdotool", {"key", key});
    }

    // Focuses the probe's window and sends `key`; true when the probe saw it.
    bool probeGets(const char* key, const char* text)
    {
        QProcess::execute("xdotool", {"search", "--sync", "--name", "lorvane-keyprobe", "windowfocus", "--sync"});
        typeKey(key);
        QByteArray seen;
        // Absence can only be shown by waiting a moment: a delivered key arrives well within it.
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 1500) {
            m_probe.waitForReadyRead(100);
            seen += m_probe.readAllStandardOutput();
            if (seen.contains(QByteArray("key ") + text))
                return true;
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            QSKIP("needs an X server");
        m_probe.start(QCoreApplication::applicationDirPath() + "/lorvane_keyprobe", {});
        QVERIFY(waitForLine(m_probe, "ready"));
        QVERIFY2(probeGets("a", "a"), "keys reach the probe before anything is blocked");
    }

    void cleanupTestCase()
    {
        m_probe.kill();
        m_probe.waitForFinished();
    }

    void heldThenReleased()
    {
        QProcess grabber;
        grabber.start(QCoreApplication::applicationDirPath() + "/lorvane_keygrabber", {});
        QVERIFY(waitForLine(grabber, "held"));
        QVERIFY(!probeGets("b", "b"));
        QVERIFY(!probeGets("alt+Tab", "\t"));
        grabber.write("release\n");
        QVERIFY(waitForLine(grabber, "released"));
        QVERIFY(probeGets("c", "c"));
        grabber.kill();
        grabber.waitForFinished();
    }

    void killedBrowserLeavesNothingHeld()
    {
        IsolatedEnvironment env;
        QProcess browser;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        browser.setProcessEnvironment(e);
        browser.start(QCoreApplication::applicationDirPath() + "/Lorvane", {});
        QVERIFY(browser.waitForStarted());
        QVERIFY(QProcess::execute("xdotool", {"search", "--sync", "--name", "^Lorvane$"}) == 0);
        QVERIFY(!probeGets("d", "d"));
        browser.kill();
        browser.waitForFinished();
        QVERIFY(probeGets("e", "e"));
    }
};

QTEST_GUILESS_MAIN(TestTaskKeys)
#include "tst_taskkeys.moc"
