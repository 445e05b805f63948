// The record half of the X11 journal: every key and pointer event of the desktop, read
// through the RECORD extension and handed to the record procedure as the system's
// journal would hand it.
//
// RECORD streams its data as one endless reply on a connection of its own (the data
// connection); the context is made and ended on the program's connection. Xlib runs
// the stream's callback from deep inside its reply handling, where no request may be
// made on that connection, so the callback only queues the raw events; they are turned
// into EVENTMSGs and handed over afterwards, from the main loop.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/extensions/record.h>
#include <X11/keysym.h>
#include <glib-unix.h>
#include <glib.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/journal_drivers.h"
#include "platform/x11/keymap.h"

namespace {

struct RawEvent {
    uint8_t type;
    uint8_t detail;  // keycode or button
    uint16_t state;  // modifiers and buttons before the event
    int16_t x, y;    // root coordinates
    uint32_t time;   // server time
};

JournalProc gProc = nullptr;
Display* gData = nullptr;  // opened at the first start, kept for the program's life
guint gDataWatch = 0;
Window gClockWindow = None;
Atom gClockAtom = None;
XRecordContext gContext = 0;
// Each start is a session; data still streaming for an ended one is dropped.
unsigned gSession = 0;
// Set while events are handed to the procedure, which may stop the hook from inside.
bool gDelivering = false;
// An enabled context's stream has not yet ended on the data connection.
bool gStreaming = false;
std::vector<RawEvent> gQueue;
// Added to server times to put them on the tick clock.
uint32_t gClockOffset = 0;
unsigned gAltMask = Mod1Mask;

const uint32_t kExtendedKey = 0x8000;  // paramH bit of keys outside the PC's first block
const uint8_t kVkF10 = 0x79;

// The journal speaks of Shift, Ctrl and Alt without their side; the side lives in the
// scan code and the extended bit.
uint8_t SidelessVk(uint8_t vk) {
    if (vk == 0xA0 || vk == 0xA1) return VK_SHIFT;
    if (vk == 0xA2 || vk == 0xA3) return VK_CONTROL;
    if (vk == VK_LMENU || vk == VK_RMENU) return VK_MENU;
    return vk;
}

// The deepest window at a point of the screen: the one a pointer event there goes to.
Window WindowAt(Display* display, int x, int y) {
    Window root = DefaultRootWindow(display);
    Window window = root;
    X11TrapErrors();
    for (int depth = 0; depth < 32; ++depth) {
        Window child = None;
        int cx = 0, cy = 0;
        if (!XTranslateCoordinates(display, root, window, x, y, &cx, &cy, &child) || child == None) break;
        window = child;
    }
    // A window that vanished on the way leaves the last one found, which held the point.
    X11UntrapErrors();
    return window;
}

Window FocusWindow(Display* display, int x, int y) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == PointerRoot) return WindowAt(display, x, y);
    return focus;
}

bool Translate(Display* display, const RawEvent& raw, EVENTMSG* out) {
    *out = EVENTMSG{};
    out->time = raw.time + gClockOffset;
    switch (raw.type) {
        case KeyPress:
        case KeyRelease: {
            const bool press = raw.type == KeyPress;
            const uint8_t vk = SidelessVk(X11KeycodeToVk(display, raw.detail, raw.state));
            uint8_t scan = 0;
            bool extended = false;
            X11KeycodeToScanCode(raw.detail, &scan, &extended);
            // The state is the one before the event: Ctrl's own press already counts.
            const bool ctrl = vk == VK_CONTROL ? press : (raw.state & ControlMask) != 0;
            const bool alt = vk == VK_MENU || (raw.state & gAltMask) != 0;
            // The system's rule: keys typed with Alt (and not Ctrl), Alt itself and F10
            // are system keys.
            const bool system = !ctrl && (alt || vk == kVkF10);
            if (press) {
                out->message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
            } else {
                out->message = system ? WM_SYSKEYUP : WM_KEYUP;
            }
            out->paramL = vk | static_cast<uint32_t>(scan) << 8;
            out->paramH = 1 | (extended ? kExtendedKey : 0);
            out->hwnd = static_cast<HWND32>(FocusWindow(display, raw.x, raw.y));
            return true;
        }
        case ButtonPress:
        case ButtonRelease: {
            const bool press = raw.type == ButtonPress;
            switch (raw.detail) {
                case 1: out->message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
                case 2: out->message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
                case 3: out->message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
                case 4:
                case 5:
                    // A wheel notch is a press and a release; the journal has one event.
                    if (!press) return false;
                    out->message = WM_MOUSEWHEEL;
                    break;
                default: return false;  // side and tilt buttons have no journal event
            }
            break;
        }
        case MotionNotify: out->message = WM_MOUSEMOVE; break;
        default: return false;
    }
    out->paramL = static_cast<uint32_t>(static_cast<int32_t>(raw.x));
    out->paramH = static_cast<uint32_t>(static_cast<int32_t>(raw.y));
    out->hwnd = static_cast<HWND32>(WindowAt(display, raw.x, raw.y));
    return true;
}

void OnRecordData(XPointer closure, XRecordInterceptData* data) {
    if (data->category == XRecordEndOfData) {
        gStreaming = false;
    } else if (data->category == XRecordFromServer && data->data != nullptr && data->data_len * 4 >= sizeof(xEvent) &&
               static_cast<unsigned>(reinterpret_cast<uintptr_t>(closure)) == gSession && gProc != nullptr) {
        xEvent event;
        memcpy(&event, data->data, sizeof event);
        RawEvent raw;
        raw.type = event.u.u.type & 0x7F;
        raw.detail = event.u.u.detail;
        raw.state = event.u.keyButtonPointer.state;
        raw.x = event.u.keyButtonPointer.rootX;
        raw.y = event.u.keyButtonPointer.rootY;
        raw.time = event.u.keyButtonPointer.time;
        if (raw.type >= KeyPress && raw.type <= MotionNotify) gQueue.push_back(raw);
    }
    XRecordFreeData(data);
}

void Deliver() {
    std::vector<RawEvent> batch;
    batch.swap(gQueue);
    const unsigned session = gSession;
    Display* display = X11Display();
    const bool outer = gDelivering;
    gDelivering = true;
    for (const RawEvent& raw : batch) {
        // The procedure may stop the recording (its stop key) in the middle of a batch.
        if (gProc == nullptr || gSession != session) break;
        EVENTMSG message;
        if (!Translate(display, raw, &message)) continue;
        gProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&message));
    }
    gDelivering = outer;
}

gboolean OnDataReadable(gint, GIOCondition condition, gpointer) {
    if (gData == nullptr) return G_SOURCE_REMOVE;
    if ((condition & (G_IO_HUP | G_IO_ERR)) != 0) {
        // The server went away; Xlib's own handler ends the program on the next request.
        gDataWatch = 0;
        gProc = nullptr;
        return G_SOURCE_REMOVE;
    }
    XRecordProcessReplies(gData);
    Deliver();
    return G_SOURCE_CONTINUE;
}

bool OpenDataConnection(Display* control) {
    if (gData != nullptr) return true;
    gData = XOpenDisplay(DisplayString(control));
    if (gData == nullptr) return false;
    XSetWindowAttributes attributes;
    attributes.event_mask = PropertyChangeMask;
    gClockWindow = XCreateWindow(gData, DefaultRootWindow(gData), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                 CopyFromParent, CWEventMask, &attributes);
    gClockAtom = XInternAtom(gData, "_KELMOR_CLOCK", False);
    gDataWatch = g_unix_fd_add(ConnectionNumber(gData), static_cast<GIOCondition>(G_IO_IN | G_IO_HUP | G_IO_ERR),
                               OnDataReadable, nullptr);
    return true;
}

// The stream of an ended context closes with its end-of-data reply; a new context must
// not start streaming before that has been read.
void FinishEndedStream(Display* control) {
    if (!gStreaming) return;
    XSync(control, False);  // the server has handled the disable, and sent the end
    XSync(gData, False);    // reading up to our own reply reads the end too
}

// The server stamps events on its own millisecond clock. On Linux that is the same
// monotonic clock as the tick count, but a server elsewhere runs on another; a property
// change of our own shows how far apart the two are.
void MeasureClockOffset() {
    gClockOffset = 0;
    const uint32_t before = SysGetTickCount();
    const long zero = 0;
    XChangeProperty(gData, gClockWindow, gClockAtom, XA_INTEGER, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&zero), 1);
    XSync(gData, False);
    const uint32_t after = SysGetTickCount();
    XEvent event;
    bool seen = false;
    uint32_t server = 0;
    while (XCheckTypedWindowEvent(gData, gClockWindow, PropertyNotify, &event)) {
        server = static_cast<uint32_t>(event.xproperty.time);
        seen = true;
    }
    if (!seen) return;
    // Within the round trip (and a millisecond of rounding): the same clock.
    if (static_cast<int32_t>(server - before) >= -1 && static_cast<int32_t>(after - server) >= -1) return;
    gClockOffset = before + (after - before) / 2 - server;
}

}  // namespace

bool X11StartRecordHook(JournalProc proc) {
    if (proc == nullptr) return false;
    if (gContext != 0) X11StopRecordHook();
    Display* control = X11Display();
    if (control == nullptr) return false;
    int major = 0, minor = 0;
    if (!XRecordQueryVersion(control, &major, &minor)) return false;
    if (!OpenDataConnection(control)) return false;
    FinishEndedStream(control);
    MeasureClockOffset();
    gAltMask = X11ModifierMaskOf(control, XK_Alt_L);
    if (gAltMask == 0) gAltMask = Mod1Mask;

    XRecordRange* range = XRecordAllocRange();
    if (range == nullptr) return false;
    range->device_events.first = KeyPress;
    range->device_events.last = MotionNotify;
    XRecordClientSpec clients = XRecordAllClients;
    X11TrapErrors();
    XRecordContext context = XRecordCreateContext(control, 0, &clients, 1, &range, 1);
    const bool created = X11UntrapErrors() == 0 && context != 0;
    XFree(range);
    if (!created) return false;

    ++gSession;
    gQueue.clear();
    if (!XRecordEnableContextAsync(gData, context, OnRecordData,
                                   reinterpret_cast<XPointer>(static_cast<uintptr_t>(gSession)))) {
        XRecordFreeContext(control, context);
        return false;
    }
    XFlush(gData);
    gStreaming = true;
    gContext = context;
    gProc = proc;
    return true;
}

void X11TakeRecordedInput() {
    // From inside the procedure the stop comes from an event (the stop key): what
    // follows it came after the stop.
    if (gContext == 0 || gData == nullptr || gProc == nullptr || gDelivering) return;
    Display* control = X11Display();
    if (control == nullptr) return;
    // The stream holds the data connection until it ends: end it, then read up to its
    // end, which comes after all the server recorded before now.
    X11TrapErrors();
    XRecordDisableContext(control, gContext);
    FinishEndedStream(control);
    X11UntrapErrors();
    Deliver();
}

void X11StopRecordHook() {
    gProc = nullptr;
    ++gSession;
    gQueue.clear();
    if (gContext == 0) return;
    Display* control = X11Display();
    if (control != nullptr) {
        X11TrapErrors();
        XRecordDisableContext(control, gContext);
        XRecordFreeContext(control, gContext);
        X11UntrapErrors();
    }
    gContext = 0;
}
