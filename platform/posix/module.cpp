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

// The module in the folder dir, relative to the program's own folder unless it begins
// with '/'. Empty when the program's path is unknown or the result would not fit.
void ModulePath(const char* dir, const char* fileName, char* path, size_t size) {
    path[0] = '\0';
    int length;
    if (dir[0] == '/') {
        length = snprintf(path, size, "%s/%s", dir, fileName);
    } else {
        char program[4096];
        if (SysGetModuleFileName(program, sizeof program) <= 0) return;
        const char* slash = strrchr(program, '/');
        if (slash == nullptr) return;
        length = snprintf(path, size, "%.*s/%s%s%s", static_cast<int>(slash - program), program, dir,
                          dir[0] != '\0' ? "/" : "", fileName);
    }
    if (length < 0 || static_cast<size_t>(length) >= size) path[0] = '\0';
}

// Where modules are looked for, in order: beside the program (the build folder), in the
// installation's module folder reached from the program's folder (an installation under
// any prefix), and in the folder the installation was configured for (an executable
// recording copied away from the program).
#ifndef KELMOR_MODULES_FROM_PROGRAM
#define KELMOR_MODULES_FROM_PROGRAM ""
#endif
#ifndef KELMOR_INSTALLED_MODULES
#define KELMOR_INSTALLED_MODULES ""
#endif
const char* const kModuleDirs[] = {"", KELMOR_MODULES_FROM_PROGRAM, KELMOR_INSTALLED_MODULES};

}  // namespace

void* ModuleLoad(const char* fileName, char* why, int whySize) {
    char first[512] = "";
    for (const char* dir : kModuleDirs) {
        if (dir != kModuleDirs[0] && dir[0] == '\0') continue;
        char path[4096];
        ModulePath(dir, fileName, path, sizeof path);
        if (path[0] == '\0') continue;
        void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (module != nullptr) return module;
        const char* error = dlerror();
        // The reason it is not beside the program says more than the others.
        if (first[0] == '\0') snprintf(first, sizeof first, "%.511s", error != nullptr ? error : path);
    }
    SetWhy(why, whySize, first[0] != '\0' ? first : fileName);
    return nullptr;
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
