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

// Changes made as one: after StoreBeginChanges, the writes above are kept by
// StoreEndChanges(true) all together, or none of them when it fails, and dropped by
// StoreEndChanges(false). This process reads its own changes meanwhile; one set is made at
// a time. Where the store is one file, the set is written to it once, at the end, and
// other writers wait for that; the registry takes each write at once and takes them all
// back when the set is dropped. The Run value is written at once, as ever.
bool StoreBeginChanges();
bool StoreEndChanges(bool keep);

// The window's claim on the store: the interactive program takes it before it loads its
// settings and keeps it until it has saved them at exit, so that nothing restores settings
// that it would then write over. Any number of windows may hold it; taking it waits while
// the store is kept for a restore. False when it cannot be taken.
bool StoreHoldForWindow();
void StoreReleaseWindowHold();
// Keeps the store from windows while settings are restored into it: true once no window
// holds it, until StoreLetWindowsIn; windows that start meanwhile wait. False otherwise,
// with *windowOpen telling whether a window holds it (rather than the claim being
// impossible to make at all).
bool StoreKeepWindowsOut(bool* windowOpen);
void StoreLetWindowsIn();

// True when the file name leads to a file of the store itself (it, or one that the store
// keeps beside it), which nothing but the store may replace.
bool StoreUsesFile(const char* name);
