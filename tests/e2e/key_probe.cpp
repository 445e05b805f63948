// A window that logs every key event it receives, so that a test or a benchmark can tell
// what reached a program, when, and how it was made:
//   kelmor_key_probe TITLE [--keep-focus]
// One line per event on standard output, flushed at once:
//   press|release KEYSYM MONOTONIC_NS real|sent STATE TEXT
// "sent" marks events another client made with XSendEvent, which many programs ignore;
// "real" ones came from the server's input (a keyboard or XTest). STATE is the event's
// modifier mask (4: Ctrl held), as the program would read it. TEXT is what a program
// reading text makes of a press, its UTF-8 bytes in hexadecimal ("-" for none): through
// an input context, with the keymap as the last mapping notice left it. The first line is
// "ready WINDOW" once the window is mapped. With --keep-focus the window takes the focus
// back whenever it loses it (no window manager does that for it).
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {

long long MonotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fputs("usage: kelmor_key_probe TITLE [--keep-focus]\n", stderr);
        return 2;
    }
    const bool keepFocus = argc > 2 && strcmp(argv[2], "--keep-focus") == 0;
    // Text is read as UTF-8, whatever the environment says.
    if (setlocale(LC_CTYPE, "C.UTF-8") == nullptr) setlocale(LC_CTYPE, "");
    XSetLocaleModifiers("@im=none");
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fputs("kelmor_key_probe: cannot open the X display\n", stderr);
        return 2;
    }
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 600, 500, 320, 160, 1,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, argv[1]);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask | StructureNotifyMask | FocusChangeMask);
    XMapRaised(display, window);
    XIM im = XOpenIM(display, nullptr, nullptr, nullptr);
    XIC ic = im != nullptr ? XCreateIC(im, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow, window,
                                       XNFocusWindow, window, nullptr)
                           : nullptr;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
            case MappingNotify:
                XRefreshKeyboardMapping(&event.xmapping);
                break;
            case MapNotify:
                if (keepFocus) XSetInputFocus(display, window, RevertToParent, CurrentTime);
                printf("ready 0x%lx\n", window);
                break;
            case FocusOut:
                // Grabs move the focus for a moment only; the probe answers real changes.
                if (keepFocus && event.xfocus.mode == NotifyNormal) XSetInputFocus(display, window, RevertToParent, CurrentTime);
                break;
            case KeyPress:
            case KeyRelease: {
                const long long at = MonotonicNs();
                const KeySym sym = XkbKeycodeToKeysym(display, static_cast<KeyCode>(event.xkey.keycode), 0,
                                                      (event.xkey.state & ShiftMask) != 0 ? 1 : 0);
                const char* name = XKeysymToString(sym);
                char text[64] = "";
                int length = 0;
                if (event.type == KeyPress) {
                    KeySym looked = NoSymbol;
                    Status status = 0;
                    length = ic != nullptr ? Xutf8LookupString(ic, &event.xkey, text, sizeof text - 1, &looked, &status)
                                           : XLookupString(&event.xkey, text, sizeof text - 1, &looked, nullptr);
                    if (length < 0 || length >= static_cast<int>(sizeof text)) length = 0;
                }
                char hex[2 * sizeof text + 1] = "-";
                for (int i = 0; i < length; ++i) snprintf(hex + 2 * i, 3, "%02x", static_cast<unsigned char>(text[i]));
                printf("%s %s %lld %s %u %s\n", event.type == KeyPress ? "press" : "release",
                       name != nullptr ? name : "NoSymbol", at, event.xkey.send_event ? "sent" : "real", event.xkey.state,
                       hex);
                break;
            }
            default:
                break;
        }
        fflush(stdout);
    }
}
