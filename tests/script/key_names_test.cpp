#include <cstring>
#include <map>
#include <string>

#include "script/key_names.h"
#include "tests/test_support.h"

class KeyNamesTest : public CoreTest {};

TEST_F(KeyNamesTest, EveryNameReadsBackToItsCode) {
    int named = 0;
    for (int code = 0; code < 256; ++code) {
        char name[32];
        KeyCodeToName(code, name, sizeof name);
        if (name[0] == '\0') continue;
        ++named;
        EXPECT_EQ(KeyNameToCode(name), code) << "name \"" << name << "\"";
    }
    EXPECT_EQ(named, 107);
    const std::map<int, std::string> samples = {
        {8, ""},     {16, ""},         {92, ""},         {93, ""},     {20, "Caps"}, {46, "Del"},
        {57, "9"},   {81, "Q"},        {105, "Num9"},    {108, "Num Sep"}, {112, "F1"}, {135, "F24"},
        {136, ""},   {145, "ScrollLock"}, {220, "\\"},   {222, "'"},   {300, ""},    {-1, ""},
    };
    for (const auto& [code, expected] : samples) {
        char name[32] = "junk";
        KeyCodeToName(code, name, sizeof name);
        EXPECT_EQ(name, expected) << "code " << code;
    }
}

TEST_F(KeyNamesTest, NameBufferIsNeverOverrun) {
    char out[8];
    memset(out, '#', sizeof out);
    KeyCodeToName(145, out, 4);
    EXPECT_STREQ(out, "Scr");
    EXPECT_EQ(out[4], '#');
    KeyCodeToName(145, out, 0);  // nothing may be written at all
    EXPECT_EQ(out[0], 'S');
}

TEST_F(KeyNamesTest, NamesAsUsersAndTokensWriteThem) {
    const std::map<std::string, int> cases = {
        {"Ctrl", 17},         {"ESCAPE", 27},        {"escape", 27},      {"PrtScr", 44},
        {"Caps", 20},         {"Num Sep", 108},      {"NumSep", 108},     {"{F5}", 116},
        {"F12", 123},         {"f9", 120},           {"{F12}", 219},      {"{F12", 123},
        {"Go {up}stairs", 38}, {"{backspace}", 8},   {"{winkeyr}", 92},   {"{winkey}", 91},
        {"{pageup}", 33},     {"{pagedown}", 34},    {"{delete}", 46},    {"{insert}", 45},
        {"{appkey}", 93},     {"{subtract}", 109},   {" ", 32},           {"Left = Play back", 37},
        {"F5 = Run program", 116}, {"x = Enter", 88}, {"", 0},            {"?", 191},
    };
    for (const auto& [text, code] : cases) EXPECT_EQ(KeyNameToCode(text.c_str()), code) << "\"" << text << "\"";
    EXPECT_EQ(KeyNameToCode(nullptr), 0);
    // Only the first 1023 characters count, and a long text is read safely.
    std::string longText(3000, 'q');
    EXPECT_EQ(KeyNameToCode(longText.c_str()), 'Q');
    longText.replace(2000, 3, "Tab");
    EXPECT_EQ(KeyNameToCode(longText.c_str()), 'Q');
}

TEST_F(KeyNamesTest, CharactersMapToUsLayoutKeys) {
    struct Row {
        const char* chars;
        int firstKey;
        int shift;
    };
    const Row rows[] = {
        {"abcdefghijklmnopqrstuvwxyz", 65, 0}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 65, 1},
        {"0123456789", 48, 0},                 {")!@#$%^&*(", 48, 1},
        {";=,-./`", 186, 0},                   {":+<_>?~", 186, 1},
        {"[\\]'", 219, 0},                     {"{|}\"", 219, 1},
    };
    for (const Row& row : rows) {
        for (int k = 0; row.chars[k] != '\0'; ++k) {
            int shift = -1;
            EXPECT_EQ(CharToKey(row.chars[k], &shift), row.firstKey + k) << "'" << row.chars[k] << "'";
            EXPECT_EQ(shift, row.shift) << "'" << row.chars[k] << "'";
        }
    }
    const std::map<int, int> unshifted = {{'\t', 9}, {'\n', 13}, {'\r', 13}, {' ', 32}, {1, 1}, {27, 27}, {0xE9, 0xE9}};
    for (const auto& [c, key] : unshifted) {
        int shift = -1;
        EXPECT_EQ(CharToKey(static_cast<char>(c), &shift), key) << c;
        EXPECT_EQ(shift, 0) << c;
    }
    EXPECT_EQ(CharToKey('Q'), 81);  // the Shift flag is optional
}
