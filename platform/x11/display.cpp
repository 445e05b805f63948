#include "platform/x11/display.h"

#include <glib.h>

#include <cstdio>
#include <cstdlib>

namespace {

Display* gDisplay = nullptr;
bool gOpenFailed = false;

const int kMaxHandlers = 8;
void (*gHandlers[kMaxHandlers])(XEvent*) = {};
int gHandlerCount = 0;

int gTrapDepth = 0;
int gTrappedError = 0;
// The error handler is one for the whole process, and GTK installs its own when it
// starts. A trap therefore puts this one in place for its own span only and then gives
// back whatever handler was there, so that neither side loses the other's errors.
XErrorHandler gOutsideHandler = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
    if (gTrapDepth > 0 && display == gDisplay) {
        if (gTrappedError == 0) gTrappedError = error->error_code;
        return 0;
    }
    if (gTrapDepth > 0 && gOutsideHandler != nullptr && gOutsideHandler != OnXError) {
        return gOutsideHandler(display, error);
    }
    char text[128];
    XGetErrorText(display, error->error_code, text, sizeof text);
    fprintf(stderr, "%s: X error: %s (request %d)\n", g_get_prgname(), text, error->request_code);
    return 0;
}

// Requests sent just before the program exits need not take effect once the connection
// is gone: the last keys of a playback that ended the program went missing. Waiting
// until the server has handled every request keeps them. Registered when the connection
// opens, so it runs after the exit handlers of the connection's users.
void SyncAtExit() {
    if (gDisplay != nullptr) XSync(gDisplay, False);
}

struct XSource {
    GSource source;
    GPollFD poll;
};

gboolean Prepare(GSource*, gint* timeout) {
    *timeout = -1;
    // Events Xlib already read off the socket would never make the descriptor ready.
    return XPending(gDisplay) > 0;
}

gboolean Check(GSource* source) {
    XSource* x = reinterpret_cast<XSource*>(source);
    return (x->poll.revents & G_IO_IN) != 0 || XPending(gDisplay) > 0;
}

gboolean Dispatch(GSource*, GSourceFunc, gpointer) {
    while (gDisplay != nullptr && XPending(gDisplay) > 0) {
        XEvent event;
        XNextEvent(gDisplay, &event);
        // Xlib's keysym tables are only as fresh as the mapping notices it was shown.
        if (event.type == MappingNotify) XRefreshKeyboardMapping(&event.xmapping);
        for (int i = 0; i < gHandlerCount; ++i) gHandlers[i](&event);
    }
    return G_SOURCE_CONTINUE;
}

GSourceFuncs gFuncs = {Prepare, Check, Dispatch, nullptr, nullptr, nullptr};

void Watch() {
    GSource* source = g_source_new(&gFuncs, sizeof(XSource));
    XSource* x = reinterpret_cast<XSource*>(source);
    x->poll.fd = ConnectionNumber(gDisplay);
    x->poll.events = G_IO_IN | G_IO_HUP | G_IO_ERR;
    g_source_add_poll(source, &x->poll);
    g_source_set_can_recurse(source, TRUE);
    g_source_attach(source, nullptr);
    g_source_unref(source);
}

}  // namespace

namespace {
bool gOutliveLostDisplay = false;

// Returning makes Xlib give the connection up quietly; the program's own handler of the
// lost display decides when to end.
void GiveUpConnection(Display*, void*) {}
}  // namespace

void X11OutliveLostDisplay() {
    gOutliveLostDisplay = true;
    X11AdoptConnection(gDisplay);
}

void X11AdoptConnection(Display* display) {
    if (gOutliveLostDisplay && display != nullptr) XSetIOErrorExitHandler(display, GiveUpConnection, nullptr);
}

Display* X11Display() {
    if (gDisplay != nullptr || gOpenFailed) return gDisplay;
    gDisplay = XOpenDisplay(nullptr);
    if (gDisplay == nullptr) {
        gOpenFailed = true;
        const char* name = g_getenv("DISPLAY");
        // A Wayland session without X11 is no fault of X's: the Wayland back end and the
        // refusals of what needs X speak for themselves.
        if (name == nullptr && g_getenv("WAYLAND_DISPLAY") != nullptr) return nullptr;
        fprintf(stderr, "%s: cannot open the X display \"%s\"\n", g_get_prgname(), name ? name : "");
        return nullptr;
    }
    XSetErrorHandler(OnXError);
    X11AdoptConnection(gDisplay);
    atexit(SyncAtExit);
    Watch();
    return gDisplay;
}

void X11AddEventHandler(void (*handler)(XEvent* event)) {
    if (gHandlerCount < kMaxHandlers) gHandlers[gHandlerCount++] = handler;
}

void X11TrapErrors() {
    if (gTrapDepth++ == 0) {
        gTrappedError = 0;
        gOutsideHandler = XSetErrorHandler(OnXError);
    }
}

int X11UntrapErrors() {
    // Errors of the trapped requests arrive by the time the server has answered them all.
    if (gDisplay != nullptr) XSync(gDisplay, False);
    int error = gTrappedError;
    if (gTrapDepth > 0 && --gTrapDepth == 0) {
        gTrappedError = 0;
        XSetErrorHandler(gOutsideHandler);
    }
    return error;
}
