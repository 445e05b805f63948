#include "platform/keyboard_hook.h"
#include "tests/fakes/fakes.h"

namespace fake {
KeyboardProc keyboardProc = nullptr;
intptr_t keyboardHook = 0;
bool refuseKeyboardHook = false;
bool refuseKeyboardUnhook = false;
std::vector<TakenKey> takenKeys;
std::vector<TakenKey> busyKeys;

namespace {
intptr_t gNextKeyboardHook = 0x7000;
}

void ResetKeyboardHook() {
    keyboardProc = nullptr;
    keyboardHook = 0;
    refuseKeyboardHook = refuseKeyboardUnhook = false;
    takenKeys.clear();
    busyKeys.clear();
}
}  // namespace fake

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    if (fake::refuseKeyboardHook || proc == nullptr) return 0;
    fake::keyboardProc = proc;
    fake::keyboardHook = fake::gNextKeyboardHook++;
    return fake::keyboardHook;
}

bool SysUnhookKeyboard(intptr_t hook) {
    if (fake::refuseKeyboardUnhook || hook == 0 || hook != fake::keyboardHook) return false;
    fake::keyboardHook = 0;
    fake::keyboardProc = nullptr;
    fake::takenKeys.clear();
    return true;
}

int SysTakeKeys(const TakenKey* keys, int count, TakenKey* busy, int busyMax) {
    fake::takenKeys.assign(keys, keys + count);
    int held = 0;
    for (const TakenKey& key : fake::takenKeys) {
        for (const TakenKey& other : fake::busyKeys) {
            if (other.vk != key.vk || other.ctrl != key.ctrl || other.shift != key.shift || other.alt != key.alt)
                continue;
            if (held < busyMax) busy[held] = key;
            ++held;
        }
    }
    return held;
}
