#include "focuscue.h"

bool FocusCueAfterFocusIn(bool shownBefore, Qt::FocusReason reason)
{
    switch (reason) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: return true;
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason: return shownBefore;
    default: return false;
    }
}
