#include "ui/run_mode.h"

RunState gRun;

void NoteFailedHiddenPlayback() {
    if (gRun.gnRunMode != RUN_INTERACTIVE) gRun.gnExitCode = EXIT_CODE_FAILED;
}

void ResetRunState() { gRun = RunState{}; }
