// Kelmor.exe links this only while platform/win32 has no keyboard hook: the hidden run
// never loads the keyboard service, and an install is refused as unsupported rather
// than pretended.
#include "platform/win32/windows_api.h"

#include "platform/keyboard_hook.h"

intptr_t SysSetKeyboardHook(KeyboardProc) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return 0;
}

bool SysUnhookKeyboard(intptr_t) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
}

int SysTakeKeys(const TakenKey*, int, TakenKey*, int) { return 0; }
