#include "ui/run_mode.h"

int32_t gnRunMode = RUN_INTERACTIVE;
int32_t gnExitCode = EXIT_CODE_DONE;

void NoteFailedHiddenPlayback() {
    if (gnRunMode != RUN_INTERACTIVE) gnExitCode = EXIT_CODE_FAILED;
}

void ResetRunState() {
    gnRunMode = RUN_INTERACTIVE;
    gnExitCode = EXIT_CODE_DONE;
}
