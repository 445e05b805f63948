// Seam: files by name and by handle. Failures set the last error (system.h).
#pragma once
#include <cstdint>

typedef intptr_t SysFile;
static const SysFile SYS_NO_FILE = -1;

// Size in bytes of the named file, or 0 when no such file can be found.
uint32_t SysGetFileSize(const char* name);
// Opens for reading; others may read and write meanwhile.
SysFile SysOpenRead(const char* name);
// Reads up to n bytes at offset; returns the number read (short at the end) or -1.
int SysReadAt(SysFile f, uint32_t offset, void* buf, uint32_t n);
// Appends n bytes at the current end of the file; false unless all were written.
bool SysWriteAtEnd(SysFile f, const void* buf, uint32_t n);
void SysClose(SysFile f);
bool SysDeleteFile(const char* name);
// Appends the whole content of the named file at the end of f.
bool SysAppendFileContent(SysFile f, const char* from);
// Opens (creating), appends n bytes in one write, closes. Concurrent appenders in
// other processes never overwrite each other. Only a regular file is written, never
// waiting to open: a pipe, a device or a folder of that name fails at once.
bool SysAppendToFile(const char* name, const void* buf, uint32_t n);
// Opens the regular file name (created when missing) and holds it in use until SysClose:
// meanwhile SysDeleteUnusedFile leaves it alone, in every process. SYS_NO_FILE for
// anything but a regular file.
SysFile SysHoldFile(const char* name);
// Deletes name only when it is itself a regular file (not a link, folder or device) that
// no process holds with SysHoldFile; false otherwise.
bool SysDeleteUnusedFile(const char* name);
// True when new files can be made in folder: it exists, is a folder, and this user may
// write in it and enter it. False, with the last error set, otherwise.
bool SysCanCreateFilesIn(const char* folder);

// Replacing a file whole. The new content goes to a temporary file beside the target
// (".NAME.kelmor-XXXXXX" in the same folder) and takes the target's place only when
// SysCommitReplacement succeeds: until then the old file is untouched, and a process
// killed meanwhile leaves at most the temporary file behind. A symbolic link is followed:
// the file it names is replaced and the link stays a link. The new file gets the
// permission bits of modeFrom when that names a file, else those of the file it replaces,
// else 0644 less the umask. A target that exists but is no regular file (a device, a
// pipe) holds nothing to keep: it is opened and written directly. A folder fails (EISDIR).
SysFile SysBeginReplacement(const char* target, const char* modeFrom);
// Flushes the new file to disk and moves it over the target; on failure the temporary
// file is removed and the target left as it was.
bool SysCommitReplacement(SysFile f);
// Drops the new file and leaves the target as it was; the last error stays as it is.
void SysDiscardReplacement(SysFile f);

enum SysFileKind { SYS_FILE_MISSING, SYS_FILE_REGULAR, SYS_FILE_FOLDER, SYS_FILE_OTHER };
// What the name leads to, symbolic links followed.
SysFileKind SysGetFileKind(const char* name);
// True when both names lead to one and the same file.
bool SysIsSameFile(const char* a, const char* b);
