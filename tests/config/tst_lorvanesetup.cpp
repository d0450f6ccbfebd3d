#include "configmanager.h"
#include "isolatedenvironment.h"
#include "md5a.h"
#include "paths.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Run {
    int exitCode;
    QString out;
    QString err;
};

Run runWithInput(const QByteArray& input)
{
    QProcess p;
    p.start(QStringLiteral(LORVANE_SETUP), {});
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(30000))
        return {-1, {}, QStringLiteral("timed out")};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray storedHash()
{
    CConfigManager c;
    c.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
    return c.LoadConfigFromFile() && c.m_record.m_bPasswordSet == 1 ? QByteArray(c.m_record.m_szPassword) : QByteArray();
}

// Reads what the terminal shows until `marker` appears or time runs out.
QByteArray readUntil(int fd, const QByteArray& marker, QByteArray& seen)
{
    QElapsedTimer t;
    t.start();
    while (!seen.contains(marker) && t.elapsed() < 20000) {
        pollfd p {fd, POLLIN, 0};
        if (::poll(&p, 1, 200) > 0) {
            char buf[512];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            seen.append(buf, n);
        }
    }
    return seen;
}

} // namespace

class TestLorvaneSetup : public QObject
{
    Q_OBJECT

private slots:
    void fromAPipe_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("matching") << QByteArray("s3cret\ns3cret\n") << 0 << "" << CMd5A().MDString("s3cret");
        QTest::newRow("windows line endings") << QByteArray("s3cret\r\ns3cret\r\n") << 0 << "" << CMd5A().MDString("s3cret");
        QTest::newRow("chinese") << QByteArray("爸爸妈妈\n爸爸妈妈\n") << 0 << "" << CMd5A().MDString("爸爸妈妈");
        QTest::newRow("blanks kept") << QByteArray(" a b \n a b \n") << 0 << "" << CMd5A().MDString(" a b ");
        QTest::newRow("mismatch") << QByteArray("one\ntwo\n") << 1 << "两次密码不相同!" << QByteArray();
        QTest::newRow("second missing") << QByteArray("one\n") << 1 << "两次密码不相同!" << QByteArray();
        QTest::newRow("empty") << QByteArray("\n\n") << 1 << "密码不能为空!" << QByteArray();
        QTest::newRow("no input") << QByteArray() << 1 << "密码不能为空!" << QByteArray();
        QTest::newRow("too long") << (QByteArray(300, 'x') + "\n" + QByteArray(300, 'x') + "\n") << 1 << "太长"
                                  << QByteArray();
    }
    void fromAPipe()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QByteArray, stored);
        IsolatedEnvironment env;
        const Run r = runWithInput(input);
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(storedHash(), stored);
        if (exitCode == 0)
            QVERIFY2(r.out.contains(GetConfigerPathName()), qPrintable(r.out));
        else
            QVERIFY2(r.err.contains(message), qPrintable(r.err));
    }

    void refusalKeepsAnExistingPassword()
    {
        IsolatedEnvironment env;
        QCOMPARE(runWithInput("first\nfirst\n").exitCode, 0);
        QCOMPARE(runWithInput("new\nother\n").exitCode, 1);
        QCOMPARE(storedHash(), CMd5A().MDString("first"));
    }

    void unwritableConfigurationIsReported()
    {
        IsolatedEnvironment env;
        // A folder where the file should be: nothing can be written there.
        QVERIFY(QDir().mkpath(GetConfigerPathName()));
        const Run r = runWithInput("pw\npw\n");
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.contains(GetConfigerPathName()), qPrintable(r.err));
    }

    void fromATerminalWithoutEcho()
    {
        IsolatedEnvironment env;
        int master = -1;
        const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
        QVERIFY(pid >= 0);
        if (pid == 0) {
            ::execl(LORVANE_SETUP, LORVANE_SETUP, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        QByteArray screen;
        readUntil(master, "请输入家长密码: ", screen);
        QVERIFY(::write(master, "tty-pass\n", 9) == 9);
        readUntil(master, "请再输入一次: ", screen);
        QVERIFY(::write(master, "tty-pass\n", 9) == 9);
        readUntil(master, "配置文件", screen);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ::close(master);

        QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 0, screen.constData());
        QVERIFY2(!screen.contains("tty-pass"), screen.constData()); // the password was never shown
        QCOMPARE(storedHash(), CMd5A().MDString("tty-pass"));
    }
};

QTEST_GUILESS_MAIN(TestLorvaneSetup)
#include "tst_lorvanesetup.moc"
