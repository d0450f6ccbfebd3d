// Puts the shipped skins on a running browser frame in turn and prints the median time
// from reading the skin definition to the end of the frame's repaint, with the side bar
// shown, as "skin_switch_ms: X".
#include "browserconfig.h"
#include "browserdata.h"
#include "configmanager.h"
#include "inioperater.h"
#include "isolatedenvironment.h"
#include "mainframe.h"
#include "paths.h"
#include "skinfiles.h"

#include <pellora/surfacemanager.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kRuns = 60;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void setDefault(const char* name, const QByteArray& value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

} // namespace

int main(int argc, char* argv[])
{
    // A real X server when there is one (xvfb-run): painting to a real window is what counts.
    setDefault("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb");
    setDefault("QTWEBENGINE_DISABLE_SANDBOX", "1");
    setDefault("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking --no-proxy-server");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    IsolatedEnvironment env;
    BrowserData::SetDataBasePath(GetDataBasePathName());
    CConfigManager& config = BrowserConfig();
    std::memset(&config.m_record, 0, sizeof config.m_record);
    config.SetDefaultConfig();
    std::strcpy(config.m_record.m_szHomePage, "about:blank");

    QStringList skins;
    const CINIOperater list(SkinFiles::SkinListPath());
    for (const QString& id : list.ReadSections())
        skins << SkinFiles::SkinDefinition(list.ReadString(id, QStringLiteral("INI_FILE")));
    if (skins.size() < 2) {
        std::fprintf(stderr, "bench_skin: fewer than two skins in %s\n", qPrintable(SkinFiles::SkinListPath()));
        return 1;
    }
    Pellora::CSurfaceManager::LoadFromFile(skins.first());

    CMainFrame frame;
    frame.show();
    if (!QTest::qWaitForWindowExposed(&frame))
        return 1;
    frame.OpenFirstPage();
    frame.ToggleWorkspaceBar();
    QTest::qWait(1000);

    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const QString& skin = skins.at((run + 1) % skins.size());
        QElapsedTimer timer;
        timer.start();
        frame.ApplySkin(skin);
        // What the change set off (new layouts, the page's activation) runs too.
        QCoreApplication::sendPostedEvents();
        frame.repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        QCoreApplication::processEvents();
    }
    // The first time each skin goes on, its pictures are read from disk for the first time.
    const std::vector<double> first(times.begin(), times.begin() + std::min<qsizetype>(skins.size(), kRuns));
    std::printf("skin_switch_ms: %.1f\n", median(times));
    std::printf("skin_switch_first_ms: %.1f\n", *std::max_element(first.begin(), first.end()));
    return 0;
}
