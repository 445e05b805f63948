#include "host/mappings.h"

#include <cstring>

#include "settings/service_store.h"

MappingTables gMappings;

void ClearMappings() { gMappings = MappingTables{}; }

void ReadMappings() {
    ClearMappings();
    // Entry 255 stays empty: the service's tables never carry it.
    for (int vk = 0; vk < 255; ++vk) {
        // Only the low byte of the stored value names the action.
        const uint8_t action = static_cast<uint8_t>(ReadMappingValue(vk, "Action") & 0xFFu);
        if (action < ACTION_START_RECORDING || action > ACTION_REPLACE_TIMENUMBER) continue;
        gMappings.gbMapAction[vk] = action;
        if (ReadMappingValue(vk, "Control") != 0) gMappings.gbMapCtrl[vk] = 1;
        if (ReadMappingValue(vk, "Shift") != 0) gMappings.gbMapShift[vk] = 1;
        if (ReadMappingValue(vk, "Alt") != 0) gMappings.gbMapAlt[vk] = 1;
        // Keys are visited in rising order, so the highest bound key wins.
        if (action == ACTION_STOP_RECORDING) gMappings.gbStopRecordingKey = static_cast<uint8_t>(vk);
    }
}
