#include "app/program_state.h"

#include "app/exit_step.h"
#include "host/service_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "script/type_expansion.h"
#include "settings/settings.h"
#include "ui/run_mode.h"

void ResetProgramState() {
    ResetExitState();
    ResetPlayerState();
    ResetScriptState();
    ResetRecordingState();
    ResetHostState();
    ResetRunState();
    ResetSettings();
}
