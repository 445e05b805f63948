// Seam: the system-wide keyboard hook that carries the keyboard service. The back end
// plays the system's part: it hands the procedure every key event of the desktop, on the
// thread that installed it, between that thread's other work.
#pragma once
#include <cstdint>

// code: HC_ACTION; wParam: the virtual-key code (Shift, Ctrl and Alt without their side);
// lParam: the keystroke flags (repeat count 1, scan code in bits 16-23, bit 31 set for a
// release). While the procedure runs, SysGetKeyState answers for the moment of the event,
// the event itself counted, and SysSetKeyboardState changes that view without the change
// coming back to the procedure as events.
// On Windows the system calls the procedure itself, with the callee popping the arguments.
#if defined(_WIN32)
#define KEYBOARD_PROC_CALL __stdcall
#else
#define KEYBOARD_PROC_CALL
#endif
typedef intptr_t(KEYBOARD_PROC_CALL* KeyboardProc)(int code, uintptr_t wParam, intptr_t lParam);

// A key combination the procedure may take away from programs: the virtual key and,
// 1 or 0, whether Ctrl, Shift and Alt are held, each exactly.
struct TakenKey {
    uint8_t vk, ctrl, shift, alt;
};

// Installs proc for the key events of every program; returns the hook's handle, or 0
// when the system refuses.
intptr_t SysSetKeyboardHook(KeyboardProc proc);
// The programs whose keys a hook sees, when not every program's: a short phrase for the
// status line ("Xwayland programs only"), or nullptr when it sees them all.
const char* SysKeyboardHookReach();
// What to tell the user about that, for a hook installed or refused; nullptr when the
// hook sees every program's keys.
const char* SysKeyboardHookReachNotice(bool installed);
// Removes the hook and the keys it took; false when the handle is not the installed hook.
bool SysUnhookKeyboard(intptr_t hook);
// Where the system cannot ask the procedure before a program gets its key, the keys the
// procedure may take away are taken from every program beforehand, and no other key is
// ever kept from a program whatever the procedure answers. Replaces the keys of the
// installed hook. Returns how many of them another program holds already (those stay
// with it), copying up to busyMax of them into busy.
int SysTakeKeys(const TakenKey* keys, int count, TakenKey* busy, int busyMax);
