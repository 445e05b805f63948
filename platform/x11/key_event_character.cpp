// What a key event makes as text: the keyboard service builds its abbreviations from the
// characters the keys made, whatever layout the person types in.
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/input.h"
#include "platform/x11/inject.h"
#include "platform/x11/keymap.h"

uint32_t X11KeyCharacter(Display* display, unsigned keycode, unsigned state) {
    if (display == nullptr || keycode < 8 || keycode > 255) return 0;
    KeySym keysym = NoSymbol;
    unsigned consumed = 0;
    // The state's group bits choose the group, its modifiers the level.
    if (!XkbLookupKeySym(display, static_cast<KeyCode>(keycode), state, &consumed, &keysym)) return 0;
    const unsigned unused = state & ~consumed;
    if ((unused & LockMask) != 0) {
        KeySym lower = NoSymbol, upper = NoSymbol;
        XConvertCase(keysym, &lower, &upper);
        keysym = upper;
    }
    uint32_t character = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym));
    if ((unused & ControlMask) != 0) {
        // Ctrl makes the control characters of '@' to '~' (Ctrl+A is 1) and of the blank;
        // nothing else is typed with it.
        character = (character >= '@' && character <= '~') || character == ' ' ? character & 0x1F : 0;
    }
    return character;
}

uint32_t SysKeyEventCharacter() { return gX11KeyView != nullptr ? gX11KeyView->character : 0; }
