#include <string>
#include <vector>

#include "player/playback_control.h"
#include "recording/file_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"

namespace {

void Record(int count) {
    for (int i = 0; i < count; ++i) {
        gRecordingStore.gEvents[i] = EVENTMSG{WM_KEYDOWN, static_cast<uint32_t>(65 + i), 1, 100, 0};
    }
    gRecording.nEventCount = count;
    gRecording.gbModified = true;
}

// Captions of the boxes shown so far, then forgets them.
std::string Captions() {
    std::string all;
    for (const fake::MessageBoxCall& box : fake::messageBoxes) all += box.caption + "|";
    fake::messageBoxes.clear();
    return all;
}

}  // namespace

class FileCommandsTest : public CoreTest {};

TEST_F(FileCommandsTest, SavePromptAnswers) {
    Record(3);
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/work/mine.klr");
    fake::messageBoxAnswers = {IDCANCEL, IDYES, IDYES};
    OnNew(ID_NEW);
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to /work/mine.klr?");
    EXPECT_EQ(fake::messageBoxes[0].style, static_cast<uint32_t>(MB_TASKMODAL | MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    OnClose(ID_CLOSE);  // Yes, but the dialog is cancelled: nothing saved, nothing dropped
    EXPECT_EQ(gRecording.nEventCount, 3);
    fake::fileDialogAnswers = {{true, Path("kept.klr"), 1}};
    OnClose(ID_CLOSE);
    EXPECT_EQ(ReadFile(Path("kept.klr")).size(), 60u);
    EXPECT_EQ(Captions(), "Confirm Action|Confirm Action|Confirm Action|");
    EXPECT_EQ(gRecording.nEventCount, 0);
    EXPECT_STREQ(gRecording.gszFile, "");
    EXPECT_EQ(fake::windowTitle, "Kelmor");
    EXPECT_FALSE(fake::commandEnabled[ID_NEW]);
    Record(2);
    fake::messageBoxAnswers = {IDNO};
    OnNew(ID_NEW);
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to (Untitled)?");
    EXPECT_EQ(Captions(), "Confirm Action|New Recording|");
    EXPECT_FALSE(gRecording.gbModified);
}

TEST_F(FileCommandsTest, SaveAsAsksUntilTheNameIsAcceptable) {
    OnSaveAs(ID_SAVE_AS);
    EXPECT_EQ(Captions(), "Save Error|") << "no events";
    Record(1);
    WriteFile(Path("old.klr"), "previous");
    fake::messageBoxAnswers = {IDOK, IDOK, IDNO, IDYES};
    fake::fileDialogAnswers = {{true, Path("a.klr"), 2},     // conflicts with the .klx filter
                               {true, Path("a.exe"), 3},     // refused
                               {true, Path("old.klr"), 1},   // replace? No
                               {true, Path("old.klr"), 1}};  // replace? Yes
    OnSaveAs(ID_SAVE_AS);
    EXPECT_EQ(fake::messageBoxes[2].text, Path("old.klr") + "\nThis file already exists.\nReplace existing file?");
    EXPECT_EQ(Captions(), "File Type Conflict|Save Error|Save|Save|");
    EXPECT_EQ(fake::fileDialogs[3].initialName, "Task1") << "No goes back to the remembered name";
    EXPECT_FALSE(FileExists(Path("a.exe")));
    EXPECT_EQ(ReadFile(Path("old.klr")).size(), 20u);
    EXPECT_EQ(fake::windowTitle, "Kelmor - old.klr");
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    // All Files and no dot: binary with ".klr"; a .klx name makes the text form.
    fake::fileDialogAnswers = {{true, Path("plain"), 3}, {true, Path("t.klx"), 2}};
    OnSaveAs(ID_SAVE_AS);
    OnSaveAs(ID_SAVE_AS);
    EXPECT_EQ(ReadFile(Path("plain.klr")).size(), 20u);
    EXPECT_NE(ReadFile(Path("t.klx")).find("message=WM_KEYDOWN paramH=1 paramL=65 time=100\r\n"), std::string::npos);
    EXPECT_EQ(gSettings.gbLastFileType, 2);
    EXPECT_TRUE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    // A script recording is refused in the binary form; the window stays as it was.
    gRecordingStore.gEvents[0] = EVENTMSG{};
    gRecording.gbModified = true;
    fake::fileDialogAnswers = {{true, Path("s.klr"), 1}};
    OnSaveAs(ID_SAVE_AS);
    EXPECT_NE(fake::messageBoxes[0].text.find("\"KLR\" binary format"), std::string::npos);
    EXPECT_EQ(fake::windowTitle, "Kelmor - t.klx");
    EXPECT_TRUE(gRecording.gbModified);
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFileOrKeepsTheCurrentOne) {
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/work/old.klr");
    OnOpen(ID_OPEN);
    EXPECT_STREQ(gRecording.gszFile, "/work/old.klr") << "cancelled";
    std::string file = Path("Rec.KLX");
    WriteFile(file, "message=WM_KEYDOWN paramH=1 paramL=65 time=5\r\nTYPE hi\r\n");
    gSettings.gbSpeed = 3;
    gSettings.gbPlayImmediately = 1;
    gRecording.nCompletedPasses = 4;
    fake::fileDialogAnswers = {{true, file, 1}};
    OnOpen(ID_OPEN);
    EXPECT_EQ(fake::fileDialogs[1].initialName, "/work/old.klr");
    EXPECT_EQ(gRecording.nEventCount, 2);
    EXPECT_EQ(gSettings.gbLastFileType, 2);
    EXPECT_EQ(fake::windowTitle, "Kelmor - Rec.KLX");
    EXPECT_TRUE(gPlayer.gbPlayingNow) << "PlayImmediately starts the playback";
    EXPECT_EQ(fake::focusedSpeedButton, 3);
    EXPECT_EQ(gRecording.nCompletedPasses, 0);
    WriteFile(file, "message=WM_KEYUP paramH=1 paramL=65\r\n");
    fake::windowTitle = "unchanged";
    OnReloadCurrentFile(ID_RELOAD_FILE);
    EXPECT_EQ(gRecording.nEventCount, 1);
    EXPECT_EQ(fake::windowTitle, "unchanged");
}

TEST_F(FileCommandsTest, EditScriptFileAndActionCount) {
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/work/a.klx");
#ifdef _WIN32
    // The opener earlier builds stored as their default starts nothing here.
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Editor", REG_SZ, "xdg-open", 0);
#endif
    fake::openSucceeds = false;  // no application for text: the default editor's program runs
    OnEditScriptFile(ID_EDIT_SCRIPT);
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Editor", REG_SZ, "gedit -s", 0);
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/work/my file's.klx");  // must stay one argument
    OnEditScriptFile(ID_EDIT_SCRIPT);
    // The failure box is checked with the log file, which goes to the same editor.
#ifdef _WIN32
    const std::vector<std::string> started{"notepad.exe /work/a.klx", "gedit -s \"/work/my file's.klx\""};
#else
    const std::vector<std::string> started{"xdg-open /work/a.klx", "gedit -s '/work/my file'\\''s.klx'"};
#endif
    EXPECT_EQ(fake::startedPrograms, started);
    Record(4);
    gRecordingStore.gEvents[2] = EVENTMSG{};
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    EXPECT_EQ(fake::messageBoxes[0].text, "Total number of actions in /work/my file's.klx: 4");
    gRecording.gszFile[0] = '\0';
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    EXPECT_EQ(fake::messageBoxes[1].text, "Total number of actions in the current recording: 4");
    gRecording.nEventCount = 0;
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    EXPECT_EQ(fake::messageBoxes[2].text.substr(0, 41), "There are no actions currently recorded.\n");
    EXPECT_EQ(Captions(), "Total Commands|Total Commands|Total Commands|");
}
