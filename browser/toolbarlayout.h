#pragma once

#include <QRect>

// Where the control toolbar's controls go. The left-hand buttons keep their places;
// the right-hand ones are laid out from the right edge leftwards, each keeping its
// place when its computed position would not be greater than 0; the address box
// fills what lies between.
struct ToolBarGeometry {
    QRect home, favorites, back, forward, address, refresh, stop, print, skin, close;
};

namespace ToolBarLayout {

// Converts a rectangle of the toolbar's dialog template (dialog units) to pixels.
QRect FromDialogUnits(int x, int y, int width, int height);
// The controls at their template places.
ToolBarGeometry TemplateGeometry();
// The controls of `current` laid out for a toolbar `width` pixels wide.
ToolBarGeometry Layout(int width, const ToolBarGeometry& current);

} // namespace ToolBarLayout
