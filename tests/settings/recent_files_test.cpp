#include <string>

#include "recording/recent_file_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

std::string Slots() {
    std::string all;
    for (int n = 1; n <= 8; ++n) {
        std::string value = "-";
        fake::StoredString("SOFTWARE\\Kelmor", "File" + std::to_string(n), &value);
        all += value + (n < 8 ? "," : "");
    }
    return all;
}

// Ids and texts of the File menu between "Reset Recent Files" and the next separator.
std::string RecentMenu() {
    std::string shown;
    const std::vector<fake::MenuItem>& file = fake::menuBar[0];
    size_t i = 0;
    while (file[i].id != 1068) ++i;
    for (++i; file[i].id != 0; ++i) shown += std::to_string(file[i].id) + "=" + file[i].text + " ";
    return shown;
}

}  // namespace

class RecentFilesTest : public CoreTest {};

TEST_F(RecentFilesTest, MostRecentFirstPackedAndUnique) {
    for (const char* p : {"/A", "/B", "/C", "/b", "/B", "(untitled)", ""}) AddRecentFile(p);
    EXPECT_EQ(Slots(), "/b,/C,/A,,,,,");
    for (int i = 1; i <= 9; ++i) AddRecentFile(("/" + std::to_string(i)).c_str());
    EXPECT_EQ(Slots(), "/9,/8,/7,/6,/5,/4,/3,/2");
    AddRecentFile(("/" + std::string(255, 'x')).c_str());  // would not fit a slot whole
    RemoveRecentFile("/7");
    RemoveRecentFile("/none");
    EXPECT_EQ(Slots(), "/9,/8,/6,/5,/4,/3,/2,");
}

TEST_F(RecentFilesTest, MenuShowsTheFirstSlotsInOrder) {
    for (const char* p : {"/3", "/2", "/1"}) AddRecentFile(p);
    gSettings.gbRecentListSize = 2;
    RebuildRecentMenu(true, true);
    EXPECT_EQ(RecentMenu(), "1741=/1 1742=/2 ");
    gSettings.gbRecentListSize = 20;
    RebuildRecentMenu(true, true);
    EXPECT_EQ(gSettings.gbRecentListSize, 8);
    EXPECT_EQ(RecentMenu(), "1741=/1 1742=/2 1743=/3 ");
    gSettings.gbRecentListSize = 1;  // shrunk: no entry stays behind twice
    RebuildRecentMenu(true, true);
    EXPECT_EQ(RecentMenu(), "1741=/1 ");
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\File2", REG_SZ, "", 0);
    gSettings.gbRecentListSize = 8;
    RebuildRecentMenu(true, true);
    EXPECT_EQ(RecentMenu(), "1741=/1 ") << "behind an empty slot there is no anchor";
}

TEST_F(RecentFilesTest, MissingFileQuestion) {
    WriteFile(Path("empty.klr"), "");
    AddRecentFile(Path("gone.klr").c_str());
    AddRecentFile(Path("empty.klr").c_str());
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/old.klr");
    fake::messageBoxAnswers = {IDNO, IDYES};
    OnOpenRecentFile(1741);
    EXPECT_EQ(fake::messageBoxes[0].text, "Unable to open recent file " + Path("empty.klr") +
                                              "!\n\nDo you want to remove it from the recent file list menu?");
    EXPECT_EQ(fake::messageBoxes[0].caption, Path("empty.klr"));
    EXPECT_STREQ(gRecording.gszFile, "");
    EXPECT_EQ(fake::windowTitle, "Kelmor");
    OnOpenRecentFile(1742);
    EXPECT_EQ(Slots(), Path("empty.klr") + ",,,,,,,");
    EXPECT_EQ(RecentMenu(), "1741=" + Path("empty.klr") + " ");
    EXPECT_TRUE(fake::fileDialogs.empty());
}

TEST_F(RecentFilesTest, OpensWithoutDialogAfterAskingUnderTheCurrentName) {
    std::string file = Path("rec.klr");
    WriteFile(file, std::string(20, '\x01'));
    AddRecentFile(file.c_str());
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "/work/current.klr");
    gRecordingStore.gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0};
    gRecording.nEventCount = 1;
    gRecording.gbModified = true;
    fake::messageBoxAnswers = {IDCANCEL, IDNO};
    OnOpenRecentFile(1741);
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to /work/current.klr?");
    EXPECT_STREQ(gRecording.gszFile, "/work/current.klr") << "Cancel keeps the current file";
    OnOpenRecentFile(1741);
    EXPECT_EQ(fake::messageBoxes.size(), 2u) << "asked once, not again by Open";
    EXPECT_TRUE(fake::fileDialogs.empty());
    EXPECT_EQ(std::string(gRecording.gszFile), file);
    EXPECT_EQ(gRecordingStore.gEvents[0].paramL, 0x01010101u);
    EXPECT_EQ(fake::windowTitle, "Kelmor - rec.klr");
}

TEST_F(RecentFilesTest, ResetRemovesTheValuesUnlessTheAnswerIsNo) {
    for (const char* p : {"/a", "/b"}) AddRecentFile(p);
    RebuildRecentMenu(true, true);
    fake::messageBoxAnswers = {IDNO, IDYES};
    OnResetRecentFiles(1068);
    EXPECT_EQ(Slots(), "/b,/a,,,,,,");
    OnResetRecentFiles(1068);
    EXPECT_EQ(Slots(), "-,-,-,-,-,-,-,-");
    EXPECT_EQ(RecentMenu(), "");
}
