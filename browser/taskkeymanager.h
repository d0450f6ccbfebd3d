#pragma once

// Keeps the system's task keys (switching windows, the desktop's menus and
// shortcuts) from reaching anything but the browser while it runs. Each class of
// keys (1, 2, 4) is blocked and released on its own; the keyboard is held while any
// class is blocked. Under X11 that is an active grab of the keyboard, which the X
// server ends by itself when the program ends, however it ends.
//
// Qt lets go of the whole program's keyboard grab whenever its last popup closes (a
// menu, a completion list, a drop-down, a page's <select>); the grab is taken back at
// once after that, after every window that hides, and every half second besides for
// whatever else lets it go.
class CTaskKeyManager
{
public:
    // `keyClass` 1, 2 or 4; `block` 1 to block, 0 to release; `flag` is the caller's
    // further switch, which a keyboard grab does not need.
    static void Disable(unsigned long keyClass, int block, int flag);

    // Whether the keyboard is held right now: asks the X server whether another
    // program could take it, so a grab lost by any route shows.
    static bool IsKeyboardHeld();

    // For tests only: with false a lost grab is not taken back, to show that the
    // tests see the keyboard escape.
    static void SetRegrabEnabled(bool enabled);
};
