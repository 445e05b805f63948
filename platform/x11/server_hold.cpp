#include "platform/x11/server_hold.h"

namespace {

// Server grabs do not nest: the first ungrab ends them all. Every grab of the program's
// connection goes through here, so that one inside another ends nothing.
int gServerHolds = 0;

}  // namespace

void X11HoldServer(Display* display) {
    if (display == nullptr) return;
    if (gServerHolds++ == 0) XGrabServer(display);
}

void X11LetServerGo(Display* display) {
    if (gServerHolds == 0 || display == nullptr) return;
    if (--gServerHolds > 0) return;
    XUngrabServer(display);
    XFlush(display);
}

bool X11ServerHeld() { return gServerHolds > 0; }
