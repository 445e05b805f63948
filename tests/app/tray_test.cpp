#include "app/tray.h"

#include <string>

#include "app/exit_step.h"
#include "app/pane_procedure.h"
#include "host/service_control.h"
#include "platform/desktop.h"
#include "platform/tray_icon.h"
#include "player/playback_control.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"
#include "ui/run_mode.h"
#include "ui/tray_icon.h"

namespace {

const char kNoTray[] =
    "There is no system tray on this desktop to hold the Kelmor icon, so the Kelmor window stays open.";

bool RunFromTrayChecked() { return fake::FindMenuItem(ID_RUN_FROM_TRAY)->checked; }

fake::Control& TrayBox() { return fake::DialogControl(ID_PANES, IDC_TRAY_ICON); }

}  // namespace

class TrayTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gRun.gnRunMode = RUN_INTERACTIVE;
        ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    }
};

TEST_F(TrayTest, SameIconTwiceReachesTheSystemOnce) {
    AddTrayIcon(TRAY_IDLE, "Kelmor");
    SetTrayIcon(TRAY_IDLE, "Kelmor");
    SetTrayIcon(TRAY_RECORDING, "Kelmor is recording");
    SetTrayIcon(TRAY_RECORDING, "Kelmor is recording");
    SetTrayIcon(TRAY_PLAYING, std::string(100, 'x').c_str());
    ASSERT_EQ(fake::trayIcons.size(), 2u);
    EXPECT_EQ(fake::trayIcons[0].code, TRAY_RECORDING);
    EXPECT_EQ(fake::trayIcons[1].tip, std::string(63, 'x')) << "a tip holds at most 63 characters";
    RemoveTrayIcon();
    AddTrayIcon(TRAY_PLAYING, "Kelmor");
    EXPECT_EQ(fake::trayIcons.size(), 2u) << "the new icon already shows the code";
}

TEST_F(TrayTest, RunFromTrayOnAndOffWithAndWithoutThePrompt) {
    gSettings.gbPromptForSave = 1;
    SendCommand(ID_RUN_FROM_TRAY);
    EXPECT_EQ(gSettings.gdwShowTrayIcon, 1006u);
    ASSERT_EQ(fake::trayAdds.size(), 1u);
    EXPECT_EQ(fake::trayAdds[0].code, 1006);
    EXPECT_EQ(fake::trayAdds[0].tip, "Kelmor");
    EXPECT_TRUE(RunFromTrayChecked() && TrayBox().checked && TrayBox().enabled);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text,
              PlatformText("You can now access Kelmor from the System Tray on the Taskbar."));
    EXPECT_EQ(fake::messageBoxes[0].caption, "Tray Icon");
    EXPECT_FALSE(fake::mainWindowVisible);

    SendCommand(ID_RUN_FROM_TRAY);
    EXPECT_EQ(gSettings.gdwShowTrayIcon, 0u);
    EXPECT_FALSE(fake::trayIconShown || RunFromTrayChecked() || TrayBox().checked);

    // The panes' box does the same; without the prompt nothing is said.
    fake::messageBoxes.clear();
    fake::mainWindowVisible = true;
    gSettings.gbPromptForSave = 0;
    gServiceHost.ghServiceHook = 0x55;
    TrayBox().checked = true;
    fake::DialogCommand(ID_PANES, IDC_TRAY_ICON, NOTIFY_CLICKED);
    EXPECT_EQ(gSettings.gdwShowTrayIcon, 1000u) << "the keyboard service is on";
    EXPECT_TRUE(fake::trayIconShown && RunFromTrayChecked());
    EXPECT_TRUE(fake::messageBoxes.empty());
    EXPECT_FALSE(fake::mainWindowVisible);
    TrayBox().checked = false;
    fake::DialogCommand(ID_PANES, IDC_TRAY_ICON, NOTIFY_CLICKED);
    EXPECT_FALSE(gSettings.gdwShowTrayIcon != 0 || fake::trayIconShown || RunFromTrayChecked());
    gServiceHost.ghServiceHook = 0;
}

TEST_F(TrayTest, MenuFollowsTheStateAndOpensOnce) {
    SetTrayMode(true);
    gSettings.gbKeyboardService = 0;
    int inner = 0;
    fake::whileTrayMenuOpen = [&inner] {
        ++inner;
        OnTrayEvent(TRAY_EVENT_MENU);
    };
    OnTrayEvent(TRAY_EVENT_MENU);
    fake::whileTrayMenuOpen = nullptr;
    EXPECT_EQ(inner, 1);
    ASSERT_EQ(fake::trayMenus.size(), 1u) << "a second right click opened a second menu";
    EXPECT_EQ(fake::trayMenus[0],
              "Start Recording|Stop Recording~|Play~|-|Start Keyboard Service|-|Show Kelmor|Exit Kelmor");

    Keys(2);
    gSettings.gbKeyboardService = 1;
    fake::trayMenuAnswers = {ID_TRAY_START_RECORDING};
    OnTrayEvent(TRAY_EVENT_MENU);
    EXPECT_EQ(fake::trayMenus[1],
              "Start Recording|Stop Recording~|Play|-|Stop Keyboard Service|-|Show Kelmor|Exit Kelmor");
    ASSERT_NE(fake::journalHook, 0) << "the chosen entry ran once the menu closed";
    EXPECT_EQ(fake::trayIcons.back().code, TRAY_RECORDING);
    OnTrayEvent(TRAY_EVENT_MENU);
    EXPECT_EQ(fake::trayMenus[2],
              "Start Recording~|Stop Recording|Play~|-|Stop Keyboard Service|-|Show Kelmor|Exit Kelmor");
}

TEST_F(TrayTest, CloseAndExitHideWhileTheTrayExitAsksNothing) {
    gSettings.gbPromptForSave = 1;
    SetTrayMode(true);
    fake::messageBoxes.clear();
    Keys(3);
    gRecording.gbModified = true;
    fake::mainWindowVisible = true;
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_FALSE(fake::mainWindowVisible);
    OnTrayEvent(TRAY_EVENT_DOUBLE_CLICK);
    EXPECT_TRUE(fake::mainWindowVisible);
    SendCommand(ID_EXIT);
    EXPECT_FALSE(fake::mainWindowVisible);
    SendCommand(ID_TRAY_SHOW);
    EXPECT_TRUE(fake::mainWindowVisible);
    EXPECT_EQ(fake::quitExitCode, -1);

    fake::trayMenuAnswers = {ID_TRAY_EXIT};
    OnTrayEvent(TRAY_EVENT_MENU);
    EXPECT_TRUE(fake::messageBoxes.empty()) << "no question about the unsaved recording";
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
    EXPECT_FALSE(fake::trayIconShown);
    uint32_t stored = 0;
    EXPECT_TRUE(fake::StoredDword(KELMOR_KEY, "ShowTrayIcon", &stored) && stored == 1006) << stored;
}

TEST_F(TrayTest, WithoutATrayTheWindowStaysInReach) {
    // Start-up: with a tray only the icon shows; without one the window shows and says why.
    gSettings.gdwShowTrayIcon = 1000;
    fake::mainWindowVisible = false;
    ShowWindowOrTrayIcon();
    EXPECT_FALSE(fake::mainWindowVisible);
    EXPECT_EQ(fake::trayAdds.at(0).code, 1006) << "the service hook is not installed yet";
    EXPECT_TRUE(RunFromTrayChecked());
    // The tray goes away while the window is hidden: the window comes back.
    fake::trayPresent = false;
    OnTrayEvent(TRAY_EVENT_LOST);
    EXPECT_TRUE(fake::mainWindowVisible);
    ExpectBox(kNoTray, "Tray Icon");
    OnTrayEvent(TRAY_EVENT_LOST);
    EXPECT_TRUE(fake::messageBoxes.empty()) << "a shown window needs no word";

    RemoveTrayIcon();
    ShowWindowOrTrayIcon();
    EXPECT_TRUE(fake::mainWindowVisible);
    ExpectBox(kNoTray, "Tray Icon");

    SetTrayMode(false);
    gSettings.gbPromptForSave = 1;
    SendCommand(ID_RUN_FROM_TRAY);
    EXPECT_TRUE(fake::mainWindowVisible);
    ExpectBox(kNoTray, "Tray Icon");
    EXPECT_TRUE(gSettings.gdwShowTrayIcon == 0 && !RunFromTrayChecked() && !TrayBox().checked && !fake::trayIconShown)
        << "turned on where no tray shows it, the mode stays off";
    // Closing ends the program as without the tray mode, question included.
    Keys(1);
    gRecording.gbModified = true;
    fake::messageBoxAnswers = {IDNO};
    EXPECT_TRUE(CloseMainWindow());
    EXPECT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
}
