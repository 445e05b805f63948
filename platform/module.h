// Seam: code the program loads only when it needs it, from a module file of its own.
#pragma once

// Loads the module file fileName from the folder of the program's own file (or, when it
// is not there, from wherever the system keeps shared code). nullptr when it cannot be
// loaded, with the reason in why (cut to whySize). A loaded module stays for the rest of
// the run.
void* ModuleLoad(const char* fileName, char* why, int whySize);
// The address of the exported function entryName of a loaded module; nullptr when the
// module has none.
void* ModuleEntry(void* module, const char* entryName);
// Both at once: the entry's address, or nullptr with the reason in why.
void* ModuleLoadEntry(const char* fileName, const char* entryName, char* why, int whySize);
