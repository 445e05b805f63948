#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/command_state.h"

class CommandStateTest : public CoreTest {};

TEST_F(CommandStateTest, EachStateEnablesItsCommands) {
    const int ids[] = {ID_START_RECORDING, ID_USER_COMMAND, ID_OPEN, ID_STOP_RECORDING, ID_NEW, ID_PLAY,
                       ID_CLOSE, ID_SAVE_AS, ID_CREATE_EXE, ID_RELOAD_FILE, ID_EDIT_SCRIPT};
    struct Case {
        int state;
        const char* expected;  // one flag per id above; '-' means left as it was
    } cases[] = {{CMD_STATE_EMPTY, "11100000000"}, {CMD_STATE_IDLE, "1110111111-"}, {CMD_STATE_BUSY, "0001000000-"}};
    for (const Case& c : cases) {
        fake::commandEnabled.clear();
        SetCommandState(c.state);
        for (size_t i = 0; i < sizeof ids / sizeof ids[0]; ++i) {
            if (c.expected[i] == '-') {
                EXPECT_EQ(fake::commandEnabled.count(ids[i]), 0u) << "state " << c.state << " id " << ids[i];
            } else {
                EXPECT_EQ(fake::commandEnabled[ids[i]], c.expected[i] == '1') << "state " << c.state << " id " << ids[i];
            }
        }
    }
}

TEST_F(CommandStateTest, IdleStateRestoresTheTrayIdleIcon) {
    SetCommandState(CMD_STATE_IDLE);
    EXPECT_TRUE(fake::trayIcons.empty()) << "no tray icon shown";
    gdwShowTrayIcon = 1006;
    SetCommandState(CMD_STATE_BUSY);
    EXPECT_TRUE(fake::trayIcons.empty());
    SetCommandState(CMD_STATE_IDLE);
    ASSERT_EQ(fake::trayIcons.size(), 1u);
    EXPECT_EQ(fake::trayIcons[0].code, 1006);
    EXPECT_EQ(fake::trayIcons[0].tip, "Kelmor");
}
