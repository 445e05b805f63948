#include <string>

#include "host/mappings.h"
#include "settings/settings.h"
#include "tests/test_support.h"

namespace {

void Put(int vk, const char* name, uint32_t value) {
    char path[96];
    snprintf(path, sizeof path, KELMOR_KEY "\\Mappings\\%d\\%s", vk, name);
    SetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, value);
}

void Mapping(int vk, uint32_t action, uint32_t ctrl = 0, uint32_t shift = 0, uint32_t alt = 0) {
    Put(vk, "Action", action);
    Put(vk, "Control", ctrl);
    Put(vk, "Shift", shift);
    Put(vk, "Alt", alt);
}

}  // namespace

class MappingsTest : public CoreTest {};

TEST_F(MappingsTest, TablesHoldTheStoredActionsAndModifiers) {
    Mapping('P', ACTION_PLAYBACK, 1, 0, 7);
    Mapping(0x70, ACTION_TYPE_TEXT, 0, 2, 0);
    Mapping(0x71, 0x100 | ACTION_REPLACE_TIMENUMBER);  // only the low byte counts
    Mapping(0x72, 13, 1, 1, 1);                        // no such action
    Mapping(0x73, 0x100, 1, 1, 1);                     // low byte 0
    Mapping(255, ACTION_PLAYBACK);                     // outside the service's tables
    Put(0x74, "Control", 1);                           // modifiers without an action
    ReadMappings();

    EXPECT_EQ(gbMapAction['P'], ACTION_PLAYBACK);
    EXPECT_EQ(gbMapCtrl['P'], 1);
    EXPECT_EQ(gbMapShift['P'], 0);
    EXPECT_EQ(gbMapAlt['P'], 1) << "any non-zero value is a required modifier";
    EXPECT_EQ(gbMapAction[0x70], ACTION_TYPE_TEXT);
    EXPECT_EQ(gbMapShift[0x70], 1);
    EXPECT_EQ(gbMapAction[0x71], ACTION_REPLACE_TIMENUMBER);
    for (int vk : {0x72, 0x73, 0x74, 255}) {
        EXPECT_EQ(gbMapAction[vk], 0) << vk;
        EXPECT_EQ(gbMapCtrl[vk] | gbMapShift[vk] | gbMapAlt[vk], 0) << vk;
    }
    EXPECT_EQ(gbStopRecordingKey, 0);
}

TEST_F(MappingsTest, StopKeyIsTheHighestKeyBoundToStopRecording) {
    Mapping(0x7A, ACTION_STOP_RECORDING, 1);
    Mapping(0x13, ACTION_STOP_RECORDING);
    Mapping(0x7B, ACTION_PLAYBACK);
    ReadMappings();
    EXPECT_EQ(gbStopRecordingKey, 0x7A);

    // A fresh read forgets what the store no longer holds.
    Put(0x7A, "Action", 0);
    Put(0x13, "Action", ACTION_LAUNCH_PROGRAM);
    ReadMappings();
    EXPECT_EQ(gbStopRecordingKey, 0);
    EXPECT_EQ(gbMapAction[0x7A], 0);
    EXPECT_EQ(gbMapCtrl[0x7A], 0);
    EXPECT_EQ(gbMapAction[0x13], ACTION_LAUNCH_PROGRAM);
}
