#include "app/advanced_options.h"

#include <unistd.h>

#include <climits>
#include <string>

#include "app/pane_procedure.h"
#include "host/mappings.h"
#include "platform/wintypes.h"
#include "settings/log.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/advanced_options_description.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/pane_description.h"

namespace {

const int D = ID_ADVANCED_OPTIONS_DIALOG;

fake::Control& Control(int control) { return fake::DialogControl(D, control); }

void Click(int control, bool checked) {
    Control(control).checked = checked;
    fake::DialogCommand(D, control, NOTIFY_CLICKED);
}

void Press(int control) { fake::DialogCommand(D, control, NOTIFY_CLICKED); }

void Type(int control, const char* text) {
    Control(control).text = text;
    fake::DialogCommand(D, control, NOTIFY_CHANGED);
}

void ChooseTab(int tab) {
    Control(IDC_OPTIONS_TABS).selection = tab;
    fake::DialogCommand(D, IDC_OPTIONS_TABS, NOTIFY_CHANGED);
}

// Opens the dialog and lets the person do what the script says; it ends with Cancel's
// window close when the script does not close it.
void RunOptions(std::function<void()> person = [] {}) {
    fake::dialogScripts.push_back([person](int) { person(); });
    OnAdvancedOptions(ID_ADVANCED_OPTIONS);
}

uint32_t Stored(const char* name) {
    uint32_t value = 0;
    return fake::StoredDword(KELMOR_KEY, name, &value) ? value : 0xdeadbeefu;
}

void StoreDword(const char* name, uint32_t value) {
    SetRegistryValue(HKEY_CURRENT_USER, (std::string(KELMOR_KEY "\\") + name).c_str(), REG_DWORD, nullptr, value);
}

// The recent entries in the File menu, "1" for each of 1741-1748 there.
std::string RecentMenu() {
    std::string shown;
    for (int id = 1741; id <= 1748; ++id) shown += fake::FindMenuItem(id) != nullptr ? "1" : "0";
    return shown;
}

}  // namespace

class AdvancedOptionsTest : public WindowTest {};

TEST_F(AdvancedOptionsTest, OpensWithEverySettingOnItsControl) {
    gSettings.gbMinimize = 1;
    gSettings.gnLoopTypeBase = -3;
    gSettings.gnUserCommand = ID_ADVANCED_OPTIONS;
    gSettings.gbLastOptionsTab = 4;
    RunOptions();
    ASSERT_EQ(fake::dialogRuns, std::vector<int>{D});
    EXPECT_TRUE(Control(IDC_LOG_FILE).shown && !Control(IDC_MINIMIZE).shown);
    EXPECT_FALSE(Control(IDC_OPTIONS_APPLY).enabled);
    EXPECT_TRUE(Control(IDC_MINIMIZE).checked);
    EXPECT_EQ(Control(IDC_LOOP_BASE).text, "-3");
    // Nothing stored: the store's own defaults.
    EXPECT_TRUE(Control(IDC_HALT_ON_ERROR).checked && Control(IDC_REMEMBER_PLAYBACK).checked);
    EXPECT_TRUE(Control(IDC_RESTART_LOG).checked && !Control(IDC_FAST_MAP_PLAY).checked);
    EXPECT_EQ(Control(IDC_EDITOR).text, kDefaultEditor);
    EXPECT_EQ(Control(IDC_USER_BUTTON).items.size(), 16u);
    EXPECT_EQ(Control(IDC_USER_BUTTON).selection, 13);
    EXPECT_EQ(Control(IDC_POINTER_PICTURE).image, 1009);
    EXPECT_TRUE(Control(IDC_IGNORE_CHILDREN).checked && !Control(IDC_COPY_TEMPLATE).checked);

    StoreDword("HaltScriptOnError", 0);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Editor", REG_SZ, "gedit", 0);
    const struct { uint8_t playUpdate; int button; uint8_t lastTab; int tab; uint8_t level; int position; } cases[] = {
        {0, IDC_PLAY_UPDATE_NONE, 0, OPTIONS_BEHAVIOR, LOG_OFF, 3},
        {2, IDC_PLAY_UPDATE_ACTION, 5, OPTIONS_MOUSE, 5, 0},
        {7, IDC_PLAY_UPDATE_LOOP, 200, OPTIONS_MOUSE, LOG_MEDIUM, 1},
    };
    for (const auto& c : cases) {
        gSettings.gbPlayUpdate = c.playUpdate;
        gSettings.gbLastOptionsTab = c.lastTab;
        gLog.gbLogLevel = c.level;
        gSettings.gnUserCommand = 4321;
        RunOptions();
        for (int button : {IDC_PLAY_UPDATE_NONE, IDC_PLAY_UPDATE_LOOP, IDC_PLAY_UPDATE_ACTION}) {
            EXPECT_EQ(Control(button).checked, button == c.button) << int(c.playUpdate);
        }
        EXPECT_EQ(Control(IDC_OPTIONS_TABS).selection, c.tab) << int(c.lastTab);
        EXPECT_EQ(Control(IDC_OPTIONS_DEFAULTS).shown, c.tab != OPTIONS_MOUSE);
        EXPECT_EQ(Control(IDC_LOG_LEVEL).position, c.position) << int(c.level);
        EXPECT_EQ(Control(IDC_USER_BUTTON).selection, 0) << "an id not in the list selects the empty entry";
    }
    EXPECT_FALSE(Control(IDC_HALT_ON_ERROR).checked);
    EXPECT_EQ(Control(IDC_EDITOR).text, "gedit");
    EXPECT_TRUE(fake::dialogErrors.empty());
}

TEST_F(AdvancedOptionsTest, ApplyTakesEveryFieldWithItsRangeFixes) {
    for (int n = 1; n <= 8; ++n) {
        const std::string path = "/r/" + std::to_string(n);
        SetRegistryValue(HKEY_CURRENT_USER, (KELMOR_KEY "\\File" + std::to_string(n)).c_str(), REG_SZ, path.c_str(), 0);
    }
    gSettings.gbRecentListSize = 3;
    RebuildRecentMenu(true, true);
    ASSERT_EQ(RecentMenu(), "11100000");
    gLog.gbLogLevel = LOG_MEDIUM;
    gSettings.gnUserCommand = ID_VIEW_LOG;
    RunOptions([] {
        Click(IDC_PLAY_UPDATE_ACTION, true);
        Control(IDC_PLAY_UPDATE_LOOP).checked = false;
        Click(IDC_HALT_ON_ERROR, false);
        Click(IDC_REMEMBER_PLAYBACK, false);
        Type(IDC_RECENT_SIZE, "12");
        Type(IDC_EDITOR, "");
        Type(IDC_FAST_FACTOR, "0");
        Type(IDC_SLOW_FACTOR, "99999999999999999999");
        Type(IDC_RANDOM_MIN, "500");
        Type(IDC_RANDOM_MAX, "100");
        Type(IDC_GOTO_WAIT, "300");
        Press(IDC_OPTIONS_APPLY);
        EXPECT_FALSE(Control(IDC_OPTIONS_APPLY).enabled);
        EXPECT_EQ(gSettings.gnRandomMax, 501);
        EXPECT_EQ(gSettings.gnUserCommand, ID_VIEW_LOG);
        Control(IDC_USER_BUTTON).selection = 0;
        Type(IDC_RANDOM_MAX, "500");
        Press(IDOK);
    });
    EXPECT_EQ(gSettings.gbPlayUpdate, 2);
    EXPECT_EQ(gSettings.gbRecentListSize, 8);
    EXPECT_EQ(RecentMenu(), "11111111") << "all eight entries without a restart";
    std::string editor;
    ASSERT_TRUE(fake::StoredString(KELMOR_KEY, "Editor", &editor));
    EXPECT_EQ(editor, kDefaultEditor);
    EXPECT_EQ(gSettings.gnFactorFast, 1);
    EXPECT_EQ(gSettings.gnFactorSlow, INT_MAX);
    EXPECT_EQ(gSettings.gnRandomMax, 500) << "equal bounds stay equal";
    EXPECT_EQ(gSettings.gbGOTOWait, 255);
    EXPECT_EQ(Stored("HaltScriptOnError"), 0u);
    EXPECT_EQ(Stored("RestartLog"), 1u);
    EXPECT_EQ(Stored("RememberPlaybackSettings"), 0u);
    EXPECT_EQ(gSettings.gnUserCommand, 0) << "the empty entry is no command";
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "Log level set to MEDIUM\r\nLog level set to MEDIUM\r\n");

    RunOptions([] {
        Control(IDC_LOG_LEVEL).position = 3;
        fake::DialogCommand(D, IDC_LOG_LEVEL, NOTIFY_CHANGED);
        EXPECT_TRUE(Control(IDC_OPTIONS_APPLY).enabled) << "a moved slider enables Apply";
        Press(IDOK);
    });
    EXPECT_EQ(gLog.gbLogLevel, LOG_OFF);
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "Log level set to MEDIUM\r\nLog level set to MEDIUM\r\n")
        << "OFF writes nothing";
}

TEST_F(AdvancedOptionsTest, DefaultsFillTheCurrentTabAndCancelKeepsTheSettings) {
    const std::string log = gLog.gszLogFile;
    gLog.gbLogLevel = LOG_HIGH;
    gSettings.gbLastOptionsTab = 4;
    StoreDword("RestartLog", 0);
    gSettings.gnFactorFast = 3;
    gSettings.gnUserCommand = ID_VIEW_LOG;
    RunOptions([] {
        fake::messageBoxAnswers = {IDNO, IDYES};
        Press(IDC_OPTIONS_DEFAULTS);
        EXPECT_EQ(Control(IDC_LOG_LEVEL).position, 0) << "No loads nothing";
        Press(IDC_OPTIONS_DEFAULTS);
        EXPECT_EQ(Control(IDC_LOG_LEVEL).position, 3);
        EXPECT_TRUE(Control(IDC_RESTART_LOG).checked);
        EXPECT_NE(Control(IDC_LOG_FILE).text.find("/kelmor/Kelmor.log"), std::string::npos) << "this system's default";
        EXPECT_EQ(Control(IDC_FAST_FACTOR).text, "3") << "another tab's fields stay";
        ChooseTab(OPTIONS_VALUE_RANGES);
        fake::messageBoxAnswers = {IDYES};
        Press(IDC_OPTIONS_DEFAULTS);
        EXPECT_EQ(Control(IDC_FAST_FACTOR).text, "15");
        EXPECT_EQ(Control(IDC_GOTO_WAIT).text, "2");
        EXPECT_EQ(Control(IDC_USER_BUTTON).selection, 8) << "the User Toolbar Button stays";
        Press(IDCANCEL);
    });
    ASSERT_EQ(fake::messageBoxes.size(), 3u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Are you sure that you want to load the default settings for this tab?");
    EXPECT_EQ(fake::messageBoxes[0].caption, "Load Defaults");
    EXPECT_EQ(gLog.gszLogFile, log);
    EXPECT_EQ(gLog.gbLogLevel, LOG_HIGH);
    EXPECT_EQ(Stored("RestartLog"), 0u);
    EXPECT_EQ(gSettings.gbLastOptionsTab, 3) << "Cancel remembers the tab it closed on";
}

TEST_F(AdvancedOptionsTest, SomeChoicesActAtOnceAndSurviveCancel) {
    gSettings.gbReload = 1;
    gSettings.gbPlayImmediately = 1;
    gMappings.gbStopRecordingKey = 0;
    WriteFile(Path("old.log"), "Log level set to LOW\r\nold\r\n");
    const std::string oldLog = Path("old.log");
    RunOptions([oldLog] {
        Click(IDC_QUIT_WHEN_DONE, true);
        EXPECT_FALSE(Control(IDC_QUIT_WHEN_DONE).checked);
        EXPECT_EQ(gSettings.gbQuitWhenDone, 0);
        gSettings.gbPlayImmediately = 0;
        Click(IDC_QUIT_WHEN_DONE, true);
        EXPECT_EQ(gSettings.gbQuitWhenDone, 1);
        Click(IDC_MINIMIZE, true);
        EXPECT_TRUE(Control(IDC_MINIMIZE).checked) << "the warning leaves the box checked";
        Click(IDC_PLAY_UPDATE_NONE, true);
        Type(IDC_LOG_FILE, oldLog.c_str());
        fake::messageBoxAnswers = {IDNO};
        Click(IDC_RESTART_LOG, true);
        EXPECT_TRUE(FileExists(oldLog));
        Click(IDC_RESTART_LOG, false);
        fake::messageBoxAnswers = {IDYES};
        Click(IDC_RESTART_LOG, true);
        Press(IDCANCEL);
    });
    EXPECT_FALSE(FileExists(oldLog));
    EXPECT_EQ(gLog.gszLogFile, oldLog) << "the erased log is the one in use";
    EXPECT_EQ(gSettings.gbQuitWhenDone, 1);
    EXPECT_EQ(gSettings.gbPlayUpdate, 0);
    EXPECT_EQ(gSettings.gbMinimize, 0) << "the box itself waits for Apply";
    ASSERT_EQ(fake::messageBoxes.size(), 4u);
    EXPECT_EQ(fake::messageBoxes[1].text.substr(0, 47), "If you choose the \"Minimize\" option, you should");
    EXPECT_EQ(fake::messageBoxes[2].text, "Do you want to erase the log right now?");

    // Only a regular file is erased, never what a link points at.
    WriteFile(Path("kept"), "Log level set to LOW\r\n");
    ASSERT_EQ(symlink(Path("kept").c_str(), Path("link.log").c_str()), 0);
    const std::string link = Path("link.log");
    RunOptions([link] {
        Type(IDC_LOG_FILE, link.c_str());
        fake::messageBoxAnswers = {IDYES};
        Click(IDC_RESTART_LOG, true);
    });
    EXPECT_TRUE(FileExists(link) && FileExists(Path("kept")));

    gMappings.gbStopRecordingKey = 0x7b;
    RunOptions([] { Click(IDC_MINIMIZE, true); });
    EXPECT_EQ(fake::messageBoxes.size(), 5u) << "with a stop key nothing to warn about";
}

TEST_F(AdvancedOptionsTest, ArrowsKeepTheirRangeAndBrowseFillsTheField) {
    gSettings.gbRecentListSize = 8;
    RunOptions([] {
        fake::DialogCommand(D, IDC_RECENT_SIZE_ARROWS, NOTIFY_SPIN_UP);
        EXPECT_EQ(Control(IDC_RECENT_SIZE).text, "8");
        fake::DialogCommand(D, IDC_RECENT_SIZE_ARROWS, NOTIFY_SPIN_DOWN);
        EXPECT_EQ(Control(IDC_RECENT_SIZE).text, "7");
        Type(IDC_GOTO_WAIT, "30");
        fake::DialogCommand(D, IDC_GOTO_WAIT_ARROWS, NOTIFY_SPIN_UP);
        EXPECT_EQ(Control(IDC_GOTO_WAIT).text, "30");
        fake::fileDialogAnswers = {{true, "/var/log/mine.log", 1}, {false, "", 1}};
        Press(IDC_LOG_FILE_BROWSE);
        EXPECT_EQ(Control(IDC_LOG_FILE).text, "/var/log/mine.log");
        Type(IDC_EDITOR, "vi");
        Press(IDC_EDITOR_BROWSE);
        EXPECT_EQ(Control(IDC_EDITOR).text, "vi") << "cancelled: the field stays";
    });
    ASSERT_EQ(fake::fileDialogs.size(), 2u);
    EXPECT_TRUE(fake::fileDialogs[0].save);
    EXPECT_EQ(fake::fileDialogs[0].filters, "Log Files (*.log)|*.log|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    EXPECT_FALSE(fake::fileDialogs[1].save) << "a program is chosen among those there are, its name kept whole";
    EXPECT_EQ(fake::fileDialogs[1].initialName, "vi");
#ifdef _WIN32
    EXPECT_EQ(fake::fileDialogs[1].filters, "Program Files (*.exe)|*.exe|All Files (*.*)|*.*|");
#else
    EXPECT_EQ(fake::fileDialogs[1].filters, "Programs|<executable>|All Files (*.*)|*.*|")
        << "programs have no .exe here";
#endif
}

TEST_F(AdvancedOptionsTest, OpenedFromTheCommandAndThePaneAndAskedForHelpByPage) {
    ASSERT_NE(FindCommandHandler(ID_ADVANCED_OPTIONS), nullptr);
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    gSettings.gbLastOptionsTab = 1;
    fake::dialogScripts.push_back([](int) {
        for (int tab = 0; tab < OPTIONS_TAB_COUNT; ++tab) {
            ChooseTab(tab);
            FindCommandHandler(ID_HELP_SCREEN)(ID_HELP_SCREEN);
        }
        Press(IDOK);
    });
    fake::DialogCommand(ID_PANES, IDC_ADVANCED_OPTIONS, NOTIFY_CLICKED);
    EXPECT_EQ(fake::dialogRuns, std::vector<int>{D});
    EXPECT_EQ(gSettings.gbLastOptionsTab, 5) << "OK remembers the tab";
    FindCommandHandler(ID_HELP_SCREEN)(ID_HELP_SCREEN);
    ASSERT_EQ(fake::openedUris.size(), 6u);
    const char* const topics[] = {"#topic-1080", "#topic-1081", "#topic-1083", "#topic-1086", "#topic-1152",
                                  "#topic-1064"};
    for (int i = 0; i < 6; ++i) {
        const std::string& uri = fake::openedUris[static_cast<size_t>(i)];
        EXPECT_EQ(uri.substr(uri.size() - 11), topics[i]) << "closed, the panes' tab is the screen again";
    }
}
