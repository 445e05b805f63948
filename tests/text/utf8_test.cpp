#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<uint32_t> Characters(const char* text) {
    std::vector<uint32_t> out;
    for (uint32_t c = NextCharacter(&text); c != 0; c = NextCharacter(&text)) out.push_back(c);
    return out;
}

TEST(Utf8Test, ValidSequencesDecodeAndAnythingElseIsWindows1252) {
    const struct {
        const char* text;
        bool valid;
        std::vector<uint32_t> characters;
    } rows[] = {
        {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", true, {'a', 0xE9, 0x20AC, 0x1F600}},
        {"caf\xE9 \x80\x81\x9F", false, {'c', 'a', 'f', 0xE9, ' ', 0x20AC, 0x81, 0x178}},
        {"\xC0\xAF", false, {0xC0, 0xAF}},                  // overlong '/'
        {"\xED\xA0\x80", false, {0xED, 0xA0, 0x20AC}},      // a surrogate
        {"\xF4\x90\x80\x80", false, {0xF4, 0x90, 0x20AC, 0x20AC}},  // past U+10FFFF
        {"\xE2\x82", false, {0xE2, 0x201A}},                // cut short by the end
        {"", true, {}},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(IsUtf8(row.text, strlen(row.text)), row.valid) << row.text;
        EXPECT_EQ(Characters(row.text), row.characters) << row.text;
    }
    char bytes[4];
    for (uint32_t c : {0x41u, 0xE9u, 0x20ACu, 0x1F600u}) {
        const int n = EncodeUtf8(c, bytes);
        const std::string encoded(bytes, static_cast<size_t>(n));
        EXPECT_EQ(Characters(encoded.c_str()), std::vector<uint32_t>{c});
    }
    EXPECT_EQ(EncodeUtf8(0xD800, bytes), 0);
    EXPECT_EQ(EncodeUtf8(0x110000, bytes), 0);
}

TEST(Utf8Test, ConversionsStayInTheirBufferAndNeverCutACharacter) {
    char out[8];
    bool cut = true;
    EXPECT_EQ(TextToUtf8("Gr\xFC\xDF" "e", 5, out, sizeof out, &cut), 7);
    EXPECT_STREQ(out, "Gr\xC3\xBC\xC3\x9F" "e");
    EXPECT_FALSE(cut);
    EXPECT_EQ(TextToUtf8("\x80\x80\x80", 3, out, sizeof out, &cut), 6);  // a third euro does not fit
    EXPECT_TRUE(cut);
    EXPECT_EQ(TextToUtf8("abcde\xE2\x82\xAC", 8, out, sizeof out, &cut), 5);
    EXPECT_STREQ(out, "abcde");
    EXPECT_TRUE(cut);
    EXPECT_EQ(TextToUtf8("ab\xE2\x82\xAC", 5, out, sizeof out, &cut), 5);
    EXPECT_FALSE(cut);
    EXPECT_EQ(Utf8Prefix("abcdef\xC3\xA9", 8), 6u);
    EXPECT_EQ(Utf8Prefix("abcde\xC3\xA9x", 8), 7u);
    EXPECT_EQ(Utf8Prefix("abc", 8), 3u);
}

}  // namespace
