#include <cstring>
#include <tuple>

#include "app/program_state.h"
#include "host/mappings.h"
#include "host/service_control.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "player/recorder.h"
#include "player/script_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/test_support.h"
#include "ui/run_mode.h"

class ProgramStateTest : public CoreTest {};

// One state left behind by each folder: the one reset takes every one of them back.
TEST_F(ProgramStateTest, OneResetCoversEveryFolder) {
    strcpy(gRecording.gszFile, "/tmp/left.klx");
    gRecording.gbModified = gRecording.gbFileChosen = gRecording.gbRecordingCut = true;
    gRecording.nEventCount = 3, gRecording.nScriptCommands = 1, gRecording.nCompletedPasses = 7;
    gPlayer.ghJournalHook = 5, gPlayer.gbPlayingNow = true, gPlayer.gbSavedSpeed = 3, gPlayer.gdwLastButtonUpTick = 9;
    gPlayer.ghGotoWindow = 11, gPlayer.gbConsoleMinimized = 1, gPlayer.nCurrentEvent = 2, gPlayer.lDelay = 40;
    gServiceHost.ghServiceHook = 13, gMappings.gbMapAction[65] = ACTION_PLAYBACK, gMappings.gbStopRecordingKey = 27;
    gRun.gnRunMode = RUN_EXECUTABLE, gRun.gnExitCode = EXIT_CODE_FAILED;
    gSettings.gbSpeed = 4, gLog.gbLogLevel = LOG_HIGH;

    ResetProgramState();

    EXPECT_STREQ(gRecording.gszFile, "");
    EXPECT_EQ(std::make_tuple(gRecording.gbModified, gRecording.gbFileChosen, gRecording.gbRecordingCut),
              std::make_tuple(false, false, false));
    EXPECT_EQ(std::make_tuple(gRecording.nEventCount, gRecording.nScriptCommands, gRecording.nCompletedPasses),
              std::make_tuple(0, 0, 0));
    EXPECT_EQ(std::make_tuple(gPlayer.ghJournalHook, gPlayer.gbPlayingNow, int{gPlayer.gbSavedSpeed},
                              gPlayer.gdwLastButtonUpTick),
              std::make_tuple(intptr_t{0}, false, 0, 0u));
    EXPECT_EQ(
        std::make_tuple(gPlayer.ghGotoWindow, int{gPlayer.gbConsoleMinimized}, gPlayer.nCurrentEvent, gPlayer.lDelay),
        std::make_tuple(0u, 0, 0, 0));
    EXPECT_EQ(
        std::make_tuple(gServiceHost.ghServiceHook, int{gMappings.gbMapAction[65]}, int{gMappings.gbStopRecordingKey}),
        std::make_tuple(intptr_t{0}, 0, 0));
    EXPECT_EQ(std::make_tuple(gRun.gnRunMode, gRun.gnExitCode),
              std::make_tuple(int32_t{RUN_INTERACTIVE}, int32_t{EXIT_CODE_DONE}));
    EXPECT_EQ(std::make_tuple(int{gSettings.gbSpeed}, int{gLog.gbLogLevel}), std::make_tuple(2, int{LOG_OFF}));
}
