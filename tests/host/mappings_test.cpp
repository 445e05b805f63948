#include "host/mappings.h"
#include "settings/settings.h"
#include "tests/test_support.h"

namespace {

void Mapping(int vk, uint32_t action, uint32_t ctrl = 0, uint32_t shift = 0, uint32_t alt = 0) {
    const char* names[] = {"Action", "Control", "Shift", "Alt"};
    const uint32_t values[] = {action, ctrl, shift, alt};
    for (int i = 0; i < 4; ++i) {
        char path[96];
        snprintf(path, sizeof path, KELMOR_KEY "\\Mappings\\%d\\%s", vk, names[i]);
        SetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, values[i]);
    }
}

}  // namespace

class MappingsTest : public CoreTest {};

TEST_F(MappingsTest, TablesHoldValidActionsAndTheHighestStopKey) {
    Mapping('P', ACTION_PLAYBACK, 1, 0, 7);
    Mapping(0x71, 0x100 | ACTION_REPLACE_TIMENUMBER, 0, 1);  // only the low byte counts
    Mapping(0x72, 13, 1, 1, 1);                              // no such action
    Mapping(255, ACTION_PLAYBACK);                           // outside the tables
    Mapping(0x7A, ACTION_STOP_RECORDING);
    Mapping(0x13, ACTION_STOP_RECORDING);
    ReadMappings();
    EXPECT_EQ(gMappings.gbMapAction['P'], ACTION_PLAYBACK);
    EXPECT_EQ(gMappings.gbMapCtrl['P'] * 100 + gMappings.gbMapShift['P'] * 10 + gMappings.gbMapAlt['P'], 101);
    EXPECT_EQ(gMappings.gbMapAction[0x71], ACTION_REPLACE_TIMENUMBER);
    EXPECT_EQ(gMappings.gbMapShift[0x71], 1);
    EXPECT_EQ(gMappings.gbMapAction[0x72] | gMappings.gbMapCtrl[0x72] | gMappings.gbMapAction[255], 0);
    EXPECT_EQ(gMappings.gbStopRecordingKey, 0x7A);

    // A fresh read forgets what the store no longer holds.
    Mapping(0x7A, 0);
    Mapping('P', ACTION_PLAYBACK);
    ReadMappings();
    EXPECT_EQ(gMappings.gbStopRecordingKey, 0x13);
    EXPECT_EQ(gMappings.gbMapCtrl['P'], 0);
}
