// Synthetic mouse input and the keyboard state on Windows; typed keys are in key_typing.cpp.
#include "platform/win32/windows_api.h"

#include "platform/input.h"

bool SysGetKeyboardState(uint8_t state[256]) {
    // The thread's table follows the desktop's only once the thread asks about a key.
    GetKeyState(0);
    return GetKeyboardState(state) != FALSE;
}

int16_t SysGetKeyState(uint8_t vk) {
    // Down as the desktop has it now; the lock state as the thread last saw it.
    const int16_t down = (GetAsyncKeyState(vk) & 0x8000) != 0 ? static_cast<int16_t>(0x8000) : 0;
    return static_cast<int16_t>(down | (GetKeyState(vk) & 1));
}

bool SysSetKeyboardState(const uint8_t state[256]) {
    return SetKeyboardState(const_cast<uint8_t*>(state)) != FALSE;
}

void SysMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data, uint32_t extraInfo) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.mouseData = static_cast<DWORD>(data);
    input.mi.dwFlags = flags;
    input.mi.dwExtraInfo = extraInfo;
    SendInput(1, &input, sizeof input);
}
