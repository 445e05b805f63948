#include <algorithm>

#include "platform/keyboard_hook.h"
#include "platform/wintypes.h"
#include "tests/fakes/fakes.h"

namespace fake {

KeyboardProc keyboardProc;
intptr_t keyboardHook;
bool refuseKeyboardHook;
std::vector<TakenKey> takenKeys;
const char* hookReach;
std::vector<TakenKey> busyKeys;

void ResetKeyboardHook() {
    keyboardProc = nullptr;
    keyboardHook = 0;
    refuseKeyboardHook = false;
    takenKeys.clear();
    busyKeys.clear();
    hookReach = nullptr;
}

}  // namespace fake

namespace {
bool Same(const TakenKey& a, const TakenKey& b) {
    return a.vk == b.vk && a.ctrl == b.ctrl && a.shift == b.shift && a.alt == b.alt;
}
}  // namespace

const char* SysKeyboardHookReach() { return fake::hookReach; }
const char* SysKeyboardHookReachNotice(bool installed) {
    if (fake::hookReach == nullptr) return nullptr;
    return installed ? "installed: reads some programs' keys" : "refused: use an X11 session";
}

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    if (fake::refuseKeyboardHook || proc == nullptr || fake::keyboardHook != 0) return 0;
    static intptr_t next = 0x200;
    fake::keyboardProc = proc;
    fake::keyboardHook = ++next;
    return fake::keyboardHook;
}

bool SysUnhookKeyboard(intptr_t hook) {
    if (hook == 0 || hook != fake::keyboardHook) return false;
    fake::keyboardHook = 0;
    fake::keyboardProc = nullptr;
    fake::takenKeys.clear();
    return true;
}

int SysTakeKeys(const TakenKey* keys, int count, TakenKey* busy, int busyMax) {
    fake::takenKeys.assign(keys, keys + (count > 0 ? count : 0));
    int busyCount = 0;
    for (const TakenKey& key : fake::takenKeys) {
        const bool held = std::any_of(fake::busyKeys.begin(), fake::busyKeys.end(),
                                      [&](const TakenKey& other) { return Same(key, other); });
        if (!held) continue;
        if (busyCount < busyMax) busy[busyCount] = key;
        ++busyCount;
    }
    return busyCount;
}
