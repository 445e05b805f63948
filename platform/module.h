// Seam: code the program loads only when it needs it, from a module file of its own.
#pragma once

// Loads the module file fileName from the folder of the program's own file (or, when it
// is not there, from wherever the system keeps shared code) and returns the address of
// its exported function entryName. nullptr when either cannot be found, with the reason
// in why (cut to whySize). A loaded module stays for the rest of the run.
void* ModuleLoadEntry(const char* fileName, const char* entryName, char* why, int whySize);
