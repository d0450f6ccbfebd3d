#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

class QPainter;

// Colours every dialog of the control panel shares.
inline const QColor kManagerWindowBackground(227, 239, 243);
inline const QColor kManagerGroupBorder(87, 117, 159);

// The program's own pictures, drawn in code once.
namespace ManagerArt {
enum Id : int {
    ProgramIcon = 128,
    PanelBand = 133, // the band across the top of the control panel, behind the page buttons
    HistoryHeaderBack = 155,  // 3 x 23, stretched behind the history list's header
    HistoryHeaderShade = 156, // 3 x 23, the soft shadow before a column's edge
    HistoryHeaderLine = 157,  // 1 x 23, the line at a column's edge
};

// The control panel's mark in a 32 x 32 square of the painter's units: the green-to-blue
// ground and the shield keeping a heart, `lift` units higher than in the window icon.
void DrawShieldMark(QPainter& p, qreal lift);
} // namespace ManagerArt

QIcon ManagerIcon();
// The picture with that id, or a null image for an id the program does not have.
QImage LoadManagerBitmap(int id);
