#pragma once

#include "pellora_export.h"

#include <QList>
#include <QRect>

namespace Pellora {

// The arithmetic of the side bar's tab control, free of widgets: page area, tab strip,
// tab widths, close button, hit test, slide-in animation and the size rule while the
// user drags. CCoolTabCtrl paints and hit-tests with exactly these results.

// Style bits.
inline constexpr unsigned kTabStyleTop = 1;
inline constexpr unsigned kTabStyleBottom = 2;
inline constexpr unsigned kTabStyleMonoSpace = 4;
inline constexpr unsigned kTabStyleAnimate = 8;

inline constexpr int kTabStripDepth = 26;
inline constexpr int kTabCtrlCloseSize = 14;
inline constexpr int kTabCtrlSlideSteps = 10;

// Bottom tabs when bit 2 is set; top tabs otherwise.
inline bool TabCtrlTabsAtBottom(unsigned style)
{
    return (style & kTabStyleBottom) != 0;
}

// The page area: the client shrunk by 2 pixels on three sides and by 26 on the side of
// the tabs.
PELLORA_EXPORT QRect TabCtrlPageArea(const QRect& client, unsigned style);
// Where the layout puts every page window: the page area shrunk by border + 1.
PELLORA_EXPORT QRect TabCtrlPageWindowRect(const QRect& pageArea, int border);
// The tab strip: the client narrowed by 2 on the left and 6 on the right; top tabs run
// 26 pixels down from the top, bottom tabs from 26 above the bottom to 1 above it.
PELLORA_EXPORT QRect TabCtrlStrip(const QRect& client, unsigned style);
// A tab's natural width: its caption's width plus 31, or 49 with an icon.
PELLORA_EXPORT int TabCtrlNaturalWidth(int textWidth, bool hasIcon);
// The tabs side by side from the strip's left edge: mono-space each (strip width div
// count) wide; otherwise at their natural widths, and when those are together wider
// than the strip, each at most (strip width div count) with one pixel between tabs.
PELLORA_EXPORT QList<QRect> LayoutTabCtrlTabs(const QRect& strip, const QList<int>& naturalWidths, bool monoSpace);
// 14 x 14, from 2 pixels right of the last tab's right edge and 3 below the strip's
// top; empty without tabs.
PELLORA_EXPORT QRect TabCtrlCloseButtonRect(const QRect& strip, const QList<QRect>& tabs);
// Where a caption is drawn: the tab shrunk by 30 on the left, 10 at the top and 5 on
// the right and bottom.
PELLORA_EXPORT QRect TabCtrlCaptionRect(const QRect& tab);

struct TabCtrlLayout {
    QRect pageArea;
    QRect pageWindow;
    QRect strip;
    QList<QRect> tabs;
    QRect closeButton;
    bool tabsDrawn = false; // only top tabs are drawn
};
PELLORA_EXPORT TabCtrlLayout LayoutTabCtrl(const QRect& client, unsigned style, int border,
                                           const QList<int>& naturalWidths);

struct TabCtrlHit {
    enum Kind { Nothing, Tab, CloseButton };
    Kind kind = Nothing;
    int index = -1; // the tab for Kind::Tab
};
// The close button wins over a tab (an overflowing tab may reach under it).
PELLORA_EXPORT TabCtrlHit HitTestTabCtrl(const TabCtrlLayout& layout, const QPoint& pos);

// Where a sliding page is after `frame` ticks of the animation (0 the first tick):
// frames 0 to 9 keep the page area's size and start with only the right-most 10 pixels
// showing at the page area's left edge, moving a tenth of the page width per frame;
// from frame 10 on the page is exactly in the page area.
PELLORA_EXPORT QRect TabCtrlSlideRect(const QRect& pageArea, int frame);

// The size rule while the user drags a window's edge: narrower than 500 pixels becomes
// 300 wide, the height kept.
PELLORA_EXPORT QSize TabCtrlSizeWhileSizing(const QSize& size);

} // namespace Pellora
