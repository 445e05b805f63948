#include <climits>
#include <string>

#include "platform/wintypes.h"
#include "player/playback_control.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/exit_step.h"
#include "ui/run_mode.h"
#include "ui/startup.h"

TEST(CommandLineTest, ValueBehindOption) {
    const std::string zeros32(32, '0');
    const struct {
        const char* line;
        const char* option;
        int32_t value;
    } cases[] = {
        {"/speed=4", "/SPEED", 4},
        {"/a /REPEATS 3 /b", "/REPEATS", 3},
        {"/REPEATS = \"12\"", "/REPEATS", 12},
        {"/SPEED", "/SPEED", 0},
        {"/SPEED x4", "/SPEED", 0},
        {"/REPEATS=3", "/SPEED", 0},
        {"/REPEATS=99999999999999999999", "/REPEATS", INT32_MAX},
    };
    for (const auto& c : cases) EXPECT_EQ(GetCommandLineValue(c.line, c.option), c.value) << c.line;
    EXPECT_EQ(GetCommandLineValue(("/SPEED=" + zeros32.substr(1) + "7").c_str(), "/SPEED"), 7) << "32 digits";
    EXPECT_EQ(GetCommandLineValue(("/SPEED=" + zeros32 + "7").c_str(), "/SPEED"), 0) << "the 33rd digit is not read";
}

TEST(CommandLineTest, FirstArgumentIsOptionOrFile) {
    for (const char* option : {"/SPEED=4", "/speed", "/REPEATS", "/Continuous1", "/SPEED\"2\""}) {
        EXPECT_TRUE(IsCommandLineOption(option)) << option;
    }
    for (const char* file : {"/home/me/task.klx", "/speedtests/a.klx", "task.klx", ""}) {
        EXPECT_FALSE(IsCommandLineOption(file)) << file;
    }
}

class StartupTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        gbKeyboardService = 0;
        gbLogLevel = LOG_HIGH;
        fake::tickCount = 100000;
        SetStartingState();
        gnRunMode = RUN_COMMAND_LINE;
    }
    // A text recording of keys; its name ends up as the current file.
    std::string Recording(const std::string& lines) {
        std::string name = Path("task.klx");
        WriteFile(name, lines);
        return name;
    }
    static std::string Keys() {
        return "message=WM_KEYDOWN paramH=30 paramL=65 time=1000\r\nmessage=WM_KEYUP paramH=30 paramL=65 time=1010\r\n";
    }
    // The hidden program's life after start-up: posted commands and the system's playback.
    void RunUntilQuit(int maxEvents = 1000000) {
        while (fake::quitExitCode == -1 && !fake::postedCommands.empty()) {
            fake::RunPostedCommands();
            fake::RunPlayback(maxEvents);
            if (fake::journalHook != 0) return;  // still playing: the test goes on
        }
    }
};

TEST_F(StartupTest, OptionsOverrideSettingsWithFallbacks) {
    const struct {
        const char* options;
        int speed, repeats, continuous;
    } cases[] = {
        {"/speed=4", 4, 5, 1},           {"/REPEATS 3", 3, 3, 1},          {"/REPEATS 0", 3, 1, 1},
        {"/SPEED 7", 2, 5, 1},           {"/CONTINUOUS", 3, 5, 0},         {"/continuous=\"1\"", 3, 5, 1},
        {"/REPEATS=2000000000", 3, 2000000000, 1}, {"/REPEATS 2000000001", 3, 1, 1},
        {"/SPEED=4294967300", 2, 5, 1},  // saturated: wrapping would give 4
        {"speed=4", 3, 5, 1},            // neither '/' nor '-': no options at all
    };
    for (const auto& c : cases) {
        gbSpeed = 3, gnRepeats = 5, gbContinuous = 1;
        ApplyCommandLineOptions(c.options);
        EXPECT_EQ(gbSpeed * 1000000000000LL + gnRepeats * 10LL + gbContinuous,
                  c.speed * 1000000000000LL + c.repeats * 10LL + c.continuous)
            << c.options;
    }
}

TEST_F(StartupTest, RunModeFromOwnSizeAndArguments) {
    const std::string plain = Path("kelmor"), bigger = Path("task.exe");
    WriteFile(plain, std::string(EMBEDDED_RECORDING_OFFSET, 'P'));
    WriteFile(bigger, std::string(EMBEDDED_RECORDING_OFFSET + 1, 'P'));
    strcpy(gszFile, "stale");
    EXPECT_EQ(DetectRunMode(plain.c_str(), false), RUN_INTERACTIVE);
    EXPECT_STREQ(gszFile, "");
    EXPECT_EQ(DetectRunMode(plain.c_str(), true), RUN_COMMAND_LINE);
    EXPECT_EQ(DetectRunMode(bigger.c_str(), false), RUN_EXECUTABLE);
    EXPECT_EQ(gszFile, bigger);
    // Options alone keep the executable's own recording.
    EXPECT_EQ(DetectRunMode(bigger.c_str(), true), gnRunMode);
    fake::refuseJournalHook = true;  // only the load matters here
    EXPECT_FALSE(StartHiddenPlayback("/SPEED=4", ""));
    EXPECT_EQ(gszFile, bigger) << "read as the executable it names";
}

TEST_F(StartupTest, CompletedPlaybackExitsWithZeroAndSavesNothing) {
    const std::string file = Recording(Keys());
    fake::keyboardState[VK_CONTROL] = 0x80;  // a hot key's Ctrl still down
    ApplyCommandLineOptions("/REPEATS 2 /SPEED=4");
    ASSERT_TRUE(StartHiddenPlayback((file + " /REPEATS 2 /SPEED=4").c_str(), file.c_str()));
    EXPECT_EQ(fake::keyboardState[VK_CONTROL], 0);
    EXPECT_NE(ReadFile(gszLogFile).find("Command Line: [" + file + " /REPEATS 2 /SPEED=4]\r\n"), std::string::npos);
    RunUntilQuit();
    EXPECT_EQ(fake::delivered.size(), 4u) << "two passes of two keys";
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
    EXPECT_EQ(gEvents, nullptr) << "the exit step freed the store";
    uint32_t stored = 0;
    EXPECT_FALSE(fake::StoredDword("SOFTWARE\\Kelmor", "Repeats", &stored)) << "options are for this run only";
}

TEST_F(StartupTest, FailuresExitNonZero) {
    const std::string keys = Keys(), start = "START /no/such/program\r\n" + Keys();
    const struct {
        const char* name;
        const std::string* content;  // nullptr: no file at all
        bool refuseHook;
    } cases[] = {{"missing file", nullptr, false}, {"hook refused", &keys, true}, {"script halted", &start, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        fake::startProgramSucceeds = false;
        fake::refuseJournalHook = c.refuseHook;
        const std::string file = c.content ? Recording(*c.content) : Path("missing.klx");
        if (StartHiddenPlayback("", file.c_str())) {
            RunUntilQuit();
            EXPECT_EQ(fake::quitExitCode, EXIT_CODE_FAILED);
        } else {
            EXPECT_EQ(c.content, nullptr) << "only a missing file fails to start";
            EXPECT_EQ(gnExitCode, EXIT_CODE_FAILED);
        }
        EXPECT_EQ(fake::delivered.size(), 0u);
    }
}

TEST_F(StartupTest, CancelEndsContinuousPlaybackWithFailure) {
    const std::string file = Recording(Keys());
    ApplyCommandLineOptions("/CONTINUOUS=1");
    ASSERT_TRUE(StartHiddenPlayback("", file.c_str()));
    RunUntilQuit(5);
    ASSERT_NE(fake::journalHook, 0) << "a continuous playback goes on by itself";
    fake::journalCancelHandler();
    EXPECT_EQ(fake::messageBoxes.back().caption, "2 Playbacks Completed");
    RunUntilQuit();
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_FAILED);
}

TEST_F(StartupTest, InteractiveExitCancelsRecordingAndSavesSettings) {
    gnRunMode = RUN_INTERACTIVE;
    gbPromptForSave = 0;
    SendCommand(ID_START_RECORDING);
    ASSERT_NE(fake::journalHook, 0);
    gnRepeats = 7;
    SendCommand(ID_EXIT);
    EXPECT_EQ(fake::journalHook, 0);
    EXPECT_NE(ReadFile(gszLogFile).find("CANCELLED RECORDING: Kelmor Exit called\r\n"), std::string::npos);
    EXPECT_EQ(fake::quitExitCode, EXIT_CODE_DONE);
    uint32_t stored = 0;
    EXPECT_TRUE(fake::StoredDword("SOFTWARE\\Kelmor", "Repeats", &stored) && stored == 7);
}

TEST_F(StartupTest, InteractiveCloseMayKeepTheProgram) {
    gnRunMode = RUN_INTERACTIVE;
    gdwShowTrayIcon = 1000;
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_FALSE(fake::mainWindowVisible) << "tray mode only hides the window";
    gdwShowTrayIcon = 0, gbPromptForSave = 1, gbModified = true, nEventCount = 1;
    fake::messageBoxAnswers = {IDCANCEL};
    EXPECT_FALSE(CloseMainWindow());
    EXPECT_EQ(fake::messageBoxes.back().text, "Save changes to (Untitled)?");
    EXPECT_EQ(fake::quitExitCode, -1);
    EXPECT_NE(gEvents, nullptr);
}
