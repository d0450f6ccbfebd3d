// Takes one snapshot after another of a local page and prints one "name: value" line
// per figure: the median time from Start to the first picture, and the number of
// pictures that came out all white.
#include "sitesnapshot.h"
#include "testhttpserver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 50;
constexpr int kRunTimeoutMs = 20000;

const char kPage[] =
    "<!DOCTYPE html><html><head><meta charset='utf-8'><title>bench</title></head><body style='margin:0'>"
    "<div style='position:fixed;left:0;top:0;width:100%;height:60px;background:#00a000'></div>"
    "<div style='position:fixed;left:0;top:60px;width:50%;bottom:0;background:#d02020'></div>"
    "<div style='position:fixed;left:50%;top:60px;right:0;bottom:0;background:#2020d0'></div>"
    "<p style='position:relative;top:80px;font:20px sans-serif'>Lorvane</p></body></html>";

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

bool allWhite(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

void setDefault(const char* name, const QByteArray& value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

} // namespace

int main(int argc, char* argv[])
{
    // The same headless set-up the web tests run under.
    setDefault("QT_QPA_PLATFORM", "offscreen");
    setDefault("QTWEBENGINE_DISABLE_SANDBOX", "1");
    setDefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --no-proxy-server");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    TestHttpServer server;
    if (!server.listen()) {
        std::fprintf(stderr, "bench_snapshot: cannot listen on 127.0.0.1\n");
        return 1;
    }
    server.addPage(QStringLiteral("/page"), kPage);

    std::vector<double> times;
    int blank = 0;
    int missed = 0;
    // A fresh snapshot object per run, as each add or edit dialog makes its own.
    for (int run = 0; run < kRuns; ++run) {
        CSiteSnapshot snapshot;
        QEventLoop loop;
        QElapsedTimer timer;
        double elapsedMs = -1;
        QImage picture;
        QObject::connect(&snapshot, &CSiteSnapshot::captured, &loop, [&](const QImage& captured) {
            if (elapsedMs < 0) {
                elapsedMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
                picture = captured;
            }
            loop.quit();
        });
        QObject::connect(&snapshot, &CSiteSnapshot::finishedLoading, &loop, &QEventLoop::quit);
        QTimer::singleShot(kRunTimeoutMs, &loop, &QEventLoop::quit);
        timer.start();
        snapshot.Start(server.url(QStringLiteral("/page")).toString());
        loop.exec();
        if (elapsedMs < 0) {
            ++missed;
            continue;
        }
        times.push_back(elapsedMs);
        if (allWhite(picture))
            ++blank;
    }

    std::printf("snapshot_ms: %.1f\n", times.empty() ? -1.0 : median(times));
    std::printf("snapshot_blank: %d\n", blank);
    if (missed)
        std::printf("snapshot_missed: %d\n", missed);
    return missed ? 1 : 0;
}
