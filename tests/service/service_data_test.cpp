#include "service/service_data.h"

#include <cstring>
#include <string>

#include "host/mappings.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

class ServiceDataTest : public CoreTest {
protected:
    static const uint8_t* Bytes() { return fake::sharedBlocks["dllmemfilemap"].data(); }
    static std::string Text(size_t offset) { return reinterpret_cast<const char*>(Bytes() + offset); }
    static uint32_t At(size_t offset) { return Bytes()[offset] | Bytes()[offset + 1] << 8 | Bytes()[offset + 2] << 16; }
};

TEST_F(ServiceDataTest, ReloadFillsTheRecordAtItsOffsetsWhichASecondOpenerFindsUnchanged) {
    // The tables as the main program reads them from the stored Mappings.
    const std::pair<const char*, uint32_t> stored[] = {
        {"118\\Action", 5}, {"118\\Control", 1}, {"65\\Action", 1},
        {"65\\Shift", 1},   {"66\\Action", 3},   {"66\\Alt", 1}};
    for (const auto& value : stored) {
        SetRegistryValue(HKEY_CURRENT_USER, (std::string(KELMOR_KEY "\\Mappings\\") + value.first).c_str(), REG_DWORD,
                         nullptr, value.second);
    }
    ReadMappings();
    char list[1024] = {};
    strcpy(list + 16, "ab 1");                  // a gap before it: packed to slot 0
    memcpy(list + 32, "abcdefghijklmnop", 16);  // no terminator: left out
    strcpy(list + 48, "btw");
    memset(gService.gszKeyBuffer, 'B', 15);
    ASSERT_TRUE(AttachServiceData());
    EXPECT_EQ(ReloadServiceCache(0x1234, 0x99, 3, gLog.gszLogFile, gMappings.gbMapAction, gMappings.gbMapCtrl,
                                 gMappings.gbMapShift, gMappings.gbMapAlt, list, "00000409"),
              1);
    DetachServiceData();
    ASSERT_TRUE(AttachServiceData());
    EXPECT_EQ(At(0), 0x99u);
    EXPECT_EQ(At(4), 0x1234u);
    EXPECT_EQ(At(8) * 10 + At(12), 32u);  // log level, ShortTypes
    EXPECT_EQ(Bytes()[16 + 0x76] * 1000 + Bytes()[528 + 0x76] * 100 + Bytes()[272 + 0x41] * 10 + Bytes()[784 + 0x42],
              5111);  // Ctrl, given before Shift, lands after it
    EXPECT_EQ(Text(1104) + "|" + Text(1120) + "|" + Text(1136), "AB 1|BTW|");
    EXPECT_EQ(Text(2128) + char('0' + Bytes()[2192]), "1W4");  // last characters, first length
    EXPECT_EQ(Text(2256), gLog.gszLogFile);
    EXPECT_EQ(Text(2384), "00000409");
    EXPECT_EQ(gService.gszKeyBuffer[0], 0);
    EXPECT_TRUE(Logged("   Service-->Caching ShortType #2=\"AB 1\" [1], 4"));
    EXPECT_TRUE(Logged("   Service-->sizeof(KELMORSERVICEDATA): 2396/4/2/1/1"));

    // Null arguments and fields too long to hold: empty fields, nothing written past one.
    ReloadServiceCache(1, 2, 0, std::string(128, 'x').c_str(), nullptr, nullptr, nullptr, nullptr, nullptr,
                       "000004090000");
    for (size_t i = 16; i < 2396; ++i) ASSERT_EQ(Bytes()[i], 0) << "offset " << i;
    EXPECT_EQ(fake::sharedBlocks["dllmemfilemap"].size(), 2396u);
    DetachServiceData();
    fake::sharedBlocks.clear();
    fake::refuseSharedMemory = true;
    EXPECT_FALSE(AttachServiceData());
}

}  // namespace
