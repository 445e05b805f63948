#include "player/player.h"

#include "player/playback_control.h"
#include "player/recorder.h"
#include "player/script_commands.h"

PlayerState gPlayer;

void ResetPlayerState() {
    gPlayer = PlayerState{};
    gPlayer.endOfPass = EndOfPlaybackPass;
    gPlayer.stopPlayback = StopAndResetPlayback;
    ResetScriptCommands();
}
