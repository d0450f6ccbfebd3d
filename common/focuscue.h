#pragma once

#include "lorvanecommon_export.h"

#include <Qt>

// Whether a control shows its focus ring after gaining the focus for `reason`: only when
// the keyboard brought the focus (Tab, Shift+Tab, a mnemonic); a window coming back to
// the front keeps what was shown before; a click or a program's own call shows none.
// Both skin libraries draw their rings by this one rule.
LORVANECOMMON_EXPORT bool FocusCueAfterFocusIn(bool shownBefore, Qt::FocusReason reason);
