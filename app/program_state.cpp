#include "app/program_state.h"

#include "app/exit_step.h"
#include "app/tray.h"
#include "host/service_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "script/type_expansion.h"
#include "settings/settings.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

void ResetProgramState() {
    ResetExitState();
    ResetTrayState();
    ResetTrayIconState();
    ResetPlayerState();
    ResetScriptState();
    ResetRecordingState();
    ResetHostState();
    ResetRunState();
    ResetSettings();
}
