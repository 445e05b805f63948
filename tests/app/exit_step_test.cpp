#include "app/exit_step.h"

#include <string>

#include "app/app_state.h"
#include "player/playback_control.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

class ExitStepTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        gSettings.gbPromptForSave = 1;
        Keys(2);
        gRecording.gbModified = true;
    }
};

TEST_F(ExitStepTest, CloseAndExitFollowTheAnswerToTheSaveQuestion) {
    const struct { int answer; bool saveChosen; bool ends; } cases[] = {
        {IDYES, true, true}, {IDYES, false, false}, {IDNO, false, true}, {IDCANCEL, false, false}};
    for (int command : {0, int{ID_EXIT}}) {
        for (const auto& c : cases) {
            // The exit step frees the recording store.
            gApp.gbExitStepDone = false;
            if (gRecordingStore.gEvents == nullptr) {
                ASSERT_TRUE(AllocateRecordingStore());
            }
            Keys(2);
            gRecording.gszFile[0] = '\0';
            fake::quitExitCode = -1;
            fake::messageBoxes.clear();
            gRecording.gbModified = true;
            fake::messageBoxAnswers = {c.answer};
            if (c.saveChosen) fake::fileDialogAnswers = {{true, Path("kept.klr"), 1}};
            if (command == 0) {
                EXPECT_EQ(CloseMainWindow(), c.ends) << c.answer;
            } else {
                SendCommand(command);
            }
            const std::string how = (command == 0 ? "close " : "exit ") + std::to_string(c.answer);
            ASSERT_FALSE(fake::messageBoxes.empty()) << how;
            EXPECT_EQ(fake::messageBoxes[0].caption, "Confirm Action");
            EXPECT_EQ(fake::quitExitCode, c.ends ? EXIT_CODE_DONE : -1) << how;
            // Yes runs Save As; a Save As left without a name keeps the window open.
            EXPECT_EQ(fake::fileDialogs.size(), c.answer == IDYES ? 1u : 0u) << how;
            EXPECT_EQ(FileExists(Path("kept.klr")), c.saveChosen) << how;
            fake::fileDialogs.clear();
            if (c.saveChosen) remove(Path("kept.klr").c_str());
        }
    }
}

TEST_F(ExitStepTest, AWindowThatStaysAfterItsRecordingOrPlaybackWasCancelledIsIdleAgain) {
    // Playing, then the close is cancelled: the recording is still there to play again.
    SendCommand(ID_PLAY);
    ASSERT_NE(fake::journalHook, 0);
    fake::messageBoxAnswers = {IDCANCEL};
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_TRUE(fake::commandEnabled[ID_PLAY] && fake::commandEnabled[ID_START_RECORDING]);
    EXPECT_FALSE(fake::commandEnabled[ID_STOP_RECORDING]);

    // Recording in tray mode: the window hides, and comes back with nothing recorded.
    gSettings.gdwShowTrayIcon = 1006;
    ASSERT_TRUE(AddTrayIcon(1006, "Kelmor"));
    SendCommand(ID_START_RECORDING);
    ASSERT_NE(fake::journalHook, 0);
    SendCommand(ID_EXIT);
    EXPECT_TRUE(fake::journalHook == 0 && !fake::mainWindowVisible && fake::quitExitCode == -1);
    EXPECT_TRUE(fake::commandEnabled[ID_START_RECORDING] && fake::commandEnabled[ID_OPEN]);
    EXPECT_FALSE(fake::commandEnabled[ID_STOP_RECORDING] || fake::commandEnabled[ID_PLAY]);
    EXPECT_EQ(fake::windowTitle, "Kelmor - (Untitled)");
}
