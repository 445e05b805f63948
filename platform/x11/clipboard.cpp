// The clipboard seam on X11: the CLIPBOARD selection's text, asked of its owner through
// a window of the program's own connection. The owner answers when it gets round to it,
// and may never (it may be this very program, which cannot answer while it waits), so
// the wait is short and bounded.
#include "platform/clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <glib.h>
#include <poll.h>

#include <cstring>

#include "platform/x11/display.h"

namespace {

const int kWaitMs = 300;
Window gWindow = None;

// The owner's answer to one conversion: true with the property filled, false when it
// refused or did not answer in time.
bool Convert(Display* display, Atom selection, Atom target, Atom property, gint64 deadline) {
    XDeleteProperty(display, gWindow, property);
    XConvertSelection(display, selection, target, property, gWindow, CurrentTime);
    XFlush(display);
    XEvent event;
    while (!XCheckTypedWindowEvent(display, gWindow, SelectionNotify, &event) ||
           event.xselection.target != target) {
        const gint64 left = (deadline - g_get_monotonic_time()) / 1000;
        if (left <= 0) return false;
        pollfd fd = {ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
    return event.xselection.property != None;
}

}  // namespace

bool SysGetClipboardText(char* out, int size) {
    Display* display = X11Display();
    if (display == nullptr || out == nullptr || size <= 0) return false;
    const Atom selection = XInternAtom(display, "CLIPBOARD", False);
    if (XGetSelectionOwner(display, selection) == None) return false;
    if (gWindow == None) {
        gWindow = XCreateWindow(display, DefaultRootWindow(display), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                CopyFromParent, 0, nullptr);
    }
    const Atom property = XInternAtom(display, "_KELMOR_CLIPBOARD", False);
    const gint64 deadline = g_get_monotonic_time() + kWaitMs * 1000;
    const Atom targets[] = {XInternAtom(display, "UTF8_STRING", False), XA_STRING};
    for (Atom target : targets) {
        if (!Convert(display, selection, target, property, deadline)) continue;
        Atom type = None;
        int format = 0;
        unsigned long length = 0, after = 0;
        unsigned char* data = nullptr;
        const long words = (size + 3) / 4;
        const bool read = XGetWindowProperty(display, gWindow, property, 0, words, True, AnyPropertyType, &type,
                                             &format, &length, &after, &data) == Success;
        // A large text comes in pieces (INCR); it is not worth the wait here.
        const bool text = read && data != nullptr && format == 8 && type == target;
        if (text) {
            const size_t count = length < static_cast<size_t>(size - 1) ? length : static_cast<size_t>(size - 1);
            memcpy(out, data, count);
            out[count] = '\0';
        }
        if (data != nullptr) XFree(data);
        XDeleteProperty(display, gWindow, property);
        return text;
    }
    return false;
}
