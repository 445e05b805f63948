#include <cstring>
#include <set>
#include <string>

#include "recording/recording_file.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/menu_description.h"
#include "ui/toolbar_description.h"

class MenuDescriptionTest : public CoreTest {};

TEST_F(MenuDescriptionTest, MenusNestAndEveryIdIsUnique) {
    std::set<int> ids;
    int depth = 0, topMenus = 0;
    for (int i = 0; i < kMenuBarCount; ++i) {
        const MenuEntry& e = kMenuBar[i];
        if (e.kind == MENU_POPUP && depth++ == 0) ++topMenus;
        if (e.kind == MENU_END) {
            ASSERT_GT(depth--, 0) << "entry " << i;
        }
        if (e.kind == MENU_ITEM) {
            ASSERT_TRUE(e.text != nullptr && e.text[0] != '\0') << e.id;
            EXPECT_TRUE(ids.insert(e.id).second) << "twice: " << e.id;
        }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(topMenus, 5);
}

TEST_F(MenuDescriptionTest, EveryCommandOfTheTableHasASource) {
    std::set<int> sources = {ID_SHOW_PANES, ID_FAST_SPEED, ID_TOGGLE_TOPMOST, ID_SERVICE_PLAYBACK,
                             ID_SERVICE_PLAYFILE};  // no menu: internal, User Command and service commands
    for (int id = ID_RECENT_FILE_1; id <= ID_RECENT_FILE_8; ++id) sources.insert(id);
    for (int i = 0; i < kMenuBarCount; ++i) sources.insert(kMenuBar[i].id);
    for (int i = 0; i < kTrayMenuCount; ++i) sources.insert(kTrayMenu[i].id);
    for (int i = 0; i < kToolbarCount; ++i) sources.insert(kToolbar[i].command);
    int handled = 0;
    for (int id = 1; id < 2000; ++id) {
        if (FindCommandHandler(id) == nullptr) continue;
        ++handled;
        EXPECT_TRUE(sources.count(id)) << "command " << id << " has no menu item, button or known sender";
    }
    EXPECT_GT(handled, 20);
}

TEST_F(MenuDescriptionTest, AcceleratorsMatchTheKeysWrittenInTheItems) {
    // Each accelerator's key is written after the tab of its command's item, and only there.
    int withKeys = 0;
    for (int i = 0; i < kMenuBarCount; ++i) withKeys += kMenuBar[i].text && strchr(kMenuBar[i].text, '\t');
    EXPECT_EQ(withKeys, kAcceleratorCount);
    for (int i = 0; i < kAcceleratorCount; ++i) {
        const Accelerator& a = kAccelerators[i];
        std::string key = a.key >= 0x70 ? "F" + std::to_string(a.key - 0x6F) : std::string(1, static_cast<char>(a.key));
        const std::string text = FindMenuEntry(a.command)->text;
        EXPECT_EQ(text.substr(text.find('\t') + 1), (a.ctrl ? "Ctrl+" : "") + key) << a.command;
    }
}

TEST_F(MenuDescriptionTest, RecentFilesFollowResetRecentFiles) {
    int mark = 0;
    while (mark < kMenuBarCount && kMenuBar[mark].kind != MENU_RECENT_FILES) ++mark;
    ASSERT_LT(mark, kMenuBarCount);
    EXPECT_EQ(kMenuBar[mark - 1].id, ID_RESET_RECENT_FILES);
    EXPECT_EQ(kMenuBar[mark + 1].kind, MENU_SEPARATOR);
}

TEST_F(MenuDescriptionTest, ToolbarTipsStayInStepWithTheButtonsAndTheirKeys) {
    // A tip list out of step shows every later button with its neighbour's tip.
    for (int n = 0; n <= kToolbarCount; ++n) {
        char tip[80];
        GetListField(kToolbarTips, '|', n, tip, sizeof tip);
        if (n == kToolbarCount || kToolbar[n].command == 0) {
            EXPECT_STREQ(tip, n == kToolbarCount ? "" : " ") << "position " << n;
            continue;
        }
        const MenuEntry* entry = FindMenuEntry(kToolbar[n].command);  // User Command has no item
        const std::string item = entry ? entry->text : "";
        const std::string key = item.find('\t') == std::string::npos ? "" : " (" + item.substr(item.find('\t') + 1) + ")";
        const std::string text = tip;
        EXPECT_EQ(text.find(" ("), key.empty() ? std::string::npos : text.size() - key.size()) << text;
        EXPECT_EQ(text.substr(text.size() - key.size()), key) << text;
    }
}
