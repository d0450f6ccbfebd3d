#pragma once

#include "configrecord.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>

// The rules of the online-time allowance and of the parents' password checks, as
// plain functions the dialogs and the frame call.
namespace TimeLimit {

// True when the allowance is used up and nothing modal is open. The elapsed time is
// the unsigned 32-bit difference of the ticks, so a wrap of the tick counter in
// between neither locks early nor late.
bool ShouldLock(int limitSwitch, uint32_t nowTick, uint32_t startTick, uint32_t allowanceMs, bool modalBusy);

// The wind-down before the lock, at one tick of the limit's timer.
struct WindDown {
    int notice = 0;       // 5 or 1 when the notice of that many minutes left is due now
    int minutesLeft = -1; // whole minutes left, rounded up, during the last five; -1 otherwise
};
// With the limit on (switch 1), the notices come once each as the time left reaches 5
// and 1 minutes; an allowance shorter than a notice's time never gives that notice,
// and when both are due at once (a long dialog in between) only the 1-minute one
// comes. `lastNotice` is the last notice given for this allowance (0: none).
WindDown WindDownAt(int limitSwitch, uint32_t nowTick, uint32_t startTick, uint32_t allowanceMs, int lastNotice);

// The allowance of `minutes` in milliseconds. A record edited by hand may hold any
// number: below 0 counts as 0 (the lock comes at once), and above 71582 minutes (the
// most that 32 bits of milliseconds hold) as 71582, so the arithmetic never wraps.
uint32_t AllowanceMs(int minutes);

// The plain decimal conversion of a typed number: optional blanks and sign, then the
// leading digits; no digits gives 0; numbers beyond 32 bits are held at the limit.
int DecimalNumber(const QString& text);

struct Refusal {
    QString text;    // empty when accepted
    QString caption;
};

// The checks of the time-up dialog, in their order: password right (an empty one
// refused as such unless the parents' password is the empty one), minutes above 0,
// minutes at most 600. On acceptance `minutes` gets the number.
Refusal CheckUnlock(const QString& password, const ConfigRecord& record, const QString& minutesText, int* minutes);
// The checks of the exit password dialog: the password only.
Refusal CheckExitPassword(const QString& password, const ConfigRecord& record);

// The lock screen's picture: every colour channel blended half and half with
// grey 200, that is 100 + old / 2.
QImage Dimmed(const QImage& snapshot);

} // namespace TimeLimit
