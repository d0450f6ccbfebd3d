#include "tabctrllayout.h"

#include <QSize>

namespace Pellora {

namespace {

constexpr int kPageInset = 2;
constexpr int kStripLeft = 2;
constexpr int kStripRight = 6;
constexpr int kTextPadding = 31;
constexpr int kIconExtra = 18;
constexpr int kOverflowGap = 1;
constexpr int kCloseGap = 2;
constexpr int kCloseTop = 3;
constexpr int kSlideVisible = 10;
constexpr int kSizingNarrow = 500;
constexpr int kSizingWidth = 300;

} // namespace

QRect TabCtrlPageArea(const QRect& client, unsigned style)
{
    if (TabCtrlTabsAtBottom(style))
        return client.adjusted(kPageInset, kPageInset, -kPageInset, -kTabStripDepth);
    return client.adjusted(kPageInset, kTabStripDepth, -kPageInset, -kPageInset);
}

QRect TabCtrlPageWindowRect(const QRect& pageArea, int border)
{
    const int inset = border + 1;
    return pageArea.adjusted(inset, inset, -inset, -inset);
}

QRect TabCtrlStrip(const QRect& client, unsigned style)
{
    const int left = client.left() + kStripLeft;
    const int width = client.width() - kStripLeft - kStripRight;
    if (TabCtrlTabsAtBottom(style)) {
        const int bottom = client.top() + client.height(); // one past the last row
        return QRect(left, bottom - kTabStripDepth, width, kTabStripDepth - 1);
    }
    return QRect(left, client.top(), width, kTabStripDepth);
}

int TabCtrlNaturalWidth(int textWidth, bool hasIcon)
{
    return textWidth + kTextPadding + (hasIcon ? kIconExtra : 0);
}

QList<QRect> LayoutTabCtrlTabs(const QRect& strip, const QList<int>& naturalWidths, bool monoSpace)
{
    QList<QRect> tabs;
    const int count = int(naturalWidths.size());
    if (count == 0)
        return tabs;
    const int share = strip.width() / count;
    tabs.reserve(count);
    int x = strip.left();
    if (monoSpace) {
        for (int i = 0; i < count; ++i, x += share)
            tabs.append(QRect(x, strip.top(), share, strip.height()));
        return tabs;
    }
    int total = 0;
    for (int w : naturalWidths)
        total += w;
    if (total <= strip.width()) {
        for (int w : naturalWidths) {
            tabs.append(QRect(x, strip.top(), w, strip.height()));
            x += w;
        }
        return tabs;
    }
    for (int w : naturalWidths) {
        const int cut = qMin(w, share);
        tabs.append(QRect(x, strip.top(), cut, strip.height()));
        x += cut + kOverflowGap;
    }
    return tabs;
}

QRect TabCtrlCloseButtonRect(const QRect& strip, const QList<QRect>& tabs)
{
    if (tabs.isEmpty())
        return QRect();
    const QRect& last = tabs.last();
    return QRect(last.left() + last.width() + kCloseGap, strip.top() + kCloseTop, kTabCtrlCloseSize,
                 kTabCtrlCloseSize);
}

QRect TabCtrlCaptionRect(const QRect& tab)
{
    return tab.adjusted(30, 10, -5, -5);
}

TabCtrlLayout LayoutTabCtrl(const QRect& client, unsigned style, int border, const QList<int>& naturalWidths)
{
    TabCtrlLayout layout;
    layout.pageArea = TabCtrlPageArea(client, style);
    layout.pageWindow = TabCtrlPageWindowRect(layout.pageArea, border);
    layout.strip = TabCtrlStrip(client, style);
    layout.tabs = LayoutTabCtrlTabs(layout.strip, naturalWidths, (style & kTabStyleMonoSpace) != 0);
    layout.closeButton = TabCtrlCloseButtonRect(layout.strip, layout.tabs);
    layout.tabsDrawn = !TabCtrlTabsAtBottom(style);
    return layout;
}

TabCtrlHit HitTestTabCtrl(const TabCtrlLayout& layout, const QPoint& pos)
{
    TabCtrlHit hit;
    if (layout.closeButton.contains(pos)) {
        hit.kind = TabCtrlHit::CloseButton;
        return hit;
    }
    for (int i = 0; i < layout.tabs.size(); ++i) {
        if (layout.tabs.at(i).contains(pos)) {
            hit.kind = TabCtrlHit::Tab;
            hit.index = i;
            return hit;
        }
    }
    return hit;
}

QRect TabCtrlSlideRect(const QRect& pageArea, int frame)
{
    if (frame >= kTabCtrlSlideSteps)
        return pageArea;
    const int width = pageArea.width();
    const int step = width / kTabCtrlSlideSteps;
    const int x = pageArea.left() - width + kSlideVisible + qMax(0, frame) * step;
    return QRect(x, pageArea.top(), width, pageArea.height());
}

QSize TabCtrlSizeWhileSizing(const QSize& size)
{
    return size.width() < kSizingNarrow ? QSize(kSizingWidth, size.height()) : size;
}

} // namespace Pellora
