#include "script/send_lock_key.h"

#include <cstdint>

#include "platform/input.h"
#include "platform/system.h"
#include "platform/wintypes.h"

namespace {

// The events that really went out: the keyboard service passes that many of its own by,
// and counting one that never comes would swallow the user's next key.
int Sent(int keyCode, uint8_t scan, uint32_t flags) {
    return SysKeybdEvent(static_cast<uint8_t>(keyCode), scan, flags) ? 1 : 0;
}

int PressAndRelease(int keyCode, uint8_t scan, uint32_t flags) {
    return Sent(keyCode, scan, flags) + Sent(keyCode, scan, flags | KEYEVENTF_KEYUP);
}

bool IsWindows9x() {
    uint32_t platformId = 0;
    return SysGetVersion(&platformId, nullptr, nullptr, nullptr) && platformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

int SendLockKey(int keyCode, int shift) {
    switch (keyCode) {
    case VK_ESCAPE:
    case VK_BACK:
    case VK_CONTROL:
        return PressAndRelease(keyCode, 0x9D, KEYEVENTF_EXTENDEDKEY);
    case VK_CAPITAL:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_NUMLOCK:
    case VK_SCROLL:
        // The 9x family does not update its own toggle state for injected lock keys.
        if (IsWindows9x()) {
            uint8_t state[256];
            if (SysGetKeyboardState(state)) {
                state[keyCode] = state[keyCode] != 0 ? 0 : 1;
                SysSetKeyboardState(state);
            }
        }
        return PressAndRelease(keyCode, 0x45, KEYEVENTF_EXTENDEDKEY);
    default:
        break;
    }
    if (shift) {
        int sent = Sent(VK_SHIFT, 0x81, KEYEVENTF_EXTENDEDKEY);
        sent += PressAndRelease(keyCode, 0, 0);
        return sent + Sent(VK_SHIFT, 0x81, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP);
    }
    const bool plain = (keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9');
    return PressAndRelease(keyCode, 0, plain ? 0u : static_cast<uint32_t>(KEYEVENTF_EXTENDEDKEY));
}
