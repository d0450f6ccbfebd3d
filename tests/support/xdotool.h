#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

// The real mouse and keyboard of the X server a test runs under, through xdotool: for
// tests where it matters which window is on top and what the server delivers.
namespace XDoTool {

// Runs xdotool with `args`; true when it ran and succeeded within 15 seconds.
bool Run(const QStringList& args);
// What xdotool printed, or empty.
QString Output(const QStringList& args);
// Arguments that move the pointer to `p` and give the server a moment (a synchronous
// move never returns when the pointer is there already).
QStringList At(const QPoint& p);
bool Click(const QPoint& p, int button = 1, int repeat = 1);

} // namespace XDoTool
