#include "settings/service_store.h"

#include "platform/registry.h"
#include "settings/format.h"
#include "settings/settings.h"

namespace {

// Long enough for any abbreviation the store may hold, with the key before it.
const int kPathSize = 384;

void MappingPath(char* out, int vk, const char* name) {
    FormatText(out, kPathSize, KELMOR_MAPPINGS_KEY "\\%d%s%s", vk, name[0] != '\0' ? "\\" : "", name);
}

void ShortTypePath(char* out, const char* abbreviation, const char* name) {
    FormatText(out, kPathSize, KELMOR_SHORTTYPE_KEY "\\%s%s%s", abbreviation, name[0] != '\0' ? "\\" : "", name);
}

}  // namespace

uint32_t ReadMappingValue(int vk, const char* name) {
    char path[kPathSize];
    MappingPath(path, vk, name);
    return GetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, 0);
}

void ReadMappingText(int vk, char* out) {
    char path[kPathSize];
    MappingPath(path, vk, "Text");
    GetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, out, 0);
}

void WriteMapping(int vk, uint32_t action, bool ctrl, bool shift, bool alt, const char* text) {
    const char* const names[] = {"Action", "Control", "Shift", "Alt"};
    const uint32_t values[] = {action, ctrl ? 1u : 0u, shift ? 1u : 0u, alt ? 1u : 0u};
    char path[kPathSize];
    for (int i = 0; i < 4; ++i) {
        MappingPath(path, vk, names[i]);
        SetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, values[i]);
    }
    MappingPath(path, vk, "Text");
    SetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, text, 0);
}

void DeleteMapping(int vk) {
    char path[kPathSize];
    MappingPath(path, vk, "");
    DeleteRegistryValue(HKEY_CURRENT_USER, path);
}

bool EnumShortType(uint32_t index, char* name, int size) {
    return StoreEnumKey(KELMOR_SHORTTYPE_KEY, index, name, static_cast<uint32_t>(size));
}

bool ShortTypeExists(const char* abbreviation) {
    char path[kPathSize];
    ShortTypePath(path, abbreviation, "");
    return StoreKeyExists(path);
}

void ReadShortTypeText(const char* abbreviation, char* out) {
    char path[kPathSize];
    ShortTypePath(path, abbreviation, "Text");
    GetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, out, 0);
}

void WriteShortTypeText(const char* abbreviation, const char* text) {
    char path[kPathSize];
    ShortTypePath(path, abbreviation, "Text");
    SetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, text, 0);
}

void DeleteShortType(const char* abbreviation) {
    char path[kPathSize];
    ShortTypePath(path, abbreviation, "");
    DeleteRegistryValue(HKEY_CURRENT_USER, path);
}
