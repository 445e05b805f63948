// Typed keys and the layout they are typed in, on Windows: shared by the program and the
// keyboard service's DLL, which types inside whatever process holds the focus.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/input.h"

bool SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}
