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

namespace fake {
// A mapping stays usable until its holder closes it, as the system's do: the blocks a
// reset drops are kept aside rather than freed, for code that still holds one and lets
// it go in its own reset.
void RetireSharedBlocks() {
    static std::vector<std::map<std::string, std::vector<uint8_t>>> retired;
    retired.push_back(std::move(sharedBlocks));
    sharedBlocks.clear();
}
}  // namespace fake
