// The record half of the X11 journal: every key and pointer event of the desktop, read
// through the RECORD stream and handed to the record procedure as the system's journal
// would hand it.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdint>

#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/journal_drivers.h"
#include "platform/x11/keymap.h"
#include "platform/x11/record_stream.h"

namespace {

JournalProc gProc = nullptr;
unsigned gAltMask = Mod1Mask;

const uint32_t kExtendedKey = 0x8000;  // paramH bit of keys outside the PC's first block
const uint8_t kVkF10 = 0x79;

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

// The focus as it was when the event was made, not when the loop came to read it: the
// keys typed just before a click on Kelmor's own window still belong to the other
// program. It starts as the server has it and follows every client's focus request in
// the stream, which the server orders among the events as it took them.
Window gFocus = None;

Window FocusWindow(Display* display, int x, int y) {
    if (gFocus == PointerRoot) return WindowAt(display, x, y);
    return gFocus;
}

bool Translate(Display* display, const X11RawEvent& raw, EVENTMSG* out) {
    *out = EVENTMSG{};
    out->time = raw.time;
    switch (raw.type) {
        case KeyPress:
        case KeyRelease: {
            const bool press = raw.type == KeyPress;
            const uint8_t vk = X11SidelessVk(X11KeycodeToVk(display, raw.detail, raw.state));
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

void OnEvent(const X11RawEvent& raw) {
    if (raw.type == FocusIn) {
        gFocus = raw.focus;
        return;
    }
    EVENTMSG message;
    if (gProc != nullptr && Translate(X11Display(), raw, &message)) {
        gProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&message));
    }
}

// Another stream took over; the core never lets that happen while it records.
void OnTakenOver() { gProc = nullptr; }

}  // namespace

bool X11StartRecordHook(JournalProc proc) {
    if (proc == nullptr) return false;
    Display* control = X11Display();
    if (control == nullptr) return false;
    gAltMask = X11ModifierMaskOf(control, XK_Alt_L);
    if (gAltMask == 0) gAltMask = Mod1Mask;
    if (!X11StartRecordStream(MotionNotify, true, OnEvent, OnTakenOver)) return false;
    // Asked once the stream runs: a request the stream also holds only sets it again.
    int revert = 0;
    XGetInputFocus(control, &gFocus, &revert);
    gProc = proc;
    return true;
}

void X11TakeRecordedInput() {
    // From inside the procedure the stop comes from an event (the stop key): what
    // follows it came after the stop; the stream leaves that alone.
    if (gProc != nullptr && X11RecordStreamSink() == OnEvent) X11DrainRecordStream();
}

void X11StopRecordHook() {
    gProc = nullptr;
    if (X11RecordStreamSink() == OnEvent) X11StopRecordStream();
}
