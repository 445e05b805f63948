#include <string>
#include <vector>

#include "player/playback_control.h"
#include "player/script_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

namespace {

std::vector<uint32_t> Gaps() {
    std::vector<uint32_t> gaps;
    for (size_t i = 1; i < fake::deliveredAt.size(); ++i) {
        gaps.push_back(fake::deliveredAt[i] - fake::deliveredAt[i - 1]);
    }
    fake::deliveredAt.clear();
    return gaps;
}

}  // namespace

class PlaybackControlTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gSettings.gbKeyboardService = 0;  // the service upkeep has its own tests
        gLog.gbLogLevel = LOG_LOW;
        fake::tickCount = 100000;  // a delay start of 0 means none
    }
};

TEST_F(PlaybackControlTest, RepeatsRunEveryPassThenGoIdle) {
    Keys(4);
    gSettings.gnRepeats = 3, gSettings.gbMinimize = 1, gSettings.gdwShowTrayIcon = 1000;
    SendCommand(ID_PLAY);
    EXPECT_EQ(fake::statusText + "|" + fake::repeatField + "|" + fake::trayIcons.back().tip,
              "PRESS CTRL + ESCAPE TO STOP|3|Kelmor is playing");
    fake::statusText = "Press Ctrl + Escape To Stop";
    SetStatusText("PRESS CTRL + ESCAPE TO STOP");
    EXPECT_EQ(fake::statusText, "Press Ctrl + Escape To Stop") << "same text in another case stays";
    EXPECT_EQ(fake::RunPlayback(), 12);
    EXPECT_TRUE(fake::statusText == " " && fake::commandEnabled[ID_PLAY]);
    EXPECT_EQ(gRecording.nCompletedPasses, 0) << "the next playback counts from the start";
    // A minimised window still counts as visible, so every pass minimises it again.
    EXPECT_EQ(fake::mainWindowShowCommands, (std::vector<int>{SW_MINIMIZE, SW_MINIMIZE, SW_MINIMIZE, SW_RESTORE}));
}

TEST_F(PlaybackControlTest, TrayPlayStartsAContinuousPlaybackThatCountsPassesUntilCancelled) {
    Keys(2);
    gSettings.gbContinuous = 1;
    gPlayer.gbPlayingNow = true;  // left behind by an Exit during a playback
    SendCommand(ID_TRAY_PLAY);
    gPlayer.gbPlayingNow = false;
    EXPECT_EQ(fake::journalInstalls, 0);
    SendCommand(ID_TRAY_PLAY);
    fake::RunPlayback(2 * 2);
    OnCancelJournal();
    OnCancelJournal();  // nothing left to cancel
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    const fake::MessageBoxCall box = fake::messageBoxes[0];
    EXPECT_EQ(box.caption, "2 Playbacks Completed");
    EXPECT_EQ(box.text.rfind("The system is forcing Kelmor to stop recording and playing.\n\nThe CTRL+ESC key", 0), 0u)
        << "the local wording of the warning";
    EXPECT_TRUE(box.iconId == 1000 && (box.style & ~static_cast<uint32_t>(MB_USERICON)) == 0x42000u);
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_TRUE(Logged("CANCELLED RECORDING: Forced by Windows Operating System\r\n"));

    SendCommand(ID_PLAY);
    fake::RunPlayback(5 * 2);
    gSettings.gbPlayUpdate = 0;
    fake::RunPlayback(2);
    EXPECT_EQ(fake::windowTitle, "5 done for (Untitled)") << "only PlayUpdate 1 shows the progress";
    EXPECT_TRUE(Logged("6 done for (Untitled)"));
}

TEST_F(PlaybackControlTest, FastMapPlayCoversTheFirstPassOfAMappingPlaybackOnly) {
    Keys(3);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\FastMapPlay", REG_DWORD, nullptr, 1);
    gSettings.gnRepeats = 2;
    SendCommand(ID_SERVICE_PLAYBACK);
    fake::RunPlayback();
    EXPECT_EQ(Gaps(), (std::vector<uint32_t>{0, 0, 0, 100, 100}));

    // Playing a file for a Mapping keeps the user's speed and forgets the hot key's modifiers.
    const std::string name = Path("m.klx");
    WriteFile(name, "message=WM_KEYDOWN paramH=1 paramL=65 time=10\r\nmessage=WM_KEYUP paramH=1 paramL=65 time=70\r\n");
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\ServiceFileLoad", REG_SZ, name.c_str(), 0);
    fake::keyboardState[VK_CONTROL] = 0x80;
    gSettings.gnRepeats = 1;
    SendCommand(ID_SERVICE_PLAYFILE);
    EXPECT_EQ(fake::keyboardState[VK_CONTROL], 0);
    fake::RunPlayback();
    EXPECT_EQ(Gaps(), (std::vector<uint32_t>{60}));

    SendCommand(ID_PLAY);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\ServiceFileLoad", REG_SZ, "/nowhere.klx", 0);
    SendCommand(ID_SERVICE_PLAYFILE);
    EXPECT_EQ(gRecording.gszFile, name) << "ignored while a playback runs";
}

// A hidden program that cannot play does not linger.
TEST_F(PlaybackControlTest, NothingToPlayOrHookRefused) {
    gRun.gnRunMode = RUN_EXECUTABLE;
    SendCommand(ID_PLAY);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Play Error");
    EXPECT_TRUE(fake::commandEnabled.empty());

    Keys(2);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\FastMapPlay", REG_DWORD, nullptr, 1);
    fake::refuseJournalHook = true;
    SendCommand(ID_SERVICE_PLAYBACK);
    ASSERT_EQ(fake::messageBoxes.size(), 2u);
    EXPECT_EQ(fake::messageBoxes[1].caption + ": " + fake::messageBoxes[1].text,
              "Playback Failure: Unable to start playback!");
    EXPECT_TRUE(Logged("Unable to start playback!"));
    EXPECT_FALSE(gPlayer.gbPlayingNow);
    EXPECT_EQ(gSettings.gbSpeed, 2) << "the Mapping's fast speed does not outlive a playback that never ran";
    EXPECT_EQ(fake::postedCommands, (std::deque<int>{ID_EXIT, ID_EXIT}));
}

TEST_F(PlaybackControlTest, AFinishedPlaybackDropsWhatItTypedAndExitsWhenNotInteractive) {
    Keys(4);
    gRecordingStore.gEvents[1] = EVENTMSG{};
    AddScriptCommand(KW_TYPE, "abcde", 1);
    gRun.gnRunMode = RUN_COMMAND_LINE;
    gPlayer.gbConsoleMinimized = 1;
    SendCommand(ID_PLAY);
    EXPECT_EQ(fake::RunPlayback(), 3 + 10);
    EXPECT_EQ(gRecording.nEventCount, 4);
    EXPECT_EQ(gRecordingStore.gEvents[4].message, 0u) << "nothing left behind the restored list";
    EXPECT_EQ(fake::postedCommands, std::deque<int>{ID_EXIT});
    EXPECT_TRUE(fake::windowTitle.empty() && gPlayer.gbConsoleMinimized == 1);

    gRun.gnRunMode = RUN_INTERACTIVE;
    fake::postedCommands.clear();
    SendCommand(ID_PLAY);
    fake::RunPlayback();
    EXPECT_TRUE(fake::postedCommands.empty() && gPlayer.gbConsoleMinimized == 0);
    EXPECT_EQ(fake::mainWindowShowCommands, std::vector<int>{SW_RESTORE});
}

TEST_F(PlaybackControlTest, WatchdogKicksAFrozenWait) {
    Keys(3);
    gRecordingStore.gEvents[1] = EVENTMSG{};
    AddScriptCommand(KW_WAIT, "2", 1);
    std::vector<size_t> keysAt;
    fake::actualWait = [&](int32_t) {  // the timer fires while the system sits in the wait
        fake::tickCount += 2500, OnServiceTimer(), keysAt.push_back(fake::keyEvents.size());
        fake::tickCount += 1, OnServiceTimer(), keysAt.push_back(fake::keyEvents.size());
        return 0;
    };
    SendCommand(ID_PLAY);
    fake::RunPlayback();
    EXPECT_EQ(keysAt, (std::vector<size_t>{0, 2}));
    EXPECT_EQ(fake::keyEvents[0].vk, VK_CONTROL);
    EXPECT_TRUE(Logged("      !!! WINDOWS FROZE DURING DELAY PLAYBACK, KICK IT !!!"));
}

TEST_F(PlaybackControlTest, WatchdogLeavesAWindowSearchAfterAWaitAlone) {
    // A WAIT, a key played at once (its delay start stays set), then a GOTO that searches
    // for a window that never comes: the search's pauses are no frozen delay.
    Keys(5);
    gRecordingStore.gEvents[1] = EVENTMSG{};
    gRecordingStore.gEvents[3] = EVENTMSG{};
    AddScriptCommand(KW_WAIT, "1", 1);
    AddScriptCommand(KW_GOTO, "Nowhere", 3);
    gSettings.gbGOTOWait = 3;
    fake::actualWait = [](int32_t requested) {
        fake::tickCount += static_cast<uint32_t>(requested);
        OnServiceTimer();
        return 0;
    };
    SendCommand(ID_PLAY);
    fake::RunPlayback();
    EXPECT_TRUE(Logged("   Unable to find window 'Nowhere', trying again..."));
    EXPECT_TRUE(fake::keyEvents.empty());
    EXPECT_FALSE(Logged("      !!! WINDOWS FROZE DURING DELAY PLAYBACK, KICK IT !!!"));
}
