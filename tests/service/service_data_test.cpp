#include "service/service_data.h"

#include "host/mappings.h"
#include "settings/log.h"
#include "settings/settings.h"

#include <cstring>
#include <string>

#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

class ServiceDataTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        ASSERT_TRUE(AttachServiceData());
    }
    const std::vector<uint8_t>& Bytes() { return fake::sharedBlocks["dllmemfilemap"]; }
    uint32_t At(size_t offset) {
        uint32_t v = 0;
        for (int k = 3; k >= 0; --k) v = (v << 8) | Bytes()[offset + k];
        return v;
    }
};

TEST_F(ServiceDataTest, ASecondOpenerFindsTheRecordUnchangedAndAFailedOpenRefusesTheLoad) {
    gpServiceData->nLogLevel = 3;
    gpServiceData->szShortType[63][0] = 'Q';
    DetachServiceData();
    ASSERT_TRUE(AttachServiceData());
    EXPECT_EQ(At(8), 3u);
    EXPECT_EQ(Bytes()[1104 + 63 * 16], 'Q');
    DetachServiceData();
    fake::sharedBlocks.clear();
    fake::refuseSharedMemory = true;
    EXPECT_FALSE(AttachServiceData());
    EXPECT_EQ(gpServiceData, nullptr);
}

TEST_F(ServiceDataTest, ReloadLaysTheRecordOutAtItsOffsetsAndCachesShortTypesUpperCased) {
    // The tables as the main program reads them from the stored Mappings.
    const struct { const char* value; uint32_t number; } stored[] = {
        {"118\\Action", 5}, {"118\\Control", 1}, {"65\\Action", 1},
        {"65\\Shift", 1},   {"66\\Action", 3},   {"66\\Alt", 1}};
    for (const auto& v : stored)
        SetRegistryValue(HKEY_CURRENT_USER, (std::string(KELMOR_KEY "\\Mappings\\") + v.value).c_str(), REG_DWORD,
                         nullptr, v.number);
    ReadMappings();
    char list[1024] = {};
    strcpy(list + 16, "ab 1");            // a gap before it: packed to slot 0
    memcpy(list + 32, "abcdefghijklmnop", 16);  // no terminator: left out
    strcpy(list + 48, "btw");
    memset(gszKeyBuffer, 'B', 15);
    const std::string longPath(128, 'x');
    EXPECT_EQ(ReloadServiceCache(0x1234, 0x99, 3, gszLogFile, gbMapAction, gbMapCtrl, gbMapShift, gbMapAlt, list,
                                 "00000409"), 1);
    EXPECT_EQ(At(0), 0x99u);
    EXPECT_EQ(At(4), 0x1234u);
    EXPECT_EQ(At(8), 3u);
    EXPECT_EQ(At(12), 2u);
    EXPECT_EQ(Bytes()[16 + 0x76], 5);
    EXPECT_EQ(Bytes()[528 + 0x76], 1);  // Ctrl, given before Shift
    EXPECT_EQ(Bytes()[272 + 0x41], 1);
    EXPECT_EQ(Bytes()[784 + 0x42], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&Bytes()[1104])), "AB 1");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&Bytes()[1120])), "BTW");
    EXPECT_EQ(Bytes()[1136], 0);
    EXPECT_EQ(Bytes()[2128], '1');
    EXPECT_EQ(Bytes()[2129], 'W');
    EXPECT_EQ(Bytes()[2192], 4);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&Bytes()[2256])), gszLogFile);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&Bytes()[2384])), "00000409");
    EXPECT_EQ(gszKeyBuffer[0], 0);
    EXPECT_TRUE(Logged("   Service-->Caching ShortType #2=\"AB 1\" [1], 4"));
    EXPECT_TRUE(Logged("   Service-->Caching ShortType #4=\"BTW\" [W], 3"));
    EXPECT_TRUE(Logged("   Service-->sizeof(KELMORSERVICEDATA): 2396/4/2/1/1"));

    // Null arguments and fields too long to hold: empty fields, nothing written past one.
    ReloadServiceCache(1, 2, 0, longPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, "000004090000");
    EXPECT_EQ(At(12), 0u);
    for (size_t i = 16; i < 2396; ++i) ASSERT_EQ(Bytes()[i], 0) << "offset " << i;
    EXPECT_EQ(Bytes().size(), 2396u);
}

}  // namespace
