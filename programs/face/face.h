// The program's face: on Linux a module loaded the first time something asks for it
// (programs/kelmor/face.cpp), on Windows the face linked into Kelmor.exe
// (programs/kelmor-win/face.cpp).
#pragma once
#include "platform/face.h"

// The module's table, or nullptr when it cannot be loaded (said once on standard error).
const KelmorFace* LoadFace();
// The Linux program only: loads the module on a thread of its own, which LoadFace then
// waits for, so that the GTK libraries load while the program does its own first work.
// FinishLoadingFace waits for that thread; false when none was started or it was waited for.
void StartLoadingFace();
bool FinishLoadingFace();
// A message box where the face cannot show one: the answer of its default button.
int BoxWithoutFace(const char* text, const char* caption, uint32_t style);
// The table once the main window exists; nullptr before (and in every hidden run), when
// window and dialog calls have nothing to act on.
const KelmorFace* WindowFace();
// Opens the main window, hidden, from the descriptions of ui/; false (with the reason on
// standard error) when the module has no window or there is no display.
bool OpenMainWindow(void (*onCommand)(int id), bool (*onClose)());
// The main window on the given face, from the descriptions of ui/, with the commands
// nothing carries out yet greyed; false when the face cannot make it (no display). The
// part of OpenMainWindow that every face shares.
bool OpenMainWindowOn(const KelmorFace* face, void (*onCommand)(int id), bool (*onClose)());
// The interactive run: a running copy brought forward, or the settings, the window built
// hidden, shown in the empty state, and the message loop until the exit step ends it.
// The program's exit status.
int RunMainWindow();
