#include "ui/run_mode.h"

int32_t gnRunMode = RUN_INTERACTIVE;
