#include "text/command_line.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Quoted(const char* name, CommandLineRules rules, size_t size = 512) {
    std::string out(size + 8, '#');
    QuoteArgument(&out[0], size, name, rules);
    // Nothing is written past the buffer's end.
    EXPECT_EQ(out.substr(size), std::string(8, '#')) << name;
    return out.c_str();
}

TEST(CommandLineTest, AFileNameReachesTheProgramAsOneArgumentUnderEachSystemsRules) {
    const struct {
        const char* name;
        const char* posix;
        const char* windows;
    } cases[] = {
        {"/work/a.klx", "/work/a.klx", "/work/a.klx"},
        {"Z:\\work\\a.klx", "'Z:\\work\\a.klx'", "Z:\\work\\a.klx"},
        {"Z:\\Kelmor App\\Kelmor.exe", "'Z:\\Kelmor App\\Kelmor.exe'", "\"Z:\\Kelmor App\\Kelmor.exe\""},
        {"/work/my file's.klx", "'/work/my file'\\''s.klx'", "\"/work/my file's.klx\""},
        {"tab\there", "'tab\there'", "\"tab\there\""},
        {"", "''", "\"\""},
        // Backslashes before a closing or written quote stay backslashes on Windows.
        {"C:\\a b\\", "'C:\\a b\\'", "\"C:\\a b\\\\\""},
        {"say \"hi\"", "'say \"hi\"'", "\"say \\\"hi\\\"\""},
        {"$HOME;rm", "'$HOME;rm'", "$HOME;rm"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Quoted(c.name, CommandLineRules::kPosixShell), c.posix) << c.name;
        EXPECT_EQ(Quoted(c.name, CommandLineRules::kWindows), c.windows) << c.name;
    }
    EXPECT_EQ(Quoted("/a b/c", CommandLineRules::kPosixShell, 5), "'/a ");
    EXPECT_EQ(Quoted("C:\\a b", CommandLineRules::kWindows, 4), "\"C:");
}

}  // namespace
