// Leaving the program: the Exit command, the closing of the main window and the exit
// step, which ends the message loop with the run's exit status (ui/run_mode.h).
#pragma once

// Command handler: 1030 (Exit).
void OnExit(int id);
// The system ends the program (a signal, the end of the session): a playback or
// recording in progress is cancelled without saving anything of it, and the exit step
// runs.
void OnEndSession();
// Closing the main window: returns false when the window stays (tray mode, or the user
// cancelled the question about unsaved changes); otherwise it has run the exit step.
bool CloseMainWindow();
// The exit step; then the message loop ends with gRun.gnExitCode. Runs once.
void RunExitStep();
