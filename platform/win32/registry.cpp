// The settings store on Windows is the registry itself, below HKEY_CURRENT_USER: the
// system keeps the values' kinds, compares names without case, lists subkeys in order and
// lets every process see the others' writes. The Run value is an ordinary value there.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/registry.h"

namespace {

// Registry calls return their error instead of leaving it as the last error.
bool Result(LONG rc) {
    if (rc == ERROR_SUCCESS) return true;
    SetLastError(static_cast<DWORD>(rc));
    return false;
}

bool OpenKey(const char* keyPath, REGSAM access, HKEY* key) {
    if (keyPath == nullptr) return Result(ERROR_INVALID_PARAMETER);
    return Result(RegOpenKeyExA(WinCurrentUser(), keyPath, 0, access, key));
}

bool SameNoCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        const char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a + 32) : *a;
        const char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b + 32) : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

}  // namespace

bool StoreKeyExists(const char* keyPath) {
    HKEY key;
    if (!OpenKey(keyPath, KEY_READ, &key)) return false;
    RegCloseKey(key);
    return true;
}

bool StoreCreateKey(const char* keyPath) {
    if (keyPath == nullptr) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!Result(RegCreateKeyExA(WinCurrentUser(), keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr,
                                &key, nullptr))) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool StoreQueryValue(const char* keyPath, const char* name, uint32_t* kind, void* data, uint32_t* size) {
    if (name == nullptr || size == nullptr) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_QUERY_VALUE, &key)) return false;
    DWORD type = 0;
    DWORD bytes = *size;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(data), &bytes);
    RegCloseKey(key);
    if (!Result(rc)) return false;
    *size = bytes;
    if (kind != nullptr) *kind = type;
    return true;
}

bool StoreSetValue(const char* keyPath, const char* name, uint32_t kind, const void* data, uint32_t size) {
    if (name == nullptr || (data == nullptr && size != 0)) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_SET_VALUE, &key)) return false;
    const LONG rc = RegSetValueExA(key, name, 0, kind, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return Result(rc);
}

bool StoreDeleteValue(const char* keyPath, const char* name) {
    if (name == nullptr) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_SET_VALUE, &key)) return false;
    const LONG rc = RegDeleteValueA(key, name);
    RegCloseKey(key);
    return Result(rc);
}

bool StoreDeleteKey(const char* keyPath) {
    if (keyPath == nullptr) return Result(ERROR_INVALID_PARAMETER);
    // The root and the Run key belong to the system and to every other program.
    if (keyPath[0] == '\0' || SameNoCase(keyPath, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run")) {
        return Result(ERROR_ACCESS_DENIED);
    }
    // The system would take a key with subkeys along only through RegDeleteTree; the store
    // deletes leaves only, so that no caller loses more than it named.
    HKEY key;
    if (!OpenKey(keyPath, KEY_READ, &key)) return false;
    DWORD subkeys = 0;
    LONG rc = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr);
    RegCloseKey(key);
    if (!Result(rc)) return false;
    if (subkeys != 0) return Result(ERROR_DIR_NOT_EMPTY);
    return Result(RegDeleteKeyA(WinCurrentUser(), keyPath));
}

bool StoreEnumKey(const char* keyPath, uint32_t index, char* name, uint32_t size) {
    if (name == nullptr || size == 0) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_ENUMERATE_SUB_KEYS, &key)) return false;
    DWORD length = size;
    const LONG rc = RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    return Result(rc);
}
