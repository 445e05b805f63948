#include "recording/start_program.h"

#include "platform/process.h"

bool StartProgram(const char* commandLine) {
    if (commandLine == nullptr || commandLine[0] == '\0') return false;
    return SysStartProcess(commandLine);
}
