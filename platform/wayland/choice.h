// Which display back end plays input, decided once per run from the session: Wayland when
// WAYLAND_DISPLAY is set and the compositor offers the protocols (that reaches Xwayland's
// programs too), else X11 when DISPLAY is set, X11 as ever without WAYLAND_DISPLAY;
// KELMOR_BACKEND=x11|wayland overrides. Compiled into the programs; the Wayland back end
// itself is a module (platform/wayland/module.h).
#pragma once
#include "platform/wayland/module.h"

enum class PlaybackBackend { X11, Wayland, Refused };

// The rule itself, on the session's variables (nullptr or empty when unset) and whether
// the compositor offers what playback needs (asked only when it matters).
PlaybackBackend ChoosePlaybackBackend(const char* waylandDisplay, const char* display, const char* override,
                                      bool (*compositorPlays)());

// The Wayland back end when playback goes through it, nullptr for X11. When playback can
// go through neither, the reason is printed once and refused is set.
const KelmorWayland* WaylandPlayback(bool* refused = nullptr);

// Reading the user's keys (recording, the keyboard service, the stop key) in a Wayland
// session: Wayland shows no ordinary program the keys typed into others. Without X11 it
// cannot be done (true, the reason printed once); with Xwayland it reaches Xwayland's
// programs only, which is said once.
bool WaylandRefusesReading(const char* what);
