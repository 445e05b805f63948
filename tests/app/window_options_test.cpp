#include "app/window_options.h"

#include <string>

#include "app/pane_procedure.h"
#include "platform/system.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/pane_description.h"

namespace {

const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

fake::Control& Pane(int control) { return fake::DialogControl(ID_PANES, control); }

void ClickPane(int control) {
    Pane(control).checked = !Pane(control).checked;
    fake::DialogCommand(ID_PANES, control, NOTIFY_CLICKED);
}

bool Checked(int id) { return fake::FindMenuItem(id)->checked; }

}  // namespace

class WindowOptionsTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    }
    // Topmost everywhere it shows: setting, menu, box, window and message boxes.
    void ExpectTopmost(bool on, const std::string& how) {
        EXPECT_EQ(gSettings.gbTopmost, on ? 1 : 0) << how;
        EXPECT_EQ(Checked(ID_ALWAYS_ON_TOP), on) << how;
        EXPECT_EQ(Pane(IDC_ALWAYS_ON_TOP).checked, on) << how;
        EXPECT_EQ(fake::mainWindowTopmost, on) << how;
        fake::messageBoxes.clear();
        KelmorMessageBox("t", "c", MB_OK);
        EXPECT_EQ(fake::messageBoxes[0].style, on ? (MB_TASKMODAL | MB_TOPMOST) : uint32_t{MB_TASKMODAL}) << how;
    }
};

TEST_F(WindowOptionsTest, AlwaysOnTopFromMenuBoxAndUserCommandStaysInStep) {
    SendCommand(ID_ALWAYS_ON_TOP);
    ExpectTopmost(true, "menu on");
    ClickPane(IDC_ALWAYS_ON_TOP);
    ExpectTopmost(false, "box off");
    SendCommand(ID_TOGGLE_TOPMOST);
    ExpectTopmost(true, "choice 1731 on");
    gSettings.gnUserCommand = ID_TOGGLE_TOPMOST;
    SendCommand(ID_USER_COMMAND);
    ExpectTopmost(false, "User Command off");
}

TEST_F(WindowOptionsTest, AutoStartWritesTheProgramsPathAndTakesItAway) {
    char own[MAX_PATH];
    ASSERT_GT(SysGetModuleFileName(own, sizeof own), 0);
    std::string value;
    SendCommand(ID_AUTO_START);
    EXPECT_TRUE(fake::StoredString(kRunKey, "Kelmor", &value) && value == own);
    EXPECT_TRUE(Checked(ID_AUTO_START) && Pane(IDC_AUTO_START).checked);
    SendCommand(ID_AUTO_START);
    EXPECT_FALSE(fake::StoredString(kRunKey, "Kelmor", &value));
    EXPECT_FALSE(Checked(ID_AUTO_START) || Pane(IDC_AUTO_START).checked);

    // Removed by hand: the box writes it again and the menu follows.
    ClickPane(IDC_AUTO_START);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Kelmor");
    SendCommand(ID_AUTO_START);
    EXPECT_TRUE(fake::StoredString(kRunKey, "Kelmor", &value) && Checked(ID_AUTO_START));
    ClickPane(IDC_AUTO_START);
    EXPECT_FALSE(fake::StoredString(kRunKey, "Kelmor", &value) || Checked(ID_AUTO_START));

    // The marks at start-up come from the value itself: checked only when it starts this
    // very program, by any path that leads to it.
    std::string spelled = own;
    const size_t separator = spelled.find_last_of("/\\");
    ASSERT_NE(separator, std::string::npos);
    spelled.insert(separator + 1, std::string(".") + spelled[separator]);
    const struct {
        std::string value;
        bool checked;
    } cases[] = {{"/opt/kelmor", false}, {own, true}, {spelled, true}, {"\"" + spelled + "\"", true},
                 {Path("kelmor"), false}};
    WriteFile(Path("kelmor"), "another copy");
    for (const auto& c : cases) {
        SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run\\Kelmor", REG_SZ,
                         c.value.c_str(), 0);
        CheckWindowOptionItems();
        ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
        EXPECT_EQ(Checked(ID_AUTO_START), c.checked) << c.value;
        EXPECT_EQ(Pane(IDC_AUTO_START).checked, c.checked) << c.value;
    }
    // Checking the box then makes this program the one started.
    SendCommand(ID_AUTO_START);
    EXPECT_TRUE(fake::StoredString(kRunKey, "Kelmor", &value) && value == own && Checked(ID_AUTO_START));
}

TEST_F(WindowOptionsTest, ShowPanesMakesThemAgainOnlyWhenMissing) {
    gSettings.gbShowTabs = 1;
    Pane(IDC_STATUS).text = "Service Active";
    SendCommand(ID_SHOW_PANES);
    EXPECT_EQ(Pane(IDC_STATUS).text, "Service Active") << "the panes there are kept, not built over";
    EXPECT_TRUE(fake::panesShown);
    fake::dialogs[ID_PANES].open = false;
    fake::panesShown = false;
    SendCommand(ID_SHOW_PANES);
    EXPECT_TRUE(fake::dialogs[ID_PANES].open && fake::panesShown);
    EXPECT_TRUE(fake::messageBoxes.empty());
}
