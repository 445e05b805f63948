// Seam: synthetic keyboard input and the keyboard state table.
#pragma once
#include <cstdint>

// One key press or release (KEYEVENTF_KEYUP in flags) of a virtual key, sent straight
// to the system. False when nothing was sent (no key stands for it here).
bool SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
bool SysGetKeyboardState(uint8_t state[256]);
// One key of the keyboard state as the system sees it now: the sign bit (0x8000) while
// the key is down, bit 0 while a lock key is on.
int16_t SysGetKeyState(uint8_t vk);
bool SysSetKeyboardState(const uint8_t state[256]);

// Text is typed as characters, never as the key that would make them on one particular
// layout: each back end decides which keys make a character in the layout active at that
// moment (its own level and group, or a spare key mapped for the moment, or the system's
// Unicode input), and nothing typed from text presses a key that was not meant.
//
// Whether the character can be typed here at all. False for control characters, for
// code points that are no characters, and where the system has no way to make it.
bool SysCanTypeCharacter(uint32_t character);
// Presses (press) or releases what makes one character in the active layout: the
// modifiers its level needs and its key. A release ends what the matching press began,
// whatever the layout did in between. Returns the number of key events sent, 0 when
// none could be, so that the keyboard service can tell its own events from the user's.
int SysTypeCharacter(uint32_t character, bool press);
// The character the key now handed to the keyboard hook makes in the active layout, with
// the modifiers that were held when it went down (a release reports its press's
// character). 0 for keys that make none (modifiers, function and dead keys) and outside
// a call of the hook.
uint32_t SysKeyEventCharacter();

// A run of keys the keyboard service sends in reply to a key (the BackSpaces and the text
// put in place of an abbreviation) must reach the program whole: SysHoldOtherInput keeps
// every other program's input out until SysLetOtherInputGo. It holds nothing and returns
// false when keys have come after the one handed to the hook that the hook has not shown
// yet: the program has them already, and the service decides again once it has seen them.
bool SysHoldOtherInput();
void SysLetOtherInputGo();
// Whether the key handed to the hook reached the system after the last
// SysLetOtherInputGo, and so is none of the keys the service sent before it: a key it
// sent that never comes back to the hook (the system lost it on the way) must not make
// the service take the user's next keys for its own.
bool SysKeyEventAfterTyping();

// mouse_event flags
enum : uint32_t {
    MOUSEEVENTF_MOVE = 0x0001,
    MOUSEEVENTF_LEFTDOWN = 0x0002,
    MOUSEEVENTF_LEFTUP = 0x0004,
    MOUSEEVENTF_WHEEL = 0x0800,
    MOUSEEVENTF_ABSOLUTE = 0x8000,
};
// The absolute coordinate (0-65535 across the screen) that lands on a pixel of a screen
// size pixels across, where a coordinate lands on pixel coordinate * size / 65536.
inline int32_t NormaliseScreenCoordinate(int32_t pixel, int32_t size) {
    if (size <= 0) return 0;
    if (pixel < 0) pixel = 0;
    if (pixel >= size) pixel = size - 1;
    const int64_t value = (static_cast<int64_t>(pixel) * 65536 + size - 1) / size;
    return value > 65535 ? 65535 : static_cast<int32_t>(value);
}

// The button presses and releases a mouse action's flags ask for, in the order the back
// ends send them; buttons by X's numbers (1 left, 2 middle, 3 right). The right and middle
// flags are not named above, but a caller may still pass them.
struct MouseButtonFlag {
    uint32_t flag;
    unsigned button;
    bool press;
};
const MouseButtonFlag kMouseButtonFlags[] = {{MOUSEEVENTF_LEFTDOWN, 1, true}, {MOUSEEVENTF_LEFTUP, 1, false},
                                             {0x0008, 3, true},               {0x0010, 3, false},
                                             {0x0020, 2, true},               {0x0040, 2, false}};

// One synthetic mouse action (flags MOUSEEVENTF_*), sent straight to the system.
void SysMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data, uint32_t extraInfo);
