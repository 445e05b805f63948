// The settings store on Windows is the registry itself, below HKEY_CURRENT_USER: the
// system keeps the values' kinds, compares names without case, lists subkeys in order and
// lets every process see the others' writes. The Run value is an ordinary value there.
// Names and texts go through the -W functions (platform/win32/wide_text.h): the system
// keeps them as UTF-16, and the store's callers speak UTF-8 in any process.
#include "platform/win32/windows_api.h"

#include <cstdlib>
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

// The registry takes values one at a time. A set of changes therefore writes them as they
// come and notes first how to take each back: a value as it was (or its absence), a key
// that did not exist, a key that was deleted with its values. (C's allocator, not the
// library's containers: these would double the size of the program.)
struct OldValue {
    char* name;
    DWORD type;
    BYTE* data;
    DWORD size;
};

enum { UNDO_VALUE, UNDO_NEW_KEY, UNDO_DELETED_KEY };

struct UndoStep {
    int what;
    char* key;
    bool existed;       // UNDO_VALUE: the value was there
    OldValue value;     // UNDO_VALUE: its name, and what it held
    OldValue* values;   // UNDO_DELETED_KEY: what the key held
    DWORD valueCount;
};

bool gChanging = false;
UndoStep* gUndo = nullptr;
DWORD gUndoCount = 0;
DWORD gUndoRoom = 0;

char* CopyText(const char* text) {
    const size_t size = strlen(text) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy != nullptr) memcpy(copy, text, size);
    return copy;
}

void FreeValue(OldValue* value) {
    free(value->name);
    free(value->data);
}

void ClearUndo() {
    for (DWORD i = 0; i < gUndoCount; ++i) {
        UndoStep& step = gUndo[i];
        free(step.key);
        FreeValue(&step.value);
        for (DWORD v = 0; v < step.valueCount; ++v) FreeValue(&step.values[v]);
        free(step.values);
    }
    free(gUndo);
    gUndo = nullptr;
    gUndoCount = gUndoRoom = 0;
}

// A new step, or nullptr when memory is short (the change is then refused).
UndoStep* NewStep(int what, const char* key) {
    if (gUndoCount == gUndoRoom) {
        const DWORD room = gUndoRoom == 0 ? 16 : gUndoRoom * 2;
        void* more = realloc(gUndo, room * sizeof *gUndo);
        if (more == nullptr) return nullptr;
        gUndo = static_cast<UndoStep*>(more);
        gUndoRoom = room;
    }
    UndoStep* step = &gUndo[gUndoCount];
    memset(step, 0, sizeof *step);
    step->what = what;
    step->key = CopyText(key);
    if (step->key == nullptr) return nullptr;
    ++gUndoCount;
    return step;
}

bool ReadValue(HKEY key, const char* name, OldValue* out) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &out->type, nullptr, &size) != ERROR_SUCCESS) return false;
    out->data = static_cast<BYTE*>(malloc(size + 1));
    out->name = CopyText(name);
    out->size = size;
    return out->data != nullptr && out->name != nullptr &&
           RegQueryValueExA(key, name, nullptr, &out->type, out->data, &out->size) == ERROR_SUCCESS;
}

// Each Note... returns false when the change could not be noted and must not be made.
bool NoteValue(const char* keyPath, const char* name) {
    if (!gChanging) return true;
    UndoStep* step = NewStep(UNDO_VALUE, keyPath);
    if (step == nullptr) return Result(ERROR_NOT_ENOUGH_MEMORY);
    HKEY key;
    if (RegOpenKeyExA(WinCurrentUser(), keyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        step->existed = ReadValue(key, name, &step->value);
        RegCloseKey(key);
    }
    if (!step->existed) {
        FreeValue(&step->value);
        step->value.data = nullptr;
        step->value.name = CopyText(name);
    }
    return step->value.name != nullptr ? true : Result(ERROR_NOT_ENOUGH_MEMORY);
}

// Every key of the path from the first one missing on is new.
bool NoteNewKeys(const char* keyPath) {
    if (!gChanging) return true;
    char* part = CopyText(keyPath);
    if (part == nullptr) return Result(ERROR_NOT_ENOUGH_MEMORY);
    bool missing = false;
    bool ok = true;
    for (char* end = part;; ++end) {
        if (*end != '\\' && *end != '\0') continue;
        const char kept = *end;
        *end = '\0';
        HKEY key;
        if (!missing && RegOpenKeyExA(WinCurrentUser(), part, 0, KEY_READ, &key) == ERROR_SUCCESS) {
            RegCloseKey(key);
        } else {
            missing = true;
            ok = ok && NewStep(UNDO_NEW_KEY, part) != nullptr;
        }
        *end = kept;
        if (kept == '\0') break;
    }
    free(part);
    return ok ? true : Result(ERROR_NOT_ENOUGH_MEMORY);
}

bool NoteDeletedKey(const char* keyPath) {
    if (!gChanging) return true;
    UndoStep* step = NewStep(UNDO_DELETED_KEY, keyPath);
    if (step == nullptr) return Result(ERROR_NOT_ENOUGH_MEMORY);
    HKEY key;
    if (RegOpenKeyExA(WinCurrentUser(), keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return true;
    DWORD count = 0;
    bool ok = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                               nullptr, nullptr) == ERROR_SUCCESS;
    step->values = ok && count > 0 ? static_cast<OldValue*>(calloc(count, sizeof *step->values)) : nullptr;
    ok = ok && (count == 0 || step->values != nullptr);
    char name[16384];
    for (DWORD i = 0; ok && i < count; ++i) {
        DWORD length = sizeof name;
        ok = RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
             ReadValue(key, name, &step->values[i]);
        step->valueCount = i + 1;
    }
    RegCloseKey(key);
    return ok ? true : Result(ERROR_NOT_ENOUGH_MEMORY);
}

void SetOld(HKEY key, const OldValue& value) {
    RegSetValueExA(key, value.name, 0, value.type, value.data, value.size);
}

// Takes the noted changes back, the last first.
void Undo() {
    for (DWORD i = gUndoCount; i-- > 0;) {
        const UndoStep& step = gUndo[i];
        HKEY key;
        if (step.what == UNDO_NEW_KEY) {
            RegDeleteKeyA(WinCurrentUser(), step.key);
        } else if (step.what == UNDO_DELETED_KEY) {
            if (RegCreateKeyExA(WinCurrentUser(), step.key, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                                &key, nullptr) != ERROR_SUCCESS) {
                continue;
            }
            for (DWORD v = 0; v < step.valueCount; ++v) SetOld(key, step.values[v]);
            RegCloseKey(key);
        } else if (RegOpenKeyExA(WinCurrentUser(), step.key, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (step.existed) {
                SetOld(key, step.value);
            } else {
                RegDeleteValueA(key, step.value.name);
            }
            RegCloseKey(key);
        }
    }
}

// Windows hold the first mutex open while they run; a restore owns the second while it
// runs, and a window that starts meanwhile waits for it.
const char kWindowsHold[] = "KelmorSettingsWindows";
const char kRestoring[] = "KelmorSettingsRestore";
HANDLE gWindowHold = nullptr;
HANDLE gRestoring = nullptr;

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
    if (!NoteNewKeys(keyPath)) return false;
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
        if (NoteValue(keyPath, name)) {
            rc = RegSetValueExW(key, wide.text, 0, kind, bytes, size);
        } else {
            rc = static_cast<LONG>(GetLastError());
        }
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
    if (!NoteValue(keyPath, name)) return RegCloseKey(key), false;
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
    if (!path.ok) return Result(ERROR_INVALID_PARAMETER);
    if (!NoteDeletedKey(keyPath)) return false;
    return Result(RegDeleteKeyW(WinCurrentUser(), path.text));
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

bool StoreBeginChanges() {
    if (gChanging) return Result(ERROR_BUSY);
    ClearUndo();
    gChanging = true;
    return true;
}

bool StoreEndChanges(bool keep) {
    if (!gChanging) return Result(ERROR_INVALID_PARAMETER);
    gChanging = false;
    if (!keep) Undo();
    ClearUndo();
    return true;
}

bool StoreHoldForWindow() {
    if (gWindowHold != nullptr) return true;
    HANDLE hold = CreateMutexA(nullptr, FALSE, kWindowsHold);
    if (hold == nullptr) return false;
    // Made known before the wait, so that a restore beginning now sees the window.
    HANDLE restoring = CreateMutexA(nullptr, FALSE, kRestoring);
    if (restoring != nullptr) {
        const DWORD waited = WaitForSingleObject(restoring, INFINITE);
        if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) ReleaseMutex(restoring);
        CloseHandle(restoring);
    }
    gWindowHold = hold;
    return true;
}

void StoreReleaseWindowHold() {
    if (gWindowHold != nullptr) CloseHandle(gWindowHold);
    gWindowHold = nullptr;
}

bool StoreKeepWindowsOut(bool* windowOpen) {
    *windowOpen = false;
    if (gRestoring != nullptr) return true;
    HANDLE restoring = CreateMutexA(nullptr, FALSE, kRestoring);
    if (restoring == nullptr) return false;
    const DWORD waited = WaitForSingleObject(restoring, INFINITE);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
        const DWORD error = GetLastError();
        CloseHandle(restoring);
        return Result(static_cast<LONG>(error));
    }
    HANDLE window = OpenMutexA(SYNCHRONIZE, FALSE, kWindowsHold);
    if (window != nullptr) {
        CloseHandle(window);
        ReleaseMutex(restoring);
        CloseHandle(restoring);
        *windowOpen = true;
        return Result(ERROR_BUSY);
    }
    gRestoring = restoring;
    return true;
}

void StoreLetWindowsIn() {
    if (gRestoring == nullptr) return;
    ReleaseMutex(gRestoring);
    CloseHandle(gRestoring);
    gRestoring = nullptr;
}

// The registry's files are the system's, open for as long as the user is logged in; no
// name a user gives leads to them.
bool StoreUsesFile(const char*) { return false; }
