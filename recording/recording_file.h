// Recording files: the binary form (.klr, bare 20-byte records) and the text form
// (.klx, event lines and script commands), and the current file they are read from.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"
#include "recording/recording.h"

// Where an executable recording's appended recording begins: the size of the program.
#ifndef EMBEDDED_RECORDING_OFFSET
#define EMBEDDED_RECORDING_OFFSET 208896
#endif


// Loads the file at path into the recording. Returns the number of script commands
// (>= 0) or -1 ... -5 after showing why; sets gRecording.gbRecordingCut. A line too long
// for the line buffer that is not a comment fails the load.
int LoadRecording(const char* path);
// Writes the text form (header, then one line per event, each script command as its
// script line) at the end of an open file; false when a write failed, nothing shown.
bool WriteTextRecording(intptr_t file);
// Writes the recording to name by the save rules (binary when the file name part
// contains ".klr", text otherwise); name must already carry its extension. The file is
// replaced only by a complete new one. Shows the failure message and returns false on
// failure or refusal.
bool SaveRecordingToFile(const char* name);
// The name Save As writes to, into out (size bytes): name with ".klr" added when its
// file name part has no dot and it is a plain file name, not that of a device, a folder
// or another existing non-regular file. False when the result does not fit.
bool MakeSaveName(const char* name, char* out, int size);

uint32_t GetFileSize32(const char* name);
// The file name part of a path: behind its last '/' or '\\'.
const char* FileNamePart(const char* path);
// True when the file name part holds a '.': the test for "the name has an extension",
// which a dot in a folder name must not pass.
bool FileNameHasDot(const char* path);
// Finds pattern (ignoring case) in the file name part only: ".klr" or ".exe" in a folder
// name must not decide how a file is read or written.
const char* FindInFileName(const char* path, const char* pattern);
// Copies field n (from 0) of a delimited list; a NUL delimiter walks a double-NUL list.
void GetListField(const char* list, char delimiter, int n, char* out, int outSize);
// Runs the file dialog on name (MAX_PATH bytes). Returns 0 cancelled, 1 chosen, 2 when
// the extension conflicts with the chosen filter (save mode only).
int ChooseFileName(char* name, const char* filters, bool save, int filterIndex);

// Filter lists of the dialogs.
extern const char kOpenFilters[];
extern const char kSaveAsFilters[];
extern const char kExeFilters[];
// The program a Mapping launches, or the text editor: .exe files on Windows, the files
// that may be run elsewhere.
extern const char kProgramFilters[];
