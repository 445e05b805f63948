// Other programs' top-level windows on X11. A window handle is the X id of the client
// window (the one carrying WM_STATE under a window manager), never the manager's frame:
// that is the window its program named and the one its title is read from.
//
// Two worlds are served. With an EWMH window manager the manager is asked, through the
// root window's properties and client messages, exactly as a pager would. Without one
// (a bare X server, as in kiosks and test rigs) nobody else keeps the desktop's state,
// so this back end plays the manager's part for what it changes itself: it unmaps an
// iconified window and marks it with WM_STATE IconicState, and maps it back on restore.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>
#include <unistd.h>

#include <cstring>

#include "platform/desktop.h"
#include "platform/x11/display.h"

namespace {

enum AtomIndex {
    NET_SUPPORTING_WM_CHECK,
    NET_CLIENT_LIST,
    NET_CLIENT_LIST_STACKING,
    NET_ACTIVE_WINDOW,
    NET_WM_NAME,
    UTF8_STRING,
    WM_STATE,
    NET_WM_STATE,
    NET_WM_STATE_HIDDEN,
    NET_FRAME_EXTENTS,
    NET_WM_PID,
    NET_WM_USER_TIME,
    KELMOR_TIMESTAMP,
    ATOM_COUNT
};

const char* const kAtomNames[ATOM_COUNT] = {
    "_NET_SUPPORTING_WM_CHECK", "_NET_CLIENT_LIST",           "_NET_CLIENT_LIST_STACKING",
    "_NET_ACTIVE_WINDOW",       "_NET_WM_NAME",               "UTF8_STRING",
    "WM_STATE",                 "_NET_WM_STATE",              "_NET_WM_STATE_HIDDEN",
    "_NET_FRAME_EXTENTS",       "_NET_WM_PID",                "_NET_WM_USER_TIME",
    "_KELMOR_TIMESTAMP",
};

Atom gAtoms[ATOM_COUNT];
bool gAtomsInterned = false;

// Longest list and title read from a property, in 32-bit units: a bound on what a
// hostile or broken client can make us allocate.
const long kMaxListLongs = 65536;
const long kMaxTitleLongs = 4096;
// How far up or down a window tree is walked in search of a client or a frame.
const int kMaxTreeDepth = 64;
const int kMaxClientSearchDepth = 3;
const int kMaxClientSearchWindows = 256;
// Activation is asked for, then watched: the next typed key must reach the window.
const gint64 kActivationWaitUs = 200 * 1000;
const gulong kActivationPollUs = 10 * 1000;

Atom A(AtomIndex index) { return gAtoms[index]; }

Display* Connect() {
    Display* display = X11Display();
    if (display != nullptr && !gAtomsInterned) {
        XInternAtoms(display, const_cast<char**>(kAtomNames), ATOM_COUNT, False, gAtoms);
        gAtomsInterned = true;
    }
    return display;
}

Window Root(Display* display) { return DefaultRootWindow(display); }

// One window property as read, freed with the object.
struct Property {
    unsigned char* data = nullptr;
    unsigned long count = 0;
    Atom type = None;
    int format = 0;

    Property() = default;
    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;
    ~Property() { Free(); }

    void Free() {
        if (data != nullptr) XFree(data);
        data = nullptr;
        count = 0;
    }
    // True when the property exists with the wanted type (AnyPropertyType: any) and
    // format; count may still be 0.
    bool Read(Display* display, Window window, Atom name, Atom wanted, int wantedFormat, long maxLongs) {
        Free();
        unsigned long after = 0;
        if (XGetWindowProperty(display, window, name, 0, maxLongs, False, wanted, &type, &format, &count, &after,
                               &data) != Success) {
            data = nullptr;
            count = 0;
            return false;
        }
        if (type == None || (wanted != AnyPropertyType && type != wanted) || format != wantedFormat) {
            Free();
            return false;
        }
        return true;
    }
    // Xlib hands 32-bit items over as longs.
    unsigned long Item(unsigned long i) const { return reinterpret_cast<const unsigned long*>(data)[i]; }
};

// WM_STATE's state (WithdrawnState, NormalState, IconicState), or -1 without one.
long WmState(Display* display, Window window) {
    Property state;
    if (!state.Read(display, window, A(WM_STATE), A(WM_STATE), 32, 2) || state.count < 1) return -1;
    return static_cast<long>(state.Item(0));
}

bool HasNetState(Display* display, Window window, Atom wanted) {
    Property states;
    if (!states.Read(display, window, A(NET_WM_STATE), XA_ATOM, 32, 1024)) return false;
    for (unsigned long i = 0; i < states.count; ++i) {
        if (states.Item(i) == wanted) return true;
    }
    return false;
}

// An EWMH window manager is running: the root names a check window that names itself
// (a manager that died leaves a stale id behind).
bool HasWindowManager(Display* display, Window root) {
    Property check;
    if (!check.Read(display, root, A(NET_SUPPORTING_WM_CHECK), XA_WINDOW, 32, 1) || check.count < 1) {
        return false;
    }
    const Window window = check.Item(0);
    Property self;
    return self.Read(display, window, A(NET_SUPPORTING_WM_CHECK), XA_WINDOW, 32, 1) && self.count == 1 &&
           self.Item(0) == window;
}

// The window's parent and the root of its own screen, which need not be the program's.
bool GetParent(Display* display, Window window, Window* parent, Window* root) {
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, root, parent, &children, &count)) return false;
    if (children != nullptr) XFree(children);
    return true;
}

// The client window inside a top-level window, searched breadth first a few levels down
// (a reparenting manager's frame holds it one or two levels deep); 0 when none carries
// WM_STATE.
Window ClientBelow(Display* display, Window top) {
    Window queue[kMaxClientSearchWindows];
    int depth[kMaxClientSearchWindows];
    int head = 0, tail = 0;
    queue[tail] = top;
    depth[tail++] = 0;
    while (head < tail) {
        const Window window = queue[head];
        const int level = depth[head++];
        if (WmState(display, window) >= 0) return window;
        if (level >= kMaxClientSearchDepth) continue;
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) continue;
        for (unsigned i = 0; i < count && tail < kMaxClientSearchWindows; ++i) {
            queue[tail] = children[i];
            depth[tail++] = level + 1;
        }
        if (children != nullptr) XFree(children);
    }
    return 0;
}

// The ancestor of a window that is a child of the root (the window itself for a
// top-level window); 0 for the root or a window that is gone.
Window TopLevelOf(Display* display, Window window) {
    for (int n = 0; n < kMaxTreeDepth && window != 0; ++n) {
        Window parent = 0, root = 0;
        if (!GetParent(display, window, &parent, &root) || window == root) return 0;
        if (parent == root) return window;
        window = parent;
    }
    return 0;
}

// The client a window belongs to: itself or the nearest ancestor with WM_STATE, else the
// client inside its top-level window (a frame), else the top-level window itself.
Window ClientOf(Display* display, Window window) {
    for (int n = 0; n < kMaxTreeDepth && window != 0; ++n) {
        Window parent = 0, root = 0;
        if (!GetParent(display, window, &parent, &root) || window == root) return 0;
        if (WmState(display, window) >= 0) return window;
        if (parent == root) {
            const Window client = ClientBelow(display, window);
            return client != 0 ? client : window;
        }
        window = parent;
    }
    return 0;
}

bool Store(HWND32* out, int max, int* count, Window window) {
    // X ids use 29 bits; anything wider cannot be a window.
    if (*count >= max || window == 0 || window > 0xFFFFFFFFul) return *count < max;
    out[(*count)++] = static_cast<HWND32>(window);
    return *count < max;
}

// Without an EWMH manager: the root's children from the top of the stack down, each
// stood for by its client. Override-redirect windows (menus, tooltips, pop-ups) and
// never-shown or withdrawn windows are nothing a user would go to.
int EnumRootChildren(Display* display, Window screenRoot, HWND32* out, int max) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, screenRoot, &root, &parent, &children, &count)) return 0;
    int stored = 0;
    for (unsigned i = count; i-- > 0 && stored < max;) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes)) continue;
        if (attributes.override_redirect || attributes.c_class == InputOnly) continue;
        const Window client = ClientBelow(display, children[i]);
        const long state = client != 0 ? WmState(display, client) : -1;
        if (attributes.map_state == IsViewable || state == NormalState || state == IconicState) {
            Store(out, max, &stored, client != 0 ? client : children[i]);
        }
    }
    if (children != nullptr) XFree(children);
    return stored;
}

bool HasWindowManager(Display* display) { return HasWindowManager(display, Root(display)); }

// A window manager's list of its clients, topmost first: the stacking list is bottom to
// top, and the plain list (oldest first) is read newest first, which is the next best
// guess at the stacking order. -1 when the manager keeps neither.
int EnumManagedClients(Display* display, Window root, HWND32* out, int max) {
    Property list;
    if (!list.Read(display, root, A(NET_CLIENT_LIST_STACKING), XA_WINDOW, 32, kMaxListLongs) &&
        !list.Read(display, root, A(NET_CLIENT_LIST), XA_WINDOW, 32, kMaxListLongs)) {
        return -1;
    }
    int stored = 0;
    for (unsigned long i = list.count; i-- > 0;) {
        if (!Store(out, max, &stored, list.Item(i))) break;
    }
    return stored;
}

// Copies UTF-8 text into out, cut on a character boundary to fit size - 1 bytes and
// stopped at an embedded NUL; returns the length stored.
int CopyUtf8(char* out, int size, const unsigned char* text, size_t length) {
    size_t n = 0;
    while (n < length && text[n] != '\0') ++n;
    if (n > static_cast<size_t>(size - 1)) {
        n = static_cast<size_t>(size - 1);
        while (n > 0 && (text[n] & 0xC0) == 0x80) --n;
    }
    if (n > 0) memcpy(out, text, n);
    out[n] = '\0';
    return static_cast<int>(n);
}

// WM_NAME in Latin-1 (type STRING), turned into UTF-8 like the rest of the titles.
int CopyLatin1(char* out, int size, const unsigned char* text, size_t length) {
    int n = 0;
    for (size_t i = 0; i < length && text[i] != '\0'; ++i) {
        const unsigned char c = text[i];
        if (c < 0x80) {
            if (n + 1 > size - 1) break;
            out[n++] = static_cast<char>(c);
        } else {
            if (n + 2 > size - 1) break;
            out[n++] = static_cast<char>(0xC0 | (c >> 6));
            out[n++] = static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out[n] = '\0';
    return n;
}

int ReadTitle(Display* display, Window window, char* out, int size) {
    Property name;
    if (name.Read(display, window, A(NET_WM_NAME), A(UTF8_STRING), 8, kMaxTitleLongs) && name.count > 0) {
        return CopyUtf8(out, size, name.data, name.count);
    }
    if (!name.Read(display, window, XA_WM_NAME, AnyPropertyType, 8, kMaxTitleLongs) || name.count == 0) return 0;
    if (name.type == XA_STRING) return CopyLatin1(out, size, name.data, name.count);
    if (name.type == A(UTF8_STRING)) return CopyUtf8(out, size, name.data, name.count);
    // Compound text and the like: Xlib knows the encodings.
    XTextProperty text = {name.data, name.type, name.format, name.count};
    char** list = nullptr;
    int count = 0;
    int length = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) >= Success && list != nullptr) {
        if (count > 0 && list[0] != nullptr) {
            length = CopyUtf8(out, size, reinterpret_cast<const unsigned char*>(list[0]), strlen(list[0]));
        }
        XFreeStringList(list);
    }
    return length;
}

bool IsIconic(Display* display, Window window) {
    return WmState(display, window) == IconicState || HasNetState(display, window, A(NET_WM_STATE_HIDDEN));
}

void SetWmState(Display* display, Window window, long state) {
    long data[2] = {state, None};
    XChangeProperty(display, window, A(WM_STATE), A(WM_STATE), 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(data), 2);
}

// A server time stamp, for managers that weigh requests by their time: a zero-length
// append to a property of a private window makes the server report its time. The
// window is made once and never mapped.
Window gTimeWindow = 0;

Time ServerTime(Display* display) {
    if (gTimeWindow == 0) {
        XSetWindowAttributes attributes;
        attributes.event_mask = PropertyChangeMask;
        attributes.override_redirect = True;
        gTimeWindow = XCreateWindow(display, Root(display), -10, -10, 1, 1, 0, 0, InputOnly, CopyFromParent,
                                    CWEventMask | CWOverrideRedirect, &attributes);
    }
    XChangeProperty(display, gTimeWindow, A(KELMOR_TIMESTAMP), XA_STRING, 8, PropModeAppend, nullptr, 0);
    // The event is queued before the sync's reply arrives, so no wait is needed.
    XSync(display, False);
    XEvent event;
    if (XCheckWindowEvent(display, gTimeWindow, PropertyChangeMask, &event)) return event.xproperty.time;
    return CurrentTime;
}

// Asks the manager to activate a window the way a pager does for a user's click (source
// 2), which managers honour without their focus-stealing rules.
void RequestActivation(Display* display, Window window) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = A(NET_ACTIVE_WINDOW);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 2;
    event.xclient.data.l[1] = static_cast<long>(ServerTime(display));
    XSendEvent(display, Root(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

void Minimize(Display* display, Window window, const XWindowAttributes& attributes, bool manager) {
    if (IsIconic(display, window)) return;
    if (manager) {
        XIconifyWindow(display, window, XScreenNumberOfScreen(attributes.screen));
        return;
    }
    XUnmapWindow(display, window);
    SetWmState(display, window, IconicState);
}

void Restore(Display* display, Window window, bool manager) {
    // Mapping an iconic window is how a client asks its manager to bring it back.
    XMapRaised(display, window);
    if (!manager && WmState(display, window) >= 0) SetWmState(display, window, NormalState);
}

// Shown in its current state without taking the focus: only a withdrawn window changes.
void ShowWithoutActivating(Display* display, Window window, const XWindowAttributes& attributes, bool manager) {
    if (attributes.map_state != IsUnmapped || IsIconic(display, window)) return;
    if (manager) {
        // A user time of 0 asks the manager not to focus the window it maps.
        long zero = 0;
        XChangeProperty(display, window, A(NET_WM_USER_TIME), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&zero), 1);
    }
    XMapWindow(display, window);
}

bool FocusIsInside(Display* display, Window window) {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    const Window root = Root(display);
    for (int n = 0; n < kMaxTreeDepth && focus != None && focus != PointerRoot && focus != root; ++n) {
        if (focus == window) return true;
        Window parent = 0, focusRoot = 0;
        if (!GetParent(display, focus, &parent, &focusRoot)) return false;
        focus = parent;
    }
    return false;
}

Window ActiveWindow(Display* display, bool* known) {
    Property active;
    *known = active.Read(display, Root(display), A(NET_ACTIVE_WINDOW), XA_WINDOW, 32, 1);
    return *known && active.count > 0 ? active.Item(0) : 0;
}

bool IsActive(Display* display, Window window, bool manager) {
    X11TrapErrors();
    bool active = FocusIsInside(display, window);
    if (active && manager) {
        bool known = false;
        const Window current = ActiveWindow(display, &known);
        active = !known || current == window;
    }
    return X11UntrapErrors() == 0 && active;
}

bool FrameRect(Display* display, Window window, RECT32* out) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes)) return false;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child)) return false;
    long left = attributes.border_width, right = left, top = left, bottom = left;
    long width = attributes.width, height = attributes.height;

    Property extents;
    const Window frame = TopLevelOf(display, window);
    if (extents.Read(display, window, A(NET_FRAME_EXTENTS), XA_CARDINAL, 32, 4) && extents.count == 4) {
        left += static_cast<long>(extents.Item(0));
        right += static_cast<long>(extents.Item(1));
        top += static_cast<long>(extents.Item(2));
        bottom += static_cast<long>(extents.Item(3));
    } else if (frame != 0 && frame != window) {
        // A reparenting manager without frame extents: its frame is the outer edge.
        XWindowAttributes outer;
        if (!XGetWindowAttributes(display, frame, &outer)) return false;
        x = outer.x;
        y = outer.y;
        left = top = 0;
        right = bottom = 0;
        width = outer.width + 2L * outer.border_width;
        height = outer.height + 2L * outer.border_width;
    }
    out->left = static_cast<int32_t>(x - left);
    out->top = static_cast<int32_t>(y - top);
    out->right = static_cast<int32_t>(x + width + right);
    out->bottom = static_cast<int32_t>(y + height + bottom);
    return true;
}

// Windows made on this process's X connection share its resource id base. Xlib keeps
// base and mask in the public part of its display record (as private3 and private4).
bool MadeByOurConnection(Display* display, Window window) {
    const _XPrivDisplay record = reinterpret_cast<_XPrivDisplay>(display);
    const XID base = record->private3;
    const XID mask = record->private4;
    return mask != 0 && (window & ~mask) == base;
}

bool SameMachine(Display* display, Window window) {
    Property machine;
    if (!machine.Read(display, window, XA_WM_CLIENT_MACHINE, XA_STRING, 8, 64) || machine.count == 0) return true;
    char host[256];
    if (gethostname(host, sizeof host) != 0) return true;
    host[sizeof host - 1] = '\0';
    return strlen(host) == machine.count && memcmp(host, machine.data, machine.count) == 0;
}

bool BelongsToUs(Display* display, Window window) {
    if (MadeByOurConnection(display, window)) return true;
    Property pid;
    if (!pid.Read(display, window, A(NET_WM_PID), XA_CARDINAL, 32, 1) || pid.count < 1) return false;
    return static_cast<pid_t>(pid.Item(0)) == getpid() && SameMachine(display, window);
}

// The windows under a root point, from the root's child down to the innermost one;
// returns how many were stored (at most kMaxTreeDepth).
int WindowsAtPoint(Display* display, Window root, int32_t x, int32_t y, Window* path) {
    int depth = 0;
    Window window = root;
    while (depth < kMaxTreeDepth) {
        // The child of window that holds the root point, if any.
        Window child = None;
        int localX = 0, localY = 0;
        if (!XTranslateCoordinates(display, root, window, x, y, &localX, &localY, &child) || child == None) break;
        path[depth++] = child;
        window = child;
    }
    return depth;
}

// The window its manager manages (the client with WM_STATE: on the path when the point is
// over its contents, below the frame when over the frame's title bar or border); without
// a manager the root's child.
Window ManagedWindowAt(Display* display, const Window* path, int depth) {
    for (int i = 0; i < depth; ++i) {
        if (WmState(display, path[i]) >= 0) return path[i];
    }
    const Window client = ClientBelow(display, path[0]);
    return client != 0 ? client : path[0];
}

// The innermost window on the path with a title, its title read into title. A point on a
// frame's title bar or border names the client that frame holds, as the bar belongs to it.
Window TitledWindowAt(Display* display, const Window* path, int depth, char* title, int size) {
    for (int i = depth; i-- > 0;) {
        if (ReadTitle(display, path[i], title, size) > 0) return path[i];
    }
    const Window client = ClientBelow(display, path[0]);
    return client != 0 && ReadTitle(display, client, title, size) > 0 ? client : 0;
}

// A managed window's frame rectangle, which CLICK counts its offsets from; any other
// window's own area on the screen.
bool WindowArea(Display* display, Window window, RECT32* out) {
    if (WmState(display, window) >= 0) return FrameRect(display, window, out);
    XWindowAttributes attributes;
    int x = 0, y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(display, window, &attributes) ||
        !XTranslateCoordinates(display, window, attributes.root, 0, 0, &x, &y, &child)) {
        return false;
    }
    *out = {x, y, x + attributes.width, y + attributes.height};
    return true;
}

}  // namespace

// Every screen of the server, the program's own first: a window on another screen of the
// same server is still one of the desktop's (a second copy of the program there is found).
static int ScreenRoots(Display* display, Window roots[], int max) {
    const int screens = ScreenCount(display);
    int n = 0;
    roots[n++] = Root(display);
    for (int screen = 0; screen < screens && n < max; ++screen) {
        if (screen != DefaultScreen(display)) roots[n++] = RootWindow(display, screen);
    }
    return n;
}

static const int kMaxScreens = 16;

int SysEnumTopLevelWindows(HWND32* out, int max) {
    Display* display = Connect();
    if (display == nullptr || out == nullptr || max <= 0) return 0;
    X11TrapErrors();
    Window roots[kMaxScreens];
    const int screens = ScreenRoots(display, roots, kMaxScreens);
    int total = 0;
    for (int i = 0; i < screens && total < max; ++i) {
        int count = HasWindowManager(display, roots[i]) ? EnumManagedClients(display, roots[i], out + total, max - total) : -1;
        if (count < 0) count = EnumRootChildren(display, roots[i], out + total, max - total);
        total += count;
    }
    X11UntrapErrors();
    return total;
}

int SysEnumHiddenTopLevelWindows(HWND32* out, int max) {
    Display* display = Connect();
    if (display == nullptr || out == nullptr || max <= 0) return 0;
    X11TrapErrors();
    Window roots[kMaxScreens];
    const int screens = ScreenRoots(display, roots, kMaxScreens);
    int stored = 0;
    for (int s = 0; s < screens; ++s) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, roots[s], &root, &parent, &children, &count)) continue;
        for (unsigned i = count; i-- > 0 && stored < max;) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.override_redirect ||
                attributes.c_class == InputOnly || attributes.map_state != IsUnmapped) {
                continue;
            }
            // A minimised window (or its manager's frame) is unmapped too, but listed above.
            const Window client = ClientBelow(display, children[i]);
            const long state = client != 0 ? WmState(display, client) : -1;
            if (state != NormalState && state != IconicState) Store(out, max, &stored, children[i]);
        }
        if (children != nullptr) XFree(children);
    }
    X11UntrapErrors();
    return stored;
}

int SysGetWindowText(HWND32 window, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    Display* display = Connect();
    if (display == nullptr || window == 0) return 0;
    X11TrapErrors();
    const int length = ReadTitle(display, window, out, size);
    X11UntrapErrors();
    return length;
}

int SysGetWindowClass(HWND32 window, char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    Display* display = Connect();
    if (display == nullptr || window == 0) return 0;
    X11TrapErrors();
    XClassHint hint = {nullptr, nullptr};
    int length = 0;
    const Window client = ClientOf(display, window);
    if (client != 0 && XGetClassHint(display, client, &hint) && hint.res_class != nullptr) {
        length = CopyLatin1(out, size, reinterpret_cast<const unsigned char*>(hint.res_class), strlen(hint.res_class));
    }
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    X11UntrapErrors();
    return length;
}

bool SysIsWindowMinimized(HWND32 window) {
    Display* display = Connect();
    if (display == nullptr || window == 0) return false;
    X11TrapErrors();
    const bool iconic = IsIconic(display, window);
    return X11UntrapErrors() == 0 && iconic;
}

bool SysShowWindow(HWND32 window, int showCommand) {
    Display* display = Connect();
    if (display == nullptr || window == 0) return false;
    X11TrapErrors();
    XWindowAttributes attributes;
    bool known = XGetWindowAttributes(display, window, &attributes) != 0;
    if (known) {
        const bool manager = HasWindowManager(display);
        switch (showCommand) {
            case SW_HIDE:
                XWithdrawWindow(display, window, XScreenNumberOfScreen(attributes.screen));
                if (!manager) XDeleteProperty(display, window, A(WM_STATE));
                break;
            case SW_MINIMIZE:
            case SW_SHOWMINIMIZED:
                Minimize(display, window, attributes, manager);
                break;
            case SW_RESTORE:
            case SW_SHOWNORMAL:
                Restore(display, window, manager);
                break;
            case SW_SHOWNA:
                ShowWithoutActivating(display, window, attributes, manager);
                break;
            default:
                known = false;
                break;
        }
    }
    return X11UntrapErrors() == 0 && known;
}

bool SysActivateWindow(HWND32 window) {
    Display* display = Connect();
    if (display == nullptr || window == 0) return false;
    X11TrapErrors();
    const bool manager = HasWindowManager(display);
    if (manager) {
        RequestActivation(display, window);
        XRaiseWindow(display, window);
    } else {
        XRaiseWindow(display, window);
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    if (X11UntrapErrors() != 0) return false;
    const gint64 deadline = g_get_monotonic_time() + kActivationWaitUs;
    while (!IsActive(display, window, manager)) {
        if (g_get_monotonic_time() >= deadline) return false;
        g_usleep(kActivationPollUs);
    }
    return true;
}

bool SysGetWindowRect(HWND32 window, RECT32* out) {
    Display* display = Connect();
    if (display == nullptr || window == 0 || out == nullptr) return false;
    X11TrapErrors();
    RECT32 rect = {0, 0, 0, 0};
    const bool ok = FrameRect(display, window, &rect);
    if (X11UntrapErrors() != 0 || !ok) return false;
    *out = rect;
    return true;
}

bool SysGetScreenSize(int32_t* width, int32_t* height) {
    Display* display = Connect();
    if (display == nullptr) return false;
    const int screen = DefaultScreen(display);
    *width = DisplayWidth(display, screen);
    *height = DisplayHeight(display, screen);
    return true;
}

HWND32 SysGetForegroundWindow() {
    Display* display = Connect();
    if (display == nullptr) return 0;
    X11TrapErrors();
    bool known = false;
    Window foreground = HasWindowManager(display) ? ActiveWindow(display, &known) : 0;
    if (!known) {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display, &focus, &revert);
        foreground = focus == None || focus == PointerRoot ? 0 : ClientOf(display, focus);
    }
    X11UntrapErrors();
    return foreground <= 0xFFFFFFFFul ? static_cast<HWND32>(foreground) : 0;
}

bool SysIsOwnWindow(HWND32 window) {
    Display* display = Connect();
    if (display == nullptr || window == 0) return false;
    X11TrapErrors();
    const Window root = Root(display);
    bool own = false;
    Window current = window;
    Window top = 0;
    for (int n = 0; n < kMaxTreeDepth && current != 0 && current != root; ++n) {
        own = BelongsToUs(display, current);
        if (own) break;
        Window parent = 0, currentRoot = 0;
        if (!GetParent(display, current, &parent, &currentRoot)) break;
        if (parent == currentRoot) top = current;
        current = parent;
    }
    // A manager's frame (what a pointer event on a title bar names) holds the client.
    if (!own && top != 0 && WmState(display, top) < 0) {
        const Window client = ClientBelow(display, top);
        own = client != 0 && BelongsToUs(display, client);
    }
    X11UntrapErrors();
    return own;
}

bool SysGetCursorPos(int32_t* x, int32_t* y) {
    Display* display = Connect();
    if (display == nullptr) return false;
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, winX = 0, winY = 0;
    unsigned mask = 0;
    // False when the pointer is on another screen of the display: no point of ours.
    if (!XQueryPointer(display, Root(display), &root, &child, &rootX, &rootY, &winX, &winY, &mask)) return false;
    *x = rootX;
    *y = rootY;
    return true;
}

bool SysWindowAtPoint(int32_t x, int32_t y, bool topLevel, char* title, int titleSize, RECT32* rect) {
    if (title == nullptr || titleSize <= 0 || rect == nullptr) return false;
    title[0] = '\0';
    Display* display = Connect();
    if (display == nullptr) return false;
    X11TrapErrors();
    const Window root = Root(display);
    Window path[kMaxTreeDepth];
    const int depth = WindowsAtPoint(display, root, x, y, path);
    Window found = 0;
    if (depth > 0) {
        found = topLevel ? ManagedWindowAt(display, path, depth) : TitledWindowAt(display, path, depth, title, titleSize);
        if (found != 0 && topLevel) ReadTitle(display, found, title, titleSize);
    }
    RECT32 area = {0, 0, 0, 0};
    const bool placed = found != 0 && title[0] != '\0' && WindowArea(display, found, &area);
    if (X11UntrapErrors() != 0 || !placed) {
        title[0] = '\0';
        return false;
    }
    *rect = area;
    return true;
}
