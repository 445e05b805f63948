#include "ui/toolbar_description.h"

#include "ui/command_ids.h"

const ToolbarEntry kToolbar[] = {
    {-1, 0},
    {0, ID_NEW},
    {1, ID_OPEN},
    {2, ID_SAVE_AS},
    {-1, 0},
    {3, ID_START_RECORDING},
    {4, ID_STOP_RECORDING},
    {5, ID_PLAY},
    {-1, 0},
    {6, ID_USER_COMMAND},
    {7, ID_ADVANCED_OPTIONS},
    {8, ID_HELP_CONTENTS},
};
const int kToolbarCount = sizeof kToolbar / sizeof kToolbar[0];

const char kToolbarTips[] =
    " |New Recording (Ctrl+N)|Open (Ctrl+O)|Save As (Ctrl+S)| |Start Recording|Stop Recording|Playback| |User "
    "Command|Advanced Options|Help";
