// Executable recordings: a copy of the program with the current recording appended at
// EMBEDDED_RECORDING_OFFSET, which the program plays when started.
#pragma once

// Command 1135 (Create Executable Program): asks for a name and makes the executable
// from the running program's own file.
void CreateExecutableRecording(int id);

// Writes into out (size bytes) the path with the name part (behind its last '/' or
// '\\') cut before its first '.' and ".exe" appended. A dot in a folder name is left
// alone. Returns false, leaving out empty, when the result does not fit.
bool MakeExecutableName(const char* path, char* out, int size);

// Makes exeName a copy of the program file with the recording appended: its text form
// when it holds script commands, the event records otherwise. An old exeName is replaced
// only by a complete new one, and never when it is the program file itself. Shows why
// and returns false on failure; the modified flag is left alone.
bool WriteExecutableRecording(const char* exeName, const char* programPath);
