// The keyboard hook on X11. Every key event of the desktop comes through the RECORD
// stream and goes to the procedure with the system's arguments, the key state kept from
// that same stream. X lets no one look at a key before the focused program gets it, so
// the combinations the procedure may take away are grabbed on the root window before;
// when one is pressed the grab is let go at once, before the procedure types anything,
// so that what it types reaches the focused program.
#include "platform/keyboard_hook.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <glib.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/system.h"
#include "platform/wayland/choice.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/keymap.h"
#include "platform/x11/record_stream.h"
#include "platform/x11/server_hold.h"

namespace {

KeyboardProc gProc = nullptr;
// How old a key may be when it reaches the procedure for it still to act on it.
const int32_t kLateKeyMs = 250;
intptr_t gHook = 0;
intptr_t gNextHandle = 1;
bool gHandlerAdded = false;

X11KeyView gView;
// Per key code: the virtual key (sideless) with Num Lock off and on, and the side's
// virtual key of a modifier. Made when the hook is installed and when the mapping
// changes, so that no event needs to ask the server.
uint8_t gVks[2][256];
uint8_t gSided[256];
unsigned gNumLockMask = 0, gAltMask = Mod1Mask;
unsigned gLocks[8] = {0};
int gLockCount = 1;
// What each key made when it last went down, for its release to report.
uint32_t gCharacters[256];
// When the server had taken the last keys the procedure typed, on the tick clock.
uint32_t gTypingEnd = 0;
bool gTypingEnded = false;

struct Grab {
    KeyCode code;
    unsigned modifiers;
    bool operator==(const Grab& o) const { return code == o.code && modifiers == o.modifiers; }
};
std::vector<Grab> gGrabs;
// The keys the procedure asked for, and the grabs they came to in the keymap they were
// taken in (those another program held included): a new keymap takes them anew.
std::vector<TakenKey> gTaken;
std::vector<Grab> gWanted;
guint gRenewal = 0;
int gXkbEvents = -1;  // the XKB extension's first event code; -1 without it
uint8_t gTakenCodes[32];
// A taken key's press comes twice, through the stream and as the grab's own event, in
// either order; whichever comes first lets the key go and the other is waited for.
uint8_t gLetGo[32];         // let go at the grab's event; the stream's press to come
uint8_t gCopyAwaited[32];   // let go at the stream's press; the grab's event to come

void MakeKeyTables(Display* display) {
    // Made anew whenever a key is given another symbol: one request, not one per mask.
    XModifierKeymap* map = XGetModifierMapping(display);
    gNumLockMask = X11ModifierMaskOf(display, XK_Num_Lock, map);
    gAltMask = X11ModifierMaskOf(display, XK_Alt_L, map);
    if (gAltMask == 0) gAltMask = Mod1Mask;
    gLockCount = X11LockMasks(display, gLocks, map);
    if (map != nullptr) XFreeModifiermap(map);
    for (unsigned code = 0; code < 256; ++code) {
        for (int numLock = 0; numLock < 2; ++numLock) {
            gVks[numLock][code] = X11SidelessVk(X11KeycodeToVkWith(display, code, numLock != 0));
        }
        uint8_t generic = 0;
        gSided[code] = 0;
        if (code >= 8) X11ModifierVksOf(display, code, &gSided[code], &generic);
    }
}

void UngrabAll() {
    Display* display = X11Display();
    if (display != nullptr && !gGrabs.empty()) {
        const Window root = DefaultRootWindow(display);
        for (const Grab& grab : gGrabs) XUngrabKey(display, grab.code, grab.modifiers, root);
        XFlush(display);
    }
    gGrabs.clear();
    memset(gTakenCodes, 0, sizeof gTakenCodes);
    memset(gLetGo, 0, sizeof gLetGo);
    memset(gCopyAwaited, 0, sizeof gCopyAwaited);
}

void SetKey(uint8_t vk, bool down) {
    gView.state[vk] = static_cast<uint8_t>(down ? gView.state[vk] | 0x80 : gView.state[vk] & ~0x80);
}

// The table as the system keeps it: the event itself counted, both sides of a modifier
// and the entry without side, lock keys turning over on their press.
void Note(unsigned code, uint8_t vk, bool press) {
    const bool wasDown = X11BitSet(gView.down, code);
    X11SetBit(gView.down, code, press);
    const uint8_t sided = gSided[code];
    if (sided >= 0xA0 && sided <= 0xA5) {
        SetKey(sided, press);
        const uint8_t left = static_cast<uint8_t>(sided & ~1u);
        SetKey(X11SidelessVk(sided), ((gView.state[left] | gView.state[left + 1]) & 0x80) != 0);
    } else if (sided != 0) {
        SetKey(sided, press);
    } else if (vk != 0) {
        SetKey(vk, press);
    }
    if (press && !wasDown && (vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL)) gView.state[vk] ^= 0x01;
}

// Whether a press of the key with these modifiers held was one of the taken combinations.
bool Grabbed(unsigned code, unsigned state) {
    if (!X11BitSet(gTakenCodes, code)) return false;
    const unsigned held = state & (ControlMask | ShiftMask | gAltMask);
    for (const Grab& grab : gGrabs) {
        if (grab.code == code && (grab.modifiers & (ControlMask | ShiftMask | gAltMask)) == held) return true;
    }
    return false;
}

// A taken key's press: the key is let go at once through XTest. That ends the grab the
// press started, so what the procedure types reaches the focused program, and leaves the
// program no release of a key it never saw pressed (the user's own release then finds
// the key up and goes nowhere). Should the server refuse the release, the grab is given
// up all the same. Requests on one connection are handled in order: both come before
// any key the procedure types.
void LetTakenKeyGo(Display* display, unsigned code) {
    if (X11HasXTest(display)) {
        X11SetBit(gView.ownRelease, code, true);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
    }
    XUngrabKeyboard(display, CurrentTime);
    XFlush(display);
}

void OnKey(const X11RawEvent& event) {
    const unsigned code = event.detail;
    const bool press = event.type == KeyPress;
    const bool letGo = press && X11BitSet(gLetGo, code);
    // Our own release (or press) of a modifier, made while the state was set: the table
    // already counts it. One of the other kind first means the server dropped ours (the
    // key was that way already), and it is no longer waited for; a taken key's press is
    // older than the release made for it.
    uint8_t* own = press ? gView.ownPress : gView.ownRelease;
    uint8_t* other = press ? gView.ownRelease : gView.ownPress;
    if (!letGo) X11SetBit(other, code, false);
    if (X11BitSet(own, code)) {
        X11SetBit(own, code, false);
        return;
    }
    const uint8_t vk = gVks[(event.state & gNumLockMask) != 0 ? 1 : 0][code];
    Display* display = X11Display();
    // Decided at the press, with the modifiers and group of that moment: the release
    // reports the same, though Shift or AltGr may be up by then.
    if (press || !X11BitSet(gView.down, code)) gCharacters[code] = X11KeyCharacter(display, code, event.state);
    gView.character = gCharacters[code];
    gView.time = event.time;
    Note(code, vk, press);
    if (letGo) {
        X11SetBit(gLetGo, code, false);
    } else if (press && display != nullptr && Grabbed(code, event.state)) {
        X11SetBit(gCopyAwaited, code, true);
        LetTakenKeyGo(display, code);
    }
    if (gProc == nullptr) return;
    uint8_t scan = 0;
    bool extended = false;
    X11KeycodeToScanCode(code, &scan, &extended);
    const uint32_t flags =
        1u | static_cast<uint32_t>(scan) << 16 | (extended ? 1u << 24 : 0u) | (press ? 0u : 0xC0000000u);
    X11KeyView* outer = gX11KeyView;
    gX11KeyView = &gView;
    // A key the stream brings long after it was pressed (the server held the stream back,
    // or the loop was busy) is only shown: typing for it now would land wherever the focus
    // has gone since, after whatever came in between.
    const int32_t age = static_cast<int32_t>(SysGetTickCount() - event.time);
    gProc(age > kLateKeyMs ? HC_NOREMOVE : HC_ACTION, vk, static_cast<intptr_t>(flags));
    gX11KeyView = outer;
    // Let go above: up from here on, though its release never comes back.
    if (press && X11BitSet(gView.ownRelease, code) && Grabbed(code, event.state)) Note(code, vk, false);
}

void ForgetTakenKeys() {
    UngrabAll();
    gTaken.clear();
    gWanted.clear();
}

// The journal's record hook took the stream: nothing reaches the procedure now, so no
// key may be kept from the programs either.
void OnTakenOver() { ForgetTakenKeys(); }

bool Listening() { return gHook != 0 && X11RecordStreamSink() == OnKey; }

// The grabs a combination comes to in the tables: every key code carrying its virtual
// key, under every lock state.
void AddGrabsOf(const TakenKey& key, std::vector<Grab>* grabs) {
    const unsigned modifiers = (key.ctrl ? ControlMask : 0) | (key.shift ? ShiftMask : 0) | (key.alt ? gAltMask : 0);
    for (unsigned code = 8; code < 256; ++code) {
        for (int l = 0; l < gLockCount; ++l) {
            if (gVks[(gLocks[l] & gNumLockMask) != 0 ? 1 : 0][code] != key.vk) continue;
            grabs->push_back(Grab{static_cast<KeyCode>(code), modifiers | gLocks[l]});
        }
    }
}

std::vector<Grab> WantedGrabs() {
    std::vector<Grab> wanted;
    for (const TakenKey& key : gTaken) {
        if (key.vk != 0) AddGrabsOf(key, &wanted);
    }
    return wanted;
}

// Grabs the keys of gTaken; returns how many combinations another program holds,
// copying up to busyMax of them into busy.
int Take(Display* display, TakenKey* busy, int busyMax) {
    UngrabAll();
    const Window root = DefaultRootWindow(display);
    std::vector<Grab> wanted;
    int busyCount = 0;
    for (const TakenKey& key : gTaken) {
        if (key.vk == 0) continue;
        const size_t first = wanted.size();
        AddGrabsOf(key, &wanted);
        X11TrapErrors();
        for (size_t g = first; g < wanted.size(); ++g) {
            XGrabKey(display, wanted[g].code, wanted[g].modifiers, root, False, GrabModeAsync, GrabModeAsync);
        }
        if (X11UntrapErrors() == 0) {
            for (size_t g = first; g < wanted.size(); ++g) {
                gGrabs.push_back(wanted[g]);
                X11SetBit(gTakenCodes, wanted[g].code, true);
            }
            continue;
        }
        // Held by another program under some lock state: it keeps the whole combination,
        // so that the key does not behave differently with Caps Lock on.
        for (size_t g = first; g < wanted.size(); ++g) XUngrabKey(display, wanted[g].code, wanted[g].modifiers, root);
        if (busy != nullptr && busyCount < busyMax) busy[busyCount] = key;
        ++busyCount;
    }
    gWanted.swap(wanted);
    XFlush(display);
    return busyCount;
}

// Another layout, or a key given another symbol, moves the keys: the tables are made
// anew, and the taken keys are grabbed where they are now. Mapping notices come in
// bursts (several for a layout switch, one for each spare key the program types
// through), so this runs once those read so far are handled, and grabs only when the
// keys moved.
gboolean Renew(gpointer) {
    gRenewal = 0;
    Display* display = X11Display();
    if (display == nullptr || !Listening()) return G_SOURCE_REMOVE;
    MakeKeyTables(display);
    if (!gTaken.empty() && !(WantedGrabs() == gWanted)) Take(display, nullptr, 0);
    return G_SOURCE_REMOVE;
}

// A new keymap comes as a core mapping notice, or as XKB's own notice to a client that
// asked for those (a new layout comes as XKB's new keyboard then, and no core notice).
bool KeymapChanged(const XEvent* event) {
    if (event->type == MappingNotify) return event->xmapping.request != MappingPointer;
    if (gXkbEvents < 0 || event->type != gXkbEvents) return false;
    const int kind = reinterpret_cast<const XkbAnyEvent*>(event)->xkb_type;
    return kind == XkbNewKeyboardNotify || kind == XkbMapNotify;
}

void OnXEvent(XEvent* event) {
    if (!Listening()) return;
    if (KeymapChanged(event)) {
        if (gRenewal == 0) gRenewal = g_idle_add_full(G_PRIORITY_DEFAULT, Renew, nullptr, nullptr);
    } else if (event->type == KeyPress && !gGrabs.empty()) {
        // The grab's own copy of a taken key's press, dropped: the event comes through
        // the stream. Should the stream not have brought it yet, the key goes now.
        const unsigned code = event->xkey.keycode;
        if (X11BitSet(gCopyAwaited, code)) {
            X11SetBit(gCopyAwaited, code, false);
        } else {
            X11SetBit(gLetGo, code, true);
            LetTakenKeyGo(X11Display(), code);
        }
    }
}

}  // namespace

// In a Wayland session the X server is Xwayland, which sees only its own programs' keys.
const char* SysKeyboardHookReach() {
    const char* wayland = g_getenv("WAYLAND_DISPLAY");
    return wayland != nullptr && wayland[0] != '\0' ? "Xwayland programs only" : nullptr;
}

const char* SysKeyboardHookReachNotice(bool installed) {
    if (SysKeyboardHookReach() == nullptr) return nullptr;
    return installed ? "In this Wayland session Kelmor can read the keys of the programs running under Xwayland "
                       "only: the keyboard service (Mappings and ShortTypes), recording and the stop key see no "
                       "other program's keys."
                     : "Wayland shows the keys typed into other programs to no ordinary program, so the keyboard "
                       "service (Mappings and ShortTypes) cannot run in this session. Use an X11 session, or start "
                       "Kelmor with DISPLAY set to reach the programs running under Xwayland.";
}

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    int error = 0;
    if (WaylandRefusesReading("the keyboard service")) {
        SysSetLastError(ENOTSUP);
        return 0;
    }
    Display* display = X11Display();
    if (proc == nullptr) {
        error = EINVAL;
    } else if (gHook != 0 || (X11RecordStreamSink() != nullptr && X11RecordStreamSink() != OnKey)) {
        error = EBUSY;  // one keyboard hook; none while a recording holds the stream
    } else if (display == nullptr) {
        error = ENXIO;
    } else {
        MakeKeyTables(display);
        if (!X11StartRecordStream(KeyRelease, false, OnKey, OnTakenOver)) error = ENOTSUP;
    }
    if (error != 0) {
        SysSetLastError(error);
        return 0;
    }
    // Asked once the stream runs: a key already held counts, and what changes meanwhile
    // comes after it in the stream.
    memset(&gView, 0, sizeof gView);
    memset(gCharacters, 0, sizeof gCharacters);
    gTypingEnded = false;
    SysGetKeyboardState(gView.state);
    XQueryKeymap(display, reinterpret_cast<char*>(gView.down));
    if (!gHandlerAdded) {
        int opcode = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
        if (!XkbQueryExtension(display, &opcode, &gXkbEvents, &error, &major, &minor)) gXkbEvents = -1;
        X11AddEventHandler(OnXEvent);
        gHandlerAdded = true;
    }
    gProc = proc;
    gHook = gNextHandle++;
    if (gNextHandle <= 0) gNextHandle = 1;
    return gHook;
}

bool SysUnhookKeyboard(intptr_t hook) {
    if (hook == 0 || hook != gHook) {
        SysSetLastError(EINVAL);
        return false;
    }
    gHook = 0;
    gProc = nullptr;
    if (X11RecordStreamSink() == OnKey) X11StopRecordStream();
    ForgetTakenKeys();
    return true;
}

bool SysHoldOtherInput() {
    Display* display = X11Display();
    if (display == nullptr || !Listening()) return true;
    X11HoldServer(display);
    // Held: the server now takes no key from anyone else. Every key it took before went
    // out on the stream in a flush before the first reply; the second reply comes after
    // that flush ended, so the keys are on the data connection to be read.
    XSync(display, False);
    XSync(display, False);
    // The presses and releases the program made itself (a taken key let go, a hot key's
    // Ctrl released) are no one else's: the procedure never sees them, and they would
    // keep every hot key's text from being typed whole.
    uint8_t ownPress[32], ownRelease[32];
    memcpy(ownPress, gView.ownPress, sizeof ownPress);
    memcpy(ownRelease, gView.ownRelease, sizeof ownRelease);
    const bool others = X11RecordStreamCatchUp([&](const X11RawEvent& event) {
        uint8_t* own = event.type == KeyPress ? ownPress : event.type == KeyRelease ? ownRelease : nullptr;
        if (own == nullptr || !X11BitSet(own, event.detail)) return true;
        X11SetBit(own, event.detail, false);
        return false;
    });
    if (!others) return true;
    X11LetServerGo(display);
    return false;
}

// RECORD has been seen to drop a run of the events of a long text typed at once, on a busy
// machine; the procedure, counting the keys it typed until they come back, would take the
// user's next keys for the lost ones. Every key typed so far has been taken by the server
// once the round trip is back, so a key the server took later is none of them.
void SysLetOtherInputGo() {
    Display* display = X11Display();
    X11LetServerGo(display);
    if (display == nullptr) return;
    XSync(display, False);
    gTypingEnd = SysGetTickCount();
    gTypingEnded = true;
}

bool SysKeyEventAfterTyping() {
    const X11KeyView* view = gX11KeyView;
    // A millisecond for a server on another clock, whose offset is known to one.
    return view != nullptr && gTypingEnded && static_cast<int32_t>(view->time - gTypingEnd) > 1;
}

int SysTakeKeys(const TakenKey* keys, int count, TakenKey* busy, int busyMax) {
    ForgetTakenKeys();
    Display* display = X11Display();
    if (display == nullptr || keys == nullptr || count <= 0 || !Listening()) return 0;
    gTaken.assign(keys, keys + count);
    return Take(display, busy, busyMax);
}
