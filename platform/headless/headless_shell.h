// What the windowless shell needs from the program using it: the command dispatch its
// posted commands go to, and the message loop the program runs until it quits.
#pragma once

// Where posted commands go once the loop runs them. A program that posts commands
// (playback, recording) hands the command dispatch over here; one that never does
// keeps its link free of everything the dispatch reaches.
void HeadlessShellSetDispatcher(void (*dispatch)(int id));
// The program's name in what the loop and the back ends say on standard error.
void HeadlessSetProgramName(const char* name);
// Runs the message loop (the GLib main loop) until ShellQuitMessageLoop; returns the
// exit code given there.
int HeadlessRunMessageLoop();
// Runs the program's end-session handler (ShellSetEndSessionHandler), at most once in the
// program's life: the display's loss and a signal may both come.
void HeadlessEndSession();

// For the loops themselves (platform/headless/loop.cpp, platform/win32/loop.cpp): runs a
// posted command through the dispatch, or says on standard error that nothing can; and
// keeps the handler of ShellSetEndSessionHandler for HeadlessEndSession.
void HeadlessRunPostedCommand(const char* programName, int id);
void HeadlessKeepEndSessionHandler(void (*onEndSession)());
