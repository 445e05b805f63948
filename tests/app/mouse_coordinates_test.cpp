#include "app/mouse_coordinates.h"

#include <functional>
#include <string>

#include "app/advanced_options.h"
#include "platform/picture_ids.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/advanced_options_description.h"
#include "ui/command_ids.h"

namespace {

const int D = ID_ADVANCED_OPTIONS_DIALOG;

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
        fake::windowAtPoint = Notepad;
    }
    // Opens Advanced Options and lets the person do what the script says there.
    static void InDialog(std::function<void()> person) {
        fake::dialogScripts.push_back([person](int) { person(); });
        OnAdvancedOptions(ID_ADVANCED_OPTIONS);
    }
    // Press on the picture, drag to each point, let go.
    static void Drag(std::initializer_list<std::pair<int32_t, int32_t>> points) {
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_CLICKED);
        for (auto point : points) {
            fake::cursorX = point.first;
            fake::cursorY = point.second;
            fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_POINTER_MOVED);
        }
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_POINTER_RELEASED);
    }
    static fake::Control& Control(int id) { return fake::DialogControl(D, id); }
    static void Check(int id, bool checked) {
        Control(id).checked = checked;
        fake::DialogCommand(D, id, NOTIFY_CLICKED);
    }
};

TEST_F(MouseCoordinatesTest, PressHoldsThePointerUntilTheRelease) {
    InDialog([] {
        EXPECT_EQ(Control(IDC_POINTER_PICTURE).image, IDB_MOUSE_TOOL);
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_POINTER_MOVED);
        EXPECT_EQ(Control(IDC_POINTER_RESULT).text, "") << "no move is reported before a press";
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_CLICKED);
        EXPECT_TRUE(Control(IDC_POINTER_PICTURE).capturing);
        EXPECT_EQ(Control(IDC_POINTER_PICTURE).image, IDB_MOUSE_TOOL_CAPTURING);
        fake::cursorX = 220;
        fake::cursorY = 95;
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_CLICKED);  // a second press changes nothing
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_POINTER_MOVED);
        EXPECT_EQ(Control(IDC_POINTER_RESULT).text,
                  "\"Untitled - Notepad\" 120, 45\r\nScreen coordinates: x=220, y=95");
        fake::DialogCommand(D, IDC_POINTER_PICTURE, NOTIFY_POINTER_RELEASED);
        EXPECT_FALSE(Control(IDC_POINTER_PICTURE).capturing);
        EXPECT_EQ(Control(IDC_POINTER_PICTURE).image, IDB_MOUSE_TOOL);
        EXPECT_FALSE(Control(IDC_OPTIONS_APPLY).enabled) << "using the tool changes no setting";
    });
    EXPECT_EQ(fake::clipboardSets, 0) << "the copy box starts clear";
    EXPECT_TRUE(fake::dialogErrors.empty());
}

TEST_F(MouseCoordinatesTest, ResultFollowsTheChildBoxAndNamesUntitledPlaces) {
    InDialog([] {
        Check(IDC_IGNORE_CHILDREN, false);
        Drag({{220, 95}});
        EXPECT_EQ(Control(IDC_POINTER_RESULT).text,
                  "\"Untitled - Notepad\" 110, 15\r\nScreen coordinates: x=220, y=95");
        // Left of the screen's edge: signed numbers, the offsets those of the screen.
        Drag({{-12, 30}});
        EXPECT_EQ(Control(IDC_POINTER_RESULT).text,
                  "\"(Unknown Window)\" -12, 30\r\nScreen coordinates: x=-12, y=30");
    });
}

TEST_F(MouseCoordinatesTest, ReleaseWithTheCopyBoxPutsTheTemplateOnTheClipboard) {
    InDialog([] {
        Check(IDC_COPY_TEMPLATE, true);
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
        fake::windowAtPoint = [](int32_t, int32_t, bool, std::string* title, RECT32* rect) {
            *title = "two\r\nlines";
            *rect = {0, 0, 10, 10};
            return true;
        };
        Drag({{3, 4}});
        EXPECT_EQ(fake::clipboardText, "GOTO two  lines\r\nCLICK 3, 4\r\n") << "a title is one line";
        fake::windowAtPoint = [](int32_t, int32_t, bool, std::string* title, RECT32*) {
            *title = "\"quoted\"";
            return true;
        };
        Drag({{3, 4}});
    });
    EXPECT_EQ(fake::clipboardSets, 4);
}

TEST(MouseScriptTemplate, FollowsTheResultText) {
    char out[64];
    EXPECT_FALSE(MouseScriptTemplate("no quote 1, 2", out, sizeof out));
    EXPECT_FALSE(MouseScriptTemplate("\"a\"\" 1, 2", out, sizeof out));
    ASSERT_TRUE(MouseScriptTemplate("\"open title 1, 2\r\nrest", out, sizeof out));
    EXPECT_STREQ(out, "GOTO open title 1, 2\r\nCLICK\r\n");
    EXPECT_FALSE(MouseScriptTemplate("\"Untitled - Notepad\" 120, 45", out, 30)) << "a cut template is no template";
}
