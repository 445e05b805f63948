// KelmorService.DLL as the system loads it: its two entries found by name, and the record
// its cache entry fills seen by another view of the named section.
#include "platform/win32/windows_api.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/shared_memory.h"

namespace {

typedef int (*ReloadEntry)(uint32_t, uint32_t, int32_t, const char*, const uint8_t*, const uint8_t*, const uint8_t*,
                           const uint8_t*, const char*, const char*);

uint32_t Word(const uint8_t* record, int offset) {
    uint32_t value;
    memcpy(&value, record + offset, sizeof value);
    return value;
}

}  // namespace

TEST(ServiceDllTest, ItsEntriesFillTheSharedRecordAtItsOffsetsAndALaterLoadKeepsIt) {
    HMODULE dll = LoadLibraryA(KELMOR_SERVICE_DLL);
    ASSERT_NE(dll, nullptr) << GetLastError();
    EXPECT_NE(GetProcAddress(dll, "KelmorKeyboardProc"), nullptr);
    auto reload = reinterpret_cast<ReloadEntry>(reinterpret_cast<void*>(GetProcAddress(dll, "ReloadServiceCache")));
    ASSERT_NE(reload, nullptr);

    uint8_t action[256] = {}, control[256] = {}, shift[256] = {}, alt[256] = {};
    action[0x76] = 5, control[0x76] = 1, shift['R'] = 1, alt['Q'] = 1;
    char shortTypes[64 * 16] = {};
    strcpy(shortTypes, "btw");
    strcpy(shortTypes + 2 * 16, "a b1");  // behind an empty slot
    ASSERT_EQ(reload(0x1234, 0x5678, 0, "C:\\Kelmor.log", action, control, shift, alt, shortTypes, nullptr), 1);

    bool created = true;
    auto* record = static_cast<uint8_t*>(SysOpenSharedMemory("dllmemfilemap", 2396, &created));
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(created) << "the DLL made the section when it was loaded";
    EXPECT_EQ(Word(record, 0), 0x5678u);
    EXPECT_EQ(Word(record, 4), 0x1234u);
    EXPECT_EQ(Word(record, 12), 2u);
    EXPECT_EQ(record[16 + 0x76], 5);
    EXPECT_EQ(record[272 + 'R'], 1);  // Shift first in the record, Ctrl second
    EXPECT_EQ(record[528 + 0x76], 1);
    EXPECT_EQ(record[784 + 'Q'], 1);
    EXPECT_STREQ(reinterpret_cast<char*>(record + 1104), "BTW");
    EXPECT_STREQ(reinterpret_cast<char*>(record + 1120), "A B1");
    EXPECT_EQ(record[2128], 'W');
    EXPECT_EQ(record[2129], '1');
    EXPECT_EQ(record[2192], 3);
    EXPECT_EQ(record[2193], 4);
    EXPECT_STREQ(reinterpret_cast<char*>(record + 2256), "C:\\Kelmor.log");
    // The layout field stays in the record, empty: nothing switches layouts to type.
    EXPECT_STREQ(reinterpret_cast<char*>(record + 2384), "");

    // Unloaded and loaded again while another view holds the section: the new instance
    // finds the record as it was, not zeroed.
    ASSERT_TRUE(FreeLibrary(dll));
    dll = LoadLibraryA(KELMOR_SERVICE_DLL);
    ASSERT_NE(dll, nullptr);
    EXPECT_EQ(Word(record, 0), 0x5678u);
    EXPECT_STREQ(reinterpret_cast<char*>(record + 1104), "BTW");
    FreeLibrary(dll);
    SysCloseSharedMemory(record, 2396);
}
