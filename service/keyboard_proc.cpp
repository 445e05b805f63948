#include "service/keyboard_proc.h"

#include <cstring>

#include "host/busy_processes.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/wintypes.h"
#include "script/send_lock_key.h"
#include "service/service_actions.h"
#include "service/service_data.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"

namespace {

// The hook handle is read afresh: the main program may have reloaded the record while
// the event was being handled.
intptr_t PassOn(int code, uintptr_t wParam, intptr_t lParam) {
    const uint32_t hook = gService.gpServiceData->hHook;
    if (hook == 0) return 1;
    return SysCallNextHook(static_cast<intptr_t>(hook), code, wParam, lParam);
}

int HeldState(int vk) { return (SysGetKeyState(static_cast<uint8_t>(vk)) & 0x8000) != 0 ? 32768 : 0; }

void ClearKeyBuffer() { memset(gService.gszKeyBuffer, 0, sizeof gService.gszKeyBuffer); }

// The abbreviation of a slot, terminated whatever the shared record holds.
void SlotText(const KELMORSERVICEDATA* data, int slot, char out[SHORTTYPE_SLOT_SIZE]) {
    memcpy(out, data->szShortType[slot], SHORTTYPE_SLOT_SIZE - 1);
    out[SHORTTYPE_SLOT_SIZE - 1] = '\0';
}

intptr_t MappedPress(const KELMORSERVICEDATA* data, int vk, int code, uintptr_t wParam, intptr_t lParam) {
    const int ctrl = HeldState(VK_CONTROL), shift = HeldState(VK_SHIFT), alt = HeldState(VK_MENU);
    ServiceLog(LOG_HIGH, "   Service-->Partial mapping match, Checking %d==%d %d==%d %d==%d...", data->bControl[vk],
               ctrl, data->bShift[vk], shift, data->bAlt[vk], alt);
    if ((data->bControl[vk] != 0) != (ctrl != 0) || (data->bShift[vk] != 0) != (shift != 0) ||
        (data->bAlt[vk] != 0) != (alt != 0))
        return PassOn(code, wParam, lParam);
    const uint8_t cleared[256] = {0};
    SysSetKeyboardState(cleared);
    const int action = data->bAction[vk];
    ServiceLog(LOG_MEDIUM, "   Service-->Mapping Match! >>> Playing hotkey mapping #%u, Action: %d",
               static_cast<uint32_t>(vk), action);
    const intptr_t result = RunMappingAction(vk, action);
    return result < 0 ? PassOn(code, wParam, lParam) : result;
}

bool IsModifierKey(int vk) {
    return vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU || (vk >= 0xA0 && vk <= 0xA5) || vk == VK_LWIN ||
           vk == VK_RWIN;
}

// What a pressed key adds to the abbreviation being typed, as the slots hold it: the
// character its key makes in the active layout when it is one abbreviations are made of
// (a lower-case letter, upper-cased, a digit or a blank); 0 for a modifier, which only
// helps make characters; -1 for every other key, which ends the word.
int AbbreviationCharacter(int vk, uint32_t character) {
    if (character == 0 && IsModifierKey(vk)) return 0;
    if (character >= 'a' && character <= 'z') return static_cast<int>(character) - 'a' + 'A';
    if ((character >= '0' && character <= '9') || character == ' ') return static_cast<int>(character);
    return -1;
}

// The first slot whose abbreviation the last typed characters spell, or -1.
int MatchingSlot(const KELMORSERVICEDATA* data, int last) {
    const int count = data->nShortTypes < SHORTTYPE_SLOTS ? data->nShortTypes : SHORTTYPE_SLOTS;
    for (int slot = 0; slot < count; ++slot) {
        if (static_cast<uint8_t>(data->chShortTypeLast[slot]) != last) continue;
        char name[SHORTTYPE_SLOT_SIZE];
        SlotText(data, slot, name);
        ServiceLog(LOG_HIGH, "      Last char of ShortType #%d: \"%s\", checking for full match...", slot, name);
        const int length = data->nShortTypeLength[slot];
        if (length < 1 || length > SHORTTYPE_SLOT_SIZE - 1) continue;
        int same = 0;
        for (int j = 0; j < length; ++j) {
            if (name[j] == gService.gszKeyBuffer[length - 1 - j]) ++same;
        }
        if (same == length) return slot;
    }
    return -1;
}

void ForgetPending() {
    gService.gnPendingShortType = -1;
    gService.gnPendingTyped = 0;
    memset(gService.gPendingKeysDown, 0, sizeof gService.gPendingKeysDown);
}

void NotePendingKey(int vk, bool down) {
    const uint8_t bit = static_cast<uint8_t>(1u << (vk % 8));
    gService.gPendingKeysDown[vk / 8] =
        static_cast<uint8_t>(down ? gService.gPendingKeysDown[vk / 8] | bit : gService.gPendingKeysDown[vk / 8] & ~bit);
}

bool PendingKeysDown() {
    for (uint8_t bits : gService.gPendingKeysDown) {
        if (bits != 0) return true;
    }
    return false;
}

// A key went down. The abbreviation is matched here, where its last character was typed,
// and replaced once that key and every key pressed after it are up: keys pressed in
// between (the blank after the word or the next word's first letter, pressed before the
// key was let go) are kept, typed again behind the replacement, as if they had come one
// after another; and no key of the user's is still held while the replacement is typed.
void Pressed(const KELMORSERVICEDATA* data, int vk) {
    if (data->nShortTypes <= 0) return;
    const uint32_t typed = SysKeyEventCharacter();
    if (gService.gnPendingShortType >= 0) {
        NotePendingKey(vk, true);
        if (typed == 0 && IsModifierKey(vk)) return;
        const int most = static_cast<int>(sizeof gService.gPendingTyped / sizeof gService.gPendingTyped[0]);
        if (typed >= 0x20 && typed != 0x7F && gService.gnPendingTyped < most) {
            gService.gPendingTyped[gService.gnPendingTyped++] = typed;
            return;
        }
        // A key that edits or moves (Backspace, Enter, an arrow) cannot be typed again.
        ForgetPending();
    }
    const int character = AbbreviationCharacter(vk, typed);
    if (character == 0) return;
    if (character < 0) {
        ServiceLog(LOG_HIGH, "   Non-Printable Char %d: Resetting Keyboard Buffer", vk);
        ClearKeyBuffer();
        return;
    }
    memmove(gService.gszKeyBuffer + 1, gService.gszKeyBuffer, sizeof gService.gszKeyBuffer - 2);
    gService.gszKeyBuffer[sizeof gService.gszKeyBuffer - 1] = '\0';
    gService.gszKeyBuffer[0] = static_cast<char>(character);
    ServiceLog(LOG_HIGH, "   Current Keyboard Buffer: [%s]", gService.gszKeyBuffer);
    const int slot = MatchingSlot(data, character);
    if (slot < 0) return;
    char name[SHORTTYPE_SLOT_SIZE];
    SlotText(data, slot, name);
    ServiceLog(LOG_HIGH, "   Got match for ShortType #%d: \"%s\"", slot, name);
    ClearKeyBuffer();
    ForgetPending();
    gService.gnPendingShortType = slot;
    NotePendingKey(vk, true);
}

intptr_t Release(const KELMORSERVICEDATA* data, int vk, int code, uintptr_t wParam, intptr_t lParam) {
    if (gService.gnPendingShortType < 0) return PassOn(code, wParam, lParam);
    NotePendingKey(vk, false);
    if (PendingKeysDown()) return PassOn(code, wParam, lParam);
    const int slot = gService.gnPendingShortType;
    char name[SHORTTYPE_SLOT_SIZE];
    char text[256] = "";
    if (slot < data->nShortTypes) {  // else the cache changed meanwhile
        SlotText(data, slot, name);
        char path[64];
        FormatText(path, sizeof path, KELMOR_SHORTTYPE_KEY "\\%s", name);
        ReadServiceText(path, "Text", text);
    }
    if (text[0] == '\0') {
        if (slot < data->nShortTypes) ServiceLog(LOG_HIGH, "   Service-->Replacing \"%s\" with \"%s\"", name, text);
        ForgetPending();
        return PassOn(code, wParam, lParam);
    }
    // Keys typed on before the service got here are in the program already: they are
    // kept like keys pressed before this release, and replaced once they are up too.
    if (!SysHoldOtherInput()) {
        ServiceLog(LOG_HIGH, "   Service-->Keys came after \"%s\": replacing once they are up", name);
        return PassOn(code, wParam, lParam);
    }
    const int typedAfter = gService.gnPendingTyped;
    uint32_t after[sizeof gService.gPendingTyped / sizeof gService.gPendingTyped[0]];
    memcpy(after, gService.gPendingTyped, sizeof after);
    ForgetPending();
    ServiceLog(LOG_HIGH, "   Service-->Replacing \"%s\" with \"%s\"", name, text);
    // The program already has the abbreviation's characters and what followed them: take
    // them back first, then put the replacement and what followed in their place.
    gService.gnInjectedEvents = 0;
    for (size_t i = 0; name[i] != '\0'; ++i) gService.gnInjectedEvents += SendLockKey(VK_BACK, 0);
    for (int i = 0; i < typedAfter; ++i) gService.gnInjectedEvents += SendLockKey(VK_BACK, 0);
    TypeServiceText(text);
    for (int i = 0; i < typedAfter; ++i) {
        gService.gnInjectedEvents += SysTypeCharacter(after[i], true);
        gService.gnInjectedEvents += SysTypeCharacter(after[i], false);
    }
    SysLetOtherInputGo();
    return 0;
}

}  // namespace

intptr_t KEYBOARD_PROC_CALL KelmorKeyboardProc(int code, uintptr_t wParam, intptr_t lParam) {
    const KELMORSERVICEDATA* data = gService.gpServiceData;
    if (data == nullptr || data->hHook == 0) return 1;
    if (code == HC_NOREMOVE) {
        // A key the system hands over only to be looked at, or too late to act on: what
        // was being typed can no longer be told, and nothing is typed for it.
        ClearKeyBuffer();
        ForgetPending();
    }
    if (code != HC_ACTION || wParam > 255) return PassOn(code, wParam, lParam);
    // Another Kelmor plays back or records: what it plays is not the user's typing, and
    // what the service typed would land in the recording.
    if (AnotherProcessBusy()) {
        ClearKeyBuffer();
        ForgetPending();
        gService.gnInjectedEvents = 0;
        return PassOn(code, wParam, lParam);
    }
    if (gService.gnInjectedEvents >= 1) {
        if (!SysKeyEventAfterTyping()) {
            --gService.gnInjectedEvents;
            return PassOn(code, wParam, lParam);
        }
        ServiceLog(LOG_HIGH, "   Service-->%d typed keys never came back: the keys from here on are the user's",
                   gService.gnInjectedEvents);
        gService.gnInjectedEvents = 0;
    }
    const int vk = static_cast<int>(wParam);
    if (HeldState(vk) == 0) return Release(data, vk, code, wParam, lParam);
    if (data->bAction[vk] != 0) {
        ForgetPending();
        return MappedPress(data, vk, code, wParam, lParam);
    }
    Pressed(data, vk);
    return PassOn(code, wParam, lParam);
}
