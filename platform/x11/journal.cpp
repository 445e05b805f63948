// The journal seam on X11: one hook at a time (the core never holds two), backed by the
// playback driver or the record hook, with the user's Ctrl+Esc way out grabbed while it
// is installed.
#include "platform/journal.h"
#include "platform/journal_handle.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <glib.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/system.h"
#include "platform/wayland/choice.h"
#include "platform/x11/display.h"
#include "platform/x11/journal_drivers.h"
#include "platform/x11/keymap.h"

namespace {

JournalHandle gHook;
int gKind = -1;
void (*gCancelHandler)() = nullptr;

bool gHandlerAdded = false;
bool gGrabbed = false;
KeyCode gGrabbedKeycode = 0;
// The first request of the grab: a key press the server made before it (one that an
// earlier grab caught, still queued) belongs to no hook installed now.
unsigned long gGrabSerial = 0;
// The lock states the grab holds Ctrl+Esc under, kept for the ungrab.
unsigned gLocks[8];
int gLockCount = 0;
guint gUngrabSource = 0;
guint gCancelSource = 0;

// GTK's own default; the desktop's setting replaces it when it publishes one.
const uint32_t kDefaultDoubleClickTime = 400;
uint32_t gDoubleClickTime = 0;

void StopBackend(int kind) {
    if (kind == WH_JOURNALPLAYBACK) X11StopPlaybackDriver();
    if (kind == WH_JOURNALRECORD) X11StopRecordHook();
}

gboolean RunCancelHandler(gpointer) {
    gCancelSource = 0;
    if (gCancelHandler != nullptr) gCancelHandler();
    return G_SOURCE_REMOVE;
}

void Ungrab() {
    if (!gGrabbed) return;
    Display* display = X11Display();
    gGrabbed = false;
    if (display == nullptr) return;
    Window root = DefaultRootWindow(display);
    for (int i = 0; i < gLockCount; ++i) XUngrabKey(display, gGrabbedKeycode, ControlMask | gLocks[i], root);
    XFlush(display);
}

// A program that ends with a hook installed, or before the loop came round to the
// ungrab (an exit straight from a signal), still takes its hook and its grab with it
// rather than leaving them to the server's clean-up of a closed connection.
void EndAtExit() {
    if (gHook.Installed()) {
        const int kind = gKind;
        gHook.Clear();
        gKind = -1;
        StopBackend(kind);
    }
    Ungrab();
}

gboolean UngrabWhenIdle(gpointer) {
    gUngrabSource = 0;
    if (!gHook.Installed()) Ungrab();
    return G_SOURCE_REMOVE;
}

void OnXEvent(XEvent* event) {
    if (event->type != KeyPress || !gGrabbed || !gHook.Installed()) return;
    const XKeyEvent& key = event->xkey;
    if (key.keycode != gGrabbedKeycode || (key.state & ControlMask) == 0 || key.serial < gGrabSerial) return;
    // The system's cancel: the hook is gone before anyone hears of it, so the core's
    // own unhook of the same handle afterwards finds nothing to remove.
    const int kind = gKind;
    gHook.Clear();
    gKind = -1;
    StopBackend(kind);
    Ungrab();
    if (gCancelSource == 0) gCancelSource = g_idle_add(RunCancelHandler, nullptr);
}

void Grab(Display* display) {
    if (gUngrabSource != 0) {
        g_source_remove(gUngrabSource);
        gUngrabSource = 0;
    }
    if (gGrabbed) return;
    if (!gHandlerAdded) {
        X11AddEventHandler(OnXEvent);
        gHandlerAdded = true;
    }
    gGrabbedKeycode = XKeysymToKeycode(display, XK_Escape);
    if (gGrabbedKeycode == 0) return;
    // The lock keys change the state a key press arrives with; the grab must hold
    // whichever of them happen to be on.
    gLockCount = X11LockMasks(display, gLocks);
    Window root = DefaultRootWindow(display);
    // Another client may hold the same combination; the hook still works without the
    // way out, as it would on a desktop that takes Ctrl+Esc for itself.
    X11TrapErrors();
    gGrabSerial = NextRequest(display);
    for (int i = 0; i < gLockCount; ++i) {
        XGrabKey(display, gGrabbedKeycode, ControlMask | gLocks[i], root, False, GrabModeAsync, GrabModeAsync);
    }
    X11UntrapErrors();
    gGrabbed = true;
}

// XSETTINGS: the running settings daemon owns _XSETTINGS_S<screen> and keeps the values
// in a property of that owner's window. Layout: byte order, 3 pad, serial, count, then
// per setting type, pad, name length (2), name padded to 4, serial, value.
bool ReadXSettingsInt(Display* display, const char* wanted, int32_t* value) {
    char selectionName[32];
    snprintf(selectionName, sizeof selectionName, "_XSETTINGS_S%d", DefaultScreen(display));
    Atom selection = XInternAtom(display, selectionName, False);
    Atom settingsAtom = XInternAtom(display, "_XSETTINGS_SETTINGS", False);
    X11TrapErrors();
    Window owner = XGetSelectionOwner(display, selection);
    unsigned char* data = nullptr;
    unsigned long length = 0;
    if (owner != None) {
        Atom type = None;
        int format = 0;
        unsigned long after = 0;
        if (XGetWindowProperty(display, owner, settingsAtom, 0, 65536, False, settingsAtom, &type, &format, &length,
                               &after, &data) != Success ||
            format != 8) {
            length = 0;
        }
    }
    X11UntrapErrors();
    bool found = false;
    if (data != nullptr && length >= 12) {
        const bool bigEndian = data[0] != 0;
        auto read16 = [&](unsigned long at) -> uint32_t {
            return bigEndian ? (data[at] << 8 | data[at + 1]) : (data[at + 1] << 8 | data[at]);
        };
        auto read32 = [&](unsigned long at) -> uint32_t {
            return bigEndian ? (uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 |
                                uint32_t(data[at + 3]))
                             : (uint32_t(data[at + 3]) << 24 | uint32_t(data[at + 2]) << 16 |
                                uint32_t(data[at + 1]) << 8 | uint32_t(data[at]));
        };
        const uint32_t count = read32(8);
        const size_t wantedLength = strlen(wanted);
        unsigned long at = 12;
        for (uint32_t i = 0; i < count && !found; ++i) {
            if (at + 4 > length) break;
            const int type = data[at];
            const uint32_t nameLength = read16(at + 2);
            const unsigned long name = at + 4;
            at = name + ((nameLength + 3u) & ~3u) + 4;  // name, then the setting's serial
            if (at > length) break;
            unsigned long valueLength = 0;
            if (type == 0) {
                valueLength = 4;
            } else if (type == 1) {
                if (at + 4 > length) break;
                valueLength = 4 + ((read32(at) + 3u) & ~3u);
            } else if (type == 2) {
                valueLength = 8;
            } else {
                break;
            }
            if (at + valueLength > length) break;
            if (type == 0 && nameLength == wantedLength && memcmp(data + name, wanted, wantedLength) == 0) {
                *value = static_cast<int32_t>(read32(at));
                found = true;
            }
            at += valueLength;
        }
    }
    if (data != nullptr) XFree(data);
    return found;
}

uint32_t ReadDoubleClickTime() {
    Display* display = X11Display();
    int32_t value = 0;
    if (display != nullptr && ReadXSettingsInt(display, "Net/DoubleClickTime", &value) && value > 0 &&
        value <= 5000) {
        return static_cast<uint32_t>(value);
    }
    return kDefaultDoubleClickTime;
}

}  // namespace

intptr_t SysSetJournalHook(int kind, JournalProc proc) {
    if (proc == nullptr || (kind != WH_JOURNALRECORD && kind != WH_JOURNALPLAYBACK)) {
        SysSetLastError(EINVAL);
        return 0;
    }
    if (gHook.Installed()) {
        SysSetLastError(EBUSY);
        return 0;
    }
    // Playback in a Wayland session goes through the compositor, and there no program
    // can hold Ctrl+Esc for itself: a signal ends it instead.
    bool refused = false;
    const bool wayland = kind == WH_JOURNALPLAYBACK && WaylandPlayback(&refused) != nullptr;
    if (refused || (kind == WH_JOURNALRECORD && WaylandRefusesReading("recording"))) {
        SysSetLastError(ENOTSUP);
        return 0;
    }
    Display* display = wayland ? nullptr : X11Display();
    if (display == nullptr && !wayland) {
        SysSetLastError(ENXIO);
        return 0;
    }
    if (kind == WH_JOURNALRECORD) gDoubleClickTime = ReadDoubleClickTime();
    const bool started = kind == WH_JOURNALPLAYBACK ? X11StartPlaybackDriver(proc) : X11StartRecordHook(proc);
    if (!started) {
        SysSetLastError(ENOTSUP);
        return 0;
    }
    gHook.Issue();
    gKind = kind;
    if (display != nullptr) Grab(display);
    EndJournalAtExit(EndAtExit);
    return gHook.Current();
}

bool SysUnhookJournal(intptr_t hook) {
    if (!gHook.Holds(hook)) {
        SysSetLastError(EINVAL);
        return false;
    }
    // Input made before the stop (the keys typed just before Stop Recording was clicked)
    // belongs to the recording even when the loop has not read it yet.
    if (gKind == WH_JOURNALRECORD) X11TakeRecordedInput();
    // The procedure met its stop key among that input and removed the hook itself.
    if (!gHook.Holds(hook)) return true;
    const int kind = gKind;
    gHook.Clear();
    gKind = -1;
    StopBackend(kind);
    // The end of a playback pass unhooks and hooks again at once; the grab stays through
    // that and goes only when the loop finds no hook left.
    if (gGrabbed && gUngrabSource == 0) gUngrabSource = g_idle_add(UngrabWhenIdle, nullptr);
    return true;
}

intptr_t SysCallNextHook(intptr_t, int, uintptr_t, intptr_t) {
    // No other journal hook is chained behind this one.
    return 0;
}

uint32_t SysGetDoubleClickTime() {
    if (gDoubleClickTime == 0) gDoubleClickTime = ReadDoubleClickTime();
    return gDoubleClickTime;
}

void SysSetJournalCancelHandler(void (*onCancel)()) { gCancelHandler = onCancel; }
