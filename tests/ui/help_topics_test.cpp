// The help pages as the build made them, beside the program: every topic the program
// opens is there, and no link inside the pages leads nowhere.
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "app/help_commands.h"
#include "tests/test_support.h"
#include "ui/help_topics.h"

namespace {

std::string Page(const char* name) {
    char path[512];
    if (HelpPagePath(KELMOR_PROGRAM_IN_BUILD, name, path, sizeof path) == 0) return "";
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool HasId(const std::string& page, const std::string& id) {
    return page.find("id=\"" + id + "\"") != std::string::npos;
}

}  // namespace

TEST(HelpTopicsTest, TheContentsPageHoldsEveryTopicTheProgramOpens) {
    const std::string contents = Page(kHelpPageNames[HELP_CONTENTS]);
    ASSERT_NE(contents.find("</html>"), std::string::npos) << "no contents page beside " KELMOR_PROGRAM_IN_BUILD;
    for (int i = 0; i < kHelpContextCount; ++i) {
        char anchor[16];
        HelpAnchor(kHelpContexts[i], anchor, sizeof anchor);
        EXPECT_TRUE(HasId(contents, anchor)) << anchor;
    }
}

TEST(HelpTopicsTest, EveryLinkBetweenAndInsideThePagesLeadsToAPageAndTopic) {
    const std::regex link("href=\"([A-Za-z]*\\.html)?(#([^\"]*))?\"");
    for (const char* name : kHelpPageNames) {
        const std::string page = Page(name);
        ASSERT_NE(page.find("</html>"), std::string::npos) << name;
        for (std::sregex_iterator it(page.begin(), page.end(), link), end; it != end; ++it) {
            const std::string target = (*it)[1].matched ? Page((*it)[1].str().c_str()) : page;
            EXPECT_NE(target.find("</html>"), std::string::npos) << name << ": " << it->str();
            if ((*it)[3].matched) {
                EXPECT_TRUE(HasId(target, (*it)[3].str())) << name << ": " << it->str();
            }
        }
    }
    // The script reference is made from its Markdown guide, tables and all.
    const std::string script = Page(kHelpPageNames[HELP_SCRIPT_REFERENCE]);
    EXPECT_NE(script.find("<title>The .klx script language</title>"), std::string::npos);
    EXPECT_NE(script.find("<td><code>{playbackloop}</code></td>"), std::string::npos);
}
