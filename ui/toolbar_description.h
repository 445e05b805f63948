// The main window's toolbar as data: twelve entries in order, separators with command 0.
#pragma once
#include "platform/window_parts.h"

// The strip holds this many images; the buttons use the first nine.
const int kToolbarImageCount = 12;
extern const ToolbarEntry kToolbar[];
extern const int kToolbarCount;
// The tips as one list: field n (from 0, separated by '|') is the tip of position n.
extern const char kToolbarTips[];
