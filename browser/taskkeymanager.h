#pragma once

#include <QString>

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
//
// Under Wayland no program can hold the keyboard for itself. There the children's
// session runs the browser under the cage kiosk compositor, which shows the browser
// alone, has nothing to switch to and passes every key to it: the kiosk keeps the child
// in, and nothing is grabbed.
class CTaskKeyManager
{
public:
    // How the task keys are kept from the rest of the system.
    enum class KeyGuard {
        Grab,      // the browser holds the keyboard (X11)
        Kiosk,     // a kiosk compositor shows the browser alone; nothing to block
        Unguarded, // nothing can be blocked on this platform
        None,      // no screen at all (offscreen): nothing to guard
    };

    // The guard for a platform plug-in's name and, under Wayland, the compositor's
    // process name (empty when unknown).
    static KeyGuard GuardFor(const QString& platform, const QString& compositor);

    // The process name of the Wayland compositor this program's environment points to
    // ($WAYLAND_DISPLAY, relative to $XDG_RUNTIME_DIR): the program at the other end of
    // its socket. Empty when there is none or it cannot be told. The compositor itself is
    // asked rather than a variable, which any program may set or pass on.
    static QString WaylandCompositor();

    // GuardFor() the running program, worked out once: call it only once the application
    // object exists.
    static KeyGuard CurrentGuard();

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
