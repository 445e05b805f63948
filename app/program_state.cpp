#include "app/program_state.h"

#include "app/app_state.h"
#include "app/command_table.h"
#include "host/service_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "script/type_expansion.h"
#include "settings/settings.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

void ResetProgramState() {
    gApp = AppState{};
    RegisterCommandTable();
    ResetTrayIconState();
    ResetPlayerState();
    ResetScriptState();
    ResetRecordingState();
    ResetHostState();
    ResetRunState();
    ResetSettings();
}
