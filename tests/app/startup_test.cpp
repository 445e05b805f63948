#include <climits>
#include <string>
#include <tuple>

#include "app/exit_step.h"
#include "app/startup.h"
#include "app/tray.h"
#include "host/mappings.h"
#include "platform/desktop.h"
#include "platform/wintypes.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

TEST(CommandLineTest, ValueBehindOptionAndWhatIsAnOption) {
    const struct { const char* line; const char* option; int32_t value; } cases[] = {
        {"/speed=4", "/SPEED", 4}, {"/a /REPEATS 3 /b", "/REPEATS", 3}, {"/REPEATS = \"12\"", "/REPEATS", 12},
        {"/SPEED", "/SPEED", 0},   {"/SPEED x4", "/SPEED", 0},          {"/REPEATS=3", "/SPEED", 0},
        {"/REPEATS=99999999999999999999", "/REPEATS", INT32_MAX}};
    for (const auto& c : cases) EXPECT_EQ(GetCommandLineValue(c.line, c.option), c.value) << c.line;
    const std::string zeros(31, '0');
    EXPECT_EQ(GetCommandLineValue(("/SPEED=" + zeros + "7").c_str(), "/SPEED"), 7) << "32 digits";
    EXPECT_EQ(GetCommandLineValue(("/SPEED=0" + zeros + "7").c_str(), "/SPEED"), 0) << "the 33rd digit is not read";

    for (const char* option : {"/SPEED=4", "/speed", "/REPEATS", "/Continuous1", "/SPEED\"2\""}) {
        EXPECT_TRUE(IsCommandLineOption(option)) << option;
    }
    for (const char* file : {"/home/me/task.klx", "/speedtests/a.klx", "task.klx", ""}) {
        EXPECT_FALSE(IsCommandLineOption(file)) << file;
    }
}

TEST(CommandLineTest, AWindowsCommandLineSplitsIntoFileAndOptions) {
    const struct { const char* line; const char* file; const char* options; } cases[] = {
        {"Kelmor.exe", "", ""},
        {"\"C:\\Program Files\\Kelmor.exe\"  \"C:\\My Tasks\\a.klx\" /SPEED=4", "C:\\My Tasks\\a.klx", "/SPEED=4"},
        {"Kelmor a b.klx   /REPEATS=2 /SPEED=1", "a b.klx", "/REPEATS=2 /SPEED=1"},
        {"Kelmor /CONTINUOUS=1", "", "/CONTINUOUS=1"},
        {"\"Kelmor", "", ""}};
    for (const auto& c : cases) {
        char file[MAX_PATH];
        const char* options = SplitCommandLine(CommandLineArguments(c.line), file, sizeof file);
        EXPECT_STREQ(file, c.file) << c.line;
        EXPECT_STREQ(options, c.options) << c.line;
    }
    char cut[4];
    SplitCommandLine("\"abcdef\"", cut, sizeof cut);
    EXPECT_STREQ(cut, "abc") << "a name is cut to the room given";
}

TEST(CommandLineTest, OptionsOverrideSettingsWithFallbacks) {
    const struct { const char* options; int speed, repeats, continuous; } cases[] = {
        {"/speed=4", 4, 5, 1},    {"/REPEATS 3", 3, 3, 1},   {"/REPEATS 0", 3, 1, 1}, {"/SPEED 7", 2, 5, 1},
        {"/CONTINUOUS", 3, 5, 0}, {"/continuous=\"1\"", 3, 5, 1}, {"/REPEATS=2000000000", 3, 2000000000, 1},
        {"/REPEATS 2000000001", 3, 1, 1},
        {"/SPEED=4294967300", 2, 5, 1},  // saturated: wrapping would give 4
        {"speed=4", 3, 5, 1}};           // neither '/' nor '-': no options at all
    for (const auto& c : cases) {
        gSettings.gbSpeed = 3, gSettings.gnRepeats = 5, gSettings.gbContinuous = 1;
        ApplyCommandLineOptions(c.options);
        EXPECT_EQ(std::make_tuple(int{gSettings.gbSpeed}, gSettings.gnRepeats, int{gSettings.gbContinuous}),
                  std::make_tuple(c.speed, c.repeats, c.continuous)) << c.options;
    }
}

class StartupTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gSettings.gbKeyboardService = 0;
        gLog.gbLogLevel = LOG_HIGH;
        fake::tickCount = 100000;
        SetStartingState();
        gRun.gnRunMode = RUN_COMMAND_LINE;
    }
    // A text recording of two keys behind the given lines.
    std::string Recording(const std::string& before = "") {
        WriteFile(Path("task.klx"), before + "message=WM_KEYDOWN paramH=30 paramL=65 time=1000\r\n"
                                             "message=WM_KEYUP paramH=30 paramL=65 time=1010\r\n");
        return Path("task.klx");
    }
    // The hidden program's life after start-up: posted commands and the system's playback.
    void RunUntilQuit() {
        while (fake::quitExitCode == -1 && !fake::postedCommands.empty() && fake::journalHook == 0) {
            fake::RunPostedCommands();
            fake::RunPlayback();
        }
    }
};

TEST_F(StartupTest, RunModeFromOwnSizeAndArguments) {
    const std::string plain = Path("kelmor"), bigger = Path("task.exe");
    WriteFile(plain, std::string(EMBEDDED_RECORDING_OFFSET, 'P'));
    WriteFile(bigger, std::string(EMBEDDED_RECORDING_OFFSET + 1, 'P'));
    strcpy(gRecording.gszFile, "stale");
    EXPECT_EQ(DetectRunMode(plain.c_str(), false), RUN_INTERACTIVE);
    EXPECT_STREQ(gRecording.gszFile, "");
    EXPECT_EQ(DetectRunMode(plain.c_str(), true), RUN_COMMAND_LINE);
    EXPECT_EQ(DetectRunMode(bigger.c_str(), false), RUN_EXECUTABLE);
    EXPECT_EQ(DetectRunMode(bigger.c_str(), true), RUN_EXECUTABLE) << "options alone keep the own recording";
    fake::refuseJournalHook = true;  // only the load matters here
    EXPECT_FALSE(StartHiddenPlayback("/SPEED=4", ""));
    EXPECT_EQ(gRecording.gszFile, bigger) << "read as the executable it names";
}

TEST_F(StartupTest, CompletedPlaybackExitsWithZeroAndSavesNothing) {
    const std::string file = Recording(), line = file + " /REPEATS 2 /SPEED=4";
    fake::keyboardState[VK_CONTROL] = 0x80;  // a hot key's Ctrl still down
    ApplyCommandLineOptions("/REPEATS 2 /SPEED=4");
    ASSERT_TRUE(StartHiddenPlayback(line.c_str(), file.c_str()));
    EXPECT_EQ(fake::keyboardState[VK_CONTROL], 0);
    EXPECT_TRUE(Logged("Command Line: [" + line + "]"));
    RunUntilQuit();
    EXPECT_EQ(fake::delivered.size(), 4u) << "two passes of two keys";
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
    EXPECT_EQ(gRecordingStore.gEvents, nullptr) << "the exit step freed the store";
    uint32_t stored = 0;
    EXPECT_FALSE(fake::StoredDword("SOFTWARE\\Kelmor", "Repeats", &stored)) << "options are for this run only";
}

TEST_F(StartupTest, TheSystemEndingTheProgramMidPlaybackSendsNothingMoreAndFails) {
    ASSERT_TRUE(StartHiddenPlayback("", Recording("WAIT 60\r\n").c_str()));
    fake::RunPostedCommands();
    ASSERT_NE(fake::journalHook, 0);
    fake::actualWait = [](int32_t) {  // the signal arrives during the WAIT
        fake::endSessionHandler();
        return 0;
    };
    fake::RunPlayback();
    EXPECT_TRUE(fake::delivered.empty());
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_FAILED);
    EXPECT_EQ(gRecordingStore.gEvents, nullptr) << "the exit step ran";
    EXPECT_TRUE(Logged("CANCELLED RECORDING: Kelmor ended by the system"));
}

TEST_F(StartupTest, StoredMappingsApplyToAHiddenPlayback) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\65\\Action", REG_DWORD, nullptr,
                     ACTION_REPLACE_LOOP);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\19\\Action", REG_DWORD, nullptr,
                     ACTION_STOP_RECORDING);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Log", REG_DWORD, nullptr, LOG_MEDIUM);
    FreeRecordingStore();  // the start-up makes its own
    ASSERT_TRUE(PrepareProgram());
    EXPECT_EQ(gMappings.gbStopRecordingKey, 19);
    ASSERT_TRUE(StartHiddenPlayback("", Recording().c_str()));
    RunUntilQuit();
    EXPECT_TRUE(Logged("PLAY EVENT #1: REPLACE Mapping: '1'"));
}

// A cancelled continuous playback fails too; that one is run end to end.
TEST_F(StartupTest, FailuresExitNonZero) {
    const struct { std::string file; const char* before; bool refuseHook; } cases[] = {
        {"missing.klx", nullptr, false}, {std::string(sizeof gRecording.gszFile, 'n'), nullptr, false},
        {"task.klx", "", true}, {"task.klx", "START /no/such/program\r\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 12) + (c.refuseHook ? " refused" : ""));
        TearDown();
        SetUp();
        fake::startProgramSucceeds = false;
        fake::refuseJournalHook = c.refuseHook;
        if (c.before != nullptr) Recording(c.before);
        if (StartHiddenPlayback("", Path(c.file).c_str())) {
            EXPECT_NE(c.before, nullptr) << "a file that cannot be loaded fails at once";
            RunUntilQuit();
            EXPECT_EQ(fake::quitExitCode, EXIT_CODE_FAILED);
        } else {
            EXPECT_EQ(c.before, nullptr) << "only a file that cannot be loaded fails to start";
            EXPECT_EQ(gRun.gnExitCode, EXIT_CODE_FAILED);
        }
        EXPECT_EQ(fake::delivered.size(), 0u);
    }
}

TEST_F(StartupTest, InteractiveExitAndClose) {
    gRun.gnRunMode = RUN_INTERACTIVE;
    gSettings.gbPromptForSave = 1, gRecording.gbModified = true, gRecording.nEventCount = 1;
    fake::messageBoxAnswers = {IDCANCEL};
    EXPECT_FALSE(CloseMainWindow()) << "the save prompt was cancelled";
    EXPECT_EQ(fake::quitExitCode, -1);
    EXPECT_NE(gRecordingStore.gEvents, nullptr);

    gSettings.gbPromptForSave = 0;
    SendCommand(ID_START_RECORDING);
    ASSERT_NE(fake::journalHook, 0);
    gSettings.gnRepeats = 7;
    SendCommand(ID_EXIT);
    EXPECT_EQ(fake::journalHook, 0) << "the recording was cancelled";
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
    uint32_t stored = 0;
    EXPECT_TRUE(fake::StoredDword("SOFTWARE\\Kelmor", "Repeats", &stored) && stored == 7);
}

TEST_F(StartupTest, ASecondStartBringsTheRunningWindowForward) {
    fake::windows = {{0x10, "Kelmor - task.klx", {0, 0, 10, 10}, true, false},
                     {0x20, "Error", {0, 0, 10, 10}, false, false},
                     {0x30, "Kelmor", {0, 0, 10, 10}, false, true}};
    fake::windowClasses = {{0x20, "Kelmor-box"}, {0x30, "Kelmor"}};
    EXPECT_FALSE(BringRunningCopyForward()) << "a box of a hidden playback and the program's own window do not count";
    EXPECT_TRUE(fake::activated.empty());

    fake::windowClasses[0x10] = "Kelmor";
    EXPECT_TRUE(BringRunningCopyForward());
    ASSERT_EQ(fake::showCalls.size(), 1u);
    EXPECT_EQ(fake::showCalls[0].window, 0x10u);
    EXPECT_EQ(fake::showCalls[0].command, SW_RESTORE) << "minimised: restored";
    EXPECT_EQ(fake::activated, (std::vector<HWND32>{0x10}));
    EXPECT_TRUE(BringRunningCopyForward());
    EXPECT_EQ(fake::showCalls[1].command, SW_SHOWNORMAL);

    // Hidden in the tray: its window is found among the hidden ones, by its title too
    // (the toolkit keeps a hidden helper window of the same class).
    fake::windows = {{0x40, "kelmor", {0, 0, 10, 10}, false, false, true},
                     {0x50, "Kelmor - task.klx", {0, 0, 10, 10}, false, false, true}};
    fake::windowClasses = {{0x40, "Kelmor"}, {0x50, "Kelmor"}};
    fake::showCalls.clear();
    EXPECT_TRUE(BringRunningCopyForward());
    ASSERT_EQ(fake::showCalls.size(), 1u);
    EXPECT_EQ(fake::showCalls[0].window, 0x50u);
    EXPECT_EQ(fake::showCalls[0].command, SW_SHOWNORMAL);
}

// What kelmorctl restore looks for before it writes the store: any copy, in the tray too,
// found without being disturbed.
TEST_F(StartupTest, ARunningCopyIsFoundShownOrInTheTray) {
    bool hidden = true;
    EXPECT_EQ(FindRunningCopy(&hidden), 0u);
    fake::windows = {{0x40, "Kelmor", {0, 0, 10, 10}, false, false, true}};
    fake::windowClasses = {{0x40, "Kelmor"}};
    EXPECT_EQ(FindRunningCopy(&hidden), 0x40u);
    EXPECT_TRUE(hidden);
    fake::windows.push_back({0x50, "Kelmor - a.klx", {0, 0, 10, 10}, false, false});
    fake::windowClasses[0x50] = "Kelmor";
    EXPECT_EQ(FindRunningCopy(&hidden), 0x50u);
    EXPECT_FALSE(hidden);
    EXPECT_TRUE(fake::showCalls.empty());
    EXPECT_TRUE(fake::activated.empty());
}

TEST_F(StartupTest, TheWindowOpensWhereItWasWhenThatIsOnTheScreen) {
    gRun.gnRunMode = RUN_INTERACTIVE;
    const struct { int32_t left, top; bool moved; } cases[] = {
        {100, 50, true}, {-4, -4, true}, {-99, 0, false}, {-5, 10, false}, {1280, 10, false}, {10, 1024, false}};
    for (const auto& c : cases) {
        fake::mainWindowLeft = 40;
        fake::mainWindowTop = 30;
        SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Left", REG_DWORD, nullptr, static_cast<uint32_t>(c.left));
        SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Top", REG_DWORD, nullptr, static_cast<uint32_t>(c.top));
        ShowInteractiveWindow();
        EXPECT_EQ(fake::mainWindowLeft, c.moved ? c.left : 40) << c.left << "," << c.top;
        EXPECT_EQ(fake::mainWindowTop, c.moved ? c.top : 30) << c.left << "," << c.top;
    }
    // Wherever it is at the exit is where it opens next time.
    fake::mainWindowLeft = 321;
    fake::mainWindowTop = 123;
    RunExitStep();
    uint32_t stored = 0;
    EXPECT_TRUE(fake::StoredDword(KELMOR_KEY, "Left", &stored) && stored == 321);
    EXPECT_TRUE(fake::StoredDword(KELMOR_KEY, "Top", &stored) && stored == 123);
}
