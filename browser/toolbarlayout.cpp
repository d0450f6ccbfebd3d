#include "toolbarlayout.h"

namespace ToolBarLayout {

QRect FromDialogUnits(int x, int y, int width, int height)
{
    // Dialog units of the toolbar's 9-point face: 1.5 pixels across, 1.75 down.
    const auto h = [](int v) { return (v * 3 + 1) / 2; };
    const auto v = [](int u) { return (u * 7 + 2) / 4; };
    return QRect(h(x), v(y), h(width), v(height));
}

ToolBarGeometry TemplateGeometry()
{
    ToolBarGeometry g;
    g.home = FromDialogUnits(61, 8, 26, 26);
    g.favorites = FromDialogUnits(96, 8, 28, 26);
    g.back = FromDialogUnits(130, 8, 28, 26);
    g.forward = FromDialogUnits(165, 8, 28, 26);
    g.address = FromDialogUnits(199, 10, 72, 217);
    g.refresh = FromDialogUnits(277, 7, 28, 26);
    g.stop = FromDialogUnits(311, 7, 28, 26);
    g.print = FromDialogUnits(344, 7, 28, 26);
    g.skin = FromDialogUnits(377, 7, 28, 26);
    g.close = FromDialogUnits(428, 3, 12, 13);
    return g;
}

namespace {

// Moves `r` so that its left edge is at `x` when x is greater than 0.
void placeAt(QRect& r, int x)
{
    if (x > 0)
        r.moveLeft(x);
}

} // namespace

ToolBarGeometry Layout(int width, const ToolBarGeometry& current)
{
    ToolBarGeometry g = current;
    // Sized before it is placed: placed at its template width it would end past the edge.
    g.close.setSize(QSize(25, 25));
    placeAt(g.close, width - g.close.width() - 5);
    placeAt(g.skin, width - g.skin.width() - 60);
    placeAt(g.print, g.skin.left() - g.print.width() - 15);
    placeAt(g.stop, g.print.left() - g.stop.width() - 15);
    placeAt(g.refresh, g.stop.left() - g.refresh.width() - 15);
    const int left = g.forward.left() + g.forward.width() + 15;
    const int right = g.refresh.left() - 15;
    g.address = QRect(left, g.address.top(), qMax(0, right - left), g.address.height());
    return g;
}

} // namespace ToolBarLayout
