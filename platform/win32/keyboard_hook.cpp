// The keyboard service hook is the system's own WH_KEYBOARD hook: the system loads the
// module that holds the procedure into every process that gets keyboard input and asks
// the procedure there, before the program sees the key.
#include "platform/win32/windows_api.h"

#include "platform/keyboard_hook.h"

const char* SysKeyboardHookReach() { return nullptr; }
const char* SysKeyboardHookReachNotice(bool) { return nullptr; }

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    if (proc == nullptr) return 0;
    // The hook names the module the procedure lives in, which the system then loads
    // elsewhere: the procedure must come from a DLL, not from the program's own file.
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(proc), &module))
        return 0;
    return reinterpret_cast<intptr_t>(SetWindowsHookExA(WH_KEYBOARD, reinterpret_cast<HOOKPROC>(proc), module, 0));
}

bool SysUnhookKeyboard(intptr_t hook) {
    // The system refuses a handle that is not an installed hook.
    return hook != 0 && UnhookWindowsHookEx(reinterpret_cast<HHOOK>(hook)) != FALSE;
}

// The procedure's non-zero answer keeps a key from its program: nothing is taken before.
int SysTakeKeys(const TakenKey*, int, TakenKey*, int) { return 0; }
