// The keyboard service's hook procedure: called for every key event with the system's
// hook arguments, it acts on Mappings and ShortTypes and says whether the event goes on.
#pragma once
#include <cstdint>

#include "platform/keyboard_hook.h"
#include "service/service_entry.h"

// code: the hook code (HC_ACTION for a key event); wParam: the virtual-key code; lParam:
// the keystroke flags, only passed on. Whether the event is a press or a release comes
// from the key state. Returns non-zero to take the event away from the program, 0 to
// let it through, or what the next hook says.
SERVICE_ENTRY intptr_t KEYBOARD_PROC_CALL KelmorKeyboardProc(int code, uintptr_t wParam, intptr_t lParam);
