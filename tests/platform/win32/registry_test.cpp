// The settings store on the real registry (Wine's or Windows'), below a key of the test's
// own so that nothing of the user's is touched.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"

namespace {

class RegistryTest : public ::testing::Test {
protected:
    void TearDown() override {
        // Leaves first: the store deletes only keys without subkeys.
        for (const char* sub : {"\\a\\b", "\\Beta", "\\alpha", "\\ALPHA2", "\\gamma", "\\a", ""}) {
            StoreDeleteKey((root_ + sub).c_str());
        }
    }
    const std::string root_ = "SOFTWARE\\KelmorTest" + std::to_string(GetCurrentProcessId());
};

std::string Text(const char* key, const char* name, uint32_t* kind) {
    char data[256] = "";
    uint32_t size = sizeof data;
    if (!StoreQueryValue(key, name, kind, data, &size)) return "<none>";
    return std::string(data, size);
}

}  // namespace

TEST_F(RegistryTest, ValuesKeepTheirKindSizeAndTextAndNamesIgnoreCase) {
    const std::string key = root_ + "\\a\\b";
    EXPECT_FALSE(StoreKeyExists(key.c_str()));
    EXPECT_FALSE(StoreSetValue(key.c_str(), "Speed", REG_DWORD, "\4\0\0\0", 4)) << "no value without its key";
    ASSERT_TRUE(StoreCreateKey(key.c_str()));
    EXPECT_TRUE(StoreKeyExists((root_ + "\\A\\B").c_str()));

    const uint32_t speed = 3;
    ASSERT_TRUE(StoreSetValue(key.c_str(), "Speed", REG_DWORD, &speed, 4));
    uint32_t read = 0, kind = 0, size = 4;
    ASSERT_TRUE(StoreQueryValue(key.c_str(), "SPEED", &kind, &read, &size));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(kind, REG_DWORD);
    EXPECT_EQ(size, 4u);

    // A '%' is kept as written: an expandable string is not expanded on reading.
    const char editor[] = "%windir%\\notepad.exe";
    ASSERT_TRUE(StoreSetValue(key.c_str(), "Editor", REG_EXPAND_SZ, editor, sizeof editor));
    EXPECT_EQ(Text(key.c_str(), "editor", &kind), std::string(editor, sizeof editor));
    EXPECT_EQ(kind, REG_EXPAND_SZ);

    // Without a buffer only the size; a buffer too small fails and holds nothing back.
    size = 0;
    ASSERT_TRUE(StoreQueryValue(key.c_str(), "Editor", nullptr, nullptr, &size));
    EXPECT_EQ(size, sizeof editor);
    char small[4];
    size = sizeof small;
    EXPECT_FALSE(StoreQueryValue(key.c_str(), "Editor", &kind, small, &size));
    EXPECT_EQ(SysGetLastError(), 234u);  // ERROR_MORE_DATA

    ASSERT_TRUE(StoreDeleteValue(key.c_str(), "EDITOR"));
    EXPECT_EQ(Text(key.c_str(), "Editor", &kind), "<none>");
    EXPECT_EQ(SysGetLastError(), 2u);  // ERROR_FILE_NOT_FOUND
    EXPECT_FALSE(StoreDeleteValue(key.c_str(), "Editor"));
}

TEST_F(RegistryTest, SubkeysListInCaseInsensitiveOrderAndOnlyLeavesAreDeleted) {
    for (const char* sub : {"\\gamma", "\\Beta", "\\ALPHA2", "\\alpha", "\\a\\b"}) {
        ASSERT_TRUE(StoreCreateKey((root_ + sub).c_str())) << sub;
    }
    std::string names;
    char name[256];
    for (uint32_t i = 0; StoreEnumKey(root_.c_str(), i, name, sizeof name); ++i) names += std::string(name) + " ";
    EXPECT_EQ(names, "a alpha ALPHA2 Beta gamma ");
    char tiny[3];
    EXPECT_FALSE(StoreEnumKey(root_.c_str(), 1, tiny, sizeof tiny)) << "a name that does not fit is not cut";

    EXPECT_FALSE(StoreDeleteKey((root_ + "\\a").c_str())) << "a key with subkeys stays";
    EXPECT_TRUE(StoreKeyExists((root_ + "\\a\\b").c_str()));
    EXPECT_TRUE(StoreDeleteKey((root_ + "\\a\\b").c_str()));
    EXPECT_TRUE(StoreDeleteKey((root_ + "\\a").c_str()));
    EXPECT_FALSE(StoreDeleteKey((root_ + "\\a").c_str())) << "already gone";
    EXPECT_FALSE(StoreDeleteKey(""));
    EXPECT_FALSE(StoreDeleteKey("Software\\Microsoft\\Windows\\CurrentVersion\\RUN"));
    EXPECT_TRUE(StoreKeyExists("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

TEST_F(RegistryTest, TheRunValueIsAnOrdinaryValueOfTheRunKey) {
    const char run[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    const char program[] = "C:\\Program Files\\Kelmor\\Kelmor.exe";
    ASSERT_TRUE(StoreCreateKey(run));
    ASSERT_TRUE(StoreSetValue(run, "Kelmor", REG_SZ, program, sizeof program));
    uint32_t kind = 0;
    EXPECT_EQ(Text(run, "kelmor", &kind), std::string(program, sizeof program));
    EXPECT_EQ(kind, REG_SZ);
    EXPECT_TRUE(StoreDeleteValue(run, "Kelmor"));
    EXPECT_EQ(Text(run, "Kelmor", &kind), "<none>");
}

// The store speaks UTF-8 whatever the process's code page: the registry holds the text as
// the system's UTF-16, where other programs read it; sizes count UTF-8 bytes; a key name
// with such characters lists as written; Windows-1252 bytes from an older file are read
// as such.
TEST_F(RegistryTest, TextsAndNamesAreUtf8AndTheRegistryHoldsTheirCharacters) {
    const std::string key = root_ + "\\gamma";
    ASSERT_TRUE(StoreCreateKey(key.c_str()));
    const char text[] = "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC \xD0\x96 \xF0\x9F\x98\x80";  // Grüße € Ж 😀
    ASSERT_TRUE(StoreSetValue(key.c_str(), "Text", REG_SZ, text, sizeof text));
    uint32_t kind = 0;
    EXPECT_EQ(Text(key.c_str(), "Text", &kind), std::string(text, sizeof text));
    uint32_t size = 0;
    ASSERT_TRUE(StoreQueryValue(key.c_str(), "Text", nullptr, nullptr, &size));
    EXPECT_EQ(size, sizeof text);
    char small[sizeof text - 1];
    size = sizeof small;
    EXPECT_FALSE(StoreQueryValue(key.c_str(), "Text", nullptr, small, &size));
    EXPECT_EQ(size, sizeof text) << "the size needed";

    HKEY raw;
    ASSERT_EQ(RegOpenKeyExA(WinCurrentUser(), key.c_str(), 0, KEY_READ, &raw), ERROR_SUCCESS);
    WCHAR wide[32] = {};
    DWORD bytes = sizeof wide;
    EXPECT_EQ(RegQueryValueExW(raw, L"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(wide), &bytes), ERROR_SUCCESS);
    RegCloseKey(raw);
    EXPECT_EQ(std::wstring(wide), std::wstring(L"Gr\u00FC\u00DFe \u20AC \u0416 \U0001F600"));

    const char cp1252[] = "Gr\xFC\xDF" "e \x80";
    ASSERT_TRUE(StoreSetValue(key.c_str(), "Old", REG_SZ, cp1252, sizeof cp1252));
    EXPECT_EQ(Text(key.c_str(), "Old", &kind), std::string("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC", 12));

    const std::string named = root_ + "\\alpha";
    const std::string sub = named + "\\\xE6\x97\xA5\xE6\x9C\xAC";  // 日本
    ASSERT_TRUE(StoreCreateKey(sub.c_str()));
    char name[256];
    ASSERT_TRUE(StoreEnumKey(named.c_str(), 0, name, sizeof name));
    EXPECT_STREQ(name, "\xE6\x97\xA5\xE6\x9C\xAC");
    EXPECT_TRUE(StoreDeleteKey(sub.c_str()));
}

TEST_F(RegistryTest, ADroppedSetOfChangesLeavesTheRegistryAsItWas) {
    const std::string kept = root_ + "\\alpha";
    ASSERT_TRUE(StoreCreateKey(kept.c_str()));
    ASSERT_TRUE(StoreSetValue(kept.c_str(), "Old", REG_SZ, "old", 4));
    ASSERT_TRUE(StoreSetValue(kept.c_str(), "Gone", REG_SZ, "gone", 5));
    ASSERT_TRUE(StoreBeginChanges());
    EXPECT_FALSE(StoreBeginChanges()) << "one set at a time";
    ASSERT_TRUE(StoreSetValue(kept.c_str(), "Old", REG_SZ, "new", 4));
    ASSERT_TRUE(StoreSetValue(kept.c_str(), "Added", REG_DWORD, "\1\0\0\0", 4));
    ASSERT_TRUE(StoreDeleteValue(kept.c_str(), "Gone"));
    ASSERT_TRUE(StoreCreateKey((root_ + "\\a\\b").c_str()));
    ASSERT_TRUE(StoreSetValue((root_ + "\\a\\b").c_str(), "V", REG_SZ, "v", 2));
    ASSERT_TRUE(StoreDeleteKey((root_ + "\\a\\b").c_str()));
    ASSERT_TRUE(StoreCreateKey((root_ + "\\gamma").c_str()));
    ASSERT_TRUE(StoreEndChanges(false));
    uint32_t kind = 0;
    EXPECT_EQ(Text(kept.c_str(), "Old", &kind), std::string("old", 4));
    EXPECT_EQ(Text(kept.c_str(), "Gone", &kind), std::string("gone", 5));
    EXPECT_EQ(Text(kept.c_str(), "Added", &kind), "<none>");
    EXPECT_FALSE(StoreKeyExists((root_ + "\\a").c_str()));
    EXPECT_FALSE(StoreKeyExists((root_ + "\\gamma").c_str()));
}

TEST_F(RegistryTest, ARestoreIsKeptOutByARunningWindow) {
    bool windowOpen = false;
    ASSERT_TRUE(StoreHoldForWindow());
    EXPECT_FALSE(StoreKeepWindowsOut(&windowOpen));
    EXPECT_TRUE(windowOpen);
    StoreReleaseWindowHold();
    EXPECT_TRUE(StoreKeepWindowsOut(&windowOpen));
    StoreLetWindowsIn();
}
