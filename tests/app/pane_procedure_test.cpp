#include "app/pane_procedure.h"

#include <string>

#include "platform/wintypes.h"
#include "player/playback_control.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/pane_description.h"

namespace {

uint32_t Stored(const char* name) {
    uint32_t value = 0;
    return fake::StoredDword(KELMOR_KEY, name, &value) ? value : 0xdeadbeefu;
}

fake::Control& Pane(int control) { return fake::DialogControl(ID_PANES, control); }

// What a person's click on an option button does: the group's mark moves to it.
void ChooseSpeed(int control) {
    for (int id : {IDC_SPEED_SLOW, IDC_SPEED_NORMAL, IDC_SPEED_FAST, IDC_SPEED_FASTEST}) {
        Pane(id).checked = id == control;
    }
    fake::DialogCommand(ID_PANES, control, NOTIFY_CLICKED);
}

void TypeRepeats(const char* text) {
    Pane(IDC_REPEAT_COUNT).text = text;
    fake::DialogCommand(ID_PANES, IDC_REPEAT_COUNT, NOTIFY_CHANGED);
}

}  // namespace

class PaneProcedureTest : public CoreTest {};

TEST_F(PaneProcedureTest, OpensOnTheLastTabWithTheSettingsShown) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\LastTab", REG_DWORD, nullptr, 3);
    gSettings.gbSpeed = 3;
    gSettings.gnRepeats = 42;
    gSettings.gbContinuous = 1;
    gSettings.gbReload = 1;
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    EXPECT_EQ(Pane(IDC_PANE_TABS).items, (std::vector<std::string>{"Playback", "Options", "Keyboard", "ShortType"}));
    EXPECT_EQ(Pane(IDC_PANE_TABS).selection, TAB_KEYBOARD);
    EXPECT_EQ(gSettings.gnLastTab, 3) << "saved again at the exit as it was";
    EXPECT_TRUE(Pane(IDC_ACTIVATE).shown && Pane(IDC_TRAY_ICON).shown && Pane(IDC_STATUS).shown);
    EXPECT_FALSE(Pane(IDC_SPEED_FAST).shown) << "the Playback tab's controls wait for their tab";
    EXPECT_TRUE(Pane(IDC_SPEED_FAST).checked);
    EXPECT_FALSE(Pane(IDC_SPEED_NORMAL).checked);
    EXPECT_EQ(Pane(IDC_REPEAT_COUNT).text, "42");
    EXPECT_TRUE(Pane(IDC_CONTINUOUS).checked);
    EXPECT_FALSE(Pane(IDC_REPEAT_COUNT).enabled || Pane(IDC_REPEAT_ARROWS).enabled || Pane(IDC_REPEAT_TIMES).enabled);
    EXPECT_TRUE(Pane(IDC_RELOAD).checked && Pane(IDC_RELOAD).enabled);
    EXPECT_TRUE(Pane(IDC_AUTO_START).enabled && Pane(IDC_ALWAYS_ON_TOP).enabled);

    Pane(IDC_PANE_TABS).selection = TAB_OPTIONS;
    fake::DialogCommand(ID_PANES, IDC_PANE_TABS, NOTIFY_CHANGED);
    EXPECT_EQ(gSettings.gnLastTab, 2);
    EXPECT_TRUE(Pane(IDC_RELOAD).shown);
    EXPECT_FALSE(Pane(IDC_ACTIVATE).shown);
    EXPECT_TRUE(fake::dialogErrors.empty());
}

TEST_F(PaneProcedureTest, PlaybackControlsWriteTheirSettingAtOnce) {
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    ChooseSpeed(IDC_SPEED_FASTEST);
    EXPECT_EQ(gSettings.gbSpeed, 4);
    EXPECT_EQ(Stored("Speed"), 4u);
    ChooseSpeed(IDC_SPEED_SLOW);
    EXPECT_EQ(Stored("Speed"), 1u);
    EXPECT_FALSE(Pane(IDC_SPEED_FASTEST).checked);

    const struct { const char* typed; uint32_t repeats; } counts[] = {
        {"0", 1}, {"", 1}, {"17", 17}, {"123456789", 1234567}, {"9999999", 9999999}};
    for (const auto& c : counts) {
        TypeRepeats(c.typed);
        EXPECT_EQ(Stored("Repeats"), c.repeats) << c.typed;
        EXPECT_EQ(gSettings.gnRepeats, static_cast<int32_t>(c.repeats)) << c.typed;
    }
    TypeRepeats("1");
    fake::DialogCommand(ID_PANES, IDC_REPEAT_ARROWS, NOTIFY_SPIN_DOWN);
    EXPECT_EQ(Pane(IDC_REPEAT_COUNT).text, "1") << "no count below one";
    fake::DialogCommand(ID_PANES, IDC_REPEAT_ARROWS, NOTIFY_SPIN_UP);
    EXPECT_EQ(Pane(IDC_REPEAT_COUNT).text, "2");
    EXPECT_EQ(Stored("Repeats"), 2u);

    Pane(IDC_CONTINUOUS).checked = true;
    fake::DialogCommand(ID_PANES, IDC_CONTINUOUS, NOTIFY_CLICKED);
    EXPECT_EQ(Stored("Continuous"), 1u);
    EXPECT_FALSE(Pane(IDC_REPEAT_COUNT).enabled);
    Pane(IDC_CONTINUOUS).checked = false;
    fake::DialogCommand(ID_PANES, IDC_CONTINUOUS, NOTIFY_CLICKED);
    EXPECT_EQ(Stored("Continuous"), 0u);
    EXPECT_TRUE(Pane(IDC_REPEAT_COUNT).enabled && Pane(IDC_REPEAT_TIMES).enabled);
}

TEST_F(PaneProcedureTest, TheThirdOfReloadPlayAndQuitIsRefused) {
    gSettings.gbQuitWhenDone = 1;
    gSettings.gbReload = 1;
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    Pane(IDC_PLAY_IMMEDIATELY).checked = true;
    fake::DialogCommand(ID_PANES, IDC_PLAY_IMMEDIATELY, NOTIFY_CLICKED);
    EXPECT_EQ(gSettings.gbPlayImmediately, 0);
    EXPECT_FALSE(Pane(IDC_PLAY_IMMEDIATELY).checked);
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Kelmor Warning");

    // With only one of the other two on, the box is taken.
    gSettings.gbQuitWhenDone = 0;
    Pane(IDC_PLAY_IMMEDIATELY).checked = true;
    fake::DialogCommand(ID_PANES, IDC_PLAY_IMMEDIATELY, NOTIFY_CLICKED);
    EXPECT_EQ(gSettings.gbPlayImmediately, 1);
    Pane(IDC_RELOAD).checked = false;
    fake::DialogCommand(ID_PANES, IDC_RELOAD, NOTIFY_CLICKED);
    EXPECT_EQ(gSettings.gbReload, 0);
    EXPECT_EQ(fake::messageBoxes.size(), 1u);
}

TEST_F(PaneProcedureTest, CtrlPageKeysGoRoundTheTabsUnlessRecordingOrInTheKeysField) {
    ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    ASSERT_EQ(Pane(IDC_PANE_TABS).selection, TAB_PLAYBACK);
    EXPECT_TRUE(OnPaneTabKey(VK_PRIOR, true));
    EXPECT_EQ(Pane(IDC_PANE_TABS).selection, TAB_SHORTTYPE) << "before the first comes the fourth";
    EXPECT_EQ(gSettings.gnLastTab, 4);
    EXPECT_TRUE(Pane(IDC_ACTIVATE).shown);
    EXPECT_TRUE(OnPaneTabKey(VK_NEXT, true));
    EXPECT_EQ(Pane(IDC_PANE_TABS).selection, TAB_PLAYBACK) << "after the fourth comes the first";
    EXPECT_FALSE(OnPaneTabKey(VK_NEXT, false)) << "without Ctrl the key goes to the control";
    EXPECT_FALSE(OnPaneTabKey(VK_TAB, true));
    gPlayer.ghJournalHook = 1;
    EXPECT_FALSE(OnPaneTabKey(VK_NEXT, true)) << "not while recording or playing";
    gPlayer.ghJournalHook = 0;
    EXPECT_EQ(Pane(IDC_PANE_TABS).selection, TAB_PLAYBACK);
    DialogFocus(ID_PANES, IDC_KEYS);
    EXPECT_FALSE(OnPaneTabKey(VK_NEXT, true)) << "the Keys field captures the combination";
    DialogFocus(ID_PANES, IDC_ACTION);
    EXPECT_TRUE(OnPaneTabKey(VK_NEXT, true));
}
