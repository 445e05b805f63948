#include "app/mouse_coordinates.h"

#include <string>

#include "platform/picture_ids.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

const int kDialog = 1078;
const int kPicture = 1114, kResult = 1115, kIgnoreChildren = 1119, kCopy = 1120;

const ControlDescription kControls[] = {
    {kPicture, CONTROL_PICTURE, 0, 0, "", {}},
    {kResult, CONTROL_STATIC, 0, 0, "", {}},
    {kIgnoreChildren, CONTROL_CHECK_BOX, 0, 0, "", {}},
    {kCopy, CONTROL_CHECK_BOX, 0, 0, "", {}},
};
const DialogDescription kTool = {kDialog, "Advanced Options", 0, 0, kControls, 4};

void Procedure(int dialog, int message, int control, int notification) {
    if (message != DIALOG_COMMAND || control != kPicture) return;
    if (notification == NOTIFY_CLICKED) MouseToolPressed(dialog);
    else if (notification == NOTIFY_POINTER_MOVED) MouseToolMoved(dialog);
    else if (notification == NOTIFY_POINTER_RELEASED) MouseToolReleased(dialog);
}

// A frame at (100, 50) titled "Untitled - Notepad" holding an untitled child at (110, 80).
bool Notepad(int32_t x, int32_t y, bool topLevel, std::string* title, RECT32* rect) {
    if (x < 100 || y < 50) return false;
    *title = "Untitled - Notepad";
    *rect = topLevel ? RECT32{100, 50, 500, 400} : RECT32{110, 80, 490, 390};
    return true;
}

}  // namespace

class MouseCoordinatesTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        DialogCreate(&kTool, Procedure);
        DialogCheck(kDialog, kIgnoreChildren, true);
        fake::windowAtPoint = Notepad;
    }
    // Press on the picture, drag to each point, let go.
    static void Drag(std::initializer_list<std::pair<int32_t, int32_t>> points) {
        fake::DialogCommand(kDialog, kPicture, NOTIFY_CLICKED);
        for (auto point : points) {
            fake::cursorX = point.first;
            fake::cursorY = point.second;
            fake::DialogCommand(kDialog, kPicture, NOTIFY_POINTER_MOVED);
        }
        fake::DialogCommand(kDialog, kPicture, NOTIFY_POINTER_RELEASED);
    }
    static fake::Control& Control(int id) { return fake::DialogControl(kDialog, id); }
};

TEST_F(MouseCoordinatesTest, PressHoldsThePointerUntilTheRelease) {
    fake::DialogCommand(kDialog, kPicture, NOTIFY_POINTER_MOVED);
    EXPECT_EQ(Control(kResult).text, "") << "no move is reported before a press";
    fake::DialogCommand(kDialog, kPicture, NOTIFY_CLICKED);
    EXPECT_TRUE(Control(kPicture).capturing);
    EXPECT_EQ(Control(kPicture).image, IDB_MOUSE_TOOL_CAPTURING);
    fake::cursorX = 220;
    fake::cursorY = 95;
    fake::DialogCommand(kDialog, kPicture, NOTIFY_CLICKED);  // a second press changes nothing
    fake::DialogCommand(kDialog, kPicture, NOTIFY_POINTER_MOVED);
    EXPECT_EQ(Control(kResult).text, "\"Untitled - Notepad\" 120, 45\r\nScreen coordinates: x=220, y=95");
    fake::DialogCommand(kDialog, kPicture, NOTIFY_POINTER_RELEASED);
    EXPECT_FALSE(Control(kPicture).capturing);
    EXPECT_EQ(Control(kPicture).image, IDB_MOUSE_TOOL);
    EXPECT_EQ(fake::clipboardSets, 0) << "the copy box is clear";
    EXPECT_TRUE(fake::dialogErrors.empty());
}

TEST_F(MouseCoordinatesTest, ResultFollowsTheChildBoxAndNamesUntitledPlaces) {
    DialogCheck(kDialog, kIgnoreChildren, false);
    Drag({{220, 95}});
    EXPECT_EQ(Control(kResult).text, "\"Untitled - Notepad\" 110, 15\r\nScreen coordinates: x=220, y=95");
    // Left of the screen's edge: signed numbers, the offsets those of the screen.
    Drag({{-12, 30}});
    EXPECT_EQ(Control(kResult).text, "\"(Unknown Window)\" -12, 30\r\nScreen coordinates: x=-12, y=30");
}

TEST_F(MouseCoordinatesTest, ReleaseWithTheCopyBoxPutsTheTemplateOnTheClipboard) {
    DialogCheck(kDialog, kCopy, true);
    Drag({{150, 60}, {220, 95}});
    EXPECT_EQ(fake::clipboardText, "GOTO Untitled - Notepad\r\nCLICK 120, 45\r\n");
    Drag({{5, 5}});
    EXPECT_EQ(fake::clipboardText, "GOTO (Unknown Window)\r\nCLICK 5, 5\r\n");
    // A title quoted inside keeps its quotes; two quotes in a row give nothing to copy.
    fake::windowAtPoint = [](int32_t, int32_t, bool, std::string* title, RECT32* rect) {
        *title = "Say \"hi\" now";
        *rect = {0, 0, 10, 10};
        return true;
    };
    Drag({{3, 4}});
    EXPECT_EQ(fake::clipboardText, "GOTO Say \"hi\" now\r\nCLICK 3, 4\r\n");
    fake::windowAtPoint = [](int32_t, int32_t, bool, std::string* title, RECT32*) {
        *title = "\"quoted\"";
        return true;
    };
    Drag({{3, 4}});
    EXPECT_EQ(fake::clipboardSets, 3);
}

TEST(MouseScriptTemplate, FollowsTheResultText) {
    char out[64];
    EXPECT_FALSE(MouseScriptTemplate("no quote 1, 2", out, sizeof out));
    EXPECT_FALSE(MouseScriptTemplate("\"a\"\" 1, 2", out, sizeof out));
    ASSERT_TRUE(MouseScriptTemplate("\"open title 1, 2\r\nrest", out, sizeof out));
    EXPECT_STREQ(out, "GOTO open title 1, 2\r\nCLICK\r\n");
    EXPECT_FALSE(MouseScriptTemplate("\"Untitled - Notepad\" 120, 45", out, 30)) << "a cut template is no template";
}
