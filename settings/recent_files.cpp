#include "settings/recent_files.h"

#include <cstring>

#include "platform/window.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/texts.h"

namespace {

enum { SLOT_COUNT = 8, SLOT_SIZE = RECENT_PATH_SIZE };

typedef char Slots[SLOT_COUNT][SLOT_SIZE];

void SlotPath(int n, char* out, int size) { FormatText(out, size, KELMOR_KEY "\\File%d", n); }

// A missing or unreadable value reads as an empty slot.
void ReadSlot(int n, char* out) {
    char path[64];
    SlotPath(n, path, sizeof path);
    GetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, out, 0);
}

void ReadSlots(Slots slots) {
    for (int n = 1; n <= SLOT_COUNT; ++n) ReadSlot(n, slots[n - 1]);
}

void WriteSlots(Slots slots) {
    char path[64];
    for (int n = 1; n <= SLOT_COUNT; ++n) {
        SlotPath(n, path, sizeof path);
        SetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, slots[n - 1], 0);
    }
}

int ClampedListSize() {
    if (gSettings.gbRecentListSize > SLOT_COUNT - 1) gSettings.gbRecentListSize = SLOT_COUNT;
    return gSettings.gbRecentListSize;
}

}  // namespace

void AddRecentFile(const char* path) {
    // A slot holds at most 255 characters; a longer path cannot be kept whole, and a cut
    // one would name some other file. An empty one would break the packing.
    if (path == nullptr || path[0] == '\0' || strlen(path) >= SLOT_SIZE) return;
    Slots slots;
    ReadSlots(slots);
    if (EqualNoCase(path, slots[0]) || EqualNoCase(path, kUntitled)) return;
    int found = SLOT_COUNT;  // 1-based slot to overwrite; slot 8 falls off when absent
    for (int k = 2; k <= SLOT_COUNT - 1; ++k) {
        if (EqualNoCase(path, slots[k - 1])) {
            found = k;
            break;
        }
    }
    memmove(slots[1], slots[0], static_cast<size_t>(found - 1) * SLOT_SIZE);
    memcpy(slots[0], path, strlen(path) + 1);
    WriteSlots(slots);
}

void RemoveRecentFile(const char* path) {
    if (path == nullptr || EqualNoCase(path, kUntitled)) return;
    Slots slots;
    ReadSlots(slots);
    for (int k = 0; k < SLOT_COUNT; ++k) {
        if (EqualNoCase(path, slots[k])) {
            memmove(slots[k], slots[k + 1], static_cast<size_t>(SLOT_COUNT - 1 - k) * SLOT_SIZE);
            slots[SLOT_COUNT - 1][0] = '\0';
            WriteSlots(slots);
            return;
        }
    }
}

void RebuildRecentMenu(bool removeOld, bool addNew) {
    int size = ClampedListSize();
    if (removeOld) {
        // Every entry goes, not only the first `size`: after the size shrank, entries
        // left behind would otherwise sit beside their rebuilt twins.
        for (int id = ID_RECENT_FIRST; id <= ID_RECENT_LAST; ++id) ShellMenuDeleteItem(id);
    }
    if (!addNew) return;
    char path[SLOT_SIZE];
    for (int n = 1; n <= size; ++n) {
        ReadSlot(n, path);
        if (path[0] == '\0') continue;
        // Behind Reset Recent Files, or behind the previous entry; with that one missing,
        // nothing goes in.
        int anchor = n == 1 ? ID_RESET_RECENT : ID_RECENT_FIRST + n - 2;
        ShellMenuInsertAfter(anchor, ID_RECENT_FIRST + n - 1, path);
    }
}

void GetRecentFile(int n, char* path) {
    path[0] = '\0';
    if (n >= 1 && n <= SLOT_COUNT) ReadSlot(n, path);
}

void ResetRecentFiles() {
    char path[64];
    for (int n = 1; n <= SLOT_COUNT; ++n) {
        ShellMenuDeleteItem(ID_RECENT_FIRST + n - 1);
        SlotPath(n, path, sizeof path);
        DeleteRegistryValue(HKEY_CURRENT_USER, path);
    }
}
