#include "host/service_control.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/pane_procedure.h"
#include "app/service_commands.h"
#include "host/busy_processes.h"
#include "host/mappings.h"
#include "platform/registry.h"
#include "player/playback_control.h"
#include "player/recorder.h"
#include "service/keyboard_proc.h"
#include "service/service_data.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"
#include "ui/tray_icon.h"

namespace {

size_t Count(const std::string& text, const std::string& line) {
    size_t n = 0;
    for (size_t at = text.find(line); at != std::string::npos; at = text.find(line, at + 1)) ++n;
    return n;
}

const int kF7 = 0x76;

class ServiceControlTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gLog.gbLogLevel = LOG_HIGH;
        gSettings.gbKeyboardService = 1;
    }
    static void Entries(bool proc, bool reload) {
        // The module under the name the program loads on this system.
        auto& entries = fake::modules[PlatformText("KelmorService.DLL")];
        if (proc) entries["KelmorKeyboardProc"] = reinterpret_cast<void*>(&KelmorKeyboardProc);
        if (reload) entries["ReloadServiceCache"] = reinterpret_cast<void*>(&ReloadServiceCache);
    }
    static void Mapping(int vk, int action, bool ctrl) {
        const std::string key = KELMOR_KEY "\\Mappings\\" + std::to_string(vk);
        SetRegistryValue(HKEY_CURRENT_USER, (key + "\\Action").c_str(), REG_DWORD, nullptr, action);
        SetRegistryValue(HKEY_CURRENT_USER, (key + "\\Control").c_str(), REG_DWORD, nullptr, ctrl ? 1 : 0);
    }
    static std::string Taken() {
        std::string out;
        for (const TakenKey& k : fake::takenKeys)
            out += std::to_string(k.vk) + (k.ctrl ? "c" : "") + (k.shift ? "s" : "") + (k.alt ? "a" : "") + " ";
        return out;
    }
};

TEST_F(ServiceControlTest, AMissingModuleOrEntryIsSaidAndTheProgramRunsOn) {
    const std::string tail =
        "\n\nKelmor can run without this component, but Mappings and ShortTypes will not be available until you "
        "reinstall Kelmor.";
    LoadKeyboardService();
    ExpectBox("Unable to load the Kelmor Keyboard Service (located in \"libkelmor-service.so\")" + tail,
              "Keyboard Service Error", MB_TASKMODAL | MB_ICONINFORMATION);
    EXPECT_TRUE(Logged("Unable to load \"libkelmor-service.so\""));

    Entries(true, false);
    LoadKeyboardService();
    ExpectBox("Unable to load the Kelmor Keyboard Service Addresses (located in \"libkelmor-service.so\")" + tail,
              "Keyboard Service Error", MB_TASKMODAL | MB_ICONINFORMATION);
    EXPECT_TRUE(Logged("Unable to load ReloadServiceCache"));
    EXPECT_FALSE(Logged("Unable to load KelmorKeyboardProc"));
    // The tick installs the hook and takes it away again: nothing fills the cache. Said once.
    for (int tick = 0; tick < 3; ++tick) ServiceTimerUpkeep();
    EXPECT_EQ(fake::keyboardHook, 0);
    EXPECT_EQ(Count(ReadFile(gLog.gszLogFile), "Unable to locate the ReloadServiceCache service"), 1u);
    EXPECT_FALSE(RefreshServiceCache()) << "the editors say Service Not Active";
}

TEST_F(ServiceControlTest, TheTimerInstallsAndRemovesAndTheCacheCarriesTheHookAndTheMappings) {
    Entries(true, true);
    LoadKeyboardService();
    ASSERT_TRUE(fake::messageBoxes.empty());
    AttachServiceData();
    Mapping(kF7, ACTION_TYPE_TEXT, true);
    Mapping('R', ACTION_START_RECORDING, false);
    Mapping(0x78, ACTION_STOP_RECORDING, false);  // F9 and F10 must reach programs
    Mapping(0x79, ACTION_REPLACE_TIME, false);
    gSettings.gdwShowTrayIcon = TRAY_IDLE;

    ServiceTimerUpkeep();
    ASSERT_NE(gServiceHost.ghServiceHook, 0);
    EXPECT_EQ(fake::keyboardProc, &KelmorKeyboardProc);
    EXPECT_EQ(gService.gpServiceData->hHook, static_cast<uint32_t>(gServiceHost.ghServiceHook));
    EXPECT_EQ(gService.gpServiceData->bAction[kF7], ACTION_TYPE_TEXT);
    EXPECT_EQ(gService.gpServiceData->bControl[kF7], 1);
    EXPECT_EQ(Taken(), "82 118c ");
    EXPECT_EQ(fake::statusText, "Service Active");
    EXPECT_EQ(fake::trayIcons.back().code, TRAY_IDLE_SERVICE);
    EXPECT_TRUE(Logged("Installed Keyboard Service " + std::to_string(gServiceHost.ghServiceHook) + " Successfully"));

    // An editor's change reaches the cache and the taken keys at once.
    Mapping('P', ACTION_PLAYBACK, true);
    EXPECT_TRUE(RefreshServiceCache());
    EXPECT_EQ(Taken(), "80c 82 118c ");

    const intptr_t hook = gServiceHost.ghServiceHook;
    gSettings.gbKeyboardService = 0;
    ServiceTimerUpkeep();
    EXPECT_EQ(gServiceHost.ghServiceHook, 0);
    EXPECT_EQ(fake::keyboardHook, 0);
    EXPECT_EQ(fake::statusText, "Service Stopped");
    EXPECT_EQ(fake::trayIcons.back().code, TRAY_IDLE);
    EXPECT_TRUE(Logged("Removed Keyboard Service " + std::to_string(hook) + " Successfully (1)"));

    // A recording takes the hook away; the first tick afterwards brings it back.
    gSettings.gbKeyboardService = 1;
    ServiceTimerUpkeep();
    const intptr_t again = gServiceHost.ghServiceHook;
    SendCommand(ID_START_RECORDING);
    EXPECT_EQ(gServiceHost.ghServiceHook, 0);
    EXPECT_TRUE(Logged("Removed Keyboard Service " + std::to_string(again) + " Successfully (2)"));
    // What every other process's service sees meanwhile.
    auto busyIds = [] {
        const std::vector<uint8_t>& block = fake::sharedBlocks["kelmorbusy"];
        std::vector<uint32_t> ids(block.size() / 4);
        memcpy(ids.data(), block.data(), ids.size() * 4);
        ids.erase(std::remove(ids.begin(), ids.end(), 0u), ids.end());
        return ids;
    };
    EXPECT_EQ(busyIds(), std::vector<uint32_t>{4242});
    SendCommand(ID_STOP_RECORDING);
    EXPECT_TRUE(busyIds().empty());
    OnServiceTimer();
    EXPECT_NE(gServiceHost.ghServiceHook, 0);

    // Another Kelmor playing back or recording (kelmorctl, a hidden playback) rests the
    // service too, until it ends or dies.
    fake::processId = 77;
    MarkJournalBusy(true);
    fake::processId = 4242;
    fake::runningProcesses = {77};
    OnServiceTimer();
    EXPECT_EQ(gServiceHost.ghServiceHook, 0);
    OnServiceTimer();
    EXPECT_EQ(gServiceHost.ghServiceHook, 0);
    fake::runningProcesses.clear();
    OnServiceTimer();
    EXPECT_NE(gServiceHost.ghServiceHook, 0);
}

TEST_F(ServiceControlTest, AfterAPlaybackTheStatusLineAndTheTrayIconShowTheServiceAgain) {
    Entries(true, true);
    LoadKeyboardService();
    AttachServiceData();
    // The tray was turned on before the first tick installed the service.
    gSettings.gdwShowTrayIcon = TRAY_IDLE;
    ServiceTimerUpkeep();
    EXPECT_EQ(gSettings.gdwShowTrayIcon, static_cast<uint32_t>(TRAY_IDLE_SERVICE)) << "the idle code last set is kept";
    Keys(2);
    SendCommand(ID_PLAY);
    EXPECT_EQ(gServiceHost.ghServiceHook, 0);
    fake::RunPlayback();
    EXPECT_NE(gServiceHost.ghServiceHook, 0);
    EXPECT_EQ(fake::statusText, "Service Active");
    EXPECT_EQ(fake::trayIcons.back().code, TRAY_IDLE_SERVICE);
}

// A failed installation is logged once until it works. Where the hook reads the keys of
// some programs only (a Wayland session), the user is told once in a box, whether the
// hook was refused or installed, and the status line says whose keys it reads.
TEST_F(ServiceControlTest, AFailedInstallationIsLoggedOnceUntilItWorks) {
    for (const char* reach : {static_cast<const char*>(nullptr), "Xwayland programs only"}) {
        SCOPED_TRACE(reach != nullptr ? reach : "every program");
        if (reach != nullptr) {
            TearDown();
            SetUp();
        }
        fake::hookReach = reach;
        Entries(true, true);
        LoadKeyboardService();
        fake::refuseKeyboardHook = true;
        for (int tick = 0; tick < 4; ++tick) ServiceTimerUpkeep();
        EXPECT_EQ(fake::statusText, "Unable to Activate the Service!");
        EXPECT_EQ(Count(ReadFile(gLog.gszLogFile), "Install Keyboard Hook FAILED (last error above)!"), 1u);
        ASSERT_EQ(fake::messageBoxes.size(), reach != nullptr ? 1u : 0u);
        if (reach != nullptr) {
            EXPECT_EQ(fake::messageBoxes[0].text, "refused: use an X11 session");
        }
        fake::refuseKeyboardHook = false;
        ServiceTimerUpkeep();
        EXPECT_EQ(fake::statusText, reach != nullptr ? "Service Active (Xwayland programs only)" : "Service Active");
        EXPECT_EQ(fake::messageBoxes.size(), reach != nullptr ? 1u : 0u) << "told once a run";
    }
}

TEST_F(ServiceControlTest, HotKeysHeldElsewhereAreReportedOnceByName) {
    Entries(true, true);
    LoadKeyboardService();
    Mapping(kF7, ACTION_TYPE_TEXT, true);
    Mapping('L', ACTION_LAUNCH_PROGRAM, false);
    fake::busyKeys = {{kF7, 1, 0, 0}};
    ServiceTimerUpkeep();
    ReportBusyHotKeys();
    ExpectBox("Another program already holds these hot keys, so their Mappings cannot act:\n\nCtrl + F7\n\nThe other "
              "Mappings work as usual.",
              "Keyboard Service Error", MB_TASKMODAL | MB_ICONINFORMATION);
    EXPECT_EQ(Taken(), "76 118c ") << "the others are still taken";
    RefreshServiceCache();
    ReportBusyHotKeys();
    EXPECT_TRUE(fake::messageBoxes.empty()) << "the same keys again";
}

TEST_F(ServiceControlTest, TheTrayItemsAndTheActivateBoxSetTheWishNotTheHook) {
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    const fake::Control& box = fake::DialogControl(ID_PANES, IDC_ACTIVATE);
    EXPECT_TRUE(box.enabled && box.checked);
    gPlayer.gbPlayingNow = true;
    OnTrayServiceCommand(ID_TRAY_STOP_SERVICE);
    EXPECT_EQ(gSettings.gbKeyboardService, 1) << "ignored while a playback runs";
    gPlayer.gbPlayingNow = false;
    OnTrayServiceCommand(ID_TRAY_STOP_SERVICE);
    EXPECT_EQ(gSettings.gbKeyboardService, 0);
    EXPECT_FALSE(fake::DialogControl(ID_PANES, IDC_ACTIVATE).checked);
    OnTrayServiceCommand(ID_TRAY_START_SERVICE);
    EXPECT_EQ(gSettings.gbKeyboardService, 1);
    EXPECT_TRUE(fake::DialogControl(ID_PANES, IDC_ACTIVATE).checked);
    fake::DialogControl(ID_PANES, IDC_ACTIVATE).checked = false;
    fake::DialogCommand(ID_PANES, IDC_ACTIVATE, NOTIFY_CLICKED);
    EXPECT_EQ(gSettings.gbKeyboardService, 0);
    EXPECT_EQ(fake::keyboardHook, 0);
}

}  // namespace
