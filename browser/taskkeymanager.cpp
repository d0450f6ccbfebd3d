#include "taskkeymanager.h"

#include <QGuiApplication>
#include <QTimer>

#include <cstdio>
#include <xcb/xcb.h>

namespace {

unsigned long g_blockedClasses = 0;
bool g_held = false;
bool g_toldUnsupported = false;

xcb_connection_t* x11Connection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

bool grabKeyboard()
{
    xcb_connection_t* c = x11Connection();
    if (!c)
        return false;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    // Keys meant for the browser's own windows still reach them (owner events);
    // everything else, the window manager's shortcuts included, goes nowhere.
    xcb_grab_keyboard_cookie_t cookie = xcb_grab_keyboard(c, 1, screen->root, XCB_CURRENT_TIME,
                                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(c, cookie, nullptr);
    const bool ok = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
    free(reply);
    return ok;
}

void ungrabKeyboard()
{
    if (xcb_connection_t* c = x11Connection()) {
        xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
        xcb_flush(c);
    }
}

// Another program (a menu, the window manager) may hold the keyboard for a moment:
// keep trying until the grab is ours or nothing is to be blocked any more.
void holdKeyboard()
{
    if (g_held || !g_blockedClasses)
        return;
    g_held = grabKeyboard();
    if (!g_held)
        QTimer::singleShot(250, qGuiApp, holdKeyboard);
}

} // namespace

void CTaskKeyManager::Disable(unsigned long keyClass, int block, int /*flag*/)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        if (QGuiApplication::platformName() != QLatin1String("offscreen") && !g_toldUnsupported) {
            g_toldUnsupported = true;
            std::fprintf(stderr, "Lorvane: the task keys cannot be blocked on the %s platform\n",
                         qPrintable(QGuiApplication::platformName()));
        }
        return;
    }
    if (block)
        g_blockedClasses |= keyClass;
    else
        g_blockedClasses &= ~keyClass;

    if (g_blockedClasses)
        holdKeyboard();
    else if (g_held) {
        ungrabKeyboard();
        g_held = false;
    }
}

bool CTaskKeyManager::IsKeyboardHeld()
{
    return g_held;
}
