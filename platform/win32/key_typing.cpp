// Typed keys and the layout they are typed in, on Windows: shared by the program and the
// keyboard service's DLL, which types inside whatever process holds the focus.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/input.h"

void SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
}

int SysGetKeyboardLayoutName(char* out, int size) {
    if (out == nullptr || size <= 0) return 0;
    out[0] = '\0';
    char name[KL_NAMELENGTH] = "";
    if (!GetKeyboardLayoutNameA(name)) return 0;
    const size_t length = strnlen(name, static_cast<size_t>(size) - 1);
    memcpy(out, name, length);
    out[length] = '\0';
    return static_cast<int>(length);
}

bool SysActivateKeyboardLayout(const char* name) {
    HKL layout = LoadKeyboardLayoutA(name, KLF_ACTIVATE);
    return layout != nullptr && ActivateKeyboardLayout(layout, 0) != nullptr;
}
