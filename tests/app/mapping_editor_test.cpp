#include "app/mapping_editor.h"

#include <initializer_list>
#include <string>

#include "app/pane_procedure.h"
#include "host/mappings.h"
#include "platform/wintypes.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"

namespace {

fake::Control& Pane(int control) { return fake::DialogControl(ID_PANES, control); }

void Press(std::initializer_list<int> keys) {
    for (int vk : keys) fake::DialogCommand(ID_PANES, IDC_KEYS, NOTIFY_KEY + vk);
}

void ChooseAction(int action) {
    Pane(IDC_ACTION).selection = action;
    fake::DialogCommand(ID_PANES, IDC_ACTION, NOTIFY_CHANGED);
}

// Captures the keys, chooses the action, clicks Add; the boxes shown, as "caption: text".
std::string Add(std::initializer_list<int> keys, int action, const char* text = "") {
    Press({VK_BACK});
    Press(keys);
    ChooseAction(action);
    Pane(IDC_MAPPING_TEXT).text = text;
    fake::messageBoxes.clear();
    fake::DialogCommand(ID_PANES, IDC_GADGET_ADD_MAPPING, NOTIFY_CLICKED);
    std::string shown;
    for (const auto& box : fake::messageBoxes) {
        if (box.caption != "Service Not Active") shown += box.caption + ": " + box.text + "\n";
    }
    return shown;
}

uint32_t StoredAction(int vk) {
    uint32_t value = 0;
    return fake::StoredDword(KELMOR_KEY "\\Mappings\\" + std::to_string(vk), "Action", &value) ? value : 0;
}

}  // namespace

class MappingEditorTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    }
};

TEST_F(MappingEditorTest, CaptureBuildsTheCombinationInTheOrderPressed) {
    Press({VK_CONTROL, VK_SHIFT, VK_CONTROL, 0x76});
    EXPECT_EQ(Pane(IDC_KEYS).text, "Ctrl + Shift + F7");
    Press({VK_CONTROL});
    EXPECT_EQ(Pane(IDC_KEYS).text, "Ctrl + ") << "a modifier after a whole combination starts anew";
    Press({164, 0xFF});
    EXPECT_EQ(Pane(IDC_KEYS).text, "Ctrl + Alt + ") << "the left Alt is Alt; a key without a name changes nothing";
    Press({VK_BACK});
    EXPECT_EQ(Pane(IDC_KEYS).text, "");
    // Ctrl pressed for Ctrl+Tab, the way out, leaves the combination as it was; modifiers
    // pressed on their own and left are kept.
    Press({VK_CONTROL, 0x76, VK_CONTROL, VK_SHIFT});
    fake::DialogCommand(ID_PANES, IDC_KEYS, NOTIFY_OTHER);
    EXPECT_EQ(Pane(IDC_KEYS).text, "Ctrl + F7");
    Press({VK_SHIFT});
    EXPECT_EQ(Pane(IDC_KEYS).text, "Shift + ") << "complete again after leaving";
    Press({VK_BACK, VK_CONTROL});
    fake::DialogCommand(ID_PANES, IDC_KEYS, NOTIFY_OTHER);
    EXPECT_EQ(Pane(IDC_KEYS).text, "Ctrl + ");
    ASSERT_EQ(Pane(IDC_ACTION).items.size(), 13u);
    EXPECT_EQ(Pane(IDC_ACTION).items[7], "   (Play the recorded file below:)");
}

TEST_F(MappingEditorTest, ChecksRefuseOrWarnWithTheirTexts) {
    const std::string missing = "Missing Information: ", conflict = "Mapping Conflict: ";
    // In this system's words: on Linux the reserved combinations are the desktop's.
    const std::string reserved = conflict +
                                 PlatformText("You have chosen a key combination for a Mapping that is reserved for a "
                                              "common Windows function.\n\nPlease choose a different combination.") +
                                 "\n";
    EXPECT_EQ(Add({}, ACTION_PLAYBACK), missing + "Please type a \"Key\" for this Mapping\n");
    EXPECT_EQ(Add({VK_CONTROL}, ACTION_PLAYBACK).find(missing + "The last key for this Mapping cannot be"), 0u);
    EXPECT_EQ(Add({0x76}, 0), missing + "Please choose an \"Action\" for this Mapping\n");
    EXPECT_EQ(Add({VK_CONTROL, 0x76}, ACTION_STOP_RECORDING),
              missing + "The \"Stop Recording\" and \"Replace\" Mapping actions must be a single key  (without "
                        "Ctrl, Shift, or Alt combinations)\n");
    EXPECT_EQ(Add({VK_SHIFT, 101}, ACTION_PLAYBACK).find(conflict + "The Number KeyPad produces"), 0u);
    EXPECT_EQ(Add({VK_CONTROL, 19}, ACTION_PLAYBACK).find(conflict + "The PAUSE key cannot be mapped"), 0u);
    for (auto keys : {std::initializer_list<int>{VK_CONTROL, VK_MENU, 46}, {VK_CONTROL, 27}, {VK_SHIFT, 91}}) {
        EXPECT_EQ(Add(keys, ACTION_PLAYBACK), reserved);
    }
    EXPECT_EQ(Add({0x76}, ACTION_TYPE_TEXT, "").find("Mapping Conflict: You have chosen a single key"), 0u);
    EXPECT_EQ(Add({VK_CONTROL, VK_SHIFT, 0x76}, ACTION_TYPE_TEXT, ""),
              missing + "Please enter some \"Text\" for this Mapping\n");
    EXPECT_EQ(Pane(IDC_STATUS).text, "") << "nothing was stored";
    EXPECT_EQ(StoredAction(0x76), 0u);

    // A warning's No (its default) cancels; Yes to the alpha-numeric one skips the other warnings.
    fake::messageBoxAnswers = {IDNO, IDYES};
    EXPECT_EQ(Add({VK_CONTROL, 'C'}, ACTION_PLAYBACK).find(conflict + "You have chosen a key combination"), 0u);
    EXPECT_EQ(StoredAction('C'), 0u);
    EXPECT_EQ(Add({VK_SHIFT, 'A'}, ACTION_PLAYBACK).find(conflict + "You have chosen an alpha-numeric key"), 0u);
    EXPECT_EQ(StoredAction('A'), ACTION_PLAYBACK);
    EXPECT_EQ(Add({VK_CONTROL, VK_SHIFT, 27}, ACTION_PLAYBACK), "");
    EXPECT_EQ(Add({0x75}, ACTION_REPLACE_TIME), "") << "a replace action warns of nothing";
    EXPECT_EQ(Add({0x77}, ACTION_STOP_RECORDING), "");
    EXPECT_EQ(Add({0x77}, ACTION_STOP_RECORDING),
              conflict + "Only one key can be mapped to \"Stop Recording\", and the 'F8' key is already mapped to "
                         "it.\n\nPlease delete the 'F8' key mapping first.\n");
}

TEST_F(MappingEditorTest, AddStoresListsAndReloadsAndDeleteRemoves) {
    // The lists open wide enough for what they hold once filled: the actions at creation,
    // the Mappings after every fill.
    EXPECT_EQ(Pane(IDC_ACTION).dropDownLimit * 100 + Pane(IDC_ACTION).dropDownItems, 300 * 100 + 13);
    EXPECT_EQ(Pane(IDC_KEYS).dropDownLimit * 100 + Pane(IDC_KEYS).dropDownItems, 200 * 100 + 1);
    EXPECT_EQ(Add({VK_CONTROL, VK_SHIFT, 0x76}, ACTION_TYPE_TEXT, "line one\r\nline two, longer than that"), "");
    EXPECT_EQ(Pane(IDC_STATUS).text, "Mapping was Added");
    ASSERT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(fake::messageBoxes[0].caption, "Service Not Active");
    EXPECT_EQ(Add({0x75}, ACTION_REPLACE_LOOP), "");
    ASSERT_EQ(Pane(IDC_KEYS).items.size(), 3u);
    EXPECT_EQ(Pane(IDC_KEYS).items[1], "F6 = Replace with play loop # during playback");
    EXPECT_EQ(Pane(IDC_KEYS).items[2], "Ctrl + Shift + F7 = \"line one  line two, lon...\"");
    EXPECT_EQ(Pane(IDC_KEYS).dropDownItems, 3);
    EXPECT_EQ(gMappings.gbMapAction[0x75], ACTION_REPLACE_LOOP) << "the tables follow the store at once";
    EXPECT_EQ(Pane(IDC_KEYS).text + Pane(IDC_MAPPING_TEXT).text, "");
    EXPECT_EQ(Pane(IDC_ACTION).selection, 0);

    // Choosing a listed Mapping brings back its action and text; overwriting asks first.
    Pane(IDC_KEYS).selection = 2;
    fake::DialogCommand(ID_PANES, IDC_KEYS, NOTIFY_CHANGED);
    EXPECT_EQ(Pane(IDC_ACTION).selection, ACTION_TYPE_TEXT);
    EXPECT_EQ(Pane(IDC_MAPPING_TEXT).text, "line one\r\nline two, longer than that");
    fake::messageBoxAnswers = {IDNO};
    fake::DialogCommand(ID_PANES, IDC_GADGET_ADD_MAPPING, NOTIFY_CLICKED);
    EXPECT_EQ(fake::messageBoxes.back().caption, "Confirm Action");
    gSettings.gbPromptForSave = 0;
    EXPECT_EQ(Add({VK_CONTROL, 0x76}, ACTION_PLAYBACK), "") << "without PromptForSave no question";
    EXPECT_EQ(gMappings.gbMapCtrl[0x76] * 10 + gMappings.gbMapShift[0x76], 10);

    Press({VK_BACK, 0x75});
    fake::DialogCommand(ID_PANES, IDC_GADGET_DELETE_MAPPING, NOTIFY_CLICKED);
    EXPECT_EQ(Pane(IDC_STATUS).text, "Mapping was Deleted");
    EXPECT_EQ(StoredAction(0x75), 0u);
    EXPECT_EQ(gMappings.gbMapAction[0x75], 0);
    EXPECT_EQ(Pane(IDC_KEYS).items.size(), 2u);
    EXPECT_EQ(Pane(IDC_KEYS).dropDownItems, 2);
}
