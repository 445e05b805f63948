#include <sys/stat.h>

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
        program_ = Path("kelmor");
        WriteFile(program_, std::string(EMBEDDED_RECORDING_OFFSET, 'P'));
        chmod(program_.c_str(), 0755);
    }
    // What the made file holds behind the program (which must be intact).
    std::string Appended(const std::string& exe) {
        std::string all = ReadFile(exe);
        EXPECT_EQ(all.substr(0, EMBEDDED_RECORDING_OFFSET), ReadFile(program_));
        return all.size() < EMBEDDED_RECORDING_OFFSET ? "" : all.substr(EMBEDDED_RECORDING_OFFSET);
    }
    int Load(const std::string& file) {
        snprintf(gszFile, sizeof gszFile, "%s", file.c_str());
        return LoadRecording();
    }
    std::string program_;
};

TEST_F(ExecutableRecordingTest, RecordsFollowTheProgramAndLoadBackFromTheOffset) {
    gEvents[0] = kDown;
    gEvents[2] = kUp;  // an empty event between them travels too
    nEventCount = 3;
    ASSERT_TRUE(WriteExecutableRecording(Path("r.exe").c_str(), program_.c_str()));
    EXPECT_EQ(Appended(Path("r.exe")), Records({kDown, EVENTMSG{}, kUp}));
    struct stat st;
    ASSERT_EQ(stat(Path("r.exe").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u) << "the copy must stay runnable";
    EXPECT_EQ(Load(Path("r.exe")), 0);
    EXPECT_EQ(nEventCount, 3);
    EXPECT_EQ(gEvents[2].time, 1040u);

    // A first message whose low byte is not 0 would read as text: an empty event leads.
    gEvents[0] = kUp;
    nEventCount = 1;
    ASSERT_TRUE(WriteExecutableRecording(Path("up.exe").c_str(), program_.c_str()));
    EXPECT_EQ(Appended(Path("up.exe")), Records({EVENTMSG{0, 0, 0, 1040, 0}, kUp}));
    EXPECT_EQ(Load(Path("up.exe")), 0);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_EQ(gEvents[1].message, static_cast<uint32_t>(WM_KEYUP));
}

TEST_F(ExecutableRecordingTest, ScriptTravelsAsTextOnlyWhenItBeginsWithACommand) {
    const std::string script = "TYPE hi\r\nmessage=WM_KEYDOWN paramH=30 paramL=65 time=9\r\n";
    WriteFile(Path("s.klx"), script + std::string("\0; after the NUL", 16));
    ASSERT_EQ(Load(Path("s.klx")), 1);
    ASSERT_TRUE(WriteExecutableRecording(Path("s.exe").c_str(), program_.c_str()));
    EXPECT_EQ(Appended(Path("s.exe")), script);
    // Made again from itself: the text comes from behind the program, read before the
    // copy replaces the file.
    ASSERT_EQ(Load(Path("s.exe")), 1);
    ASSERT_TRUE(WriteExecutableRecording(Path("s.exe").c_str(), program_.c_str()));
    EXPECT_EQ(Appended(Path("s.exe")), script);

    WriteFile(Path("late.klx"), "message=WM_KEYDOWN paramH=30 paramL=65 time=1000\r\nTYPE later\r\n");
    ASSERT_EQ(Load(Path("late.klx")), 1);
    ASSERT_TRUE(WriteExecutableRecording(Path("late.exe").c_str(), program_.c_str()));
    EXPECT_EQ(Appended(Path("late.exe")), Records({EVENTMSG{WM_KEYDOWN, 65, 30, 1000, 0}, EVENTMSG{}}));
    EXPECT_EQ(Load(Path("late.exe")), 0) << "the empty event stays, its command does not";
    EXPECT_EQ(nEventCount, 2);
}

TEST_F(ExecutableRecordingTest, FailuresAreShown) {
    nEventCount = 1;
    gEvents[0] = kDown;
    EXPECT_FALSE(WriteExecutableRecording(Path("x.exe").c_str(), Path("no-program").c_str()));
    WriteFile(Path("gone.klx"), "TYPE x\r\n");
    ASSERT_EQ(Load(Path("gone.klx")), 1);
    WriteFile(Path("gone.klx"), "");
    EXPECT_FALSE(WriteExecutableRecording(Path("y.exe").c_str(), program_.c_str()));
    EXPECT_FALSE(FileExists(Path("y.exe")));
    ASSERT_EQ(fake::messageBoxes.size(), 2u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Unable to save file '" + Path("x.exe") + "'!");
    EXPECT_EQ(fake::messageBoxes[1].text, "Unable to read file");
    EXPECT_EQ(fake::messageBoxes[1].caption, Path("gone.klx"));
}

TEST_F(ExecutableRecordingTest, NamesLoseTheirExtensionButFoldersKeepTheirDots) {
    char out[MAX_PATH];
    for (auto [in, want] : {std::pair{"/home/j.doe/rec.v2.klx", "/home/j.doe/rec.exe"},
                            {"/home/j.doe/rec", "/home/j.doe/rec.exe"}, {"C:\\a.b\\t.KLR", "C:\\a.b\\t.exe"},
                            {"", ".exe"}}) {
        ASSERT_TRUE(MakeExecutableName(in, out, sizeof out));
        EXPECT_STREQ(out, want);
    }
    EXPECT_FALSE(MakeExecutableName(std::string(MAX_PATH - 4, 'a').c_str(), out, sizeof out));
    EXPECT_STREQ(out, "");
}

TEST_F(ExecutableRecordingTest, CommandAsksForTheNameAndBeforeReplacing) {
    CreateExecutableRecording(1135);
    EXPECT_EQ(fake::messageBoxes.at(0).caption, "Save Error");
    EXPECT_TRUE(fake::fileDialogs.empty());

    gEvents[0] = kDown;
    nEventCount = 1;
    gbModified = true;
    snprintf(gszFile, sizeof gszFile, "/home/j.doe/task.klx");
    WriteFile(Path("out.exe"), "old");
    fake::fileDialogAnswers = {{true, Path("out.klx"), 2}, {true, Path("out.klx"), 1}};
    fake::messageBoxAnswers = {IDNO, IDYES};
    CreateExecutableRecording(1135);
    EXPECT_EQ(fake::fileDialogs.at(0).initialName, "/home/j.doe/task.exe");
    EXPECT_EQ(fake::fileDialogs.at(0).filters, "Program Files (*.exe)|*.exe|All Files (*.*)|*.*|");
    EXPECT_EQ(ReadFile(Path("out.exe")), "old") << "No leaves the file alone";
    CreateExecutableRecording(1135);

    ASSERT_EQ(fake::messageBoxes.size(), 4u);
    EXPECT_EQ(fake::messageBoxes[1].text, Path("out.exe") + "\nThis file already exists.\nReplace existing file?");
    EXPECT_EQ(fake::messageBoxes[1].caption, "Create .EXE");
    EXPECT_EQ(fake::messageBoxes[1].style, static_cast<uint32_t>(MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(fake::messageBoxes[3].text, "The file \"" + Path("out.exe") + "\" was successfully created.");
    EXPECT_EQ(fake::messageBoxes[3].caption, "Create Executable");
    EXPECT_EQ(fake::messageBoxes[3].iconId, 1000);
    char module[512];
    ASSERT_GT(SysGetModuleFileName(module, sizeof module), 0);
    EXPECT_EQ(GetFileSize32(Path("out.exe").c_str()), GetFileSize32(module) + 20);
    EXPECT_FALSE(gbModified);
    EXPECT_STREQ(gszFile, "/home/j.doe/task.klx");
}
