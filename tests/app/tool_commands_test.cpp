#include "app/tool_commands.h"

#include <string>

#include "app/exit_step.h"
#include "app/startup.h"
#include "platform/window.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

class ToolCommandsTest : public WindowTest {
protected:
    static bool Grey(int id) { return fake::FindMenuItem(id)->grayed; }
};

TEST_F(ToolCommandsTest, ViewLogFileOpensTheLogInTheEditor) {
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", Path("my log.txt").c_str());
#ifdef _WIN32
    const std::string quoted = "\"" + Path("my log.txt") + "\"";
    const char* editor = "notepad.exe ";
#else
    const std::string quoted = "'" + Path("my log.txt") + "'";
    const char* editor = "xdg-open ";
#endif
    // The default editor: the desktop's application for text, or else the opener program.
    SendCommand(ID_VIEW_LOG);
    EXPECT_EQ(fake::openedTextFiles, std::vector<std::string>{Path("my log.txt")});
    EXPECT_TRUE(fake::startedPrograms.empty());
    fake::openSucceeds = false;
    SendCommand(ID_VIEW_LOG);
    EXPECT_EQ(fake::startedPrograms, std::vector<std::string>{editor + quoted});
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Editor", REG_SZ, "gedit -s", 0);
    fake::startProgramSucceeds = false;
    SendCommand(ID_VIEW_LOG);
    EXPECT_EQ(fake::startedPrograms.back(), "gedit -s " + quoted);
    ExpectBox("Unable to edit " + Path("my log.txt") + " with \"gedit -s\"", "Edit Error");
}

TEST_F(ToolCommandsTest, UserCommandSendsItsChoiceOrOffersToChooseOne) {
    gSettings.gnUserCommand = ID_FAST_SPEED;
    SendCommand(ID_USER_COMMAND);
    EXPECT_EQ(gSettings.gbSpeed, 3);
    EXPECT_TRUE(fake::messageBoxes.empty());

    // A stored User Command that names itself would send itself for ever: no choice either.
    gSettings.gnUserCommand = ID_USER_COMMAND;
    gSettings.gbLastOptionsTab = 1;
    fake::messageBoxAnswers = {IDNO, IDYES};
    SendCommand(ID_USER_COMMAND);
    EXPECT_EQ(gSettings.gbLastOptionsTab, 1);
    gSettings.gnUserCommand = 0;
    SendCommand(ID_USER_COMMAND);
    EXPECT_EQ(gSettings.gbLastOptionsTab, 3) << "Advanced Options opens on the tab with the choice";
    ASSERT_EQ(fake::messageBoxes.size(), 2u);
    EXPECT_EQ(fake::messageBoxes[1].caption, "Empty User Command");
}

TEST_F(ToolCommandsTest, OpeningAMenuFollowsTheFileAndLogSizes) {
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", Path("k.log").c_str());
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "%s", Path("task.klx").c_str());
    for (bool exist : {false, true}) {
        if (exist) WriteFile(Path("task.klx"), "x"), WriteFile(Path("k.log"), "a\r\n");
        ShellEnableCommand(ID_EDIT_SCRIPT, true);
        OnMenuOpening();
        EXPECT_EQ(Grey(ID_EDIT_SCRIPT) && Grey(ID_VIEW_LOG), !exist);
        EXPECT_EQ(Grey(ID_EDIT_SCRIPT) || Grey(ID_VIEW_LOG), !exist);
    }
}

TEST_F(ToolCommandsTest, TheWindowStartsWithItsMarksTheLogQuestionAndTheServiceTimer) {
    const struct { uint8_t level, prompt; int answer; bool asked; uint8_t after; } cases[] = {
        {LOG_MEDIUM, 1, IDYES, true, LOG_OFF}, {LOG_HIGH, 1, IDNO, true, LOG_HIGH},
        {LOG_LOW, 1, IDYES, false, LOG_LOW},   {LOG_HIGH, 0, IDYES, false, LOG_HIGH}};
    fake::MessageBoxCall asked{};
    for (const auto& c : cases) {
        if (!fake::messageBoxes.empty()) asked = fake::messageBoxes[0];
        fake::messageBoxes.clear();
        gLog.gbLogLevel = c.level, gSettings.gbPromptForSave = c.prompt;
        fake::messageBoxAnswers = {c.answer};
        SetUpMainWindow();
        EXPECT_EQ(fake::messageBoxes.size(), c.asked ? 1u : 0u) << int{c.level};
        EXPECT_EQ(gLog.gbLogLevel, c.after) << int{c.level};
    }
    EXPECT_EQ(asked.caption, "Confirm Kelmor Log Setting");

    // The first tick comes as soon as the window is up, the later ones every half second.
    ASSERT_EQ(fake::timers.count(SERVICE_TIMER), 1u);
    EXPECT_LE(fake::timers[SERVICE_TIMER].periodMs, 100u);
    // A tick while a playback sits in a WAIT far past its time runs the watchdog.
    gPlayer.gbPlayingNow = true, gPlayer.ghJournalHook = 1, gPlayer.lWaitDuration = 1000,
    gPlayer.dwDelayStart = fake::tickCount - 1600;
    fake::timers[SERVICE_TIMER].onTick(SERVICE_TIMER);
    EXPECT_EQ(fake::keyEvents.size(), 2u) << "Ctrl pressed and released";
    EXPECT_EQ(fake::timers[SERVICE_TIMER].periodMs, 500u);
    fake::timers[SERVICE_TIMER].onTick(SERVICE_TIMER);
    EXPECT_EQ(fake::keyEvents.size(), 4u) << "the period's ticks run the watchdog too";
    EXPECT_EQ(fake::timers[SERVICE_TIMER].periodMs, 500u);
    gPlayer.ghJournalHook = 0;
    RunExitStep();
    EXPECT_EQ(fake::timers.count(SERVICE_TIMER), 0u);
}

TEST_F(ToolCommandsTest, StartUpAppliesTopmostAndTabsThenReloadsTheLastFile) {
    WriteFile(Path("last.klx"), "message=WM_KEYDOWN paramH=30 paramL=65 time=1000\r\n");
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\File1", REG_SZ, Path("last.klx").c_str(), 0);
    gSettings.gbTopmost = 1, gSettings.gbShowTabs = 0, gSettings.gbReload = 0;
    ShowInteractiveWindow();
    EXPECT_TRUE(fake::mainWindowTopmost && fake::FindMenuItem(ID_ALWAYS_ON_TOP)->checked);
    EXPECT_FALSE(fake::panesShown || fake::FindMenuItem(ID_SHOW_TABS)->checked);
    EXPECT_EQ(gRecording.nEventCount, 0) << "Reload off";
    EXPECT_NE(fake::FindMenuItem(ID_RECENT_FILE_1), nullptr) << "the recent files are in the File menu";

    gSettings.gbReload = 1, gSettings.gbPlayImmediately = 1;
    ShowInteractiveWindow();
    EXPECT_EQ(std::string(gRecording.gszFile), Path("last.klx"));
    EXPECT_TRUE(fake::fileDialogs.empty()) << "opened as chosen, without the dialog";
    EXPECT_NE(fake::journalHook, 0) << "and played at once";

    // An empty or missing last file opens nothing.
    fake::journalHook = 0, gPlayer.ghJournalHook = 0, gPlayer.gbPlayingNow = false;
    WriteFile(Path("last.klx"), "");
    ClearRecording();
    ShowInteractiveWindow();
    EXPECT_EQ(gRecording.nEventCount, 0);
    EXPECT_EQ(gRecording.gszFile[0], '\0') << "nothing loaded, no current file";
    EXPECT_TRUE(fake::messageBoxes.empty());
}
