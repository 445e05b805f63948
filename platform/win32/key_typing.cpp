// Typed keys and characters on Windows: shared by the program and the keyboard service's
// DLL, which types inside whatever process holds the focus.
#include "platform/win32/windows_api.h"

#include "platform/input.h"
#include "platform/win32/character_input.h"

bool SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = scan;
    input.ki.dwFlags = flags;
    return SendInput(1, &input, sizeof input) == 1;
}

// Unicode input makes every character the key's way cannot.
bool SysCanTypeCharacter(uint32_t character) { return WinIsTypableCharacter(character); }

int SysTypeCharacter(uint32_t character, bool press) {
    if (!WinIsTypableCharacter(character)) return 0;
    INPUT input[kCharacterInputMax];
    const int count = WinCharacterInput(character, press, input);
    if (count == 0) return 0;
    return static_cast<int>(SendInput(static_cast<UINT>(count), input, sizeof(INPUT)));
}
