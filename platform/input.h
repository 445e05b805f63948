// Seam: synthetic keyboard input and the keyboard state table.
#pragma once
#include <cstdint>

// One key press or release (KEYEVENTF_KEYUP in flags) of a virtual key, sent straight
// to the system.
void SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
bool SysGetKeyboardState(uint8_t state[256]);
// One key of the keyboard state as the system sees it now: the sign bit (0x8000) while
// the key is down, bit 0 while a lock key is on.
int16_t SysGetKeyState(uint8_t vk);
bool SysSetKeyboardState(const uint8_t state[256]);

// The keyboard layout typed text is turned into keys for: the keyboard service types in
// the US English layout ("00000409") and gives the person's own back afterwards.
constexpr char kTypingLayout[] = "00000409";
// The name of this thread's active layout, eight hexadecimal digits; empty where the
// layout plays no part in typing. Returns the length copied (at most size - 1).
int SysGetKeyboardLayoutName(char* out, int size);
// Loads a layout by that name and makes it this thread's active one; false when it cannot.
bool SysActivateKeyboardLayout(const char* name);

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

// One synthetic mouse action (flags MOUSEEVENTF_*), sent straight to the system.
void SysMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data, uint32_t extraInfo);
