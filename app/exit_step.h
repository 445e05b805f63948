// Leaving the program: the Exit command, the closing of the main window, the exit step,
// and the exit status the message loop ends with.
#pragma once
#include <cstdint>

enum ExitCode { EXIT_CODE_DONE = 0, EXIT_CODE_FAILED = 1 };

// The exit status: EXIT_CODE_DONE unless a hidden playback failed to load, failed to
// start, was cancelled or was halted by an error.
extern int32_t gnExitCode;

// A hidden playback ended without playing through: the program exits with a failure.
// Nothing changes in the interactive run mode, whose user saw the reason on screen.
void NoteFailedHiddenPlayback();

// Command handler: 1030 (Exit).
void OnExit(int id);
// The system ends the program (a signal, the end of the session): a playback or
// recording in progress is cancelled without saving anything of it, and the exit step
// runs.
void OnEndSession();
// Closing the main window: returns false when the window stays (tray mode, or the user
// cancelled the question about unsaved changes); otherwise it has run the exit step.
bool CloseMainWindow();
// The exit step; then the message loop ends with gnExitCode. Runs once.
void RunExitStep();
// Back to a program that has not exited (tests start from here).
void ResetExitState();
