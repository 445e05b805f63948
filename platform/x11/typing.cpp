#include "platform/x11/typing.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/Xlib-xcb.h>
#include <glib.h>
#include <xkbcommon/xkbcommon-x11.h>

#include <cstring>

#include "platform/input.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/key_choice.h"
#include "platform/x11/spare_keys.h"

namespace {

// The keymap is read from the server once and again only when the layout changes: a
// spare key lent or given back is no change of layout.
xkb_context* gContext = nullptr;
xkb_keymap* gKeymap = nullptr;
int32_t gDevice = -1;
bool gStale = true;
bool gWatching = false;
int gXkbEvents = -1;  // the XKB extension's first event code

// The server's keyboard state, asked once for a run of characters rather than once for
// each: a character's own modifiers are up again after it. Asked again after any other
// key sent from here (a lock key, a script's Shift) and after a short while, so that the
// user's own changes of group or lock count.
const gint64 kStateFreshMicros = 10000;
struct {
    bool valid;
    unsigned serial;
    gint64 at;
    KeyboardNow now;
} gState;

// The decisions taken, for the characters of a text that come again: deciding looks at
// every key of the layout. Good for the keymap, group and modifiers they were taken for.
struct Decided {
    bool valid;
    bool found;
    uint32_t character;
    KeyboardNow now;
    KeyChoice choice;
};
Decided gDecided[256];

// The characters pressed and not yet released, with what their press pressed.
const int kMaxTyped = 16;
struct Typed {
    uint32_t character;
    KeyCode key;
    KeyCode modifiers[kMaxModifierKeys];
    int modifierCount;
    xkb_mod_mask_t pressedMask;
    bool spare;
};
Typed gTyped[kMaxTyped];
int gTypedCount = 0;

// A new layout (setxkbmap) comes as XKB's notice of a new keyboard: the server tells
// clients that use XKB of no core mapping change then. A key remapped by a client
// (xmodmap, a spare key) comes as a core mapping notice.
void OnXEvent(XEvent* event) {
    const bool newKeyboard = event->type == gXkbEvents &&
                             reinterpret_cast<XkbAnyEvent*>(event)->xkb_type == XkbNewKeyboardNotify;
    const bool remapped = event->type == MappingNotify && event->xmapping.request != MappingPointer &&
                          !X11IsSpareKeyNotice(event->xmapping);
    if (newKeyboard || remapped) {
        gStale = true;
        gState.valid = false;
    }
}

bool LoadKeymap(Display* display) {
    if (display == nullptr) return false;
    if (!gStale && gKeymap != nullptr) return true;
    xcb_connection_t* connection = XGetXCBConnection(display);
    if (gContext == nullptr) {
        if (!xkb_x11_setup_xkb_extension(connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
                                         XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, nullptr, nullptr)) {
            return false;
        }
        gContext = xkb_context_new(static_cast<xkb_context_flags>(XKB_CONTEXT_NO_DEFAULT_INCLUDES | XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
        if (gContext == nullptr) return false;
        gDevice = xkb_x11_get_core_keyboard_device_id(connection);
    }
    if (!gWatching) {
        int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (XkbQueryExtension(display, &opcode, &gXkbEvents, &error, &major, &minor)) {
            XkbSelectEvents(display, XkbUseCoreKbd, XkbNewKeyboardNotifyMask, XkbNewKeyboardNotifyMask);
        }
        X11AddEventHandler(OnXEvent);
        gWatching = true;
    }
    // Keys a killed process left lent are given back before the keymap is read, so that
    // their symbols are not taken for the layout's.
    if (gKeymap == nullptr) {
        X11ClaimSpareKeys(display);
    } else {
        X11CheckSpareKeys(display);
    }
    xkb_keymap* keymap = xkb_x11_keymap_new_from_device(gContext, connection, gDevice, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (keymap == nullptr) return false;
    if (gKeymap != nullptr) xkb_keymap_unref(gKeymap);
    gKeymap = keymap;
    memset(gDecided, 0, sizeof gDecided);
    gStale = false;
    gState.valid = false;
    return true;
}

bool CurrentState(Display* display, KeyboardNow* now) {
    const gint64 at = g_get_monotonic_time();
    if (!gState.valid || gState.serial != X11KeyEventSerial() || at - gState.at > kStateFreshMicros) {
        XkbStateRec state;
        if (XkbGetState(display, XkbUseCoreKbd, &state) != Success) return false;
        gState.now = KeyboardNow{state.group, state.locked_mods, state.base_mods};
        gState.at = at;
        gState.serial = X11KeyEventSerial();
        gState.valid = true;
    }
    *now = gState.now;
    for (int i = 0; i < gTypedCount; ++i) now->held |= gTyped[i].pressedMask;
    return true;
}

// Control characters are keys (Enter, Tab) or nothing; surrogates and what lies past
// U+10FFFF are no characters.
bool IsCharacter(uint32_t character) {
    return character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0) &&
           !(character >= 0xD800 && character <= 0xDFFF) && character <= 0x10FFFF;
}

void KeysToAvoid(uint8_t avoid[32]) {
    X11HeldKeys(avoid);
    uint8_t borrowed[32];
    X11BorrowedKeys(borrowed);
    for (int i = 0; i < 32; ++i) avoid[i] |= borrowed[i];
}

bool Marked(const uint8_t bits[32], xkb_keycode_t code) { return X11BitSet(bits, code); }

bool Decide(const KeyboardNow& now, uint32_t character, const uint8_t avoid[32], KeyChoice* choice) {
    Decided& slot = gDecided[character % 256];
    bool usable = slot.valid && slot.character == character && slot.now.group == now.group &&
                  slot.now.locked == now.locked && slot.now.held == now.held;
    if (usable && slot.found) {
        usable = !Marked(avoid, slot.choice.key);
        for (int i = 0; usable && i < slot.choice.modifierCount; ++i) usable = !Marked(avoid, slot.choice.modifiers[i]);
    }
    if (!usable) {
        slot.found = ChooseKeyForCharacter(gKeymap, now, character, avoid, &slot.choice);
        slot.valid = true;
        slot.character = character;
        slot.now = now;
    }
    if (slot.found) *choice = slot.choice;
    return slot.found;
}

// A spare key for the character. One with two cases gives its capital on the second
// level of each group, as a letter key does: Shift or Caps Lock select it, both together
// the small letter, and the Shift to press (if any) is chosen for that.
bool ChooseSpareKey(Display* display, const KeyboardNow& now, uint32_t character, const uint8_t avoid[32],
                    Typed* typed) {
    const KeySym symbol = xkb_utf32_to_keysym(character);
    if (symbol == NoSymbol) return false;
    KeySym lower = symbol, upper = symbol;
    X11CasesOfSymbol(symbol, &lower, &upper);
    const KeyCode code = X11BorrowSpareKey(display, lower, upper);
    if (code == 0) return false;
    typed->key = code;
    typed->spare = true;
    if (lower == upper) return true;
    const bool capital = symbol == upper, lockOn = (now.locked & LockMask) != 0, shiftOn = (now.held & ShiftMask) != 0;
    if (capital == lockOn || shiftOn) return true;
    const xkb_keycode_t shift = ChooseModifierKey(gKeymap, now.group, ShiftMask, avoid);
    if (shift != 0) {
        typed->modifiers[typed->modifierCount++] = static_cast<KeyCode>(shift);
        typed->pressedMask = ShiftMask;
    }
    return true;
}

// What makes the character now: the layout's key, else a spare key.
bool Choose(Display* display, uint32_t character, bool mayBorrow, Typed* typed) {
    if (!IsCharacter(character) || !LoadKeymap(display)) return false;
    KeyboardNow now;
    if (!CurrentState(display, &now)) return false;
    uint8_t avoid[32];
    KeysToAvoid(avoid);
    *typed = Typed{character, 0, {}, 0, 0, false};
    KeyChoice choice;
    if (Decide(now, character, avoid, &choice)) {
        typed->key = static_cast<KeyCode>(choice.key);
        for (int i = 0; i < choice.modifierCount; ++i) {
            typed->modifiers[typed->modifierCount++] = static_cast<KeyCode>(choice.modifiers[i]);
        }
        typed->pressedMask = choice.modifierMask;
        return true;
    }
    if (!mayBorrow) return xkb_utf32_to_keysym(character) != NoSymbol && X11HasSpareKeys(display);
    return ChooseSpareKey(display, now, character, avoid, typed);
}

int Press(Display* display, uint32_t character) {
    if (gTypedCount == kMaxTyped) return 0;
    Typed typed;
    if (!Choose(display, character, true, &typed)) return 0;
    for (int i = 0; i < typed.modifierCount; ++i) X11FakeKey(display, typed.modifiers[i], true);
    X11FakeKey(display, typed.key, true);
    if (typed.spare) X11SpareKeyPressed(typed.key);
    // The modifiers a character holds count as held until its release; what it sent
    // changes nothing else of the state kept.
    gTyped[gTypedCount++] = typed;
    gState.serial = X11KeyEventSerial();
    return typed.modifierCount + 1;
}

int Release(Display* display, uint32_t character) {
    int at = gTypedCount - 1;
    while (at >= 0 && gTyped[at].character != character) --at;
    if (at < 0) return 0;
    const Typed typed = gTyped[at];
    memmove(&gTyped[at], &gTyped[at + 1], sizeof gTyped[0] * static_cast<size_t>(gTypedCount - at - 1));
    --gTypedCount;
    X11FakeKey(display, typed.key, false);
    if (typed.spare) X11SpareKeyReleased(typed.key);
    for (int i = typed.modifierCount - 1; i >= 0; --i) X11FakeKey(display, typed.modifiers[i], false);
    gState.serial = X11KeyEventSerial();
    return typed.modifierCount + 1;
}

}  // namespace

int X11TypeCharacter(Display* display, uint32_t character, bool press) {
    if (display == nullptr || !X11HasXTest(display)) return 0;
    return press ? Press(display, character) : Release(display, character);
}

bool X11CanTypeCharacter(Display* display, uint32_t character) {
    Typed typed;
    return display != nullptr && X11HasXTest(display) && Choose(display, character, false, &typed);
}

void X11ForgetTypedCharacters() { gTypedCount = 0; }

// --- the seam -----------------------------------------------------------------------

bool SysCanTypeCharacter(uint32_t character) { return X11CanTypeCharacter(X11Display(), character); }

int SysTypeCharacter(uint32_t character, bool press) {
    Display* display = X11Display();
    const int sent = X11TypeCharacter(display, character, press);
    if (sent > 0) XFlush(display);
    return sent;
}
