// Writing a file the user named: made whole beside it, then put in its place, so a
// failed or interrupted save never costs the file it was meant to replace.
#pragma once
#include <cstdint>

// Starts writing name (modeFrom as for SysBeginReplacement). Refuses a name that leads
// to the running program, to the settings store's file or to modeFrom itself. Shows why and returns -1 (no file) when
// nothing can be written.
intptr_t BeginSave(const char* name, const char* modeFrom);
// Puts what was written in place of name when written is true, else drops it. Returns
// true when name now holds the new content, after showing the failure otherwise.
bool FinishSave(intptr_t file, const char* name, bool written);
// "Unable to save file '%s'!", with the system's reason for the last failure when it
// gives one.
void ShowSaveFailure(const char* name);
