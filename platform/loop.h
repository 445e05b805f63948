// Seam: the program's message loop - posted commands, the end of the loop, and the
// system's order to end the program.
#pragma once
#include <cstdint>

// Queues a command for the command dispatch after the current one returns.
void ShellPostCommand(int id);
// Shows a message box (ShellMessageBox) from the loop once the current work returns: for
// code that must not wait on the user where it runs, such as a hook procedure.
void ShellPostMessageBox(const char* text, const char* caption, uint32_t style);
// Ends the program's message loop once the current command returns; the program then
// exits with exitCode.
void ShellQuitMessageLoop(int exitCode);
// Where the system's order to end the program goes (on Linux SIGINT, SIGTERM and SIGHUP;
// the end of the session). The back end calls the handler from the message loop, between
// the loop's other work, and the program then exits with a failure status.
void ShellSetEndSessionHandler(void (*onEndSession)());
// A timer of the main window: every periodMs milliseconds, from the message loop, onTick
// gets the timer's id. Setting an id that runs restarts it with the new period; a
// program holds at most a handful of timers.
void ShellSetTimer(int id, unsigned periodMs, void (*onTick)(int id));
void ShellKillTimer(int id);
