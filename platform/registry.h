// Seam: the settings store, a tree of keys below the current user's root, each key
// holding named DWORD, string and expandable-string values. Key paths use backslashes
// ("SOFTWARE\\Kelmor\\Mappings\\3"); key and value names compare without regard to case.
#pragma once
#include <cstdint>

bool StoreKeyExists(const char* keyPath);
// Creates the key and any missing parents; true when it exists afterwards.
bool StoreCreateKey(const char* keyPath);
// Reads a value into data (size bytes available). On success sets *kind and *size to
// the stored kind and byte count (strings count their terminating zero). Fails when the
// key or value is missing or the value is larger than the buffer.
bool StoreQueryValue(const char* keyPath, const char* name, uint32_t* kind, void* data, uint32_t* size);
// Writes a value into an existing key. Strings include their terminating zero in size.
bool StoreSetValue(const char* keyPath, const char* name, uint32_t kind, const void* data, uint32_t size);
bool StoreDeleteValue(const char* keyPath, const char* name);
// Deletes a key with its values; fails when it is missing or still has subkeys.
bool StoreDeleteKey(const char* keyPath);
// Name of the index-th direct subkey in case-insensitive order; false past the end.
bool StoreEnumKey(const char* keyPath, uint32_t index, char* name, uint32_t size);
