#include <string>
#include <vector>

#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/recent_files.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

const char* const kKey = "SOFTWARE\\Kelmor";

std::string Slot(int n) {
    std::string value;
    if (!fake::StoredString(kKey, "File" + std::to_string(n), &value)) return "<missing>";
    return value;
}

std::vector<std::string> Slots() {
    std::vector<std::string> slots;
    for (int n = 1; n <= 8; ++n) slots.push_back(Slot(n));
    return slots;
}

void PutSlot(int n, const std::string& path) {
    std::string value = std::string(kKey) + "\\File" + std::to_string(n);
    SetRegistryValue(HKEY_CURRENT_USER, value.c_str(), REG_SZ, path.c_str(), 0);
}

// The File menu from "Reset Recent Files" up to the separator before Exit.
std::vector<fake::MenuItem> RecentSection() {
    const std::vector<fake::MenuItem>& file = fake::menuBar[0];
    std::vector<fake::MenuItem> section;
    size_t i = 0;
    while (i < file.size() && file[i].id != 1068) ++i;
    for (++i; i < file.size() && file[i].id != 0; ++i) section.push_back(file[i]);
    return section;
}

}  // namespace

class RecentFilesTest : public CoreTest {};

TEST_F(RecentFilesTest, AddKeepsMostRecentFirstWithoutDuplicates) {
    AddRecentFile("/r/A.klr");
    AddRecentFile("/r/B.klr");
    AddRecentFile("/r/C.klr");
    EXPECT_EQ(Slots(), (std::vector<std::string>{"/r/C.klr", "/r/B.klr", "/r/A.klr", "", "", "", "", ""}));
    AddRecentFile("/r/b.KLR");
    EXPECT_EQ(Slots(), (std::vector<std::string>{"/r/b.KLR", "/r/C.klr", "/r/A.klr", "", "", "", "", ""}));
    // Slot 1 again in other letters, and the untitled name: nothing changes.
    AddRecentFile("/R/B.klr");
    AddRecentFile("(UNTITLED)");
    AddRecentFile("");
    EXPECT_EQ(Slot(1), "/r/b.KLR");
    EXPECT_EQ(Slot(4), "");
}

TEST_F(RecentFilesTest, NinthFileDropsTheOldestAndTooLongPathsStayOut) {
    for (int i = 1; i <= 9; ++i) AddRecentFile(("/r/" + std::to_string(i) + ".klx").c_str());
    std::vector<std::string> expected;
    for (int i = 9; i >= 2; --i) expected.push_back("/r/" + std::to_string(i) + ".klx");
    EXPECT_EQ(Slots(), expected);
    // The file in slot 8 moves to the top instead of falling off twice.
    AddRecentFile("/r/2.klx");
    EXPECT_EQ(Slot(1), "/r/2.klx");
    EXPECT_EQ(Slot(8), "/r/3.klx");
    // A slot holds 255 characters: a path of 256 would be stored cut, naming another file.
    std::string longPath = "/" + std::string(255, 'x');
    AddRecentFile(longPath.c_str());
    EXPECT_EQ(Slot(1), "/r/2.klx");
}

TEST_F(RecentFilesTest, RemovePacksTheList) {
    for (const char* p : {"/a", "/b", "/c", "/d"}) AddRecentFile(p);
    RemoveRecentFile("/C");
    EXPECT_EQ(Slots(), (std::vector<std::string>{"/d", "/b", "/a", "", "", "", "", ""}));
    RemoveRecentFile("(Untitled)");
    RemoveRecentFile("/zzz");
    EXPECT_EQ(Slot(3), "/a");
}

TEST_F(RecentFilesTest, MenuShowsTheFirstSlotsAfterResetRecentFiles) {
    for (int i = 1; i <= 8; ++i) PutSlot(i, "/m/" + std::to_string(i));
    gbRecentListSize = 3;
    RebuildRecentMenu(true, true);
    std::vector<fake::MenuItem> section = RecentSection();
    ASSERT_EQ(section.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(section[i].id, 1741 + i);
        EXPECT_EQ(section[i].text, "/m/" + std::to_string(i + 1));
    }
    EXPECT_EQ(fake::menuBar[0].back().id, 1030) << "Exit stays last";

    // Raised in the options: remove with the old size, add with the new one.
    RebuildRecentMenu(true, false);
    gbRecentListSize = 20;
    RebuildRecentMenu(false, true);
    EXPECT_EQ(gbRecentListSize, 8) << "the size is clamped in memory too";
    section = RecentSection();
    ASSERT_EQ(section.size(), 8u);
    EXPECT_EQ(section[7].id, 1748);
    EXPECT_EQ(section[7].text, "/m/8");

    // Shrunk without removing with the old size first: no entry is left twice.
    gbRecentListSize = 2;
    RebuildRecentMenu(true, true);
    EXPECT_EQ(RecentSection().size(), 2u);

    gbRecentListSize = 0;
    RebuildRecentMenu(true, true);
    EXPECT_TRUE(RecentSection().empty());
}

TEST_F(RecentFilesTest, EntryBehindAnEmptySlotHasNoAnchor) {
    PutSlot(1, "/m/1");
    PutSlot(3, "/m/3");
    RebuildRecentMenu(true, true);
    std::vector<fake::MenuItem> section = RecentSection();
    ASSERT_EQ(section.size(), 1u);
    EXPECT_EQ(section[0].id, 1741);
}

TEST_F(RecentFilesTest, MissingRecentFileAsksToRemoveIt) {
    std::string gone = Path("gone.klr");
    std::string empty = Path("empty.klr");
    WriteFile(empty, "");
    AddRecentFile(gone.c_str());
    AddRecentFile(empty.c_str());
    RebuildRecentMenu(true, true);
    fake::windowTitle = "Kelmor - old.klr";
    snprintf(gszFile, sizeof gszFile, "%s", "/old.klr");

    fake::messageBoxAnswers = {IDNO};
    OnOpenRecentFile(1741);  // the empty file
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text,
              "Unable to open recent file " + empty +
                  "!\n\nDo you want to remove it from the recent file list menu?");
    EXPECT_EQ(fake::messageBoxes[0].caption, empty);
    EXPECT_EQ(fake::messageBoxes[0].style, static_cast<uint32_t>(MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(Slot(1), empty) << "No keeps it";
    EXPECT_STREQ(gszFile, "");
    EXPECT_EQ(fake::windowTitle, "Kelmor");
    EXPECT_TRUE(fake::fileDialogs.empty());

    fake::messageBoxAnswers = {IDYES};
    OnOpenRecentFile(1742);  // the missing file
    EXPECT_EQ(Slot(1), empty);
    EXPECT_EQ(Slot(2), "");
    ASSERT_EQ(RecentSection().size(), 1u);
    EXPECT_EQ(RecentSection()[0].text, empty);
}

TEST_F(RecentFilesTest, RecentFileOpensWithoutTheDialog) {
    std::string file = Path("rec.klr");
    WriteFile(file, std::string(40, '\x01'));
    AddRecentFile("/r/other.klr");
    AddRecentFile(file.c_str());
    OnOpenRecentFile(1741);
    EXPECT_TRUE(fake::fileDialogs.empty());
    EXPECT_FALSE(gbFileChosen) << "Open takes the mark away";
    EXPECT_EQ(std::string(gszFile), file);
    EXPECT_EQ(nEventCount, 2);
    EXPECT_EQ(fake::windowTitle, "Kelmor - rec.klr");
}

TEST_F(RecentFilesTest, UnsavedRecordingIsAskedAboutUnderItsOwnName) {
    std::string file = Path("rec.klr");
    WriteFile(file, std::string(20, '\x01'));
    AddRecentFile(file.c_str());
    snprintf(gszFile, sizeof gszFile, "%s", "/work/current.klr");
    gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0};
    nEventCount = 1;
    gbModified = true;

    fake::messageBoxAnswers = {IDCANCEL};
    OnOpenRecentFile(1741);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].text, "Save changes to /work/current.klr?");
    EXPECT_STREQ(gszFile, "/work/current.klr") << "Cancel keeps the current file";
    EXPECT_TRUE(gbModified);
    EXPECT_FALSE(gbFileChosen);

    fake::messageBoxAnswers = {IDNO};
    OnOpenRecentFile(1741);
    EXPECT_EQ(fake::messageBoxes.size(), 2u) << "asked once, not again by Open";
    EXPECT_EQ(std::string(gszFile), file);
    EXPECT_EQ(gEvents[0].paramL, 0x01010101u);
}

TEST_F(RecentFilesTest, ResetRemovesTheValuesUnlessTheAnswerIsNo) {
    for (const char* p : {"/a", "/b", "/c"}) AddRecentFile(p);
    RebuildRecentMenu(true, true);
    fake::messageBoxAnswers = {IDNO};
    OnResetRecentFiles(1068);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Reset Recent Files");
    EXPECT_EQ(fake::messageBoxes[0].text,
              "This command will remove all of the previous links to recent files.\n\nAre you sure that you want to "
              "proceed?");
    EXPECT_EQ(Slot(1), "/c");
    EXPECT_EQ(RecentSection().size(), 3u);

    fake::messageBoxAnswers = {IDYES};
    OnResetRecentFiles(1068);
    for (int n = 1; n <= 8; ++n) EXPECT_EQ(Slot(n), "<missing>") << "File" << n;
    EXPECT_TRUE(RecentSection().empty());
}
