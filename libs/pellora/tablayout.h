#pragma once

#include "pellora_export.h"

#include <QList>
#include <QRect>

namespace Pellora {

// The arithmetic of the browser's tab strip, free of widgets: layout of the strip,
// width of a tab, which tabs are visible, scrolling and the order of events when a
// tab is closed. CCoolTabBar paints and hit-tests with exactly these results.

struct TabBarGeometry {
    QRect tabArea;       // where tabs are visible
    QRect backButton;    // scrolls towards the first tab
    QRect forwardButton; // scrolls towards the last tab
};
// Tab area: the client shrunk by 28 on the left, 60 on the right and 3 at top and
// bottom; back arrow 19 pixels wide from client left + 9; forward arrow 19 pixels wide
// from the tab area's right edge; both 3 pixels in from top and bottom.
PELLORA_EXPORT TabBarGeometry LayoutTabBar(const QRect& client);

// A tab's width from its caption's width, the cap (the width of "1234567890abcdef")
// and the floor (the width of "1"): the clamped text width plus 39, or 57 with an icon
// (room for the caption's margins and the gap before the close button).
PELLORA_EXPORT int TabWidthForText(int textWidth, int capWidth, int floorWidth, bool hasIcon);
// The close button of a tab drawn at `tab`: 16 x 16 from (right - 22, top + 5).
PELLORA_EXPORT QRect TabCloseButtonRect(const QRect& tab);
// Where the caption goes: from left + 14 (33 with an icon) to right - 26, top + 3 down,
// so that it keeps a 4-pixel gap before the close button.
PELLORA_EXPORT QRect TabTextRect(const QRect& tab, bool hasIcon);
// The close button of a tab shown at `tab` (already shifted by the scroll offset) when it
// lies wholly inside the tab area, else an empty rectangle: a button cut by the area's
// edge would close a tab whose caption the child cannot see.
PELLORA_EXPORT QRect ShownCloseButtonRect(const QRect& tab, const QRect& tabArea);

// Sum of the widths of tabs 0 to `index` (0 for a negative index).
PELLORA_EXPORT int TabsWidthThrough(const QList<int>& widths, int index);
PELLORA_EXPORT int TabsTotalWidth(const QList<int>& widths);
// First tab whose running total reaches the offset; -1 without tabs.
PELLORA_EXPORT int FirstVisibleTab(const QList<int>& widths, int offset);
// First tab whose running total reaches offset + area width, else the last; -1 without tabs.
PELLORA_EXPORT int LastVisibleTab(const QList<int>& widths, int offset, int areaWidth);
PELLORA_EXPORT bool CanRollBack(int offset);
// At least one tab and offset + area width - 20 < total width.
PELLORA_EXPORT bool CanRollForward(const QList<int>& widths, int offset, int areaWidth);
// The offset that shows tab `index`: when tabs 0..index are wider than the area, the
// strip scrolls so that the tab ends 20 pixels before the area's right edge;
// otherwise the offset stays.
PELLORA_EXPORT int OffsetToShowTab(const QList<int>& widths, int index, int areaWidth, int offset);
// The offset that keeps tab `index` wholly in view: when it runs past the area's right
// edge the strip scrolls so that it ends 20 pixels before that edge; when it starts
// before the left edge the strip scrolls back to its start; otherwise the offset stays.
PELLORA_EXPORT int OffsetToKeepTabInView(const QList<int>& widths, int index, int areaWidth, int offset);
// The offset after a tab was removed (`widths` are the remaining tabs): when more than
// 20 pixels would stay empty after the last tab, the strip scrolls back.
PELLORA_EXPORT int OffsetAfterClose(const QList<int>& widths, int areaWidth, int offset);

// One tick of a held scroll arrow (step +15 forward, -15 back): the new offset, and
// whether scrolling goes on.
struct ScrollTick {
    int offset;
    bool scrolling;
};
PELLORA_EXPORT ScrollTick ScrollTickResult(const QList<int>& widths, int areaWidth, int offset, int step);
constexpr int kTabScrollStep = 15;

// What closing tab `index` of `count` tabs does, the active one being `active`.
struct TabClosePlan {
    bool closes = false;     // false: nothing happens (one tab left, or no tab there)
    bool switches = false;   // the active tab changes (statuses and repaint), not only announced again
    int announceIndex = -1;  // the tab reported as activated (with its item), before the removal
    int activeAfter = -1;    // the active index once the tab is removed
};
PELLORA_EXPORT TabClosePlan PlanTabClose(int count, int active, int index);

// The tab a key walks to from `active` of `count` tabs: Left and Right one step (no
// wrapping, so holding a key stops at the end), Home and End the first and the last.
// -1 for any other key, or when the key leads nowhere new.
PELLORA_EXPORT int TabIndexForKey(int key, int active, int count);

} // namespace Pellora
