#pragma once

// Keeps the system's task keys (switching windows, the desktop's menus and
// shortcuts) from reaching anything but the browser while it runs. Each class of
// keys (1, 2, 4) is blocked and released on its own; the keyboard is held while any
// class is blocked. Under X11 that is an active grab of the keyboard, which the X
// server ends by itself when the program ends, however it ends.
class CTaskKeyManager
{
public:
    // `keyClass` 1, 2 or 4; `block` 1 to block, 0 to release; `flag` is the caller's
    // further switch, which a keyboard grab does not need.
    static void Disable(unsigned long keyClass, int block, int flag);

    // Whether the keyboard is held right now.
    static bool IsKeyboardHeld();
};
