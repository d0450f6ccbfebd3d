// bench_startup: how long the browser takes from process start to its first page's
// load, and how much memory it and its web processes take with 1 and with 5 tabs,
// each against a minimal program with one web view per tab. Both programs run in
// turn, offscreen, on a page served from 127.0.0.1 that reports its own load.

#include "configmanager.h"
#include "testhttpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Program {
    const char* name;
    QString binary;
    bool configured; // reads the address from its configuration instead of its arguments
};

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    const qsizetype n = v.size();
    return n == 0 ? 0 : (n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2);
}

// Summed proportional set size of the process and every process below it, in KiB.
qint64 treePssKiB(qint64 root)
{
    QHash<qint64, QList<qint64>> children;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray s = stat.readAll();
        const qsizetype close = s.lastIndexOf(')');
        const QList<QByteArray> fields = s.mid(close + 2).split(' ');
        if (fields.size() > 1)
            children[fields[1].toLongLong()].append(pid);
    }
    qint64 total = 0;
    QList<qint64> todo{root};
    while (!todo.isEmpty()) {
        const qint64 pid = todo.takeLast();
        todo += children.value(pid);
        QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
        if (!rollup.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Pss:"))
                total += line.mid(4).trimmed().split(' ').first().toLongLong();
        }
    }
    return total;
}

class Bench
{
public:
    Bench()
    {
        m_server.listen();
        m_server.addTitledPage("/home", "home", "<p>home</p><script>window.onload=function(){fetch('/loaded');};</script>");
        QString opener = "<p>five</p><script>window.onload=function(){fetch('/loaded');";
        for (int i = 0; i < 4; ++i)
            opener += QStringLiteral("window.open('/tab%1');").arg(i);
        opener += "};</script>";
        m_server.addTitledPage("/five", "five", opener);
        for (int i = 0; i < 4; ++i)
            m_server.addTitledPage(QStringLiteral("/tab%1").arg(i), "tab",
                                   "<p>tab</p><script>window.onload=function(){fetch('/loaded');};</script>");
        m_server.addPage("/loaded", "ok", "text/plain");
    }

    // Milliseconds from start to `loads` reported loads; the process is left running.
    double start(const Program& p, const QString& path, int loads, QProcess& process)
    {
        const QUrl url = m_server.url(path);
        QTemporaryDir* home = new QTemporaryDir; // lives as long as the process
        QObject::connect(&process, &QObject::destroyed, [home] { delete home; });
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QTWEBENGINE_DISABLE_SANDBOX", "1");
        env.insert("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking");
        env.insert("XDG_CONFIG_HOME", home->path() + "/config");
        env.insert("XDG_DATA_HOME", home->path() + "/data");
        env.insert("XDG_CACHE_HOME", home->path() + "/cache");
        QStringList args;
        if (p.configured) {
            QDir().mkpath(home->path() + "/config/lorvane");
            CConfigManager c;
            c.SetConfigPathName((home->path() + "/config/lorvane/lorvane.cfg").toUtf8().constData());
            c.SetDefaultConfig();
            std::strcpy(c.m_record.m_szHomePage, url.toString().toUtf8().constData());
            c.SaveConfigToFile();
        } else {
            args << url.toString();
        }
        process.setProcessEnvironment(env);
        process.setStandardErrorFile(QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        const int before = int(m_server.requestedPaths().count("/loaded"));
        QElapsedTimer t;
        t.start();
        process.start(p.binary, args);
        while (m_server.requestedPaths().count("/loaded") < before + loads && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return t.nsecsElapsed() / 1e6;
    }

    static void stop(QProcess& process)
    {
        process.kill();
        process.waitForFinished(10000);
    }

private:
    TestHttpServer m_server;
};

qint64 settledPss(QProcess& process)
{
    // Let the pages finish painting before reading the memory.
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 1500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return treePssKiB(process.processId());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const Program programs[2] = {{"lorvane", bin + "/Lorvane", true}, {"minimal", bin + "/bench_minimal_browser", false}};
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    Bench bench;
    QList<double> startMs[2];
    QList<double> pss1[2];
    QList<double> pss5[2];
    for (int r = 0; r < runs; ++r) {
        for (int i = 0; i < 2; ++i) {
            {
                QProcess p;
                startMs[i].append(bench.start(programs[i], "/home", 1, p));
                pss1[i].append(settledPss(p) / 1024.0);
                Bench::stop(p);
            }
            {
                QProcess p;
                bench.start(programs[i], "/five", 5, p);
                pss5[i].append(settledPss(p) / 1024.0);
                Bench::stop(p);
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        std::printf("startup_ms_%s: %.1f ms\n", programs[i].name, median(startMs[i]));
        std::printf("pss_1tab_%s: %.1f MiB\n", programs[i].name, median(pss1[i]));
        std::printf("pss_5tabs_%s: %.1f MiB\n", programs[i].name, median(pss5[i]));
    }
    std::printf("startup_ratio: %.2f\n", median(startMs[0]) / median(startMs[1]));
    std::printf("pss_ratio_1tab: %.2f\n", median(pss1[0]) / median(pss1[1]));
    std::printf("pss_ratio_5tabs: %.2f\n", median(pss5[0]) / median(pss5[1]));
    return 0;
}
