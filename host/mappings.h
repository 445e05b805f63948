// The Mapping tables the main program reads: the action bound to each virtual key,
// with its Ctrl, Shift and Alt flags, and the recorder's stop key.
#pragma once
#include <cstdint>

enum MappingAction {
    ACTION_NONE = 0,
    ACTION_START_RECORDING = 1,
    ACTION_STOP_RECORDING = 2,
    ACTION_PLAYBACK = 3,
    ACTION_ACTIVATE_WINDOW = 4,
    ACTION_TYPE_TEXT = 5,
    ACTION_LAUNCH_PROGRAM = 6,
    ACTION_PLAY_FILE = 7,
    ACTION_REPLACE_LOOP = 8,
    ACTION_REPLACE_RANDOM = 9,
    ACTION_REPLACE_TIME = 10,
    ACTION_REPLACE_DATETIME = 11,
    ACTION_REPLACE_TIMENUMBER = 12,
};

struct MappingTables {
    uint8_t gbMapAction[256] = {};
    uint8_t gbMapCtrl[256] = {};
    uint8_t gbMapShift[256] = {};
    uint8_t gbMapAlt[256] = {};
    uint8_t gbStopRecordingKey = 0;  // 0 for none
};
// Global because the recorder's hook, called by the system with no context, looks up
// the stop key in them.
extern MappingTables gMappings;

// Table mode: refills the four tables and the stop key from the stored Mappings.
void ReadMappings();
// Empties the four tables and forgets the stop key.
void ClearMappings();
