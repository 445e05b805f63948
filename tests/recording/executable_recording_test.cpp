#include <string>

#include "platform/system.h"
#include "recording/executable_recording.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

std::string Records(std::initializer_list<EVENTMSG> events) {
    std::string out;
    for (const EVENTMSG& e : events) {
        for (uint32_t v : {e.message, e.paramL, e.paramH, e.time, e.hwnd}) {
            for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
        }
    }
    return out;
}

const EVENTMSG kDown{WM_KEYDOWN, 65, 30, 1000, 7};
const EVENTMSG kUp{WM_KEYUP, 65, 30, 1040, 7};

}  // namespace

class ExecutableRecordingTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        WriteFile(Path("kelmor"), std::string(EMBEDDED_RECORDING_OFFSET, 'P'));
    }
    // Makes name from the stand-in program; returns what follows the intact program.
    std::string Make(const std::string& name) {
        EXPECT_TRUE(WriteExecutableRecording(Path(name).c_str(), Path("kelmor").c_str()));
        std::string all = ReadFile(Path(name));
        EXPECT_EQ(all.substr(0, EMBEDDED_RECORDING_OFFSET), ReadFile(Path("kelmor")));
        return all.size() < EMBEDDED_RECORDING_OFFSET ? "" : all.substr(EMBEDDED_RECORDING_OFFSET);
    }
    int Load(const std::string& name) {
        snprintf(gszFile, sizeof gszFile, "%s", Path(name).c_str());
        return LoadRecording();
    }
};

TEST_F(ExecutableRecordingTest, RecordsFollowTheProgramAndLoadBackFromTheOffset) {
    gEvents[0] = kDown;
    gEvents[2] = kUp;  // an empty event between them travels too
    nEventCount = 3;
    EXPECT_EQ(Make("r.exe"), Records({kDown, EVENTMSG{}, kUp}));
    EXPECT_EQ(Load("r.exe"), 0);
    EXPECT_EQ(nEventCount, 3);
    // A first message whose low byte is not 0 would read as text: an empty event leads.
    gEvents[0] = kUp;
    nEventCount = 1;
    EXPECT_EQ(Make("up.exe"), Records({EVENTMSG{0, 0, 0, 1040, 0}, kUp}));
    EXPECT_EQ(Load("up.exe"), 0);
    EXPECT_EQ(gEvents[1].message, static_cast<uint32_t>(WM_KEYUP));
}

TEST_F(ExecutableRecordingTest, ScriptTravelsAsTextOnlyWhenItBeginsWithACommand) {
    const std::string script = "TYPE hi\r\nmessage=WM_KEYDOWN paramH=30 paramL=65 time=9\r\n";
    WriteFile(Path("s.klx"), script + std::string("\0; after the NUL", 16));
    ASSERT_EQ(Load("s.klx"), 1);
    EXPECT_EQ(Make("s.exe"), script);
    // Made again from itself: the text is read from behind the program, and before the
    // copy replaces the file.
    ASSERT_EQ(Load("s.exe"), 1);
    EXPECT_EQ(Make("s.exe"), script);

    WriteFile(Path("late.klx"), "message=WM_KEYDOWN paramH=30 paramL=65 time=1000\r\nTYPE later\r\n");
    ASSERT_EQ(Load("late.klx"), 1);
    EXPECT_EQ(Make("late.exe"), Records({EVENTMSG{WM_KEYDOWN, 65, 30, 1000, 0}, EVENTMSG{}}));
}

TEST_F(ExecutableRecordingTest, FailuresAreShownAndLeaveNoFile) {
    CreateExecutableRecording(1135);
    EXPECT_EQ(fake::messageBoxes.at(0).caption, "Save Error");
    EXPECT_TRUE(fake::fileDialogs.empty()) << "nothing recorded, nothing to name";
    gEvents[0] = kDown, nEventCount = 1;
    EXPECT_FALSE(WriteExecutableRecording(Path("x.exe").c_str(), Path("no-program").c_str()));
    WriteFile(Path("gone.klx"), "TYPE x\r\n");
    ASSERT_EQ(Load("gone.klx"), 1);
    WriteFile(Path("gone.klx"), "");
    EXPECT_FALSE(WriteExecutableRecording(Path("y.exe").c_str(), Path("kelmor").c_str()));
    EXPECT_FALSE(FileExists(Path("y.exe")));
    ASSERT_EQ(fake::messageBoxes.size(), 3u);
    EXPECT_EQ(fake::messageBoxes[1].text, "Unable to save file '" + Path("x.exe") + "'!");
    EXPECT_EQ(fake::messageBoxes[2].text, "Unable to read file");
    EXPECT_EQ(fake::messageBoxes[2].caption, Path("gone.klx"));
}

TEST_F(ExecutableRecordingTest, CommandAsksForTheNameAndBeforeReplacing) {
    gEvents[0] = kDown, nEventCount = 1;
    gbModified = true;
    snprintf(gszFile, sizeof gszFile, "/home/j.doe/task.v2.klx");
    WriteFile(Path("out.exe"), "old");
    fake::fileDialogAnswers = {{true, Path("out.klx"), 2}, {true, Path("out.klx"), 1}};
    fake::messageBoxAnswers = {IDNO, IDYES};
    CreateExecutableRecording(1135);
    EXPECT_EQ(fake::fileDialogs.at(0).initialName, "/home/j.doe/task.exe");
    EXPECT_EQ(ReadFile(Path("out.exe")), "old") << "No leaves the file alone";
    CreateExecutableRecording(1135);
    ASSERT_EQ(fake::messageBoxes.size(), 3u);
    EXPECT_EQ(fake::messageBoxes[1].caption + ": " + fake::messageBoxes[1].text,
              "Create .EXE: " + Path("out.exe") + "\nThis file already exists.\nReplace existing file?");
    EXPECT_EQ(fake::messageBoxes[2].caption + ": " + fake::messageBoxes[2].text,
              "Create Executable: The file \"" + Path("out.exe") + "\" was successfully created.");
    char module[512];
    ASSERT_GT(SysGetModuleFileName(module, sizeof module), 0);
    EXPECT_EQ(GetFileSize32(Path("out.exe").c_str()), GetFileSize32(module) + 20) << "a copy of the running program";
    EXPECT_FALSE(gbModified);
}
