#include <string>

#include "player/playback_state.h"
#include "recording/file_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"

namespace {

const char kNoActions[] =
    "There are no actions currently recorded.\n\nPress the blue \"Start Recording\" button to begin saving actions.";
const uint32_t kError = MB_TASKMODAL | MB_OK | MB_ICONEXCLAMATION;

void Record(int count) {
    for (int i = 0; i < count; ++i) gEvents[i] = EVENTMSG{WM_KEYDOWN, static_cast<uint32_t>(65 + i), 1, 100, 0};
    nEventCount = count;
    gbModified = true;
}

void SetFile(const std::string& path) { snprintf(gszFile, sizeof gszFile, "%s", path.c_str()); }

std::string RecentFile1() {
    std::string value;
    fake::StoredString("SOFTWARE\\Kelmor", "File1", &value);
    return value;
}

}  // namespace

class FileCommandsTest : public CoreTest {};

TEST_F(FileCommandsTest, SavePromptCancelKeepsEverything) {
    Record(3);
    SetFile("/work/mine.klr");
    fake::messageBoxAnswers = {IDCANCEL};
    OnNew(ID_NEW);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to /work/mine.klr?");
    EXPECT_EQ(fake::messageBoxes[0].caption, "Confirm Action");
    EXPECT_EQ(fake::messageBoxes[0].style, static_cast<uint32_t>(MB_TASKMODAL | MB_YESNOCANCEL | MB_ICONEXCLAMATION));
    EXPECT_EQ(nEventCount, 3);
    EXPECT_STREQ(gszFile, "/work/mine.klr");
    EXPECT_TRUE(gbModified);
    EXPECT_TRUE(fake::commandEnabled.empty());
}

TEST_F(FileCommandsTest, NewAndCloseAfterNo) {
    Record(3);
    fake::messageBoxAnswers = {IDNO};
    OnClose(ID_CLOSE);
    ASSERT_EQ(fake::messageBoxes.size(), 1u) << "Close shows no New Recording notice";
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to (Untitled)?");
    EXPECT_EQ(nEventCount, 0);
    EXPECT_EQ(gEvents[0].message, 0u);
    EXPECT_FALSE(gbModified);
    EXPECT_EQ(fake::windowTitle, "Kelmor");
    EXPECT_FALSE(fake::commandEnabled[ID_NEW]);
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_TRUE(fake::commandEnabled[ID_OPEN]);

    // Nothing unsaved: no question, only the notice in the program's icon box.
    fake::messageBoxes.clear();
    OnNew(ID_NEW);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Press the blue \"Start Recording\" button to begin saving actions.");
    EXPECT_EQ(fake::messageBoxes[0].caption, "New Recording");
    EXPECT_EQ(fake::messageBoxes[0].style, static_cast<uint32_t>(MB_TASKMODAL | MB_USERICON));
    EXPECT_EQ(fake::messageBoxes[0].iconId, 1000);

    // Without PromptForSave neither the question nor the notice.
    fake::messageBoxes.clear();
    gbPromptForSave = 0;
    Record(2);
    OnNew(ID_NEW);
    EXPECT_TRUE(fake::messageBoxes.empty());
    EXPECT_EQ(nEventCount, 0);
}

TEST_F(FileCommandsTest, SavePromptYesSavesFirstAndStaysWhenNothingWasSaved) {
    Record(2);
    // Yes, then the dialog is cancelled: the changes are still unsaved, so they stay.
    fake::messageBoxAnswers = {IDYES};
    OnNew(ID_NEW);
    EXPECT_EQ(fake::fileDialogs.size(), 1u);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_TRUE(gbModified);
    EXPECT_STREQ(gszFile, "");

    std::string file = Path("kept.klr");
    fake::messageBoxAnswers = {IDYES};
    fake::fileDialogAnswers = {{true, file, 1}};
    OnClose(ID_CLOSE);
    EXPECT_EQ(ReadFile(file).size(), 40u);
    EXPECT_EQ(nEventCount, 0);
    EXPECT_STREQ(gszFile, "");
    EXPECT_EQ(fake::windowTitle, "Kelmor");
}

TEST_F(FileCommandsTest, SaveAsWritesTheChosenFormAndRemembersIt) {
    Record(2);
    std::string file = Path("rec.klx");
    fake::fileDialogAnswers = {{true, file, 2}};
    OnSaveAs(ID_SAVE_AS);
    ASSERT_EQ(fake::fileDialogs.size(), 1u);
    EXPECT_TRUE(fake::fileDialogs[0].save);
    EXPECT_EQ(fake::fileDialogs[0].initialName, "Task1");
    EXPECT_EQ(fake::fileDialogs[0].filterIndex, 1);
    EXPECT_NE(ReadFile(file).find("message=WM_KEYDOWN paramH=1 paramL=66 time=100\r\n"), std::string::npos);
    EXPECT_EQ(gbLastFileType, 2);
    EXPECT_TRUE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_EQ(fake::windowTitle, "Kelmor - rec.klx");
    EXPECT_FALSE(gbModified);
    EXPECT_EQ(RecentFile1(), file);

    // All Files and a name without a dot: binary, ".klr" appended.
    fake::fileDialogAnswers = {{true, Path("plain"), 3}};
    OnSaveAs(ID_SAVE_AS);
    EXPECT_EQ(fake::fileDialogs[1].initialName, file);
    EXPECT_EQ(fake::fileDialogs[1].filterIndex, 2);
    EXPECT_EQ(ReadFile(Path("plain.klr")).size(), 40u);
    EXPECT_STREQ(gszFile, Path("plain.klr").c_str());
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_EQ(gbLastFileType, 1);
}

TEST_F(FileCommandsTest, SaveAsConflictAndExeRefusalAskAgain) {
    Record(1);
    fake::fileDialogAnswers = {{true, Path("a.klr"), 2}, {true, Path("a.exe"), 3}, {true, Path("a.klx"), 2}};
    OnSaveAs(ID_SAVE_AS);
    ASSERT_EQ(fake::messageBoxes.size(), 2u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "File Type Conflict");
    EXPECT_EQ(fake::messageBoxes[0].text,
              "The Extension and File Type choices are not the same.\n\nPlease choose between .KLR or .KLX as a file "
              "format.");
    EXPECT_EQ(fake::messageBoxes[1].caption, "Save Error");
    EXPECT_EQ(fake::messageBoxes[1].text,
              "To compile an executable program, please use the \"Create Executable Program (.EXE)\" command in the "
              "Tools Menu.\n\nYou cannot create an .EXE program with \"File Save\".");
    EXPECT_EQ(fake::messageBoxes[1].style, kError);
    EXPECT_EQ(fake::fileDialogs.size(), 3u);
    EXPECT_FALSE(FileExists(Path("a.exe")));
    EXPECT_TRUE(FileExists(Path("a.klx")));
}

TEST_F(FileCommandsTest, SaveAsAsksBeforeReplacingAFile) {
    Record(1);
    std::string file = Path("old.klr");
    WriteFile(file, "previous content");
    SetFile("/work/current.klr");
    // No: asked again from the remembered name; then cancelled.
    fake::messageBoxAnswers = {IDNO};
    fake::fileDialogAnswers = {{true, file, 1}};
    OnSaveAs(ID_SAVE_AS);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, file + "\nThis file already exists.\nReplace existing file?");
    EXPECT_EQ(fake::messageBoxes[0].caption, "Save");
    EXPECT_EQ(fake::messageBoxes[0].style, static_cast<uint32_t>(MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION));
    ASSERT_EQ(fake::fileDialogs.size(), 2u);
    EXPECT_EQ(fake::fileDialogs[1].initialName, "/work/current.klr");
    EXPECT_STREQ(gszFile, "/work/current.klr");
    EXPECT_EQ(ReadFile(file), "previous content");

    fake::messageBoxAnswers = {IDYES};
    fake::fileDialogAnswers = {{true, file, 1}};
    OnSaveAs(ID_SAVE_AS);
    EXPECT_EQ(ReadFile(file).size(), 20u);

    // Without PromptForSave it is replaced unasked.
    fake::messageBoxes.clear();
    gbPromptForSave = 0;
    fake::fileDialogAnswers = {{true, file, 1}};
    OnSaveAs(ID_SAVE_AS);
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(FileCommandsTest, SaveAsRefusalsLeaveTheRecordingAsItWas) {
    OnSaveAs(ID_SAVE_AS);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, kNoActions);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Save Error");
    EXPECT_TRUE(fake::fileDialogs.empty());

    // A script recording cannot be saved in the binary form.
    Record(3);
    gEvents[1] = EVENTMSG{};
    fake::windowTitle = "Kelmor - script.klx";
    std::string file = Path("s.klr");
    fake::fileDialogAnswers = {{true, file, 1}};
    OnSaveAs(ID_SAVE_AS);
    EXPECT_NE(fake::messageBoxes.back().text.find("\"KLR\" binary format"), std::string::npos);
    EXPECT_EQ(ReadFile(file).size(), 20u) << "records before the empty one stay written";
    EXPECT_EQ(fake::windowTitle, "Kelmor - script.klx");
    EXPECT_TRUE(gbModified);
    EXPECT_STREQ(gszFile, file.c_str()) << "the new name stays current";
    EXPECT_EQ(RecentFile1(), file);
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_EQ(nEventCount, 3);
}

TEST_F(FileCommandsTest, OpenLoadsTheChosenFile) {
    std::string file = Path("Rec.KLX");
    WriteFile(file, "message=WM_KEYDOWN paramH=1 paramL=65 time=5\r\nTYPE hi\r\n");
    SetFile("/work/old.klr");
    gbSpeed = 3;
    gbPlayImmediately = 1;
    nCompletedPasses = 4;
    fake::fileDialogAnswers = {{true, file, 1}};
    OnOpen(ID_OPEN);
    ASSERT_EQ(fake::fileDialogs.size(), 1u);
    EXPECT_FALSE(fake::fileDialogs[0].save);
    EXPECT_EQ(fake::fileDialogs[0].initialName, "/work/old.klr");
    EXPECT_EQ(fake::fileDialogs[0].filterIndex, 1);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_EQ(nScriptCommands, 1);
    EXPECT_EQ(gbLastFileType, 2);
    EXPECT_EQ(fake::windowTitle, "Kelmor - Rec.KLX");
    EXPECT_TRUE(fake::commandEnabled[ID_PLAY]);
    EXPECT_TRUE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_EQ(fake::focusedSpeedButton, 3);
    EXPECT_FALSE(gbModified);
    EXPECT_EQ(nCompletedPasses, 0);
    EXPECT_EQ(RecentFile1(), file);
}

TEST_F(FileCommandsTest, OpenCancelledOrFailedKeepsTheWindow) {
    Record(2);
    gbModified = false;
    SetFile("/work/old.klr");
    fake::windowTitle = "Kelmor - old.klr";
    OnOpen(ID_OPEN);
    EXPECT_STREQ(gszFile, "/work/old.klr");
    EXPECT_EQ(nEventCount, 2);
    EXPECT_EQ(RecentFile1(), "");

    // A missing file: the loader reports it, and the window keeps its title.
    fake::messageBoxes.clear();
    fake::fileDialogAnswers = {{true, Path("missing.klr"), 1}};
    OnOpen(ID_OPEN);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Error");
    EXPECT_EQ(fake::windowTitle, "Kelmor - old.klr");
    EXPECT_EQ(nEventCount, 2);
}

TEST_F(FileCommandsTest, ReloadReadsTheFileAgainAndKeepsTheTitle) {
    std::string file = Path("r.klr");
    WriteFile(file, std::string(20, '\x02'));
    SetFile(file);
    fake::windowTitle = "Kelmor - r.klr";
    OnReloadCurrentFile(ID_RELOAD_FILE);
    EXPECT_EQ(nEventCount, 1);
    WriteFile(file, std::string(60, '\x02'));
    OnReloadCurrentFile(ID_RELOAD_FILE);
    EXPECT_EQ(nEventCount, 3);
    EXPECT_EQ(fake::windowTitle, "Kelmor - r.klr");
    EXPECT_TRUE(fake::messageBoxes.empty());

    gszFile[0] = '\0';
    OnReloadCurrentFile(ID_RELOAD_FILE);
    EXPECT_TRUE(fake::messageBoxes.empty()) << "untitled: nothing to reload, no internal error";
}

TEST_F(FileCommandsTest, EditScriptFileStartsTheEditor) {
    SetFile("/work/a.klx");
    OnEditScriptFile(ID_EDIT_SCRIPT);
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Editor", REG_SZ, "gedit --new-window", 0);
    OnEditScriptFile(ID_EDIT_SCRIPT);
    // Blanks and quotes in the name would split it into several arguments.
    SetFile("/work/my file's.klx");
    OnEditScriptFile(ID_EDIT_SCRIPT);
    ASSERT_EQ(fake::startedPrograms.size(), 3u);
    EXPECT_EQ(fake::startedPrograms[0], "xdg-open /work/a.klx");
    EXPECT_EQ(fake::startedPrograms[1], "gedit --new-window /work/a.klx");
    EXPECT_EQ(fake::startedPrograms[2], "gedit --new-window '/work/my file'\\''s.klx'");
    EXPECT_TRUE(fake::messageBoxes.empty());

    fake::startProgramSucceeds = false;
    OnEditScriptFile(ID_EDIT_SCRIPT);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Unable to edit /work/my file's.klx with \"gedit --new-window\"");
    EXPECT_EQ(fake::messageBoxes[0].caption, "Edit Error");
    EXPECT_EQ(fake::messageBoxes[0].style, kError);
}

TEST_F(FileCommandsTest, DisplayNumberOfActionsCountsEveryEvent) {
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    Record(4);
    gEvents[2] = EVENTMSG{};
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    SetFile("/work/x.klx");
    OnDisplayNumberOfActions(ID_DISPLAY_ACTIONS);
    ASSERT_EQ(fake::messageBoxes.size(), 3u);
    EXPECT_EQ(fake::messageBoxes[0].text, kNoActions);
    EXPECT_EQ(fake::messageBoxes[1].text, "Total number of actions in the current recording: 4");
    EXPECT_EQ(fake::messageBoxes[2].text, "Total number of actions in /work/x.klx: 4");
    for (const fake::MessageBoxCall& box : fake::messageBoxes) {
        EXPECT_EQ(box.caption, "Total Commands");
        EXPECT_EQ(box.style, static_cast<uint32_t>(MB_TASKMODAL | MB_OK | MB_ICONINFORMATION));
    }
}
