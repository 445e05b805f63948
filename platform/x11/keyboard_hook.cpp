// The keyboard hook on X11. Every key event of the desktop comes through the RECORD
// stream and goes to the procedure with the system's arguments, the key state kept from
// that same stream. X lets no one look at a key before the focused program gets it, so
// the combinations the procedure may take away are grabbed on the root window before;
// when one is pressed the grab is let go at once, before the procedure types anything,
// so that what it types reaches the focused program.
#include "platform/keyboard_hook.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/input.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "platform/x11/display.h"
#include "platform/x11/inject.h"
#include "platform/x11/keymap.h"
#include "platform/x11/record_stream.h"
#include "platform/x11/typing.h"

namespace {

KeyboardProc gProc = nullptr;
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

struct Grab {
    KeyCode code;
    unsigned modifiers;
};
std::vector<Grab> gGrabs;
uint8_t gTakenCodes[32];
// A taken key's press comes twice, through the stream and as the grab's own event, in
// either order; whichever comes first lets the key go and the other is waited for.
uint32_t gPressCharacters[256];  // what each key made at its press, for its release
uint8_t gLetGo[32];         // let go at the grab's event; the stream's press to come
uint8_t gCopyAwaited[32];   // let go at the stream's press; the grab's event to come

void MakeKeyTables(Display* display) {
    gNumLockMask = X11ModifierMaskOf(display, XK_Num_Lock);
    gAltMask = X11ModifierMaskOf(display, XK_Alt_L);
    if (gAltMask == 0) gAltMask = Mod1Mask;
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
    Note(code, vk, press);
    Display* display = X11Display();
    if (letGo) {
        X11SetBit(gLetGo, code, false);
    } else if (press && display != nullptr && Grabbed(code, event.state)) {
        X11SetBit(gCopyAwaited, code, true);
        LetTakenKeyGo(display, code);
    }
    if (gProc == nullptr) return;
    if (press && code < 256) gPressCharacters[code] = X11CharacterOfKey(display, code, event.state);
    gView.character = code < 256 ? gPressCharacters[code] : 0;
    uint8_t scan = 0;
    bool extended = false;
    X11KeycodeToScanCode(code, &scan, &extended);
    const uint32_t flags =
        1u | static_cast<uint32_t>(scan) << 16 | (extended ? 1u << 24 : 0u) | (press ? 0u : 0xC0000000u);
    X11KeyView* outer = gX11KeyView;
    gX11KeyView = &gView;
    gProc(HC_ACTION, vk, static_cast<intptr_t>(flags));
    gX11KeyView = outer;
    // Let go above: up from here on, though its release never comes back.
    if (press && X11BitSet(gView.ownRelease, code) && Grabbed(code, event.state)) Note(code, vk, false);
}

// The journal's record hook took the stream: nothing reaches the procedure now, so no
// key may be kept from the programs either.
void OnTakenOver() { UngrabAll(); }

bool Listening() { return gHook != 0 && X11RecordStreamSink() == OnKey; }

void OnXEvent(XEvent* event) {
    if (!Listening()) return;
    if (event->type == MappingNotify && event->xmapping.request != MappingPointer) {
        MakeKeyTables(X11Display());
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

intptr_t SysSetKeyboardHook(KeyboardProc proc) {
    Display* display = X11Display();
    int error = 0;
    if (proc == nullptr) {
        error = EINVAL;
    } else if (gHook != 0 || (X11RecordStreamSink() != nullptr && X11RecordStreamSink() != OnKey)) {
        error = EBUSY;  // one keyboard hook; none while a recording holds the stream
    } else if (display == nullptr) {
        error = ENXIO;
    } else {
        MakeKeyTables(display);
        if (!X11StartRecordStream(KeyRelease, OnKey, OnTakenOver)) error = ENOTSUP;
    }
    if (error != 0) {
        SysSetLastError(error);
        return 0;
    }
    // Asked once the stream runs: a key already held counts, and what changes meanwhile
    // comes after it in the stream.
    memset(&gView, 0, sizeof gView);
    SysGetKeyboardState(gView.state);
    XQueryKeymap(display, reinterpret_cast<char*>(gView.down));
    if (!gHandlerAdded) {
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
    UngrabAll();
    return true;
}

int SysTakeKeys(const TakenKey* keys, int count, TakenKey* busy, int busyMax) {
    UngrabAll();
    Display* display = X11Display();
    if (display == nullptr || keys == nullptr || !Listening()) return 0;
    unsigned locks[8];
    const int lockCount = X11LockMasks(display, locks);
    const Window root = DefaultRootWindow(display);
    int busyCount = 0;
    for (int i = 0; i < count; ++i) {
        const TakenKey& key = keys[i];
        if (key.vk == 0) continue;
        const unsigned modifiers =
            (key.ctrl ? ControlMask : 0) | (key.shift ? ShiftMask : 0) | (key.alt ? gAltMask : 0);
        const size_t first = gGrabs.size();
        X11TrapErrors();
        for (unsigned code = 8; code < 256; ++code) {
            for (int l = 0; l < lockCount; ++l) {
                if (gVks[(locks[l] & gNumLockMask) != 0 ? 1 : 0][code] != key.vk) continue;
                XGrabKey(display, static_cast<int>(code), modifiers | locks[l], root, False, GrabModeAsync,
                         GrabModeAsync);
                gGrabs.push_back(Grab{static_cast<KeyCode>(code), modifiers | locks[l]});
            }
        }
        if (X11UntrapErrors() == 0) {
            for (size_t g = first; g < gGrabs.size(); ++g) X11SetBit(gTakenCodes, gGrabs[g].code, true);
            continue;
        }
        // Held by another program under some lock state: it keeps the whole combination,
        // so that the key does not behave differently with Caps Lock on.
        for (size_t g = first; g < gGrabs.size(); ++g) XUngrabKey(display, gGrabs[g].code, gGrabs[g].modifiers, root);
        gGrabs.resize(first);
        if (busy != nullptr && busyCount < busyMax) busy[busyCount] = key;
        ++busyCount;
    }
    XFlush(display);
    return busyCount;
}
