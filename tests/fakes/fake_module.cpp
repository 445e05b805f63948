#include <cstdio>

#include "platform/module.h"
#include "tests/fakes/fakes.h"

namespace fake {
std::map<std::string, std::map<std::string, void*>> modules;
}  // namespace fake

void* ModuleLoad(const char* fileName, char* why, int whySize) {
    auto found = fake::modules.find(fileName);
    if (found != fake::modules.end()) return &found->second;
    if (why != nullptr && whySize > 0) snprintf(why, static_cast<size_t>(whySize), "%s: no such file", fileName);
    return nullptr;
}

void* ModuleEntry(void* module, const char* entryName) {
    if (module == nullptr) return nullptr;
    const auto* entries = static_cast<std::map<std::string, void*>*>(module);
    auto found = entries->find(entryName);
    return found != entries->end() ? found->second : nullptr;
}

void* ModuleLoadEntry(const char* fileName, const char* entryName, char* why, int whySize) {
    return ModuleEntry(ModuleLoad(fileName, why, whySize), entryName);
}
