// Seam: other programs' top-level windows, which windows are the program's own, and the
// desktop's handlers that open documents and addresses.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

struct RECT32 {
    int32_t left, top, right, bottom;
};

// Show commands
enum {
    SW_HIDE = 0,
    SW_SHOWNORMAL = 1,
    SW_SHOWMINIMIZED = 2,
    SW_SHOW = 5,
    SW_SHOWNA = 8,
    SW_RESTORE = 9,
    SW_MINIMIZE = 6
};

// Top-level windows in the system's order, visible or not; returns how many were
// stored (at most max).
int SysEnumTopLevelWindows(HWND32* out, int max);
// Top-level windows hidden by their programs (withdrawn: neither shown nor minimised),
// which the list above leaves out; returns how many were stored (at most max).
int SysEnumHiddenTopLevelWindows(HWND32* out, int max);
// The window's title, cut to fit size - 1 characters; returns its length.
int SysGetWindowText(HWND32 window, char* out, int size);
// The window's class (on X11 the class part of WM_CLASS), cut the same way; 0 when it
// has none.
int SysGetWindowClass(HWND32 window, char* out, int size);
bool SysIsWindowMinimized(HWND32 window);
bool SysShowWindow(HWND32 window, int showCommand);
// Raises the window, makes it the foreground window and gives it the keyboard focus.
bool SysActivateWindow(HWND32 window);
// The window's rectangle on the screen, frame included.
bool SysGetWindowRect(HWND32 window, RECT32* out);
HWND32 SysGetForegroundWindow();
// The size of the screen in pixels; false when there is none.
bool SysGetScreenSize(int32_t* width, int32_t* height);
// True for the main window and any window inside it.
bool SysIsOwnWindow(HWND32 window);
// Where the pointer is on the screen; false when there is no screen.
bool SysGetCursorPos(int32_t* x, int32_t* y);
// The window under a screen point and its title (cut to titleSize - 1 bytes) and
// rectangle on the screen - the rectangle SysGetWindowRect gives for a top-level window,
// whose left and top CLICK offsets count from. topLevel: the top-level window holding the
// point; otherwise the innermost window there with a title. False when no window with a
// title is there.
bool SysWindowAtPoint(int32_t x, int32_t y, bool topLevel, char* title, int titleSize, RECT32* rect);

// Opens a document or address (an absolute URI: file, https, mailto) with the desktop's
// default handler for it, as a person's double click would; false when there is none or
// it cannot be started.
bool ShellOpen(const char* uri);
// Opens a file with the application the desktop has chosen for plain text; false when
// it has none or it cannot be started.
bool ShellOpenTextFile(const char* path);
