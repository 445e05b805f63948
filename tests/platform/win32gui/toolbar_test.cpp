#include "platform/win32gui/toolbar.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/face.h"
#include "platform/win32gui/common_controls.h"
#include "platform/window_parts.h"

namespace {

std::string TipOf(const KelmorWindowParts& parts, UINT code, UINT_PTR command, bool* taken) {
    NMTTDISPINFOA info = {};
    info.hdr.code = code;
    info.hdr.idFrom = command;
    *taken = Win32FillToolbarTip(reinterpret_cast<LPARAM>(&info), parts);
    return *taken ? std::string(info.lpszText) : std::string();
}

TEST(ToolbarTest, ATipIsTheFieldOfTheButtonsPlaceCutToTheBuffer) {
    const ToolbarEntry toolbar[] = {{-1, 0}, {0, 5}, {1, 6}, {-1, 0}, {2, 7}};
    const std::string longTip(200, 'x');
    const std::string tips = " |Five|Six| |" + longTip;
    KelmorWindowParts parts = {};
    parts.toolbar = toolbar;
    parts.toolbarCount = 5;
    parts.toolbarTips = tips.c_str();
    bool taken = false;
    EXPECT_EQ(TipOf(parts, TTN_GETDISPINFOA, 6, &taken), "Six");
    EXPECT_TRUE(taken);
    EXPECT_EQ(TipOf(parts, TTN_GETDISPINFOA, 7, &taken), std::string(79, 'x'));
    EXPECT_EQ(TipOf(parts, TTN_GETDISPINFOA, 8, &taken), "");
    EXPECT_TRUE(taken);
    // A separator's command 0 is no button's.
    EXPECT_EQ(TipOf(parts, TTN_GETDISPINFOA, 0, &taken), "");
    TipOf(parts, NM_CLICK, 6, &taken);
    EXPECT_FALSE(taken);
}

}  // namespace
