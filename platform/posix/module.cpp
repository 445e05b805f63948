// Modules are shared libraries opened with dlopen.
#include "platform/module.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "platform/system.h"

namespace {

void SetWhy(char* why, int whySize, const char* text) {
    if (why != nullptr && whySize > 0) snprintf(why, static_cast<size_t>(whySize), "%s", text);
}

// The module beside the program: the build folder keeps the two together, and so does an
// installation. Empty when the program's path is unknown or the result would not fit.
void BesideProgram(const char* fileName, char* path, size_t size) {
    path[0] = '\0';
    char program[4096];
    if (SysGetModuleFileName(program, sizeof program) <= 0) return;
    const char* slash = strrchr(program, '/');
    if (slash == nullptr) return;
    const int length = snprintf(path, size, "%.*s/%s", static_cast<int>(slash - program), program, fileName);
    if (length < 0 || static_cast<size_t>(length) >= size) path[0] = '\0';
}

}  // namespace

void* ModuleLoad(const char* fileName, char* why, int whySize) {
    char path[4096];
    BesideProgram(fileName, path, sizeof path);
    // A module built for another layout (a copied executable recording has no module
    // beside it) may still be where the system keeps shared code.
    void* module = path[0] != '\0' ? dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (module != nullptr) return module;
    const char* besideError = dlerror();
    char first[512];
    snprintf(first, sizeof first, "%s", besideError != nullptr ? besideError : fileName);
    module = dlopen(fileName, RTLD_NOW | RTLD_LOCAL);
    // The reason it is not beside the program says more than the system search.
    if (module == nullptr) SetWhy(why, whySize, first);
    return module;
}

void* ModuleEntry(void* module, const char* entryName) {
    return module != nullptr ? dlsym(module, entryName) : nullptr;
}

void* ModuleLoadEntry(const char* fileName, const char* entryName, char* why, int whySize) {
    void* module = ModuleLoad(fileName, why, whySize);
    if (module == nullptr) return nullptr;
    dlerror();
    void* entry = ModuleEntry(module, entryName);
    if (entry == nullptr) {
        const char* error = dlerror();
        SetWhy(why, whySize, error != nullptr ? error : entryName);
    }
    return entry;
}
