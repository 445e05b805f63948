// Modules are DLLs loaded with LoadLibraryA.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/module.h"
#include "platform/system.h"

namespace {

void SetWhy(char* why, int whySize, const char* text) {
    if (why == nullptr || whySize <= 0) return;
    // A reason too long for the buffer is cut rather than lost.
    int at = 0;
    for (; at < whySize - 1 && text[at] != '\0'; ++at) why[at] = text[at];
    why[at] = '\0';
}

// The system's text for the last error, without its closing line break.
void SetWhyFromLastError(char* why, int whySize, const char* otherwise) {
    char text[512];
    if (!SysFormatError(GetLastError(), text, sizeof text)) return SetWhy(why, whySize, otherwise);
    size_t n = strlen(text);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n')) text[--n] = '\0';
    SetWhy(why, whySize, text);
}

}  // namespace

void* ModuleLoad(const char* fileName, char* why, int whySize) {
    char path[MAX_PATH];
    const int length = SysGetModuleFileName(path, sizeof path);
    char* slash = length > 0 ? strrchr(path, '\\') : nullptr;
    HMODULE module = nullptr;
    if (slash != nullptr && static_cast<size_t>(slash + 1 - path) + strlen(fileName) < sizeof path) {
        strcpy(slash + 1, fileName);
        // Its own dependencies are then looked for beside it too.
        module = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    if (module == nullptr) module = LoadLibraryA(fileName);
    if (module == nullptr) SetWhyFromLastError(why, whySize, fileName);
    return module;
}

void* ModuleEntry(void* module, const char* entryName) {
    if (module == nullptr) return nullptr;
    FARPROC entry = GetProcAddress(static_cast<HMODULE>(module), entryName);
    void* address;
    static_assert(sizeof address == sizeof entry, "a code address fits a data pointer");
    memcpy(&address, &entry, sizeof address);
    return address;
}

void* ModuleLoadEntry(const char* fileName, const char* entryName, char* why, int whySize) {
    void* module = ModuleLoad(fileName, why, whySize);
    if (module == nullptr) return nullptr;
    void* entry = ModuleEntry(module, entryName);
    if (entry == nullptr) SetWhyFromLastError(why, whySize, entryName);
    return entry;
}
