#pragma once

#include <QList>

#include <cstdint>

// Which pages the child is not looking at go to sleep (no processor time: timers,
// scripts and media stop) and which also give their memory back (the page is unloaded
// and loads again, on the same address, when its tab is shown). Plain rules on the
// tick clock; the frame applies them to the engine's pages.
namespace TabLifecycle {

enum class State { Active, Frozen, Discarded };

struct Tab {
    bool shown = false;        // the tab the child is looking at
    uint32_t hiddenSince = 0;  // tick count when it was last hidden
    bool loading = false;      // its page has not finished loading
    bool printing = false;     // the engine is still printing it
    bool audible = false;      // it is playing sound: hidden, it sleeps at once (media pause)
    State state = State::Active;
};

// A budget of UINT32_MAX for freezeAfterMs leaves every page running.
struct Budget {
    // A tab left for this long goes to sleep; a child flicking between two tabs wakes nothing.
    uint32_t freezeAfterMs = 3000;
    // A page still loading is left to finish first, for at most this long.
    uint32_t loadingGraceMs = 30000;
    // Hidden tabs kept in memory, the most recently seen first; the others are unloaded.
    int liveHiddenTabs = 4;
};

// The state each tab should be in at `now`, in the order given.
QList<State> Plan(const QList<Tab>& tabs, uint32_t now, const Budget& budget = {});

// Milliseconds until Plan's answer can next change by time alone, or -1 when only
// another event (a tab shown, a load finished) can change it. Budgets that never
// change are answered with -1.
int NextChangeInMs(const QList<Tab>& tabs, uint32_t now, const Budget& budget = {});

} // namespace TabLifecycle
