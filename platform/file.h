// Seam: files by name and by handle. Failures set the last error (system.h).
#pragma once
#include <cstdint>

typedef intptr_t SysFile;
static const SysFile SYS_NO_FILE = -1;

// Size in bytes of the named file, or 0 when no such file can be found.
uint32_t SysGetFileSize(const char* name);
// Opens for reading; others may read and write meanwhile.
SysFile SysOpenRead(const char* name);
// Creates the file empty (replacing any old one) for reading and writing, mode 0644.
SysFile SysCreateReadWrite(const char* name);
// Opens the file for reading and writing, creating it when missing; keeps its content.
SysFile SysOpenReadWrite(const char* name);
// Reads up to n bytes at offset; returns the number read (short at the end) or -1.
int SysReadAt(SysFile f, uint32_t offset, void* buf, uint32_t n);
// Appends n bytes at the current end of the file; false unless all were written.
bool SysWriteAtEnd(SysFile f, const void* buf, uint32_t n);
void SysClose(SysFile f);
bool SysDeleteFile(const char* name);
// Copies a file, replacing the target, keeping the source's permission bits.
bool SysCopyFile(const char* from, const char* to);
// Opens (creating), appends n bytes in one write, closes. Concurrent appenders in
// other processes never overwrite each other.
bool SysAppendToFile(const char* name, const void* buf, uint32_t n);
// Opens the regular file name (created when missing) and holds it in use until SysClose:
// meanwhile SysDeleteUnusedFile leaves it alone, in every process. SYS_NO_FILE for
// anything but a regular file.
SysFile SysHoldFile(const char* name);
// Deletes name only when it is itself a regular file (not a link, folder or device) that
// no process holds with SysHoldFile; false otherwise.
bool SysDeleteUnusedFile(const char* name);
// True when name is a folder (a link to one counts).
bool SysIsFolder(const char* name);
// True when new files can be made in folder: it exists, is a folder, and this user may
// write in it and enter it. False, with the last error set, otherwise.
bool SysCanCreateFilesIn(const char* folder);
