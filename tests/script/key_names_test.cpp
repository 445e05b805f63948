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
    const std::map<int, std::string> samples = {{8, ""}, {92, ""}, {108, "Num Sep"}, {135, "F24"}, {136, ""}, {300, ""}, {-1, ""}};
    for (const auto& [code, expected] : samples) {
        char name[32] = "junk";
        KeyCodeToName(code, name, sizeof name);
        EXPECT_EQ(name, expected) << "code " << code;
    }
    char out[8] = "#######";
    KeyCodeToName(145, out, 4);
    EXPECT_STREQ(out, "Scr");
    EXPECT_EQ(out[4], '#') << "nothing past the given size";
}

TEST_F(KeyNamesTest, NamesAsUsersAndTokensWriteThem) {
    const std::map<std::string, int> cases = {{"ESCAPE", 27}, {"NumSep", 108}, {"{F5}", 116}, {"{F12}", 219},
        {"{F12", 123}, {"Go {up}stairs", 38}, {"{winkeyr}", 92}, {"{winkey}", 91}, {" ", 32},
        {"Left = Play back", 37}, {"x = Enter", 88}, {"", 0}, {"?", 191}};
    for (const auto& [text, code] : cases) EXPECT_EQ(KeyNameToCode(text.c_str()), code) << "\"" << text << "\"";
    std::string longText(3000, 'q');
    longText.replace(2000, 3, "Tab");
    EXPECT_EQ(KeyNameToCode(longText.c_str()), 'Q') << "only the first 1023 characters count";
}

TEST_F(KeyNamesTest, ExactNamesOnly) {
    // What a user names a key by, in any case; never a text that only holds or begins like a name.
    const std::map<std::string, int> cases = {{"scrolllock", 145}, {"n", 'N'}, {"PAGE UP", 33}, {"NoSuchKey", 0},
        {"Enterprise", 0}, {"F25", 0}, {"Scroll Lock", 0}, {" ", 0}, {"", 0}, {"Left = Play back", 0}};
    for (const auto& [text, code] : cases) EXPECT_EQ(KeyNameToCodeExact(text.c_str()), code) << "\"" << text << "\"";
}

TEST_F(KeyNamesTest, CharactersMapToUsLayoutKeys) {
    const struct {
        const char* chars;
        int firstKey, shift;
    } rows[] = {{"abcdefghijklmnopqrstuvwxyz", 65, 0}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 65, 1}, {"0123456789", 48, 0},
                {")!@#$%^&*(", 48, 1}, {";=,-./`", 186, 0}, {":+<_>?~", 186, 1}, {"[\\]'", 219, 0}, {"{|}\"", 219, 1},
                {"\t", 9, 0}, {"\n", 13, 0}, {"\r", 13, 0}, {" ", 32, 0}, {"\x1b", 0, 0}, {"\xe9", 0, 0}, {"\xad", 0, 0}, {"\xb0", 0, 0}};
    for (const auto& row : rows) {
        for (int k = 0; row.chars[k] != '\0'; ++k) {
            int shift = -1;
            EXPECT_EQ(CharToKey(row.chars[k], &shift), row.firstKey + k) << "'" << row.chars[k] << "'";
            EXPECT_EQ(shift, row.shift) << "'" << row.chars[k] << "'";
        }
    }
}
