#include "platform/x11/spare_keys.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <glib.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/x11/inject.h"
#include "platform/x11/server_hold.h"

namespace {

// Clients translate key codes with their own copy of the mapping, which they refresh
// when they get round to the mapping notice; putting a key back at once would let a slow
// client read the restored mapping and see nothing typed. So a remapped key keeps its
// symbol until it has been left alone for a while, and a few such keys are used in turn
// so that a run of missing symbols does not overwrite a mapping before clients have read
// it.
const int kSpareKeys = 8;
const guint kRestoreAfterMs = 500;
// A key remapped a moment ago may still be waiting for clients to read its symbol (a
// busy program reads its events late, and looks the key up only then): one is taken for
// another symbol only once it has had this long, and the program waits for that rather
// than type a wrong character. Only a text with more distinct characters missing from
// the layout than there are spare keys ever waits.
const gint64 kReuseAfterMicros = 200000;
// The most key codes a server has, and so the most entries the note on the root window
// can hold that mean anything.
const int kMaxNoted = 256;
const int kMaxColumns = 64;

struct Spare {
    KeyCode code;
    KeySym lower, upper;  // NoSymbol while the key is as the layout left it
    int held;             // presses not yet released
    gint64 lastUsed;
};

Spare gSpares[kSpareKeys];
int gSpareCount = -1;  // not looked for yet
int gColumns = 2;      // symbols per key code in the server's core mapping
uint8_t gForeign[32];  // key codes other processes hold lent
guint gRestoreTimer = 0;

Atom NoteAtom(Display* display) { return XInternAtom(display, "_KELMOR_SPARE_KEYS", False); }

Spare* Find(KeyCode code) {
    for (int i = 0; i < gSpareCount; ++i) {
        if (gSpares[i].code == code) return &gSpares[i];
    }
    return nullptr;
}

// The note: pairs of key code and owner's process id. Returns the pairs read (at most
// kMaxNoted).
int ReadNote(Display* display, long out[kMaxNoted][2]) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, DefaultRootWindow(display), NoteAtom(display), 0, kMaxNoted * 2, False,
                           XA_CARDINAL, &type, &format, &count, &after, &data) != Success) {
        return 0;
    }
    int pairs = 0;
    if (data != nullptr && type == XA_CARDINAL && format == 32) {
        const long* values = reinterpret_cast<const long*>(data);
        for (unsigned long i = 0; i + 1 < count && pairs < kMaxNoted; i += 2, ++pairs) {
            out[pairs][0] = values[i];
            out[pairs][1] = values[i + 1];
        }
    }
    if (data != nullptr) XFree(data);
    return pairs;
}

void WriteNote(Display* display, const long pairs[][2], int count) {
    const Window root = DefaultRootWindow(display);
    if (count == 0) {
        XDeleteProperty(display, root, NoteAtom(display));
        return;
    }
    XChangeProperty(display, root, NoteAtom(display), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(pairs), count * 2);
}

bool Alive(long pid) { return pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM); }

void Map(Display* display, KeyCode code, KeySym lower, KeySym upper) {
    KeySym symbols[kMaxColumns];
    for (int i = 0; i < gColumns; ++i) symbols[i] = i % 2 == 0 ? lower : upper;
    XChangeKeyboardMapping(display, code, gColumns, symbols, 1);
}

void Unmap(Display* display, Spare* spare) {
    Map(display, spare->code, NoSymbol, NoSymbol);
    spare->lower = spare->upper = NoSymbol;
}

// Puts back every remapped key that is up; true when some are still held or remain.
bool RestoreSpares(Display* display, bool all) {
    bool pending = false;
    const gint64 now = g_get_monotonic_time();
    for (int i = 0; i < gSpareCount; ++i) {
        Spare& spare = gSpares[i];
        if (spare.lower == NoSymbol) continue;
        const bool quiet = now - spare.lastUsed >= static_cast<gint64>(kRestoreAfterMs) * 1000;
        if (spare.held == 0 && (all || quiet)) {
            Unmap(display, &spare);
        } else {
            pending = true;
        }
    }
    XFlush(display);
    return pending;
}

gboolean OnRestoreTimer(gpointer display) {
    if (RestoreSpares(static_cast<Display*>(display), false)) return G_SOURCE_CONTINUE;
    gRestoreTimer = 0;
    return G_SOURCE_REMOVE;
}

Display* gDisplay = nullptr;  // the connection the keys were lent on

void ScheduleRestore() {
    if (gDisplay == nullptr) return;
    if (gRestoreTimer != 0) g_source_remove(gRestoreTimer);
    gRestoreTimer = g_timeout_add(kRestoreAfterMs, OnRestoreTimer, gDisplay);
}

void NoteForeign(const long pairs[][2], int count) {
    memset(gForeign, 0, sizeof gForeign);
    for (int i = 0; i < count; ++i) {
        if (pairs[i][1] != static_cast<long>(getpid())) X11SetBit(gForeign, static_cast<unsigned>(pairs[i][0]), true);
    }
}

}  // namespace

void X11CasesOfSymbol(KeySym symbol, KeySym* lower, KeySym* upper) {
    XConvertCase(symbol, lower, upper);
    KeySym back = NoSymbol, again = NoSymbol;
    XConvertCase(*upper, &back, &again);
    const bool named = XKeysymToString(*lower) != nullptr && XKeysymToString(*upper) != nullptr;
    if (!named || back != *lower || (symbol != *lower && symbol != *upper)) *lower = *upper = symbol;
}

void X11ClaimSpareKeys(Display* display) {
    if (gSpareCount >= 0 || display == nullptr) return;
    gSpareCount = 0;
    gDisplay = display;
    int min = 0, max = 0;
    XDisplayKeycodes(display, &min, &max);
    // Read, given back and written again while no other client runs, so that two
    // processes starting together do not take the same keys.
    X11HoldServer(display);
    static long pairs[kMaxNoted][2];
    const int noted = ReadNote(display, pairs);
    int perCode = 0;
    KeySym* map = max > min ? XGetKeyboardMapping(display, static_cast<KeyCode>(min), max - min + 1, &perCode) : nullptr;
    if (perCode >= 2) gColumns = perCode > kMaxColumns ? kMaxColumns : perCode;
    char down[32];
    XQueryKeymap(display, down);
    uint8_t givenBack[32] = {};
    int kept = 0;
    for (int i = 0; i < noted; ++i) {
        const long code = pairs[i][0];
        if (code < min || code > max) continue;
        if (pairs[i][1] != static_cast<long>(getpid()) && Alive(pairs[i][1])) {
            pairs[kept][0] = code, pairs[kept][1] = pairs[i][1];
            ++kept;
            continue;
        }
        // Left lent by a process that was killed: a key it held down stays down in the
        // server (and would repeat for ever), and its symbol stays on the key.
        const KeyCode key = static_cast<KeyCode>(code);
        if (X11BitSet(reinterpret_cast<uint8_t*>(down), key)) XTestFakeKeyEvent(display, key, False, CurrentTime);
        Map(display, key, NoSymbol, NoSymbol);
        X11SetBit(givenBack, key, true);
    }
    NoteForeign(pairs, kept);
    if (map != nullptr) {
        // From the top down: the high codes are the least likely to be a real key that
        // only happens to be unmapped in this layout. The lowest code is left alone.
        for (int code = max; code > min && gSpareCount < kSpareKeys && kept < kMaxNoted; --code) {
            if (X11BitSet(gForeign, static_cast<unsigned>(code))) continue;
            const KeySym* syms = map + static_cast<size_t>(code - min) * static_cast<size_t>(perCode);
            bool empty = X11BitSet(givenBack, static_cast<unsigned>(code));
            if (!empty) {
                empty = true;
                for (int i = 0; i < perCode; ++i) empty = empty && syms[i] == NoSymbol;
            }
            if (!empty) continue;
            gSpares[gSpareCount++] = Spare{static_cast<KeyCode>(code), NoSymbol, NoSymbol, 0, 0};
            pairs[kept][0] = code, pairs[kept][1] = static_cast<long>(getpid());
            ++kept;
        }
        XFree(map);
    }
    WriteNote(display, pairs, kept);
    X11LetServerGo(display);
}

bool X11HasSpareKeys(Display* display) {
    X11ClaimSpareKeys(display);
    return gSpareCount > 0;
}

KeyCode X11BorrowSpareKey(Display* display, KeySym lower, KeySym upper) {
    X11ClaimSpareKeys(display);
    Spare* pick = nullptr;
    for (int i = 0; i < gSpareCount; ++i) {
        Spare& spare = gSpares[i];
        if (spare.lower == lower && spare.upper == upper) {
            pick = &spare;
            break;
        }
        if (spare.held > 0) continue;
        // A free key first, else the one left alone longest.
        if (pick == nullptr || (pick->lower != NoSymbol && (spare.lower == NoSymbol || spare.lastUsed < pick->lastUsed))) {
            pick = &spare;
        }
    }
    if (pick == nullptr) return 0;
    if (pick->lower != lower || pick->upper != upper) {
        const gint64 age = g_get_monotonic_time() - pick->lastUsed;
        if (pick->lower != NoSymbol && age < kReuseAfterMicros) {
            // The programs must be able to read the key's last symbol meanwhile: a hold
            // of the server lets them in for that while.
            const bool held = X11ServerHeld();
            if (held) XUngrabServer(display);
            XFlush(display);
            g_usleep(static_cast<gulong>(kReuseAfterMicros - age));
            if (held) XGrabServer(display);
        }
        // Requests are handled in order, so the press sent next finds the new mapping.
        Map(display, pick->code, lower, upper);
        pick->lower = lower;
        pick->upper = upper;
    }
    pick->lastUsed = g_get_monotonic_time();
    return pick->code;
}

void X11SpareKeyPressed(KeyCode code) {
    Spare* spare = Find(code);
    if (spare == nullptr) return;
    ++spare->held;
    spare->lastUsed = g_get_monotonic_time();
}

void X11SpareKeyReleased(KeyCode code) {
    Spare* spare = Find(code);
    if (spare == nullptr || spare->held == 0) return;
    if (--spare->held == 0) {
        spare->lastUsed = g_get_monotonic_time();
        ScheduleRestore();
    }
}

bool X11SpareKeySymbol(KeyCode code, KeySym* lower) {
    const Spare* spare = Find(code);
    if (spare == nullptr) return false;
    *lower = spare->lower;
    return true;
}

bool X11IsBorrowedKey(unsigned code) {
    return code < 256 && (Find(static_cast<KeyCode>(code)) != nullptr || X11BitSet(gForeign, code));
}

void X11BorrowedKeys(uint8_t out[32]) {
    memcpy(out, gForeign, sizeof gForeign);
    for (int i = 0; i < gSpareCount; ++i) X11SetBit(out, gSpares[i].code, true);
}

bool X11IsSpareKeyNotice(const XMappingEvent& notice) {
    return notice.request == MappingKeyboard && notice.count == 1 && X11IsBorrowedKey(notice.first_keycode);
}

void X11CheckSpareKeys(Display* display) {
    if (gSpareCount <= 0 || display == nullptr) return;
    static long pairs[kMaxNoted][2];
    NoteForeign(pairs, ReadNote(display, pairs));
    int kept = 0;
    for (int i = 0; i < gSpareCount; ++i) {
        Spare spare = gSpares[i];
        int perCode = 0;
        KeySym* syms = XGetKeyboardMapping(display, spare.code, 1, &perCode);
        bool empty = true;
        for (int c = 0; syms != nullptr && c < perCode; ++c) empty = empty && syms[c] == NoSymbol;
        const bool ours = syms != nullptr && perCode > 0 && spare.lower != NoSymbol && syms[0] == spare.lower;
        if (perCode >= 2) gColumns = perCode > kMaxColumns ? kMaxColumns : perCode;
        if (syms != nullptr) XFree(syms);
        if (!empty && !ours) continue;  // the new layout's own key now
        if (empty) spare.lower = spare.upper = NoSymbol;
        gSpares[kept++] = spare;
    }
    gSpareCount = kept;
}

void X11ForgetSpareHolds() {
    bool held = false;
    for (int i = 0; i < gSpareCount; ++i) {
        if (gSpares[i].held == 0) continue;
        gSpares[i].held = 0;
        gSpares[i].lastUsed = g_get_monotonic_time();
        held = true;
    }
    if (held) ScheduleRestore();
}

void X11ReturnSpareKeys(Display* display) {
    if (display == nullptr || gSpareCount < 0) return;
    // Clients still to read what was typed through a key must find its symbol there: the
    // last key lent is given back no sooner than it would have been had the program run on.
    gint64 last = 0;
    for (int i = 0; i < gSpareCount; ++i) {
        gSpares[i].held = 0;
        if (gSpares[i].lower != NoSymbol && gSpares[i].lastUsed > last) last = gSpares[i].lastUsed;
    }
    const gint64 wait = last + static_cast<gint64>(kRestoreAfterMs) * 1000 - g_get_monotonic_time();
    if (last != 0 && wait > 0) {
        XFlush(display);
        g_usleep(static_cast<gulong>(wait));
    }
    RestoreSpares(display, true);
    X11HoldServer(display);
    static long pairs[kMaxNoted][2];
    const int noted = ReadNote(display, pairs);
    int kept = 0;
    for (int i = 0; i < noted; ++i) {
        if (pairs[i][1] == static_cast<long>(getpid())) continue;
        pairs[kept][0] = pairs[i][0], pairs[kept][1] = pairs[i][1];
        ++kept;
    }
    WriteNote(display, pairs, kept);
    X11LetServerGo(display);
    gSpareCount = 0;
}
