// bench_startup: how long the browser takes from process start to its first page's
// load (and each step of its start), and how much memory it and its web processes
// take with 1, 5 and 20 tabs, each against a minimal program with one web view per
// tab; then the processor time 20 tabs of an animated page take in 10 idle seconds.
// Both programs run in turn, offscreen, on pages served from 127.0.0.1 that report
// their own load.
//
//   bench_startup [start-up runs, 15] [many-tab runs, 3]

#include "configmanager.h"
#include "testhttpserver.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>

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

// A file of /proc/<pid>/, empty when the process has gone.
QByteArray procFile(qint64 pid, const char* name)
{
    QFile file(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The process and every process below it.
QList<qint64> processTree(qint64 root)
{
    QHash<qint64, QList<qint64>> children;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        bool ok = false;
        const qint64 pid = entry.toLongLong(&ok);
        if (!ok)
            continue;
        const QByteArray s = procFile(pid, "stat");
        const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children[fields[1].toLongLong()].append(pid);
    }
    QList<qint64> tree;
    QList<qint64> todo{root};
    while (!todo.isEmpty()) {
        const qint64 pid = todo.takeLast();
        tree.append(pid);
        todo += children.value(pid);
    }
    return tree;
}

// Summed proportional set size of the process tree, in KiB.
qint64 treePssKiB(qint64 root)
{
    qint64 total = 0;
    for (qint64 pid : processTree(root)) {
        for (const QByteArray& line : procFile(pid, "smaps_rollup").split('\n')) {
            if (line.startsWith("Pss:"))
                total += line.mid(4).trimmed().split(' ').first().toLongLong();
        }
    }
    return total;
}

// Processor time of the process tree so far, in milliseconds, with that of the
// children it has already reaped (web processes that ended).
double treeCpuMs(qint64 root)
{
    qint64 ticks = 0;
    for (qint64 pid : processTree(root)) {
        const QByteArray s = procFile(pid, "stat");
        if (s.isEmpty())
            continue;
        const QList<QByteArray> fields = s.mid(s.lastIndexOf(')') + 2).split(' ');
        // utime, stime, cutime, cstime: fields 14 to 17 of the line, 12 to 15 here.
        for (int i = 11; i < 15 && i < fields.size(); ++i)
            ticks += fields[i].toLongLong();
    }
    return ticks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

qint64 monotonicUs()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The start steps from a program's log, in the order logged: each step's name and
// the milliseconds it took after the one before on its thread (the first main step
// after the process was started, the first early step after "begin start").
QList<QPair<QByteArray, double>> startSteps(const QString& log, qint64 startedUs)
{
    QFile file(log);
    QList<QPair<QByteArray, double>> steps;
    if (!file.open(QIODevice::ReadOnly))
        return steps;
    const QByteArray prefix = "lorvane.browser.startup: ";
    QHash<QByteArray, qint64> last{{"main", startedUs}};
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (!line.startsWith(prefix))
            continue;
        QList<QByteArray> words = line.mid(prefix.size()).split(' ');
        // A program that logs no thread logs from its main thread only.
        const bool threadGiven = !words.isEmpty() && !words.last().isEmpty() && !std::isdigit(uchar(words.last()[0]));
        if (words.size() < (threadGiven ? 3 : 2))
            continue;
        const QByteArray thread = threadGiven ? words.takeLast() : QByteArray("main");
        const qint64 at = words.takeLast().toLongLong();
        const QByteArray step = words.join('_');
        const qint64 since = last.value(thread, last.value("begin"));
        steps.append({thread == "main" ? step : thread + "_" + step, (at - since) / 1000.0});
        last[thread] = at;
        if (step == "begin_start")
            last["begin"] = at;
    }
    return steps;
}

// Sleeps until something happens (a request reaches the server, a timer, at most
// 10 ms). Spinning instead would take one of the machine's cores from the programs
// being measured.
void waitForEvents()
{
    QTimer wake;
    wake.start(10);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QString opener(int tabs, const QString& path)
{
    QString html = "<script>window.onload=function(){fetch('/loaded');";
    for (int i = 1; i < tabs; ++i)
        html += QStringLiteral("window.open('%1?%2');").arg(path).arg(i);
    return html + "};</script>";
}

class Bench
{
public:
    Bench()
    {
        m_server.listen();
        const QString reports = "<script>window.onload=function(){fetch('/loaded');};</script>";
        m_server.addTitledPage("/home", "home", "<p>home</p>" + reports);
        m_server.addTitledPage("/tab", "tab", "<p>tab</p>" + reports);
        // A page that keeps drawing: a box moved by a timer, as games and clocks do.
        m_server.addTitledPage("/anim", "anim",
                               "<div id=b style='position:absolute;width:40px;height:40px;background:#f80'></div>"
                               "<script>var x=0;setInterval(function(){x=(x+3)%600;"
                               "document.getElementById('b').style.left=x+'px';},16);</script>"
                                   + reports);
        for (int tabs : {5, 20}) {
            m_server.addTitledPage(QStringLiteral("/tabs%1").arg(tabs), "tabs", "<p>tabs</p>" + opener(tabs, "/tab"));
            m_server.addTitledPage(QStringLiteral("/anims%1").arg(tabs), "anim", "<p>anims</p>" + opener(tabs, "/anim"));
        }
        m_server.addPage("/loaded", "ok", "text/plain");
    }

    // Milliseconds from start to `loads` reported loads; the process is left running.
    // The browser's start steps go to `trace` when one is given.
    double start(const Program& p, const QString& path, int loads, QProcess& process,
                 QList<QPair<QByteArray, double>>* trace = nullptr)
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
        const QString log = home->filePath("stderr.log");
        if (trace)
            env.insert("QT_LOGGING_RULES", "lorvane.browser.startup.debug=true");
        process.setProcessEnvironment(env);
        process.setStandardErrorFile(trace ? log : QProcess::nullDevice());
        process.setStandardOutputFile(QProcess::nullDevice());
        const int before = int(m_server.requestedPaths().count("/loaded"));
        QElapsedTimer t;
        const qint64 startedUs = monotonicUs();
        t.start();
        process.start(p.binary, args);
        while (m_server.requestedPaths().count("/loaded") < before + loads && t.elapsed() < 60000)
            waitForEvents();
        const double ms = t.nsecsElapsed() / 1e6;
        if (trace) {
            // The last step, the first page's load, is written just after it is reported.
            QElapsedTimer wait;
            wait.start();
            do {
                waitForEvents();
                *trace = startSteps(log, startedUs);
            } while ((trace->isEmpty() || trace->last().first != "first_page_loaded") && wait.elapsed() < 5000);
        }
        return ms;
    }

    static void stop(QProcess& process)
    {
        process.kill();
        process.waitForFinished(10000);
    }

private:
    TestHttpServer m_server;
};

// Lets the pages settle (finish painting; hidden tabs go to sleep) for `ms`.
void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        waitForEvents();
}

qint64 settledPss(QProcess& process, int ms = 1500)
{
    settle(ms);
    return treePssKiB(process.processId());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const Program programs[2] = {{"lorvane", bin + "/Lorvane", true}, {"minimal", bin + "/bench_minimal_browser", false}};
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    const int manyRuns = argc > 2 ? std::max(0, std::atoi(argv[2])) : 3;
    // Hidden tabs go to sleep after 3 s; a little more lets the last of them do so.
    const int settleManyMs = 8000;

    Bench bench;
    QList<double> startMs[2];
    QList<double> pss1[2];
    QList<double> pss5[2];
    QList<double> pss1Settled[2];
    QList<double> pss20[2];
    QList<double> idleCpu[2];
    QList<double> idleCpu1[2];
    std::map<QByteArray, QList<double>> stepMs[2];
    QList<QByteArray> stepOrder[2];
    // One start of each first, not counted: it fills the disk cache for both alike.
    for (const Program& program : programs) {
        QProcess p;
        bench.start(program, "/home", 1, p);
        Bench::stop(p);
    }
    for (int r = 0; r < runs; ++r) {
        // Each goes first in every other run: neither always follows the other's exit.
        const int order[2][2] = {{0, 1}, {1, 0}};
        for (int i : order[r % 2]) {
            {
                QProcess p;
                QList<QPair<QByteArray, double>> trace;
                startMs[i].append(bench.start(programs[i], "/home", 1, p, &trace));
                for (const auto& [step, ms] : trace) {
                    if (!stepMs[i].count(step))
                        stepOrder[i].append(step);
                    stepMs[i][step].append(ms);
                }
                pss1[i].append(settledPss(p) / 1024.0);
                Bench::stop(p);
            }
            {
                QProcess p;
                bench.start(programs[i], "/tabs5", 5, p);
                pss5[i].append(settledPss(p) / 1024.0);
                Bench::stop(p);
            }
        }
    }
    for (int r = 0; r < manyRuns; ++r) {
        for (int i = 0; i < 2; ++i) {
            {
                QProcess p;
                bench.start(programs[i], "/home", 1, p);
                pss1Settled[i].append(settledPss(p, settleManyMs) / 1024.0);
                Bench::stop(p);
            }
            {
                QProcess p;
                bench.start(programs[i], "/tabs20", 20, p);
                pss20[i].append(settledPss(p, settleManyMs) / 1024.0);
                Bench::stop(p);
            }
            for (int tabs : {1, 20}) {
                QProcess p;
                bench.start(programs[i], tabs == 1 ? "/anim" : "/anims20", tabs, p);
                settle(settleManyMs);
                const double before = treeCpuMs(p.processId());
                settle(10000);
                (tabs == 1 ? idleCpu1 : idleCpu)[i].append(treeCpuMs(p.processId()) - before);
                Bench::stop(p);
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        for (const QByteArray& step : stepOrder[i])
            std::printf("step_ms_%s_%s: %.1f ms\n", programs[i].name, step.constData(), median(stepMs[i][step]));
        std::printf("startup_ms_%s: %.1f ms (min %.1f, max %.1f over %lld runs)\n", programs[i].name,
                    median(startMs[i]), *std::min_element(startMs[i].begin(), startMs[i].end()),
                    *std::max_element(startMs[i].begin(), startMs[i].end()), qlonglong(startMs[i].size()));
        std::printf("pss_1tab_%s: %.1f MiB\n", programs[i].name, median(pss1[i]));
        std::printf("pss_5tabs_%s: %.1f MiB\n", programs[i].name, median(pss5[i]));
        if (manyRuns > 0) {
            std::printf("pss_20tabs_%s: %.1f MiB (1 tab after as long: %.1f MiB)\n", programs[i].name,
                        median(pss20[i]), median(pss1Settled[i]));
            std::printf("idle_cpu_ms_20tabs_%s: %.0f (1 tab: %.0f)\n", programs[i].name, median(idleCpu[i]),
                        median(idleCpu1[i]));
        }
    }
    std::printf("startup_ratio: %.2f\n", median(startMs[0]) / median(startMs[1]));
    std::printf("pss_ratio_1tab: %.2f\n", median(pss1[0]) / median(pss1[1]));
    std::printf("pss_ratio_5tabs: %.2f\n", median(pss5[0]) / median(pss5[1]));
    if (manyRuns > 0) {
        std::printf("pss_ratio_20tabs_vs_1: %.2f\n", median(pss20[0]) / median(pss1Settled[0]));
        std::printf("pss_ratio_20tabs_vs_1_minimal: %.2f\n", median(pss20[1]) / median(pss1Settled[1]));
        std::printf("idle_cpu_ms_20tabs: %.0f\n", median(idleCpu[0]));
    }
    return 0;
}
