#include "tablayout.h"

namespace Pellora {

namespace {

constexpr int kAreaLeft = 28;
constexpr int kAreaRight = 60;
constexpr int kAreaVertical = 3;
constexpr int kArrowLeft = 9;
constexpr int kArrowWidth = 19;
constexpr int kTabPadding = 39;
constexpr int kCaptionGap = 4; // between the caption and the close button
constexpr int kIconExtra = 18;
constexpr int kEndGap = 20; // room kept after the last tab when the strip is scrolled

} // namespace

TabBarGeometry LayoutTabBar(const QRect& client)
{
    TabBarGeometry g;
    g.tabArea = client.adjusted(kAreaLeft, kAreaVertical, -kAreaRight, -kAreaVertical);
    const int top = client.top() + kAreaVertical;
    const int height = client.height() - 2 * kAreaVertical;
    g.backButton = QRect(client.left() + kArrowLeft, top, kArrowWidth, height);
    g.forwardButton = QRect(g.tabArea.left() + g.tabArea.width(), top, kArrowWidth, height);
    return g;
}

int TabWidthForText(int textWidth, int capWidth, int floorWidth, bool hasIcon)
{
    const int text = qMax(floorWidth, qMin(textWidth, capWidth));
    return text + kTabPadding + (hasIcon ? kIconExtra : 0);
}

QRect TabCloseButtonRect(const QRect& tab)
{
    const int right = tab.left() + tab.width();
    return QRect(right - 22, tab.top() + 5, 16, 16);
}

QRect TabTextRect(const QRect& tab, bool hasIcon)
{
    const int left = tab.left() + (hasIcon ? 33 : 14);
    const int right = tab.left() + tab.width() - 22 - kCaptionGap;
    return QRect(left, tab.top() + 3, qMax(0, right - left), qMax(0, tab.height() - 3));
}

QRect ShownCloseButtonRect(const QRect& tab, const QRect& tabArea)
{
    const QRect close = TabCloseButtonRect(tab);
    return tabArea.contains(close) ? close : QRect();
}

int TabsWidthThrough(const QList<int>& widths, int index)
{
    int sum = 0;
    for (int i = 0; i <= index && i < widths.size(); ++i)
        sum += widths.at(i);
    return sum;
}

int TabsTotalWidth(const QList<int>& widths)
{
    return TabsWidthThrough(widths, int(widths.size()) - 1);
}

int FirstVisibleTab(const QList<int>& widths, int offset)
{
    int sum = 0;
    for (int i = 0; i < widths.size(); ++i) {
        sum += widths.at(i);
        if (sum >= offset)
            return i;
    }
    return widths.isEmpty() ? -1 : int(widths.size()) - 1;
}

int LastVisibleTab(const QList<int>& widths, int offset, int areaWidth)
{
    int sum = 0;
    for (int i = 0; i < widths.size(); ++i) {
        sum += widths.at(i);
        if (sum >= offset + areaWidth)
            return i;
    }
    return int(widths.size()) - 1;
}

bool CanRollBack(int offset)
{
    return offset > 0;
}

bool CanRollForward(const QList<int>& widths, int offset, int areaWidth)
{
    return !widths.isEmpty() && offset + areaWidth - kEndGap < TabsTotalWidth(widths);
}

int OffsetToShowTab(const QList<int>& widths, int index, int areaWidth, int offset)
{
    const int through = TabsWidthThrough(widths, index);
    return through > areaWidth ? through - areaWidth + kEndGap : offset;
}

int OffsetToKeepTabInView(const QList<int>& widths, int index, int areaWidth, int offset)
{
    if (index < 0 || index >= widths.size())
        return offset;
    const int end = TabsWidthThrough(widths, index);
    const int start = end - widths.at(index);
    if (end - offset > areaWidth)
        return qMin(start, end - areaWidth + kEndGap);
    if (start < offset)
        return start;
    return offset;
}

int OffsetAfterClose(const QList<int>& widths, int areaWidth, int offset)
{
    const int total = TabsTotalWidth(widths);
    if (areaWidth + offset <= total + kEndGap)
        return offset;
    if (widths.size() <= 1 || offset <= 0)
        return 0;
    return qMax(0, total - areaWidth + kEndGap);
}

ScrollTick ScrollTickResult(const QList<int>& widths, int areaWidth, int offset, int step)
{
    if (step > 0) {
        if (CanRollForward(widths, offset, areaWidth))
            return {offset + step, true};
        return {offset, false};
    }
    if (offset > 0)
        return {qMax(0, offset + step), true};
    return {offset, false};
}

TabClosePlan PlanTabClose(int count, int active, int index)
{
    TabClosePlan plan;
    if (count <= 1 || index < 0 || index >= count)
        return plan;
    plan.closes = true;
    if (index == active) {
        plan.switches = true;
        if (index == count - 1) {
            plan.announceIndex = index - 1;
            plan.activeAfter = index - 1;
        } else {
            // The right-hand neighbour takes over and, once the tab is gone, has its index.
            plan.announceIndex = index + 1;
            plan.activeAfter = index;
        }
    } else {
        // The active tab stays; it is announced again with its index before removal.
        plan.announceIndex = active;
        plan.activeAfter = index < active ? active - 1 : active;
    }
    return plan;
}

int TabIndexForKey(int key, int active, int count)
{
    if (count <= 0)
        return -1;
    int target = -1;
    switch (key) {
    case Qt::Key_Left: target = qMax(0, qMin(active, count) - 1); break;
    case Qt::Key_Right: target = qMin(count - 1, active + 1); break;
    case Qt::Key_Home: target = 0; break;
    case Qt::Key_End: target = count - 1; break;
    default: return -1;
    }
    return target == active ? -1 : target;
}

} // namespace Pellora
