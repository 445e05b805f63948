#include "recording/message_names.h"

#include "platform/wintypes.h"

const MessageName kMessageNames[12] = {
    {"WM_MOUSEMOVE", WM_MOUSEMOVE, true},
    {"WM_KEYDOWN", WM_KEYDOWN, true},
    {"WM_KEYUP", WM_KEYUP, true},
    {"WM_LBUTTONDOWN", WM_LBUTTONDOWN, true},
    {"WM_LBUTTONUP", WM_LBUTTONUP, true},
    {"WM_CHAR", WM_CHAR, true},
    {"WM_COMMAND", WM_COMMAND, true},
    {"WM_LBUTTONDBLCLK", WM_LBUTTONDBLCLK, true},
    {"WM_NCLBUTTONDBLCLK", WM_NCLBUTTONDBLCLK, true},
    {"WM_MOUSEWHEEL", WM_MOUSEWHEEL, true},
    {"WM_SYSKEYDOWN", WM_SYSKEYDOWN, false},
    {"WM_SYSKEYUP", WM_SYSKEYUP, false},
};

const char* MessageFileName(uint32_t message) {
    for (const MessageName& m : kMessageNames) {
        if (m.code == message) return m.name;
    }
    return nullptr;
}

const char* LogMessageName(uint32_t message) {
    for (const MessageName& m : kMessageNames) {
        if (m.code == message) return m.logged ? m.name : nullptr;
    }
    return nullptr;
}
