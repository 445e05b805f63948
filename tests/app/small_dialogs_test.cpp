#include <string>

#include "app/about_box.h"
#include "app/legal_agreement.h"
#include "platform/wintypes.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/small_dialog_description.h"

namespace {

fake::Control& About(int control) { return fake::DialogControl(ID_ABOUT, control); }

void Click(int control) {
    fake::dialogScripts.push_back([control](int dialog) { fake::DialogCommand(dialog, control, NOTIFY_CLICKED); });
}

}  // namespace

class SmallDialogsTest : public CoreTest {};

TEST_F(SmallDialogsTest, AboutShowsVersionBuildAndLinkAndOkEndsIt) {
    Click(IDOK);
    ASSERT_NE(FindCommandHandler(ID_ABOUT), nullptr);  // else the menu item stays grey
    FindCommandHandler(ID_ABOUT)(ID_ABOUT);
    ASSERT_EQ(fake::dialogRuns, std::vector<int>{ID_ABOUT});
    EXPECT_EQ(About(IDC_ABOUT_VERSION).text, "Kelmor Version 3.13");
    const std::string& build = About(IDC_ABOUT_BUILD).text;
    EXPECT_EQ(build.substr(0, 26), "Build: " __DATE__ "  Time: ");
    EXPECT_EQ(build.size(), 34u);  // the time as "hh:mm:ss"
    EXPECT_EQ(About(IDC_ABOUT_LINK).text, "https://kelmor.example.org");
    EXPECT_EQ(fake::focusedControl, IDOK);
    EXPECT_EQ(fake::dialogs[ID_ABOUT].result, IDOK);
    EXPECT_TRUE(fake::openedUris.empty());
}

TEST_F(SmallDialogsTest, OpeningTheLinkMarksItVisitedOnlyWhenItOpened) {
    fake::openSucceeds = false;
    Click(IDC_ABOUT_LINK);
    OnAbout(ID_ABOUT);
    EXPECT_EQ(fake::messageBoxes.size(), 1u);
    EXPECT_EQ(gSettings.gbVisited, 0);
    EXPECT_FALSE(About(IDC_ABOUT_LINK).checked);

    fake::openSucceeds = true;
    Click(IDC_ABOUT_LOGO);
    OnAbout(ID_ABOUT);
    EXPECT_EQ(fake::openedUris.back(), "https://kelmor.example.org");
    EXPECT_EQ(gSettings.gbVisited, 1);
    EXPECT_TRUE(About(IDC_ABOUT_LINK).checked);
    EXPECT_EQ(fake::dialogs[ID_ABOUT].result, IDCANCEL);  // the click leaves the box open

    // A later opening starts purple; the count stops at its top instead of wrapping to blue.
    gSettings.gbVisited = 255;
    Click(IDC_ABOUT_LINK);
    OnAbout(ID_ABOUT);
    EXPECT_TRUE(About(IDC_ABOUT_LINK).checked);
    EXPECT_EQ(gSettings.gbVisited, 255);
}

TEST_F(SmallDialogsTest, LegalAgreementShowsTheLicence) {
    Click(IDOK);
    ASSERT_NE(FindCommandHandler(ID_LEGAL), nullptr);
    FindCommandHandler(ID_LEGAL)(ID_LEGAL);
    ASSERT_EQ(fake::dialogRuns, std::vector<int>{ID_LEGAL});
    const std::string& text = fake::DialogControl(ID_LEGAL, IDC_LEGAL_TEXT).text;
    EXPECT_EQ(text.rfind("MIT License\n\nCopyright (c) 2026 The Kelmor developers\n", 0), 0u);
    EXPECT_NE(text.find("SOFTWARE.\n"), std::string::npos);
    EXPECT_EQ(fake::dialogs[ID_LEGAL].result, IDOK);
}
