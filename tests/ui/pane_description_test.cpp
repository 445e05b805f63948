#include <set>
#include <string>

#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/pane_description.h"
#include "ui/small_dialog_description.h"

namespace {

void Quiet(int, int, int, int) {}

std::set<int> Shown() {
    std::set<int> shown;
    for (const auto& c : fake::dialogs[ID_PANES].controls) {
        if (c.second.shown) shown.insert(c.first);
    }
    return shown;
}

}  // namespace

class PaneDescriptionTest : public CoreTest {};

TEST_F(PaneDescriptionTest, EachPageShowsItsControlsBesideTheSharedOnes) {
    ASSERT_TRUE(DialogCreate(&kPaneDialog, Quiet));
    const std::set<int> shared = {IDC_PANE_TABS, IDC_STATUS, IDC_BACKGROUND};
    const std::set<int> pages[PANE_TAB_COUNT] = {
        {1158, 1025, 1026, 1028, 1029, 1159, 1034, 1033, 1160, 1090},
        {1045, 1053, 1055, 1052, 1117},
        {1136, 1123, 1161, 1122, 1162, 1085, 1124, 1126, 1127, 1148},
        {1136, 1123, 1163, 1038, 1164, 1125, 1138, 1139, 1147},
    };
    for (int tab : {TAB_KEYBOARD, TAB_PLAYBACK, TAB_OPTIONS, TAB_SHORTTYPE}) {
        ShowPaneTab(tab);
        std::set<int> expected = pages[tab];
        expected.insert(shared.begin(), shared.end());
        EXPECT_EQ(Shown(), expected) << kPaneTabNames[tab];
    }
    EXPECT_TRUE(fake::dialogErrors.empty());
}
