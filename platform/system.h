// Seam: operating-system identity, errors and the program's own paths.
#pragma once
#include <cstdint>

// The version query: platform id (VER_PLATFORM_*) and version numbers.
bool SysGetVersion(uint32_t* platformId, uint32_t* major, uint32_t* minor, uint32_t* build);
// The calling thread's last error code, as left by the last failed seam call.
uint32_t SysGetLastError();
void SysSetLastError(uint32_t code);
// The system's text for an error code; false when the system has none.
bool SysFormatError(uint32_t code, char* buf, int size);
// Full path of the running program's file; returns its length (0 on failure).
int SysGetModuleFileName(char* buf, int size);
// The platform's default log file path (its folder is created when missing). False, with
// buf empty, when the path does not fit: a cut path would name some other file.
bool SysDefaultLogPath(char* buf, int size);
// The path of the file name in the user's home folder. False, with buf empty, when there
// is no home folder or the path does not fit.
bool SysHomeFilePath(const char* name, char* buf, int size);
// The system's 8-bit text (UTF-8 on Linux, the ANSI code page on Windows) of count UTF-16
// code units, zero-terminated in out (size bytes); returns its length, or -1 when the
// units are no valid UTF-16, a character has no form in that text, or it does not fit.
int SysTextFromUtf16(const uint16_t* text, int count, char* out, int size);
// Writes a line on the program's standard error, after the program's name; nothing where
// the program has no standard error.
void SysWriteStandardError(const char* line);
