// The common controls' header, read with the system's SYSTEMTIME under the name
// windows_api.h gives it (its date pickers use it).
#pragma once
#include "platform/win32/windows_api.h"

#define SYSTEMTIME WinSystemTime
#include <commctrl.h>
#undef SYSTEMTIME
