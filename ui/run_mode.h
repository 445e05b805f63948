// How the program was started, and the status it ends with.
#pragma once
#include <cstdint>

enum RunMode { RUN_INTERACTIVE = 0, RUN_COMMAND_LINE = 1, RUN_EXECUTABLE = 2 };

enum ExitCode { EXIT_CODE_DONE = 0, EXIT_CODE_FAILED = 1 };

struct RunState {
    int32_t gnRunMode = RUN_INTERACTIVE;
    // The exit status: EXIT_CODE_DONE unless a hidden playback failed to load, failed to
    // start, was cancelled or was halted by an error.
    int32_t gnExitCode = EXIT_CODE_DONE;
};
// Global because it is decided once at start-up and read by every handler that would
// otherwise show something to a user who is not there.
extern RunState gRun;

// A hidden playback ended without playing through: the program exits with a failure.
// Nothing changes in the interactive run mode, whose user saw the reason on screen.
void NoteFailedHiddenPlayback();

// Back to an interactive run that has not failed.
void ResetRunState();
