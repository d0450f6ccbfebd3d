#include "tablifecycle.h"

#include <algorithm>
#include <climits>

namespace TabLifecycle {

namespace {

// Hidden pages that still hold their memory: neither shown, printing nor unloaded.
bool hiddenAndLive(const Tab& tab)
{
    return !tab.shown && !tab.printing && tab.state != State::Discarded;
}

// How long a hidden page is left running before it may sleep. Sound from a tab the
// child cannot see stops at once.
uint32_t settleAfter(const Tab& tab, const Budget& budget)
{
    if (budget.freezeAfterMs == UINT32_MAX)
        return UINT32_MAX;
    if (tab.audible)
        return 0;
    return tab.loading ? std::max(budget.freezeAfterMs, budget.loadingGraceMs) : budget.freezeAfterMs;
}

} // namespace

QList<State> Plan(const QList<Tab>& tabs, uint32_t now, const Budget& budget)
{
    QList<State> plan(tabs.size(), State::Active);
    QList<qsizetype> live;
    for (qsizetype i = 0; i < tabs.size(); ++i) {
        if (!tabs[i].shown && !tabs[i].printing && tabs[i].state == State::Discarded)
            plan[i] = State::Discarded; // it loads again only when shown
        else if (hiddenAndLive(tabs[i]))
            live.append(i);
    }
    // Unsigned differences: the tick count wraps.
    std::stable_sort(live.begin(), live.end(), [&](qsizetype a, qsizetype b) {
        return uint32_t(now - tabs[a].hiddenSince) < uint32_t(now - tabs[b].hiddenSince);
    });
    for (qsizetype rank = 0; rank < live.size(); ++rank) {
        const Tab& tab = tabs[live[rank]];
        const uint32_t settle = settleAfter(tab, budget);
        if (settle == UINT32_MAX || uint32_t(now - tab.hiddenSince) < settle)
            continue;
        plan[live[rank]] = rank < budget.liveHiddenTabs ? State::Frozen : State::Discarded;
    }
    return plan;
}

int NextChangeInMs(const QList<Tab>& tabs, uint32_t now, const Budget& budget)
{
    int next = -1;
    for (const Tab& tab : tabs) {
        if (!hiddenAndLive(tab))
            continue;
        const uint32_t hidden = now - tab.hiddenSince;
        const uint32_t settle = settleAfter(tab, budget);
        if (settle == UINT32_MAX || hidden >= settle)
            continue;
        const int wait = int(std::min<uint32_t>(settle - hidden, INT_MAX));
        next = next < 0 ? wait : std::min(next, wait);
    }
    return next;
}

} // namespace TabLifecycle
