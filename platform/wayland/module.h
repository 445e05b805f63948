// Playback in a Wayland session lives in a module of its own (libkelmor-wayland.so), which
// the program loads only when the session is a Wayland one: the program file has no room
// for it, and a program on X11 never loads the Wayland client library. The module
// exports one C function, KelmorWaylandEntry, that returns this table.
//
// Fields are only ever added at the end: size tells the program which ones a module has;
// a module of another version is refused (a stale module left beside a newer program).
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

#define KELMOR_WAYLAND_VERSION 1u
#define KELMOR_WAYLAND_ENTRY "KelmorWaylandEntry"

struct KelmorWayland {
    uint32_t size;
    uint32_t version;
    // Connects to the compositor of WAYLAND_DISPLAY and binds what playback needs. False,
    // with the reason in why (the missing protocols named), when playback cannot go
    // through it.
    bool (*open)(char* why, int whySize);
    // The input seam (platform/input.h).
    bool (*keybdEvent)(uint8_t vk, uint8_t scan, uint32_t flags);
    bool (*canTypeCharacter)(uint32_t character);
    int (*typeCharacter)(uint32_t character, bool press);
    void (*mouseEvent)(uint32_t flags, int32_t dx, int32_t dy, int32_t data);
    // The modifiers the program holds come up (a keyboard state with them released).
    void (*releaseModifiers)();
    // The extent absolute motion spans: the outputs' layout, in pixels.
    bool (*getScreenSize)(int32_t* width, int32_t* height);
    // The journal playback driver's output (platform/posix/playback_driver.h).
    void (*inject)(const EVENTMSG& record);
    void (*flush)();
    void (*releaseHeld)();
    // Other programs' windows (platform/desktop.h), as the compositor tells of them; none
    // where it offers no foreign-toplevel manager. Where they are it does not tell.
    int (*enumWindows)(HWND32* out, int max);
    int (*getWindowText)(HWND32 window, char* out, int size);
    bool (*isWindowMinimized)(HWND32 window);
    bool (*restoreWindow)(HWND32 window);
    bool (*activateWindow)(HWND32 window);
    HWND32 (*foregroundWindow)();
};

using KelmorWaylandEntryFunction = const KelmorWayland* (*)();
