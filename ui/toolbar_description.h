// The main window's toolbar as data: twelve entries in order, separators with command 0.
#pragma once
#include <cstdint>

struct ToolbarEntry {
    int8_t image;      // index into the 16x16 image strip; -1 for a separator
    uint16_t command;  // 0 for a separator
};

// The strip holds this many images; the buttons use the first nine.
const int kToolbarImageCount = 12;
extern const ToolbarEntry kToolbar[];
extern const int kToolbarCount;
// The tips as one list: field n (from 0, separated by '|') is the tip of position n.
extern const char kToolbarTips[];
