#include "app/shorttype_editor.h"

#include <string>

#include "app/pane_procedure.h"
#include "platform/wintypes.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/pane_description.h"

namespace {

fake::Control& Pane(int control) { return fake::DialogControl(ID_PANES, control); }

void Type(const std::string& text) {
    for (char c : text) fake::DialogCommand(ID_PANES, IDC_SHORTTYPE, NOTIFY_CHAR + static_cast<unsigned char>(c));
}

// Fills both fields and clicks the gadget; the last box shown, as "caption: text".
std::string Click(int gadget, const std::string& abbreviation, const std::string& text = "") {
    Pane(IDC_SHORTTYPE).text = abbreviation;
    Pane(IDC_REPLACE_TEXT).text = text;
    fake::messageBoxes.clear();
    fake::DialogCommand(ID_PANES, gadget, NOTIFY_CLICKED);
    return fake::messageBoxes.empty() ? "" : fake::messageBoxes[0].caption + ": " + fake::messageBoxes[0].text;
}

std::string Stored(const std::string& abbreviation) {
    std::string text;
    return fake::StoredString(KELMOR_KEY "\\ShortType\\" + abbreviation, "Text", &text) ? text : "(none)";
}

const char kNotActive[] = "Service Not Active: The ShortType database was updated, but the Keyboard Service is not "
                          "currently active.\n\nYou will not be able to use any ShortTypes until the Keyboard "
                          "Service is activated.";

}  // namespace

class ShortTypeEditorTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(DialogCreate(&kPaneDialog, PaneProcedure));
    }
};

TEST_F(ShortTypeEditorTest, TheFieldTakesOnlyWhatAnAbbreviationHolds) {
    Type("bT=w 1!\b2");
    EXPECT_EQ(Pane(IDC_SHORTTYPE).text, "bw 2");
    Pane(IDC_SHORTTYPE).text = "btw = \"by the way\"";
    Type("x");
    EXPECT_EQ(Pane(IDC_SHORTTYPE).text, "x") << "typing over a list entry starts afresh";
    Type("abcdefghijklmnopq");
    EXPECT_EQ(Pane(IDC_SHORTTYPE).text.size(), 15u);
}

TEST_F(ShortTypeEditorTest, TypingActsAtTheCaretAsInAnyField) {
    struct Case {
        const char* text;
        int start, end;  // the caret or selection before the key
        char key;
        const char* after;
        int caret;  // -1: the selection stays
    } const cases[] = {
        {"bw", 1, 1, 't', "btw", 2},         // inserted at the caret
        {"bxyw", 1, 3, 't', "btw", 2},       // over the selection
        {"bxyw", 3, 1, 't', "btw", 2},       // a selection made leftwards
        {"btw", 0, 0, '\b', "btw", 0},       // Home, then Backspace: nothing before the caret
        {"btw", 2, 2, '\b', "bw", 1},
        {"btw", 1, 1, 0x7F, "bw", 1},        // Delete takes the character after the caret
        {"btw", 3, 3, 0x7F, "btw", 3},
        {"bxyw", 1, 3, '\b', "bw", 1},       // Backspace and Delete take a selection
        {"bxyw", 1, 3, 'T', "bxyw", -1},     // a character refused leaves all as it was
        {"abcdefghijklmno", 1, 1, 'z', "abcdefghijklmno", -1},  // full
        {"abcdefghijklmno", 1, 2, 'z', "azcdefghijklmno", 2},  // full, over a selection
    };
    for (const Case& c : cases) {
        Pane(IDC_SHORTTYPE).text = c.text;
        DialogSetSelection(ID_PANES, IDC_SHORTTYPE, c.start, c.end);
        fake::DialogCommand(ID_PANES, IDC_SHORTTYPE, NOTIFY_CHAR + static_cast<unsigned char>(c.key));
        EXPECT_EQ(Pane(IDC_SHORTTYPE).text, c.after) << c.text << " key " << int(c.key);
        EXPECT_EQ(Pane(IDC_SHORTTYPE).selectionStart, c.caret < 0 ? c.start : c.caret)
            << c.text << " key " << int(c.key);
        EXPECT_EQ(Pane(IDC_SHORTTYPE).selectionEnd, c.caret < 0 ? c.end : c.caret) << c.text << " key " << int(c.key);
    }
}

TEST_F(ShortTypeEditorTest, ChecksAddListAndDelete) {
    const std::string tooShort = "Missing Information: Please enter text where the cursor is located, or choose a "
                                 "previous entry.\n\n(The ShortType must be at least 2 characters long)";
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "b", "x"), tooShort);
    EXPECT_EQ(Click(IDC_GADGET_DELETE_SHORTTYPE, "b"), tooShort);
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "Btw", "x"),
              "Missing Information: The ShortType text can only contain lowercase letters (a-z), numbers (0-9), or "
              "spaces (' ')");
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "btw", ""),
              "Missing Information: Please enter \"Replace Text\" where the cursor is located.");
    EXPECT_EQ(fake::focusedControl, IDC_REPLACE_TEXT);

    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "btw", "by the way"), kNotActive);
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "a b", "one\r\ntwo, and a text of thirty-odd"), kNotActive);
    EXPECT_EQ(Pane(IDC_STATUS).text, "ShortType was Added");
    EXPECT_EQ(Stored("a b"), "one\r\ntwo, and a text of thirty-odd");
    ASSERT_EQ(Pane(IDC_SHORTTYPE).items.size(), 3u);
    EXPECT_EQ(Pane(IDC_SHORTTYPE).items[1], "a b = \"one  two, and a text of thir...\"");
    EXPECT_EQ(Pane(IDC_SHORTTYPE).dropDownLimit * 100 + Pane(IDC_SHORTTYPE).dropDownItems, 200 * 100 + 3)
        << "the list opens wide enough for what it holds once filled";
    EXPECT_EQ(Pane(IDC_SHORTTYPE).text + Pane(IDC_REPLACE_TEXT).text, "");

    // A listed entry fills both fields; storing over it asks first.
    Pane(IDC_SHORTTYPE).selection = 2;
    fake::DialogCommand(ID_PANES, IDC_SHORTTYPE, NOTIFY_CHANGED);
    EXPECT_EQ(Pane(IDC_SHORTTYPE).text + "|" + Pane(IDC_REPLACE_TEXT).text, "btw|by the way");
    fake::messageBoxAnswers = {IDNO};
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "btw = \"by the way\"", "by the wall").find("Confirm Action: "), 0u);
    EXPECT_EQ(Stored("btw"), "by the way");

    EXPECT_EQ(Click(IDC_GADGET_DELETE_SHORTTYPE, "btw"), kNotActive);
    EXPECT_EQ(Pane(IDC_STATUS).text, "ShortType was Deleted");
    EXPECT_EQ(Stored("btw"), "(none)");
    Click(IDC_GADGET_DELETE_SHORTTYPE, "zz");
    EXPECT_EQ(Pane(IDC_STATUS).text, "ShortType was Deleted") << "deleting what is not there still says so";
}

TEST_F(ShortTypeEditorTest, ASixtyFifthIsRefusedNotStoredInactive) {
    for (int i = 0; i < 64; ++i) {
        const std::string abbreviation = "s" + std::to_string(100 + i);
        SetRegistryValue(HKEY_CURRENT_USER, (KELMOR_KEY "\\ShortType\\" + abbreviation + "\\Text").c_str(), REG_SZ,
                         "x", 0);
    }
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "aa", "new").find("ShortType Limit: "), 0u);
    EXPECT_EQ(Stored("aa"), "(none)");
    gSettings.gbPromptForSave = 0;
    EXPECT_EQ(Click(IDC_GADGET_ADD_SHORTTYPE, "s163", "changed"), kNotActive) << "a stored one can still change";
    EXPECT_EQ(Stored("s163"), "changed");
}
