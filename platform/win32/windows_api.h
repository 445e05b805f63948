// The one way a Windows back-end file reaches the system: include this first, never
// <windows.h> itself.
//
// The core speaks the system's vocabulary as its own (platform/wintypes.h and the seams):
// EVENTMSG and SYSTEMTIME are its own structs, and WM_*, VK_*, MB_*, ID*, HC_*, REG_* and
// the rest are enumerators or constants. <windows.h> defines the same names, the structs
// as typedefs and the codes as macros, so the two cannot meet in one file as they are:
// - the system's structs are renamed while <windows.h> is read, so they exist under other
//   names (WinEventMsg, WinSystemTime) and the core's keep theirs;
// - every macro wintypes.h declares as an enumerator is then undefined, so the enumerators
//   are not rewritten into numbers (which would not compile). The values are the same, so
//   a back end passes the core's names straight to the system's calls.
// HKEY_CURRENT_USER stays the core's number; WinCurrentUser() is the system's handle.
// A name added to wintypes.h that <windows.h> also defines stops the back ends compiling
// until it is undefined here too.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#define EVENTMSG WinEventMsg
#define SYSTEMTIME WinSystemTime
#include <windows.h>
#undef EVENTMSG
#undef SYSTEMTIME

#undef WM_NCLBUTTONDBLCLK
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_CHAR
#undef WM_SYSKEYDOWN
#undef WM_SYSKEYUP
#undef WM_COMMAND
#undef WM_TIMER
#undef WM_MOUSEMOVE
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_LBUTTONDBLCLK
#undef WM_RBUTTONDOWN
#undef WM_RBUTTONUP
#undef WM_RBUTTONDBLCLK
#undef WM_MBUTTONDOWN
#undef WM_MBUTTONUP
#undef WM_MBUTTONDBLCLK
#undef WM_MOUSEWHEEL
#undef WM_CANCELJOURNAL
#undef VK_BACK
#undef VK_TAB
#undef VK_RETURN
#undef VK_SHIFT
#undef VK_CONTROL
#undef VK_MENU
#undef VK_PAUSE
#undef VK_CAPITAL
#undef VK_ESCAPE
#undef VK_SPACE
#undef VK_PRIOR
#undef VK_NEXT
#undef VK_LWIN
#undef VK_RWIN
#undef VK_APPS
#undef VK_NUMLOCK
#undef VK_SCROLL
#undef VK_LMENU
#undef VK_RMENU
#undef VK_PACKET
#undef KEYEVENTF_EXTENDEDKEY
#undef KEYEVENTF_KEYUP
#undef HC_ACTION
#undef HC_GETNEXT
#undef HC_SKIP
#undef HC_NOREMOVE
#undef HC_SYSMODALON
#undef HC_SYSMODALOFF
#undef MB_OK
#undef MB_OKCANCEL
#undef MB_ABORTRETRYIGNORE
#undef MB_YESNOCANCEL
#undef MB_YESNO
#undef MB_RETRYCANCEL
#undef MB_ICONHAND
#undef MB_ICONSTOP
#undef MB_ICONQUESTION
#undef MB_ICONEXCLAMATION
#undef MB_ICONWARNING
#undef MB_ICONASTERISK
#undef MB_ICONINFORMATION
#undef MB_USERICON
#undef MB_DEFBUTTON1
#undef MB_DEFBUTTON2
#undef MB_DEFBUTTON3
#undef MB_DEFMASK
#undef MB_SYSTEMMODAL
#undef MB_TASKMODAL
#undef MB_TOPMOST
#undef MB_TYPEMASK
#undef MB_ICONMASK
#undef IDOK
#undef IDCANCEL
#undef IDABORT
#undef IDRETRY
#undef IDIGNORE
#undef IDYES
#undef IDNO
#undef REG_SZ
#undef REG_EXPAND_SZ
#undef REG_DWORD
#undef HKEY_CURRENT_USER
#undef VER_PLATFORM_WIN32s
#undef VER_PLATFORM_WIN32_WINDOWS
#undef VER_PLATFORM_WIN32_NT
#undef MAX_PATH
// Seam headers' own enumerators that <windows.h> also defines (platform/input.h,
// platform/journal.h).
#undef MOUSEEVENTF_MOVE
#undef MOUSEEVENTF_LEFTDOWN
#undef MOUSEEVENTF_LEFTUP
#undef MOUSEEVENTF_WHEEL
#undef MOUSEEVENTF_ABSOLUTE
#undef WH_JOURNALRECORD
#undef WH_JOURNALPLAYBACK

// Names the seams platform/input.h, desktop.h and journal.h declare for themselves.
#undef MOUSEEVENTF_MOVE
#undef MOUSEEVENTF_LEFTDOWN
#undef MOUSEEVENTF_LEFTUP
#undef MOUSEEVENTF_WHEEL
#undef MOUSEEVENTF_ABSOLUTE
#undef SW_HIDE
#undef SW_SHOWNORMAL
#undef SW_SHOWMINIMIZED
#undef SW_SHOW
#undef SW_SHOWNA
#undef SW_RESTORE
#undef SW_MINIMIZE
#undef WH_JOURNALRECORD
#undef WH_JOURNALPLAYBACK

#include "platform/wintypes.h"

// The system's handle for the one registry root the program uses.
inline HKEY WinCurrentUser() { return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(HKEY_CURRENT_USER)); }
