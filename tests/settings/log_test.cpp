#include <climits>
#include <cstdint>
#include <string>
#include <thread>

#include "platform/system.h"
#include "settings/format.h"
#include "settings/log.h"
#include "tests/test_support.h"

namespace {

std::string Fmt(const char* format, ...) {
    char out[320];
    va_list args;
    va_start(args, format);
    FormatTextV(out, sizeof out, format, args);
    va_end(args);
    return out;
}

}  // namespace

TEST(FormatText, ConversionsOfTheSystemFormatter) {
    EXPECT_EQ(Fmt("%s|%c|%d|%u|%li", "ab", 'x', -42, 4000000000u, -7), "ab|x|-42|4000000000|-7");
    EXPECT_EQ(Fmt("%x %X %02x %08x", 255, 255, 5, 0x1234), "ff FF 05 00001234");
    EXPECT_EQ(Fmt("%5d|%-5d|%05d|%.3d", 42, 42, -42, 7), "   42|42   |-0042|007");
    EXPECT_EQ(Fmt("%.2s|%5s|%-3s|", "abcdef", "ab", "a"), "ab|   ab|a  |");
    EXPECT_EQ(Fmt("%s %%", static_cast<const char*>(nullptr)), "(null) %");
    EXPECT_EQ(Fmt("%d", INT32_MIN), "-2147483648");
    // %li reads a 32-bit value, so a negative int prints negative, not as a 64-bit long.
    EXPECT_EQ(Fmt("%li %lu", -1, 0xFFFFFFFFu), "-1 4294967295");
    EXPECT_EQ(Fmt("%hd", 70000), "4464");
}

TEST(FormatText, NeverWritesPastTheBuffer) {
    char out[8];
    memset(out, 'Z', sizeof out);
    int n = FormatText(out, 5, "%s%d", "abcdefgh", 12345);
    EXPECT_EQ(n, 4);
    EXPECT_STREQ(out, "abcd");
    EXPECT_EQ(out[5], 'Z');
    EXPECT_EQ(FormatText(out, 1, "abc"), 0);
    EXPECT_STREQ(out, "");
    // A format that ends inside a conversion stops cleanly.
    EXPECT_EQ(Fmt("abc%-0"), "abc");
}

class LogTest : public CoreTest {};

TEST_F(LogTest, LongLinesAreCutAt319Characters) {
    std::string longText(1000, 'x');
    WriteLogLine(gLog.gszLogFile, "%s", longText.c_str());
    EXPECT_EQ(ReadFile(gLog.gszLogFile), std::string(319, 'x') + "\r\n");
}

TEST_F(LogTest, LevelsDecideWhatIsWritten) {
    gLog.gbLogLevel = LOG_OFF;
    LogAt(LOG_LOW, "low");
    EXPECT_FALSE(FileExists(gLog.gszLogFile)) << "logging at level 0 must not create the file";
    gLog.gbLogLevel = LOG_MEDIUM;
    LogAt(LOG_LOW, "low");
    LogAt(LOG_MEDIUM, "medium");
    LogAt(LOG_HIGH, "high");
    gLog.gbLogLevel = 5;  // above HIGH acts as HIGH
    LogAt(LOG_HIGH, "five");
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "low\r\nmedium\r\nfive\r\n");
}

TEST_F(LogTest, MissingFolderFailsSilently) {
    std::string path = Path("no/such/dir/log.txt");
    WriteLogLine(path.c_str(), "lost");
    EXPECT_FALSE(FileExists(path));
}

TEST_F(LogTest, LastErrorTextOrFallback) {
    SysSetLastError(13);  // EACCES
    LogLastError(gLog.gszLogFile);
    SysSetLastError(999999);
    LogLastError(gLog.gszLogFile);
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "Permission denied\r\nUnable to display error.\r\n");
}

TEST_F(LogTest, ConcurrentWritersNeverOverwriteEachOther) {
    // Each writer opens, appends and closes per line, as the program and the keyboard
    // service do from different processes.
    auto writer = [this](char c) {
        std::string text(100, c);
        for (int i = 0; i < 500; ++i) WriteLogLine(gLog.gszLogFile, "%s", text.c_str());
    };
    std::thread a(writer, 'a'), b(writer, 'b');
    a.join();
    b.join();
    std::string content = ReadFile(gLog.gszLogFile);
    ASSERT_EQ(content.size(), 1000u * 102u);
    for (size_t at = 0; at < content.size(); at += 102) {
        char c = content[at];
        ASSERT_EQ(content.substr(at, 102), std::string(100, c) + "\r\n") << "line at " << at;
    }
}
