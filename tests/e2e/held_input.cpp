// Prints what any X client sees held down on the server: the keys (by the symbol of
// their first level) and the pointer buttons, on one line, empty when nothing is down.
// The end-to-end tests ask it from outside the program they check.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <string>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fprintf(stderr, "held_input: cannot open the X display\n");
        return 2;
    }
    char keys[32];
    XQueryKeymap(display, keys);
    std::string held;
    for (int code = 8; code < 256; ++code) {
        if ((keys[code / 8] & (1 << (code % 8))) == 0) continue;
        const char* name = XKeysymToString(XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0));
        held += (held.empty() ? "" : " ") + (name != nullptr ? std::string(name) : "keycode" + std::to_string(code));
    }
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask);
    for (int button = 1; button <= 5; ++button) {
        if ((mask & (Button1Mask << (button - 1))) != 0) held += (held.empty() ? "" : " ") + ("button" + std::to_string(button));
    }
    printf("%s\n", held.c_str());
    XCloseDisplay(display);
    return 0;
}
