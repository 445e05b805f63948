// Keyboard layouts for the X11 tests, set on the test's server as a user sets them.
#pragma once
#include <X11/Xlib.h>
#include <glib.h>

#include <cstdlib>
#include <string>

#include "platform/x11/display.h"

// Runs setxkbmap with the arguments (a layout, "-layout us,ru" ...) and lets the program's
// loop read the mapping notice; the test's own client reads its notice with its events.
// The server keeps the layout only while it does not reset (with-xvfb runs it with
// -noreset). False when setxkbmap failed.
inline bool SetLayout(Display* client, const std::string& arguments) {
    if (system(("setxkbmap " + arguments).c_str()) != 0) return false;
    XSync(client, False);
    XSync(X11Display(), False);
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    return true;
}
