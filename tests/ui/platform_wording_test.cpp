#include <cstring>

#include <string>

#include "platform/dialog.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/menu_description.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"

namespace {

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

void Quiet(int, int, int, int) {}

}  // namespace

class PlatformWordingTest : public CoreTest {};

TEST_F(PlatformWordingTest, LocalReadingsKeepMnemonicsAndPlaceholders) {
    ASSERT_GE(kPlatformWordingCount, 5);
    for (int i = 0; i < kPlatformWordingCount; ++i) {
        const std::string original = kPlatformWording[i].original, local = kPlatformWording[i].local;
        EXPECT_EQ(PlatformText(kPlatformWording[i].original), kPlatformWording[i].local);
        for (const char* windowsOnly : {"Windows", "CTRL+ALT+DEL", "Taskbar", "Properties", ".EXE"}) {
            EXPECT_EQ(Count(local, windowsOnly), 0) << local;
        }
        EXPECT_EQ(Count(local, "&"), Count(original, "&")) << local;
        EXPECT_EQ(Count(local, "%"), Count(original, "%")) << local;
    }
    const char* other = "Start &Recording";
    EXPECT_EQ(PlatformText(other), other);
}

TEST_F(PlatformWordingTest, MenusAndPanesShowTheLocalReading) {
    // No described text names the other system without a local reading.
    for (int i = 0; i < kMenuBarCount; ++i) {
        const char* text = kMenuBar[i].text;
        if (text && strstr(text, "Windows")) {
            EXPECT_NE(PlatformText(text), text) << text;
        }
    }
    for (int i = 0; i < kPaneDialog.controlCount; ++i) {
        const char* text = kPaneDialog.controls[i].text;
        if (strstr(text, "Windows")) {
            EXPECT_NE(PlatformText(text), text) << text;
        }
    }
    EXPECT_EQ(fake::FindMenuItem(1132)->text, "&Auto-Start Kelmor at Log-in");
    // Executable recordings keep their .exe name here too, so the item keeps its text.
    EXPECT_EQ(fake::FindMenuItem(1135)->text, "&Create Executable Program (.EXE)...");
    ASSERT_TRUE(DialogCreate(&kPaneDialog, Quiet));
    EXPECT_EQ(fake::DialogControl(ID_PANES, IDC_AUTO_START).text, "Auto-Start Kelmor at Log-in");
}
