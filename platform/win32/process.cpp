#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/process.h"
#include "platform/win32/wide_text.h"

bool SysStartProcess(const char* commandLine) {
    if (commandLine == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // The system may write into the command line it is given; it is UTF-8 text whatever
    // the code page of the process that starts it (the keyboard service runs in others).
    const int units = static_cast<int>(strlen(commandLine)) + 1;
    WCHAR* line = static_cast<WCHAR*>(HeapAlloc(GetProcessHeap(), 0, static_cast<size_t>(units) * sizeof(WCHAR)));
    if (line == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    if (WinWideOf(commandLine, -1, line, units) == 0) {
        HeapFree(GetProcessHeap(), 0, line);
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    STARTUPINFOW startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION started;
    const bool ok = CreateProcessW(nullptr, line, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                                   &startup, &started) != FALSE;
    const DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, line);
    if (!ok) {
        SetLastError(error);
        return false;
    }
    // One slice of 10 ms shows it running (the wait times out) or already ended; either
    // way it was started. Waiting for more slices until one times out would never end
    // for a program that has ended.
    WaitForSingleObject(started.hProcess, 10);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

uint32_t SysCurrentProcessId() { return GetCurrentProcessId(); }

bool SysProcessRuns(uint32_t id) {
    if (id == 0) return false;
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}
