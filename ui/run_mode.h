// How the program was started.
#pragma once
#include <cstdint>

enum RunMode { RUN_INTERACTIVE = 0, RUN_COMMAND_LINE = 1, RUN_EXECUTABLE = 2 };

extern int32_t gnRunMode;
