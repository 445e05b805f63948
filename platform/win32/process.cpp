#include "platform/win32/windows_api.h"

#include <cstring>
#include <vector>

#include "platform/process.h"

bool SysStartProcess(const char* commandLine) {
    if (commandLine == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // The system may write into the command line it is given.
    std::vector<char> line(commandLine, commandLine + strlen(commandLine) + 1);
    STARTUPINFOA startup;
    memset(&startup, 0, sizeof startup);
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWDEFAULT;
    PROCESS_INFORMATION started;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &started)) {
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
