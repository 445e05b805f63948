#include <string>

#include "platform/window.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"
#include "ui/menu_description.h"

namespace {

// The greyed items of the fake menu bar, in menu order.
std::string Grayed() {
    std::string grayed;
    for (const auto& menu : fake::menuBar) {
        for (const fake::MenuItem& item : menu) {
            if (item.grayed) grayed += std::to_string(item.id) + " ";
        }
    }
    return grayed;
}

}  // namespace

class CommandStateTest : public CoreTest {};

TEST_F(CommandStateTest, TransitionsKeepEditScriptAsTheFileSetIt) {
    EXPECT_EQ(Grayed(), "1058 1056 ") << "as the menu is built";
    SetCommandState(CMD_STATE_EMPTY);  // at window creation
    EXPECT_EQ(Grayed(), "1066 1103 1067 1061 1058 1056 1135 1105 ");
    EXPECT_TRUE(fake::commandEnabled[ID_USER_COMMAND]) << "the toolbar-only command";
    SetCommandState(CMD_STATE_IDLE);  // a binary file was opened: Edit Script stays grey
    EXPECT_EQ(Grayed(), "1058 1105 ");
    ShellEnableCommand(ID_EDIT_SCRIPT, true);  // as a text recording's load does
    SetCommandState(CMD_STATE_BUSY);
    EXPECT_EQ(Grayed(), "1066 1051 1103 1067 1061 1054 1056 1135 ");
    EXPECT_FALSE(fake::commandEnabled[ID_USER_COMMAND]) << "the toolbar's own button follows too";
    SetCommandState(CMD_STATE_IDLE);
    EXPECT_EQ(Grayed(), "1058 ");
    EXPECT_TRUE(fake::commandEnabled[ID_USER_COMMAND]);
    SetCommandState(CMD_STATE_EMPTY);  // New or Close
    EXPECT_EQ(Grayed(), "1066 1103 1067 1061 1058 1056 1135 1105 ");
}

TEST_F(CommandStateTest, MenuOpeningRules) {
    ApplyMenuOpeningRules(true, false);
    EXPECT_EQ(fake::commandEnabled.count(ID_EDIT_SCRIPT), 0u) << "a file with content leaves Edit Script alone";
    EXPECT_FALSE(fake::commandEnabled[ID_VIEW_LOG]);
    ApplyMenuOpeningRules(false, true);
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_TRUE(fake::commandEnabled[ID_VIEW_LOG]);
}

TEST_F(CommandStateTest, TrayMenuShowsAndGreysByHookServiceAndEvents) {
    auto shown = [](bool hooked, bool serviceOn, bool events) {
        std::string s;
        for (int i = 0; i < kTrayMenuCount; ++i) {
            const MenuEntry& e = kTrayMenu[i];
            if (e.kind != MENU_ITEM || !TrayEntryShown(e, serviceOn)) continue;
            s += std::to_string(e.id) + (TrayEntryEnabled(e, hooked, events) ? " " : "g ");
        }
        return s;
    };
    EXPECT_EQ(shown(false, true, true), "1734 1735g 1736 1737 1739 1740 ");
    EXPECT_EQ(shown(false, false, false), "1734 1735g 1736g 1738 1739 1740 ");
    EXPECT_EQ(shown(true, false, true), "1734g 1735 1736g 1738 1739 1740 ");
}

TEST_F(CommandStateTest, IdleStateRestoresTheTrayIdleIcon) {
    SetCommandState(CMD_STATE_IDLE);
    EXPECT_TRUE(fake::trayIcons.empty()) << "no tray icon shown";
    gSettings.gdwShowTrayIcon = 1006;
    SetCommandState(CMD_STATE_BUSY);
    EXPECT_TRUE(fake::trayIcons.empty());
    SetCommandState(CMD_STATE_IDLE);
    ASSERT_EQ(fake::trayIcons.size(), 1u);
    EXPECT_EQ(fake::trayIcons[0].code, 1006);
    EXPECT_EQ(fake::trayIcons[0].tip, "Kelmor");
}
