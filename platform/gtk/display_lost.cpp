// When the session ends the X server goes away under the program. GDK's own handler of
// that ends the process on the spot, and the settings would be lost with it; this one
// lets the program run its exit step first. The display is then unusable: Xlib answers
// every later request with a failure instead of calling the handlers again, so the exit
// step's calls into the window do no harm.
#include "platform/gtk/display_lost.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>
#include <unistd.h>

#include <cstdio>

namespace {

void (*gOnDisplayLost)() = nullptr;
bool gLost = false;

// Once, whichever connection finds the display gone first: the program's handler, then
// out. An error on another connection while the handler runs returns here at once.
void EndWithTheDisplay() {
    if (gLost) return;
    gLost = true;
    fprintf(stderr, "%s: the connection to the display is lost\n", g_get_prgname());
    if (gOnDisplayLost != nullptr) gOnDisplayLost();
    fflush(nullptr);
    // Not exit(): the program's own exit work would talk to a display that is gone.
    _exit(1);
}

// Replaces GDK's handler, which ends the process, for every connection.
int OnIoError(Display*) {
    EndWithTheDisplay();
    return 0;
}

// GDK's connection outlives an error met while the handler runs: Xlib then fails its
// requests instead of ending the process.
void OnDisplayExit(Display*, void*) { EndWithTheDisplay(); }

}  // namespace

void GtkSetDisplayLostHandler(void (*onDisplayLost)()) {
    gOnDisplayLost = onDisplayLost;
    GdkDisplay* display = gdk_display_get_default();
    if (display == nullptr || !GDK_IS_X11_DISPLAY(display)) return;
    XSetIOErrorHandler(OnIoError);
    XSetIOErrorExitHandler(GDK_DISPLAY_XDISPLAY(display), OnDisplayExit, nullptr);
}

bool GtkDisplayLost() { return gLost; }
