// Start-up: the run mode, the command-line options, the program's initial state and the
// hidden playback that the non-interactive run modes start.
#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/wintypes.h"

// The number behind option in the command line: 0 when the option is absent or has no
// digits. Blanks, '=' and '"' between option and number are skipped; at most 32 digits
// are read and the value saturates at INT32_MAX instead of wrapping.
int32_t GetCommandLineValue(const char* commandLine, const char* option);

// Applies /SPEED, /CONTINUOUS and /REPEATS found in the option text (the arguments
// behind the file name) to this run's playback settings; absent options keep theirs.
void ApplyCommandLineOptions(const char* options);

// The arguments in a command line as Windows hands it over whole: what follows the
// program's name (quoted, or up to the first blank) and the blanks behind it.
const char* CommandLineArguments(const char* commandLine);
// Splits arguments the Windows way: the file name is everything before the first '/',
// without its double quotes and trailing blanks (cut to fit size - 1 bytes); returns the
// options, from that '/' on.
const char* SplitCommandLine(const char* arguments, char* fileName, size_t size);

// True when a first argument is one of the options rather than a file name, so that
// "kelmor /SPEED=4" names no file although every absolute path begins with '/'.
bool IsCommandLineOption(const char* argument);

// Decides the run mode from the program's own file and whether it was given arguments,
// sets gRun.gnRunMode and returns it. Clears the current file; an executable recording (a
// program file larger than EMBEDDED_RECORDING_OFFSET) makes its own path the current file.
int DetectRunMode(const char* ownPath, bool hasArguments);
// The same for the running program (its module file name).
int DetectProgramRunMode(bool hasArguments);

// The start-up work before anything runs, behind ResetProgramState and the run mode:
// the recording store, the starting state and the settings. False when the store
// cannot be allocated (its message box said why).
bool PrepareProgram();
// The starting state on its own, for a program that allocates the store and loads the
// settings itself: a fresh random seed, and the journal cancel delivered to the cancel
// step, the system's order to end the program to the exit step.
void SetStartingState();

// The non-interactive start shared by every program that plays hidden. Logs the command
// line at HIGH when it is not empty; a non-empty fileName (at most MAX_PATH - 1 bytes)
// replaces the current file, an empty one keeps it (an executable recording's own path).
// Loads the recording, clears the keyboard state and posts Playback. Returns false, with
// the exit status set to failure, when the file cannot be loaded.
bool StartHiddenPlayback(const char* commandLine, const char* fileName);

// The main window of an interactive copy on the display, shown or hidden in the tray
// (*hidden says which); 0 when there is none, or no display.
HWND32 FindRunningCopy(bool* hidden);

// A second interactive start: when a main window of class "Kelmor" is already on the
// display, shows it (restored when minimised), brings it to the front and returns true;
// the new start then ends. A window manager, not a lock file, knows what runs, so a
// copy that crashed never blocks the next.
bool BringRunningCopyForward();

// The interactive start once the main window exists: the window goes where Left and Top
// say when that is on the screen; nothing is loaded yet, so the commands that need a
// recording are grey; the window is set up (app/tool_commands.h) and shows, or in the tray
// mode only the tray icon; above others when Topmost is on and folded when ShowTabs is off;
// then the last file reloads.
void ShowInteractiveWindow();

// The message loop's handling of the system's journal cancel.
void OnJournalCancelMessage();
