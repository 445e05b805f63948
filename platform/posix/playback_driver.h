// The journal playback driver of the Linux display back ends (X11 and Wayland): it plays
// the system's part of a playback hook from the GLib main loop, asking the procedure for
// the next event (HC_GETNEXT), waiting the delay it returns and asking again, handing a
// filled record to the back end's output and moving it on (HC_SKIP). The back ends differ
// only in how a record reaches the desktop.
#pragma once
#include "platform/journal.h"
#include "platform/wintypes.h"

struct PlaybackOutput {
    // One filled record, injected without waiting for the display.
    void (*inject)(const EVENTMSG& record);
    // The end of a batch: what was injected goes out now.
    void (*flush)();
    // Everything a playback left down (a key between its press and its release) comes up.
    void (*releaseHeld)();
};

// Starts asking proc for events; output stays in use until the driver is stopped. False
// when the loop's timer cannot be made.
bool StartPlaybackDriver(JournalProc proc, const PlaybackOutput* output);
// Stops asking; safe from inside proc, and a new start from inside proc then takes over.
// Held input is released once the loop runs again with no playback started.
void StopPlaybackDriver();

// What one journal record asks of a back end, the same on X11 and Wayland. Out has
// character(c, press), key(vk, scan, extended, press), motion(x, y) and button(n, press)
// with X's numbers: 1 left, 2 middle, 3 right.
template <typename Out>
void PlayRecord(const EVENTMSG& e, Out& out) {
    const uint8_t vk = static_cast<uint8_t>(e.paramL & 0xFF);
    const uint8_t scan = static_cast<uint8_t>((e.paramL >> 8) & 0xFF);
    const bool extended = (e.paramH & 0x8000) != 0;  // read for key records only
    const bool down = e.message == WM_KEYDOWN || e.message == WM_SYSKEYDOWN;
    const bool key = down || e.message == WM_KEYUP || e.message == WM_SYSKEYUP;
    if (key && IsCharacterRecord(e.paramL)) {
        // A character, made in the layout active now; its modifiers stay down until its
        // release, and the release of held input lets them go should the playback stop.
        out.character(CharacterOfRecord(e.paramL), down);
        return;
    }
    const int32_t x = static_cast<int32_t>(e.paramL), y = static_cast<int32_t>(e.paramH);
    switch (e.message) {
        case WM_KEYDOWN:
            // The player sends these keys as synthetic input itself, because a journal
            // cannot toggle a lock or open the Start menu; pressing them here too would
            // toggle a lock straight back.
            if (!IsLockOrWindowsKey(vk)) out.key(vk, scan, extended, true);
            break;
        case WM_SYSKEYDOWN: out.key(vk, scan, extended, true); break;
        case WM_KEYUP:
        case WM_SYSKEYUP: out.key(vk, scan, extended, false); break;
        // A journal record carries no wheel amount: the player turns the wheel itself,
        // and the record only puts the pointer where the wheel was turned.
        case WM_MOUSEMOVE:
        case WM_MOUSEWHEEL: out.motion(x, y); break;
        case WM_LBUTTONDOWN: case WM_LBUTTONUP:
            out.motion(x, y);
            out.button(1, e.message == WM_LBUTTONDOWN);
            break;
        case WM_RBUTTONDOWN: case WM_RBUTTONUP:
            out.motion(x, y);
            out.button(3, e.message == WM_RBUTTONDOWN);
            break;
        case WM_MBUTTONDOWN: case WM_MBUTTONUP:
            out.motion(x, y);
            out.button(2, e.message == WM_MBUTTONDOWN);
            break;
        // A double-click record sits between the second press and its release (the
        // recorder adds it); the press is already down, and programs tell a double click
        // by its timing, so it injects nothing.
        default:
            break;
    }
}
