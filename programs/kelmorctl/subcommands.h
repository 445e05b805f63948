// The subcommands of kelmorctl. Each one is a row of the table in main.cpp: its name,
// its arguments as the help shows them, how many it takes, its own options (if any)
// and the function that runs it once the recording store and the settings are ready.
#pragma once
#include "programs/kelmorctl/options.h"

struct Subcommand {
    const char* name;
    const char* arguments;     // "FILE", "IN OUT"
    const char* summary;       // one line for the help
    int minArguments;
    int maxArguments;
    const CommandOption* options;  // nullptr, or entries ended by an empty one
    // Runs with the arguments behind the name; returns the exit status.
    int (*run)(int argc, char** argv);
};

int RunInfo(int argc, char** argv);
int RunConvert(int argc, char** argv);
int RunRecord(int argc, char** argv);
extern const CommandOption kRecordOptions[];
int RunExe(int argc, char** argv);
int RunPlay(int argc, char** argv);
extern const CommandOption kPlayOptions[];
int RunBackup(int argc, char** argv);
int RunRestore(int argc, char** argv);
int RunKeys(int argc, char** argv);

// Makes name the current file; false (after saying why) when it does not fit.
bool SetCurrentFileFromArgument(const char* name);
// After a load: true, after saying that nothing was done (outcome), when the load left
// part of the file out, so that no command acts on part of a recording.
bool RefuseCutRecording(const char* command, const char* outcome);
// False, after the program's message under caption, when the recording has no actions
// to save or play.
bool CheckHasActions(const char* caption);
// The name Save As writes to (MakeSaveName: ".klr" added to a plain name without one) in out;
// false, after saying why, for an executable's name or one too long.
bool SaveAsName(const char* name, char* out, int size);
// The folder of a file name as the system reads it ("." for a name without one).
std::string FolderOfFile(const char* name);
// The kelmor program's file beside the given program file.
std::string KelmorProgramBeside(const char* program);
