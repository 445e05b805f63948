#include "platform/shared_memory.h"
#include "tests/fakes/fakes.h"

namespace fake {
std::map<std::string, std::vector<uint8_t>> sharedBlocks;
bool refuseSharedMemory;
}  // namespace fake

void* SysOpenSharedMemory(const char* name, uint32_t size, bool* created) {
    if (fake::refuseSharedMemory) return nullptr;
    const bool made = fake::sharedBlocks.count(name) == 0;
    std::vector<uint8_t>& block = fake::sharedBlocks[name];
    if (block.size() < size) block.resize(size, 0);
    if (created) *created = made;
    return block.data();
}

void SysCloseSharedMemory(void*, uint32_t) {}
