// The common controls and the shell's headers for the face, read as platform/win32/
// windows_api.h reads <windows.h>: their structs named SYSTEMTIME are the system's
// WinSystemTime, so that the core's own SYSTEMTIME keeps its name.
#pragma once
#include "platform/win32/windows_api.h"

#define SYSTEMTIME WinSystemTime
#include <commctrl.h>
#include <shellapi.h>
#undef SYSTEMTIME
