#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>

// Colours every dialog of the control panel shares.
inline const QColor kManagerWindowBackground(227, 239, 243);
inline const QColor kManagerGroupBorder(87, 117, 159);

// The program's own pictures, drawn in code once.
namespace ManagerArt {
enum Id : int {
    ProgramIcon = 128,
    PanelBand = 133, // the band across the top of the control panel, behind the page buttons
};
} // namespace ManagerArt

QIcon ManagerIcon();
// The picture with that id, or a null image for an id the program does not have.
QImage LoadManagerBitmap(int id);
