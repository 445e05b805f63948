#include <algorithm>

#include "platform/keyboard_hook.h"
#include "platform/wintypes.h"
#include "tests/fakes/fakes.h"

namespace fake {

KeyboardProc keyboardProc;
intptr_t keyboardHook;
bool refuseKeyboardHook;
int keyboardInstalls;
std::vector<TakenKey> takenKeys;
std::vector<TakenKey> busyKeys;

void ResetKeyboardHook() {
    keyboardProc = nullptr;
    keyboardHook = 0;
    refuseKeyboardHook = false;
    keyboardInstalls = 0;
    takenKeys.clear();
    busyKeys.clear();
}

intptr_t FeedKey(uint8_t vk, bool press) {
    if (keyboardProc == nullptr) return 0;
    keyboardState[vk] = static_cast<uint8_t>(press ? keyboardState[vk] | 0x80 : keyboardState[vk] & ~0x80);
    const uint32_t flags = press ? 1u : 0xC0000001u;
    return keyboardProc(HC_ACTION, vk, static_cast<intptr_t>(flags));
}

}  // namespace fake

namespace {
bool Same(const TakenKey& a, const TakenKey& b) {
    return a.vk == b.vk && a.ctrl == b.ctrl && a.shift == b.shift && a.alt == b.alt;
}
}  // namespace

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    if (fake::refuseKeyboardHook || proc == nullptr || fake::keyboardHook != 0) return 0;
    ++fake::keyboardInstalls;
    fake::keyboardProc = proc;
    fake::keyboardHook = 0x200 + fake::keyboardInstalls;
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
