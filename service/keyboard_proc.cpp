#include "service/keyboard_proc.h"

#include <cstring>

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
    const uint32_t hook = gpServiceData->hHook;
    if (hook == 0) return 1;
    return SysCallNextHook(static_cast<intptr_t>(hook), code, wParam, lParam);
}

int HeldState(int vk) { return (SysGetKeyState(static_cast<uint8_t>(vk)) & 0x8000) != 0 ? 32768 : 0; }

void ClearKeyBuffer() { memset(gszKeyBuffer, 0, sizeof gszKeyBuffer); }

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

bool CountsForShortTypes(int vk) {
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE || vk == VK_SHIFT;
}

// The first slot whose abbreviation the last released keys spell, or -1.
int MatchingSlot(const KELMORSERVICEDATA* data, int vk) {
    const int count = data->nShortTypes < SHORTTYPE_SLOTS ? data->nShortTypes : SHORTTYPE_SLOTS;
    for (int slot = 0; slot < count; ++slot) {
        if (static_cast<uint8_t>(data->chShortTypeLast[slot]) != vk) continue;
        char name[SHORTTYPE_SLOT_SIZE];
        SlotText(data, slot, name);
        ServiceLog(LOG_HIGH, "      Last char of ShortType #%d: \"%s\", checking for full match...", slot, name);
        const int length = data->nShortTypeLength[slot];
        if (length < 1 || length > SHORTTYPE_SLOT_SIZE - 1) continue;
        int same = 0;
        for (int j = 0; j < length; ++j)
            if (name[j] == gszKeyBuffer[length - 1 - j]) ++same;
        if (same == length) return slot;
    }
    return -1;
}

intptr_t Release(const KELMORSERVICEDATA* data, int vk, int code, uintptr_t wParam, intptr_t lParam) {
    if (data->nShortTypes <= 0 || HeldState(VK_SHIFT) != 0) return PassOn(code, wParam, lParam);
    if (!CountsForShortTypes(vk)) {
        ServiceLog(LOG_HIGH, "   Non-Printable Char %d: Resetting Keyboard Buffer", vk);
        ClearKeyBuffer();
        return PassOn(code, wParam, lParam);
    }
    memmove(gszKeyBuffer + 1, gszKeyBuffer, sizeof gszKeyBuffer - 2);
    gszKeyBuffer[sizeof gszKeyBuffer - 1] = '\0';
    gszKeyBuffer[0] = static_cast<char>(vk);
    ServiceLog(LOG_HIGH, "   Current Keyboard Buffer: [%s]", gszKeyBuffer);
    const int slot = MatchingSlot(data, vk);
    if (slot < 0) return PassOn(code, wParam, lParam);
    char name[SHORTTYPE_SLOT_SIZE];
    SlotText(data, slot, name);
    ServiceLog(LOG_HIGH, "   Got match for ShortType #%d: \"%s\"", slot, name);
    ClearKeyBuffer();
    char path[64];
    FormatText(path, sizeof path, KELMOR_KEY "\\ShortType\\%s", name);
    char text[256] = "";
    ReadServiceText(path, "Text", text);
    ServiceLog(LOG_HIGH, "   Service-->Replacing \"%s\" with \"%s\"", name, text);
    if (text[0] == '\0') return 0;
    // The program already has the abbreviation's characters: take them back first.
    gnInjectedEvents = 0;
    for (size_t i = 0; name[i] != '\0'; ++i) gnInjectedEvents += SendLockKey(VK_BACK, 0);
    TypeServiceText(text);
    return 0;
}

}  // namespace

intptr_t KEYBOARD_PROC_CALL KelmorKeyboardProc(int code, uintptr_t wParam, intptr_t lParam) {
    const KELMORSERVICEDATA* data = gpServiceData;
    if (data == nullptr || data->hHook == 0) return 1;
    if (code != HC_ACTION || wParam > 255) return PassOn(code, wParam, lParam);
    if (gnInjectedEvents >= 1) {
        --gnInjectedEvents;
        return PassOn(code, wParam, lParam);
    }
    // The first real event after typed text gives the person's layout back.
    if (gbLayoutSwitched && data->szKeyboardLayout[0] != '\0') {
        char layout[sizeof data->szKeyboardLayout + 1];
        memcpy(layout, data->szKeyboardLayout, sizeof data->szKeyboardLayout);
        layout[sizeof data->szKeyboardLayout] = '\0';
        SysActivateKeyboardLayout(layout);
        gbLayoutSwitched = false;
    }
    const int vk = static_cast<int>(wParam);
    if (HeldState(vk) == 0) return Release(data, vk, code, wParam, lParam);
    if (data->bAction[vk] != 0) return MappedPress(data, vk, code, wParam, lParam);
    if (vk == VK_SHIFT || HeldState(VK_SHIFT) != 0) {
        ServiceLog(LOG_HIGH, "   Non-Printable SHIFT Char %d: Resetting Keyboard Buffer", vk);
        ClearKeyBuffer();
    }
    return PassOn(code, wParam, lParam);
}
