#include "xdotool.h"

#include <QProcess>
#include <QtTest>

namespace XDoTool {

namespace {
bool finish(QProcess& p)
{
    if (!p.waitForStarted())
        return false;
    if (!QTest::qWaitFor([&p] { return p.state() == QProcess::NotRunning; }, 15000)) {
        p.kill();
        p.waitForFinished();
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}
} // namespace

bool Run(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    return finish(p);
}

QString Output(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!finish(p))
        return QString();
    return QString::fromLatin1(p.readAllStandardOutput()).trimmed();
}

QStringList At(const QPoint& p)
{
    return {"mousemove", QString::number(p.x()), QString::number(p.y()), "sleep", "0.15"};
}

bool Click(const QPoint& p, int button, int repeat)
{
    return Run(At(p) + QStringList{"click", "--repeat", QString::number(repeat), "--delay", "80",
                                   QString::number(button)});
}

} // namespace XDoTool
