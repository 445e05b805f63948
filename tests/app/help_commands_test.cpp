#include <string>
#include <vector>

#include "app/help_commands.h"
#include "app/pane_procedure.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/pane_description.h"

namespace {

std::string PagePath(const char* program, const char* page, int size = MAX_PATH) {
    char out[MAX_PATH];
    const int length = HelpPagePath(program, page, out, size);
    EXPECT_EQ(length, static_cast<int>(std::string(out).size()));
    return out;
}

std::string Uri(const char* path, const char* anchor, int size = 256) {
    char out[256];
    const int length = FileUri(path, anchor, out, size);
    EXPECT_EQ(length, static_cast<int>(std::string(out).size()));
    return out;
}

// The running program's help folder as a file URI: the test program stands in for kelmor.
std::string HelpUri(const std::string& rest) {
    char program[MAX_PATH];
    SysGetModuleFileName(program, sizeof program);
    const std::string path = program;
    return "file://" + path.substr(0, path.rfind('/') + 1) + "help/" + rest;
}

void Choose(int id) {
    ASSERT_NE(FindCommandHandler(id), nullptr) << id << " has no handler: its menu item stays grey";
    FindCommandHandler(id)(id);
}

}  // namespace

class HelpCommandsTest : public CoreTest {};

TEST_F(HelpCommandsTest, PagesLiveBesideTheProgramOrInTheShareFolderOfItsBinFolder) {
    EXPECT_EQ(PagePath("/work/build/kelmor", "KelmorFAQ.html"), "/work/build/help/KelmorFAQ.html");
    EXPECT_EQ(PagePath("/usr/local/bin/kelmor", "KelmorFAQ.html"), "/usr/local/share/kelmor/help/KelmorFAQ.html");
    EXPECT_EQ(PagePath("/bin/kelmor", "a.html"), "/share/kelmor/help/a.html");
    // Only a folder named bin as a whole counts.
    EXPECT_EQ(PagePath("/opt/cabin/kelmor", "a.html"), "/opt/cabin/help/a.html");
    EXPECT_EQ(PagePath("C:\\Program Files\\Kelmor\\Kelmor.exe", "a.html"), "C:\\Program Files\\Kelmor\\help\\a.html");
    // Windows keeps it beside the program in any folder.
    EXPECT_EQ(PagePath("Z:\\opt\\bin\\Kelmor.exe", "a.html"), "Z:\\opt\\bin\\help\\a.html");
    // A path that does not fit is no path: a cut one would name another file.
    EXPECT_EQ(PagePath("/work/build/kelmor", "KelmorFAQ.html", 31), "");
    EXPECT_EQ(PagePath("/work/build/kelmor", "KelmorFAQ.html", 32), "/work/build/help/KelmorFAQ.html");
}

TEST_F(HelpCommandsTest, FileUrisEscapeWhatWouldChangeTheirMeaning) {
    EXPECT_EQ(Uri("/a b/50%#1?/é.html", "topic-1064"), "file:///a%20b/50%25%231%3F/%C3%A9.html#topic-1064");
    EXPECT_EQ(Uri("C:\\Kelmor\\help\\KelmorGuide.html", ""), "file:///C:/Kelmor/help/KelmorGuide.html");
    EXPECT_EQ(Uri("/a b", nullptr, 13), "");
    EXPECT_EQ(Uri("/a b", nullptr, 14), "file:///a%20b");
}

TEST_F(HelpCommandsTest, HelpForThisScreenOpensTheTopicOfTheCurrentTab) {
    Choose(ID_HELP_SCREEN);  // no panes: the contents at their top
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    for (int tab = 0; tab < PANE_TAB_COUNT; ++tab) {
        DialogListSelect(ID_PANES, IDC_PANE_TABS, tab);
        Choose(ID_HELP_SCREEN);
    }
    Choose(ID_HELP_CONTENTS);
    EXPECT_EQ(fake::openedUris,
              (std::vector<std::string>{HelpUri("KelmorGuide.html"), HelpUri("KelmorGuide.html#topic-1064"),
                                        HelpUri("KelmorGuide.html#topic-1063"), HelpUri("KelmorGuide.html#topic-1088"),
                                        HelpUri("KelmorGuide.html#topic-1092"), HelpUri("KelmorGuide.html")}));
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(HelpCommandsTest, PagesAndAddressesOfTheHelpMenuAndWhatCannotBeOpened) {
    for (int id : {ID_SCRIPT_REFERENCE, ID_REVISIONS}) Choose(id);
    EXPECT_EQ(fake::openedUris,
              (std::vector<std::string>{HelpUri("KelmorScript.html"), HelpUri("KelmorRevisions.html")}));
    EXPECT_TRUE(fake::messageBoxes.empty());
    // Said with the path that could not be opened, or under the address.
    fake::openSucceeds = false;
    Choose(ID_FAQ);
    ExpectBox("\"Unable to open the help file\"\n\n" + HelpUri("KelmorFAQ.html").substr(7), "Kelmor Help");
    Choose(ID_SUPPORT_MAIL);
    ExpectBox("Unable to open a mail program to write to support@kelmor.example.org.\n\nYou can write to this "
              "address from the mail program you use.",
              "Email Tech Support");
    Choose(ID_WEB);
    ExpectBox("Unable to locate 'https://kelmor.example.org'", "Internet Error");
}

TEST_F(HelpCommandsTest, TheHelpGadgetsOpenTheirTopics) {
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    for (int gadget : {1148, 1147}) {
        EXPECT_TRUE(fake::DialogControl(ID_PANES, gadget).enabled) << gadget;
        fake::DialogCommand(ID_PANES, gadget, NOTIFY_CLICKED);
    }
    EXPECT_EQ(fake::openedUris, (std::vector<std::string>{HelpUri("KelmorGuide.html#topic-1148"),
                                                          HelpUri("KelmorGuide.html#topic-1147")}));
    EXPECT_TRUE(fake::dialogErrors.empty());
}
