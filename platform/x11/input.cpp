// The input seam on X11: synthetic keys and mouse actions through XTest, and the
// keyboard state table read from (and, for the modifiers, written to) the server.
#include "platform/input.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdlib>
#include <cstring>

#include "platform/wayland/choice.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/keymap.h"
#include "platform/x11/spare_keys.h"
#include "platform/x11/typing.h"

namespace {

// mouse_event flags the seam does not name but a caller may still pass.
const uint32_t kHorizontalWheel = 0x01000;
const int kWheelDelta = 120;

// Virtual keys of the two sides of the modifiers, and of the mouse buttons.
enum : uint8_t {
    VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_MBUTTON = 0x04,
    VK_LSHIFT = 0xA0, VK_RSHIFT = 0xA1, VK_LCONTROL = 0xA2, VK_RCONTROL = 0xA3,
};

int gXTest = -1;  // unknown until asked

// --- modifier keys ------------------------------------------------------------------

enum ModifierKey { MOD_NONE, MOD_LSHIFT, MOD_RSHIFT, MOD_LCONTROL, MOD_RCONTROL, MOD_LALT, MOD_RALT, MOD_LWIN, MOD_RWIN };

// AltGr counts as the right Alt, as it does on the system the virtual keys come from.
ModifierKey ModifierOf(KeySym symbol) {
    switch (symbol) {
        case XK_Shift_L: return MOD_LSHIFT;
        case XK_Shift_R: return MOD_RSHIFT;
        case XK_Control_L: return MOD_LCONTROL;
        case XK_Control_R: return MOD_RCONTROL;
        case XK_Alt_L: case XK_Meta_L: return MOD_LALT;
        case XK_Alt_R: case XK_Meta_R: case XK_ISO_Level3_Shift: case XK_Mode_switch: return MOD_RALT;
        case XK_Super_L: case XK_Hyper_L: return MOD_LWIN;
        case XK_Super_R: case XK_Hyper_R: return MOD_RWIN;
        default: return MOD_NONE;
    }
}

// The virtual keys a held modifier sets: its side's and the generic one.
void ModifierVks(ModifierKey key, uint8_t* sided, uint8_t* generic) {
    static const uint8_t kSided[] = {0, VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN};
    static const uint8_t kGeneric[] = {0, VK_SHIFT, VK_SHIFT, VK_CONTROL, VK_CONTROL, VK_MENU, VK_MENU, 0, 0};
    *sided = kSided[key];
    *generic = kGeneric[key];
}

// --- what XTest holds down ----------------------------------------------------------
//
// The server keeps a key pressed through XTest down until XTest releases it, also after
// the program that pressed it has gone, and autorepeat then types it for ever. So every
// key and button sent down is noted until it comes up, and what is left down when a
// playback ends or the program exits is released.

uint8_t gHeldKeys[32];     // one bit per key code
uint8_t gHeldButtons[32];  // one bit per button number
unsigned gKeyEventSerial = 0;

void FakeKey(Display* display, unsigned code, bool press) { X11FakeKey(display, code, press); }

// The key codes each virtual key was last pressed with, so that its release reaches the
// same key even when the mapping changed in between.
KeyCode gPressedWith[256];

// Releases every key and button still down through XTest.
void ReleaseHeld(Display* display) {
    for (unsigned code = 0; code < 256; ++code) {
        if (X11BitSet(gHeldKeys, code)) FakeKey(display, code, false);
    }
    for (unsigned button = 1; button < 256; ++button) {
        if (X11BitSet(gHeldButtons, button)) X11InjectButton(display, button, false);
    }
    memset(gPressedWith, 0, sizeof gPressedWith);
    X11ForgetTypedCharacters();
    X11ForgetSpareHolds();
}

// A program that exits straight after its last key (a hidden playback does) would lose
// it: the server drops what a client that has hung up still had in flight. So the exit
// waits until the server has taken everything, held keys released and borrowed keys put
// back included.
void FinishAtExit() {
    Display* display = X11Display();
    if (display == nullptr) return;
    ReleaseHeld(display);
    X11ReturnSpareKeys(display);
    XSync(display, False);
}

// The key a virtual key stands for now; borrowing a spare only when allowed.
KeyCode KeyFor(Display* display, uint8_t vk, bool mayBorrow) {
    const KeySym symbol = X11VkToKeysym(vk);
    if (symbol == NoSymbol) return 0;
    KeySym lower = symbol, upper = symbol;
    X11CasesOfSymbol(symbol, &lower, &upper);
    const KeyCode code = XKeysymToKeycode(display, symbol);
    if (code != 0) {
        // Our own copy of the mapping may still show a spare key as it was.
        KeySym carried = NoSymbol;
        if (!X11SpareKeySymbol(code, &carried) || carried == lower) return code;
    }
    return mayBorrow ? X11BorrowSpareKey(display, lower, upper) : 0;
}

// The key a scan code names when it, not the symbol, decides: keys without a symbol all
// share virtual key 0 and only their scan codes tell them apart, and the journal names
// Shift, Ctrl and Alt without their side, which the scan code still tells. A modifier's
// scan code counts only while its key carries a modifier of the same kind; 0 otherwise.
KeyCode KeyByScanCode(Display* display, uint8_t vk, uint8_t scan, bool extended) {
    const KeyCode code = X11ScanCodeToKeycode(display, scan, extended);
    if (code == 0 || X11VkToKeysym(vk) == NoSymbol) return code;
    if (vk != VK_SHIFT && vk != VK_CONTROL && vk != VK_MENU) return 0;
    uint8_t sided = 0, generic = 0;
    ModifierVks(ModifierOf(XkbKeycodeToKeysym(display, code, 0, 0)), &sided, &generic);
    return generic == vk ? code : 0;
}

// The key at a scan code's place when the active layout gives it the virtual key that
// came with the scan code (with Num Lock on or off: the keypad's keys have both); 0
// otherwise. A recording names its keys both ways: under the layout it was made in, each
// key means at its place what it meant then, a dead key or ß included; under a layout
// that moved the meaning (Z where the recording had Y), the key that makes the virtual
// key plays instead.
KeyCode KeyAtRecordedPlace(Display* display, uint8_t vk, uint8_t scan, bool extended) {
    const KeyCode code = X11ScanCodeToKeycode(display, scan, extended);
    if (code == 0) return 0;
    for (int numLock = 0; numLock < 2; ++numLock) {
        if (X11SidelessVk(X11KeycodeToVkWith(display, code, numLock != 0)) == X11SidelessVk(vk)) return code;
    }
    return 0;
}

// --- modifiers ----------------------------------------------------------------------

// The modifier on the other side of the same kind.
ModifierKey OtherSide(ModifierKey key) {
    return (key - MOD_LSHIFT) % 2 == 0 ? static_cast<ModifierKey>(key + 1) : static_cast<ModifierKey>(key - 1);
}

bool Sided(const uint8_t state[256], ModifierKey key) {
    uint8_t sided = 0, generic = 0;
    ModifierVks(key, &sided, &generic);
    return (state[sided] & 0x80) != 0;
}

// Whether a state table lets a held modifier stay down: its side's entry, or the generic
// entry when the table does not name the other side alone.
bool Kept(const uint8_t state[256], ModifierKey key) {
    uint8_t sided = 0, generic = 0;
    ModifierVks(key, &sided, &generic);
    if ((state[sided] & 0x80) != 0) return true;
    return generic != 0 && (state[generic] & 0x80) != 0 && !Sided(state, OtherSide(key));
}

// The symbol pressed to bring a modifier down.
KeySym PressSymbol(Display* display, ModifierKey key) {
    static const KeySym kSymbols[] = {NoSymbol, XK_Shift_L, XK_Shift_R, XK_Control_L, XK_Control_R,
                                      XK_Alt_L, XK_Alt_R,   XK_Super_L, XK_Super_R};
    if (key == MOD_RALT && XKeysymToKeycode(display, XK_Alt_R) == 0) return XK_ISO_Level3_Shift;
    return kSymbols[key];
}

bool IndicatorOn(Display* display, const char* name) {
    Bool on = False;
    const Atom atom = XInternAtom(display, name, False);
    return XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
}

void ClickWheel(Display* display, unsigned forward, unsigned backward, int32_t* rest) {
    // Whole notches only; a part of one waits for the rest of it.
    while (*rest >= kWheelDelta) {
        X11InjectButton(display, forward, true);
        X11InjectButton(display, forward, false);
        *rest -= kWheelDelta;
    }
    while (*rest <= -kWheelDelta) {
        X11InjectButton(display, backward, true);
        X11InjectButton(display, backward, false);
        *rest += kWheelDelta;
    }
}

int32_t gWheelRest = 0, gHorizontalRest = 0;

int32_t ClampNormalised(int32_t value) { return value < 0 ? 0 : value > 65535 ? 65535 : value; }

}  // namespace

// --- shared with the playback driver and the keyboard hook ---------------------------

X11KeyView* gX11KeyView = nullptr;

void X11FakeKey(Display* display, unsigned code, bool press) {
    XTestFakeKeyEvent(display, code, press ? True : False, CurrentTime);
    X11SetBit(gHeldKeys, code, press);
    ++gKeyEventSerial;
}

unsigned X11KeyEventSerial() { return gKeyEventSerial; }

void X11HeldKeys(uint8_t out[32]) { memcpy(out, gHeldKeys, sizeof gHeldKeys); }

void X11ModifierVksOf(Display* display, unsigned keycode, uint8_t* sided, uint8_t* generic) {
    ModifierVks(ModifierOf(XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 0)), sided, generic);
}

bool X11HasXTest(Display* display) {
    if (gXTest < 0) {
        int event = 0, error = 0, major = 0, minor = 0;
        gXTest = display != nullptr && XTestQueryExtension(display, &event, &error, &major, &minor) ? 1 : 0;
        if (gXTest == 1) atexit(FinishAtExit);
    }
    return gXTest == 1;
}

bool X11InjectKey(Display* display, uint8_t vk, uint8_t scan, bool extended, bool press) {
    if (display == nullptr || !X11HasXTest(display)) return false;
    // A scan code names the same key whatever the layout, so press and release agree.
    const KeyCode byScan = KeyByScanCode(display, vk, scan, extended);
    if (byScan != 0) {
        FakeKey(display, byScan, press);
        return true;
    }
    if (X11VkToKeysym(vk) == NoSymbol) return false;
    KeyCode code = gPressedWith[vk];
    if (press) {
        // A repeated press (the key held down) goes where the first one went.
        if (code == 0) code = KeyAtRecordedPlace(display, vk, scan, extended);
        if (code == 0) code = KeyFor(display, vk, true);
        if (code == 0) return false;
        if (gPressedWith[vk] == 0) X11SpareKeyPressed(code);
        gPressedWith[vk] = code;
        FakeKey(display, code, true);
        return true;
    }
    if (code == 0) code = KeyAtRecordedPlace(display, vk, scan, extended);
    if (code == 0) code = KeyFor(display, vk, false);
    if (code == 0) return false;
    gPressedWith[vk] = 0;
    FakeKey(display, code, false);
    X11SpareKeyReleased(code);
    return true;
}

void X11InjectMotion(Display* display, int x, int y) {
    // The request carries 16-bit coordinates: a recorded 66000 would arrive as 464. So
    // every point is put on the screen first, a negative one (a large unsigned value read
    // back) on its first pixel.
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
    x = x < 0 ? 0 : x >= width ? width - 1 : x;
    y = y < 0 ? 0 : y >= height ? height - 1 : y;
    XTestFakeMotionEvent(display, screen, x, y, CurrentTime);
}

void X11InjectButton(Display* display, unsigned button, bool press) {
    XTestFakeButtonEvent(display, button, press ? True : False, CurrentTime);
    X11SetBit(gHeldButtons, button, press);
}

void X11ReleaseHeldInput(Display* display) {
    if (display == nullptr || gXTest != 1) return;
    ReleaseHeld(display);
    XFlush(display);
}

// --- the seam -----------------------------------------------------------------------

bool SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    if (const KelmorWayland* wayland = WaylandPlayback()) return wayland->keybdEvent(vk, scan, flags);
    Display* display = X11Display();
    const bool extended = (flags & KEYEVENTF_EXTENDEDKEY) != 0;
    if (!X11InjectKey(display, vk, scan, extended, (flags & KEYEVENTF_KEYUP) == 0)) return false;
    XFlush(display);
    return true;
}

void SysMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data, uint32_t) {
    if (const KelmorWayland* wayland = WaylandPlayback()) return wayland->mouseEvent(flags, dx, dy, data);
    Display* display = X11Display();
    if (display == nullptr || !X11HasXTest(display)) return;
    if ((flags & MOUSEEVENTF_MOVE) != 0) {
        if ((flags & MOUSEEVENTF_ABSOLUTE) != 0) {
            // 0..65535 spans the screen, the last value landing on its last pixel.
            const int screen = DefaultScreen(display);
            const int64_t width = DisplayWidth(display, screen), height = DisplayHeight(display, screen);
            X11InjectMotion(display, static_cast<int>(ClampNormalised(dx) * width / 65536),
                            static_cast<int>(ClampNormalised(dy) * height / 65536));
        } else {
            XTestFakeRelativeMotionEvent(display, dx, dy, CurrentTime);
        }
    }
    for (const MouseButtonFlag& b : kMouseButtonFlags) {
        if ((flags & b.flag) != 0) X11InjectButton(display, b.button, b.press);
    }
    // Positive data turns the wheel away from the user (up, button 4) or to the right
    // (button 7).
    if ((flags & MOUSEEVENTF_WHEEL) != 0) {
        gWheelRest += data;
        ClickWheel(display, 4, 5, &gWheelRest);
    } else if ((flags & kHorizontalWheel) != 0) {
        gHorizontalRest += data;
        ClickWheel(display, 7, 6, &gHorizontalRest);
    }
    XFlush(display);
}

bool SysGetKeyboardState(uint8_t state[256]) {
    if (gX11KeyView != nullptr) {
        memcpy(state, gX11KeyView->state, 256);
        return true;
    }
    Display* display = X11Display();
    if (display == nullptr) return false;
    memset(state, 0, 256);
    uint8_t keys[32];
    XQueryKeymap(display, reinterpret_cast<char*>(keys));
    XkbStateRec xkb;
    memset(&xkb, 0, sizeof xkb);
    XkbGetState(display, XkbUseCoreKbd, &xkb);
    for (int code = 8; code < 256; ++code) {
        if (!X11BitSet(keys, static_cast<unsigned>(code))) continue;
        uint8_t sided = 0, generic = 0;
        X11ModifierVksOf(display, static_cast<unsigned>(code), &sided, &generic);
        if (sided != 0) {
            state[sided] |= 0x80;
            if (generic != 0) state[generic] |= 0x80;
            continue;
        }
        const uint8_t vk = X11KeycodeToVk(display, static_cast<unsigned>(code), xkb.mods);
        if (vk != 0) state[vk] |= 0x80;
    }
    Window root = 0, child = 0;
    int rootX = 0, rootY = 0, x = 0, y = 0;
    unsigned mask = 0;
    if (XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &x, &y, &mask)) {
        if ((mask & Button1Mask) != 0) state[VK_LBUTTON] |= 0x80;
        if ((mask & Button3Mask) != 0) state[VK_RBUTTON] |= 0x80;
        if ((mask & Button2Mask) != 0) state[VK_MBUTTON] |= 0x80;
    }
    if (IndicatorOn(display, "Caps Lock")) state[VK_CAPITAL] |= 0x01;
    if (IndicatorOn(display, "Num Lock")) state[VK_NUMLOCK] |= 0x01;
    if (IndicatorOn(display, "Scroll Lock")) state[VK_SCROLL] |= 0x01;
    return true;
}

int16_t SysGetKeyState(uint8_t vk) {
    uint8_t state[256];
    if (!SysGetKeyboardState(state)) return 0;
    return static_cast<int16_t>(((state[vk] & 0x80) != 0 ? 0x8000 : 0) | (state[vk] & 0x01));
}

// Only the modifiers are brought in line with the table: the server keeps one key state
// for everybody, and pressing or releasing ordinary keys (or flipping a lock) would type
// into whatever window has the focus. Releasing modifiers is what the program needs —
// a hot key's Ctrl must not reach the keys typed after it. XTest can only release keys
// pressed through XTest; a modifier the user still holds on the real keyboard stays.
// While the keyboard hook hands an event over, the keys down are those of its view.
bool SysSetKeyboardState(const uint8_t state[256]) {
    // No program sees the keys of others on Wayland: the program's own are all there is.
    if (const KelmorWayland* wayland = gX11KeyView == nullptr ? WaylandPlayback() : nullptr) {
        wayland->releaseModifiers();
        return true;
    }
    Display* display = X11Display();
    if (display == nullptr || !X11HasXTest(display)) return false;
    X11KeyView* view = gX11KeyView;
    uint8_t keys[32];
    if (view != nullptr) {
        memcpy(view->state, state, 256);
        memcpy(keys, view->down, sizeof keys);
    } else {
        XQueryKeymap(display, reinterpret_cast<char*>(keys));
    }
    bool held[MOD_RWIN + 1] = {};
    for (int code = 8; code < 256; ++code) {
        if (!X11BitSet(keys, static_cast<unsigned>(code))) continue;
        const ModifierKey modifier = ModifierOf(XkbKeycodeToKeysym(display, static_cast<KeyCode>(code), 0, 0));
        if (modifier == MOD_NONE) continue;
        if (Kept(state, modifier)) {
            held[modifier] = true;
            continue;
        }
        FakeKey(display, static_cast<unsigned>(code), false);
        if (view != nullptr) {
            X11SetBit(view->down, static_cast<unsigned>(code), false);
            X11SetBit(view->ownRelease, static_cast<unsigned>(code), true);
        }
        for (KeyCode& pressed : gPressedWith) {
            if (pressed == code) pressed = 0;
        }
    }
    // A generic entry alone brings the left key down, unless either side already is.
    for (int m = MOD_LSHIFT; m <= MOD_RWIN; ++m) {
        const ModifierKey modifier = static_cast<ModifierKey>(m);
        const bool left = (m - MOD_LSHIFT) % 2 == 0;
        const bool wanted = Sided(state, modifier) || (left && Kept(state, modifier) && !held[OtherSide(modifier)]);
        if (held[m] || !wanted) continue;
        const KeyCode code = XKeysymToKeycode(display, PressSymbol(display, modifier));
        if (code == 0) continue;
        FakeKey(display, code, true);
        if (view != nullptr) {
            X11SetBit(view->down, code, true);
            X11SetBit(view->ownPress, code, true);
        }
    }
    XFlush(display);
    return true;
}
