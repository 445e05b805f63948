// The block is a named section backed by the page file, as every instance of the
// keyboard service maps it ("dllmemfilemap"). Names live in the desktop session's own
// namespace, so two sessions keep apart.
#include "platform/win32/windows_api.h"

#include "platform/shared_memory.h"

namespace {

// The section's handle stays open as long as its view: a view alone keeps the memory but
// not always the name (Wine drops it), and a later opener must find the same section.
struct Mapped {
    void* address;
    HANDLE section;
};
Mapped gMapped[8];

}  // namespace

void* SysOpenSharedMemory(const char* name, uint32_t size, bool* created) {
    if (name == nullptr || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Mapped* slot = nullptr;
    for (Mapped& m : gMapped) {
        if (m.address == nullptr) slot = &m;
    }
    if (slot == nullptr) {
        SetLastError(ERROR_TOO_MANY_OPEN_FILES);
        return nullptr;
    }
    HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, name);
    if (section == nullptr) return nullptr;
    const bool made = GetLastError() != ERROR_ALREADY_EXISTS;
    // A section found smaller than size cannot be mapped at that size: the call fails.
    void* address = MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, size);
    if (address == nullptr) {
        const DWORD error = GetLastError();
        CloseHandle(section);
        SetLastError(error);
        return nullptr;
    }
    *slot = Mapped{address, section};
    if (created) *created = made;
    return address;
}

void SysCloseSharedMemory(void* address, uint32_t) {
    for (Mapped& m : gMapped) {
        if (address == nullptr || m.address != address) continue;
        UnmapViewOfFile(m.address);
        CloseHandle(m.section);
        m = Mapped{nullptr, nullptr};
        return;
    }
}
