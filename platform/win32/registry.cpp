// The settings store on Windows is the registry itself, below HKEY_CURRENT_USER: the
// system keeps the values' kinds, compares names without case, lists subkeys in order and
// lets every process see the others' writes. The Run value is an ordinary value there.
// Names and texts go through the -W functions (platform/win32/wide_text.h): the system
// keeps them as UTF-16, and the store's callers speak UTF-8 in any process.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/registry.h"
#include "platform/win32/wide_text.h"

namespace {

// Registry calls return their error instead of leaving it as the last error.
bool Result(LONG rc) {
    if (rc == ERROR_SUCCESS) return true;
    SetLastError(static_cast<DWORD>(rc));
    return false;
}

// A key path or a value name as the system takes it. The system's own limits (255
// characters a key name, 16383 a value name) keep real ones far inside.
struct WideName {
    WCHAR text[1024];
    bool ok;
    explicit WideName(const char* name) {
        ok = name != nullptr && (name[0] == '\0' || WinWideOf(name, -1, text, 1024) > 0);
        if (name != nullptr && name[0] == '\0') text[0] = L'\0';
    }
};

bool OpenKey(const char* keyPath, REGSAM access, HKEY* key) {
    const WideName path(keyPath);
    if (!path.ok) return Result(ERROR_INVALID_PARAMETER);
    return Result(RegOpenKeyExW(WinCurrentUser(), path.text, 0, access, key));
}

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// A text value as UTF-8: the sizes count its bytes with the terminator, as the caller's
// buffer holds it; a buffer too small gets nothing and learns the size needed.
LONG QueryText(HKEY key, const WCHAR* name, DWORD bytes, void* data, uint32_t* size) {
    const int units = static_cast<int>(bytes / sizeof(WCHAR)) + 1;
    WCHAR* text = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(units) * sizeof(WCHAR)));
    if (text == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    DWORD type = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes);
    if (rc == ERROR_SUCCESS) {
        // Stored with its terminator or without one: it is read with one.
        int length = static_cast<int>(bytes / sizeof(WCHAR));
        if (length == 0 || text[length - 1] != L'\0') text[length++] = L'\0';
        const int needed = WinUtf8Of(text, length, nullptr, 0);
        if (data == nullptr) {
            *size = static_cast<uint32_t>(needed);
        } else if (*size < static_cast<uint32_t>(needed)) {
            *size = static_cast<uint32_t>(needed);
            rc = ERROR_MORE_DATA;
        } else {
            *size = static_cast<uint32_t>(WinUtf8Of(text, length, static_cast<char*>(data), static_cast<int>(*size)));
        }
    }
    HeapFree(GetProcessHeap(), 0, text);
    return rc;
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
    const WideName path(keyPath);
    if (!path.ok) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!Result(RegCreateKeyExW(WinCurrentUser(), path.text, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ, nullptr,
                                &key, nullptr))) {
        return false;
    }
    RegCloseKey(key);
    return true;
}

bool StoreQueryValue(const char* keyPath, const char* name, uint32_t* kind, void* data, uint32_t* size) {
    const WideName wide(name);
    if (!wide.ok || size == nullptr) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_QUERY_VALUE, &key)) return false;
    DWORD type = 0;
    DWORD bytes = 0;
    LONG rc = RegQueryValueExW(key, wide.text, nullptr, &type, nullptr, &bytes);
    if (rc == ERROR_SUCCESS && IsText(type)) {
        rc = QueryText(key, wide.text, bytes, data, size);
    } else if (rc == ERROR_SUCCESS) {
        bytes = *size;
        rc = RegQueryValueExW(key, wide.text, nullptr, &type, static_cast<BYTE*>(data), &bytes);
        *size = bytes;
    }
    RegCloseKey(key);
    if (rc == ERROR_MORE_DATA && !IsText(type)) *size = bytes;
    if (!Result(rc)) return false;
    if (kind != nullptr) *kind = type;
    return true;
}

bool StoreSetValue(const char* keyPath, const char* name, uint32_t kind, const void* data, uint32_t size) {
    const WideName wide(name);
    if (!wide.ok || (data == nullptr && size != 0)) return Result(ERROR_INVALID_PARAMETER);
    const BYTE* bytes = static_cast<const BYTE*>(data);
    WCHAR* text = nullptr;
    if (IsText(kind) && size != 0) {
        // Each byte becomes at most one unit.
        text = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, size * sizeof(WCHAR)));
        if (text == nullptr) return Result(ERROR_NOT_ENOUGH_MEMORY);
        const int units = WinWideOf(static_cast<const char*>(data), static_cast<int>(size), text, static_cast<int>(size));
        bytes = reinterpret_cast<const BYTE*>(text);
        size = static_cast<uint32_t>(units) * sizeof(WCHAR);
    }
    HKEY key;
    LONG rc = ERROR_SUCCESS;
    if (OpenKey(keyPath, KEY_SET_VALUE, &key)) {
        rc = RegSetValueExW(key, wide.text, 0, kind, bytes, size);
        RegCloseKey(key);
    } else {
        rc = static_cast<LONG>(GetLastError());
    }
    if (text != nullptr) HeapFree(GetProcessHeap(), 0, text);
    return Result(rc);
}

bool StoreDeleteValue(const char* keyPath, const char* name) {
    const WideName wide(name);
    if (!wide.ok) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_SET_VALUE, &key)) return false;
    const LONG rc = RegDeleteValueW(key, wide.text);
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
    LONG rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr);
    RegCloseKey(key);
    if (!Result(rc)) return false;
    if (subkeys != 0) return Result(ERROR_DIR_NOT_EMPTY);
    const WideName path(keyPath);
    return path.ok ? Result(RegDeleteKeyW(WinCurrentUser(), path.text)) : Result(ERROR_INVALID_PARAMETER);
}

bool StoreEnumKey(const char* keyPath, uint32_t index, char* name, uint32_t size) {
    if (name == nullptr || size == 0) return Result(ERROR_INVALID_PARAMETER);
    HKEY key;
    if (!OpenKey(keyPath, KEY_ENUMERATE_SUB_KEYS, &key)) return false;
    WCHAR wide[256];  // the longest key name the system allows, and its terminator
    DWORD length = 256;
    LONG rc = RegEnumKeyExW(key, index, wide, &length, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    if (rc == ERROR_SUCCESS) {
        const int bytes = WinUtf8Of(wide, static_cast<int>(length) + 1, nullptr, 0);
        if (bytes > static_cast<int>(size)) return Result(ERROR_MORE_DATA);
        WinUtf8Of(wide, static_cast<int>(length) + 1, name, static_cast<int>(size));
    }
    return Result(rc);
}
