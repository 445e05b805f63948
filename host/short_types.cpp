#include "host/short_types.h"

#include <cstring>

#include "settings/service_store.h"

void ReadShortTypes(char list[SHORTTYPE_LIST_SLOTS * SHORTTYPE_LIST_SLOT_SIZE]) {
    memset(list, 0, SHORTTYPE_LIST_SLOTS * SHORTTYPE_LIST_SLOT_SIZE);
    int slot = 0;
    char name[256];
    for (uint32_t index = 0; slot < SHORTTYPE_LIST_SLOTS; ++index) {
        if (!EnumShortType(index, name, sizeof name)) break;
        const size_t length = strnlen(name, sizeof name);
        if (length == 0 || length >= SHORTTYPE_LIST_SLOT_SIZE) continue;
        memcpy(list + slot * SHORTTYPE_LIST_SLOT_SIZE, name, length);
        ++slot;
    }
}
