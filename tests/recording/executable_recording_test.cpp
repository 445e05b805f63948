#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/system.h"
#include "recording/executable_recording.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

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
    int Load(const std::string& name) { return LoadFile(Path(name)); }
};

TEST_F(ExecutableRecordingTest, RecordsFollowTheProgramAndLoadBackFromTheOffset) {
    gRecordingStore.gEvents[0] = kDown;
    gRecordingStore.gEvents[2] = kUp;  // an empty event between them travels too
    gRecording.nEventCount = 3;
    EXPECT_EQ(Make("r.exe"), Records({kDown, EVENTMSG{}, kUp}));
    EXPECT_EQ(Load("r.exe"), 0);
    EXPECT_EQ(gRecording.nEventCount, 3);
    // A first message whose low byte is not 0 would read as text: an empty event leads.
    gRecordingStore.gEvents[0] = kUp;
    gRecording.nEventCount = 1;
    EXPECT_EQ(Make("up.exe"), Records({EVENTMSG{0, 0, 0, 1040, 0}, kUp}));
    EXPECT_EQ(Load("up.exe"), 0);
    EXPECT_EQ(gRecordingStore.gEvents[1].message, static_cast<uint32_t>(WM_KEYUP));
}

TEST_F(ExecutableRecordingTest, ScriptTravelsAsTextWhateverItsFirstLine) {
    for (const std::string first : {"TYPE hi", "message=WM_KEYDOWN paramH=30 paramL=65 time=9"}) {
        WriteFile(Path("s.klx"), first + "\r\nWAIT 1\r\nmessage=WM_KEYUP paramH=30 paramL=65 time=9\r\nTYPE bye\r\n");
        const int commands = first[0] == 'T' ? 3 : 2;
        ASSERT_EQ(Load("s.klx"), commands);
        const std::string text = Make("s.exe");
        EXPECT_EQ(text.rfind("; This file was created by Kelmor", 0), 0u) << "the text form behind the program";
        // Made again from itself, over itself.
        for (int pass = 0; pass < 2; ++pass) {
            ASSERT_EQ(Load("s.exe"), commands) << first;
            EXPECT_EQ(gRecording.nEventCount, 4);
            EXPECT_EQ(std::string(gRecordingStore.szArgument[commands - 1]), "bye");
            EXPECT_EQ(gRecordingStore.nEventIndex[commands - 1], 3);
            EXPECT_EQ(gRecordingStore.gEvents[2].message, static_cast<uint32_t>(WM_KEYUP));
            if (pass == 0) {
                EXPECT_EQ(Make("s.exe"), text);
            }
        }
    }
}

TEST_F(ExecutableRecordingTest, FailuresLeaveTheOldFileAndNeverTouchTheProgram) {
    CreateExecutableRecording(1135);
    EXPECT_EQ(fake::messageBoxes.at(0).caption, "Save Error");
    EXPECT_TRUE(fake::fileDialogs.empty()) << "nothing recorded, nothing to name";
    fake::messageBoxes.clear();
    gRecordingStore.gEvents[0] = kDown, gRecording.nEventCount = 1;
    EXPECT_FALSE(WriteExecutableRecording(Path("x.exe").c_str(), Path("no-program").c_str()));
    EXPECT_FALSE(FileExists(Path("x.exe")));
    // A program that fails halfway through its copy (a folder reads as nothing but errors).
    WriteFile(Path("old.exe"), "old");
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
    EXPECT_FALSE(WriteExecutableRecording(Path("old.exe").c_str(), Path("folder").c_str()));
    EXPECT_EQ(ReadFile(Path("old.exe")), "old");
    // An output that is the program itself, by a link or by name.
    ASSERT_EQ(symlink("kelmor", Path("link.exe").c_str()), 0);
    EXPECT_FALSE(WriteExecutableRecording(Path("link.exe").c_str(), Path("kelmor").c_str()));
    EXPECT_FALSE(WriteExecutableRecording(Path("kelmor").c_str(), Path("kelmor").c_str()));
    EXPECT_EQ(ReadFile(Path("kelmor")), std::string(EMBEDDED_RECORDING_OFFSET, 'P'));
    ASSERT_EQ(fake::messageBoxes.size(), 4u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Unable to save file '" + Path("x.exe") + "'!\n\nNo such file or directory.");
    EXPECT_EQ(fake::messageBoxes[1].text, "Unable to save file '" + Path("old.exe") + "'!\n\nIs a directory.");
    EXPECT_EQ(fake::messageBoxes[2].text,
              "Unable to save file '" + Path("link.exe") + "'!\n\nIt is the program file itself.");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "kelmor", "link.exe", "old.exe"}))
        << "no temporary file stays behind";
}

TEST_F(ExecutableRecordingTest, CommandAsksForTheNameAndBeforeReplacing) {
    gRecordingStore.gEvents[0] = kDown, gRecording.nEventCount = 1;
    gRecording.gbModified = true;
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/home/j.doe/task.v2.klx");
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
    EXPECT_FALSE(gRecording.gbModified);
}
