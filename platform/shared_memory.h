// Seam: a block of memory that every process of the current user in the current desktop
// session sees under one name, and that lives as long as any process holds it.
#pragma once
#include <cstdint>

// Maps the user's block called name, size bytes, creating it when missing. Returns its
// address, or nullptr when it cannot be created or mapped (or when a block of that name
// exists that is not the user's own or is too small to hold size bytes). *created tells
// whether this call made the block (then all zero) or found it, contents kept.
void* SysOpenSharedMemory(const char* name, uint32_t size, bool* created);
// Unmaps a block mapped above; the block itself stays while others hold it.
void SysCloseSharedMemory(void* address, uint32_t size);
