// The decision "character -> key events" on Windows, shared by typed text and by the
// journal playback's character records.
#include "platform/win32/character_input.h"

namespace {

// ToUnicodeEx leaves the layout's dead-key state as it was (the key that asks is not
// being typed).
const UINT kKeepKeyboardState = 0x4;

// A character press that no release has ended yet: what the release must undo.
struct Press {
    uint32_t character;
    bool used;
    bool byKey;
    uint8_t vk;
    uint8_t modifiers;
};
// Text types a character's press and release next to each other; a recording may hold a
// few characters down at once. Past this many the oldest is forgotten, and what it held
// is released with the rest of the playback's held input.
const int kPressesMax = 16;
Press gPresses[kPressesMax];
int gOldest = 0;

// The keys of the main block that make characters. Numeric-keypad keys depend on Num
// Lock, and media, browser, launch and function keys make none: text never presses them.
bool IsCharacterKey(uint8_t vk) {
    return vk == 0x20 || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') || (vk >= 0xBA && vk <= 0xC0) ||
           (vk >= 0xDB && vk <= 0xDF) || vk == 0xE2;
}

bool IsSurrogate(uint32_t character) { return character >= 0xD800 && character <= 0xDFFF; }

HKL ForegroundLayout() {
    HWND foreground = GetForegroundWindow();
    return GetKeyboardLayout(foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0);
}

// As the thread that gets the keys sees them: the keyboard service runs in that thread,
// and a thread without the focus follows the desktop's state once it asks about a key.
uint8_t HeldModifiers() {
    GetKeyState(0);
    const auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    return static_cast<uint8_t>((down(VK_SHIFT) ? kKeyShift : 0) | (down(VK_CONTROL) ? kKeyCtrl : 0) |
                                (down(VK_MENU) ? kKeyAlt : 0));
}

// The keyboard state a key's level is read in: its modifiers down, Caps Lock as it is.
void LevelState(uint8_t modifiers, BYTE state[256]) {
    for (int vk = 0; vk < 256; ++vk) state[vk] = 0;
    if ((modifiers & kKeyShift) != 0) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
    if ((modifiers & kKeyCtrl) != 0) state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    if ((modifiers & kKeyAlt) != 0) state[VK_MENU] = state[VK_LMENU] = 0x80;
    state[VK_CAPITAL] = static_cast<BYTE>(GetKeyState(VK_CAPITAL) & 1);
}

INPUT KeyInput(uint8_t vk, bool up, HKL layout) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0u;
    return input;
}

INPUT UnitInput(WORD unit, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = unit;
    input.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0u);
    return input;
}

// The character's UTF-16 units, each pressed (or released) in turn; a lone surrogate is
// one unit as it stands.
int UnicodeInput(uint32_t character, bool up, INPUT out[]) {
    if (character < 0x10000) {
        out[0] = UnitInput(static_cast<WORD>(character), up);
        return 1;
    }
    const uint32_t offset = character - 0x10000;
    out[0] = UnitInput(static_cast<WORD>(0xD800 + (offset >> 10)), up);
    out[1] = UnitInput(static_cast<WORD>(0xDC00 + (offset & 0x3FF)), up);
    return 2;
}

const uint8_t kModifierKeys[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
const uint8_t kModifierBits[] = {kKeyShift, kKeyCtrl, kKeyAlt};

// Modifiers first and the key last on a press; the key first and the modifiers in the
// opposite order on a release.
int KeyWayInput(const Press& press, bool up, INPUT out[]) {
    const HKL layout = ForegroundLayout();
    int count = 0;
    if (up) out[count++] = KeyInput(press.vk, true, layout);
    for (int i = 0; i < 3; ++i) {
        const int at = up ? 2 - i : i;
        if ((press.modifiers & kModifierBits[at]) != 0) out[count++] = KeyInput(kModifierKeys[at], up, layout);
    }
    if (!up) out[count++] = KeyInput(press.vk, false, layout);
    return count;
}

Press* PendingPress(uint32_t character) {
    for (Press& press : gPresses)
        if (press.used && press.character == character) return &press;
    return nullptr;
}

Press Decide(uint32_t character) {
    Press press = {character, true, false, 0, 0};
    if (IsSurrogate(character) || character > 0xFFFF) return press;
    const HKL layout = ForegroundLayout();
    const int16_t keyScan = VkKeyScanExW(static_cast<WCHAR>(character), layout);
    bool madeBack = false;
    if (keyScan != -1) {
        BYTE state[256];
        LevelState(static_cast<uint8_t>(keyScan >> 8), state);
        const uint8_t vk = static_cast<uint8_t>(keyScan & 0xFF);
        const uint8_t scan = static_cast<uint8_t>(MapVirtualKeyExW(vk, MAPVK_VK_TO_VSC, layout));
        madeBack = WinCharacterOfKey(vk, scan, state, layout) == character;
    }
    const CharacterKeys keys = WinChooseCharacterKeys(character, keyScan, madeBack, HeldModifiers());
    press.byKey = keys.byKey;
    press.vk = keys.vk;
    press.modifiers = keys.modifiers;
    return press;
}

}  // namespace

bool WinIsTypableCharacter(uint32_t character) {
    if (character < 0x20 || (character >= 0x7F && character <= 0x9F)) return false;
    return !IsSurrogate(character) && character <= 0x10FFFF;
}

CharacterKeys WinChooseCharacterKeys(uint32_t character, int16_t keyScan, bool madeBack, uint8_t held) {
    const CharacterKeys unicode = {false, 0, 0};
    if (character > 0xFFFF || keyScan == -1 || !madeBack) return unicode;
    const uint8_t vk = static_cast<uint8_t>(keyScan & 0xFF);
    const uint8_t wanted = static_cast<uint8_t>((keyScan >> 8) & 0xFF);
    if ((wanted & ~(kKeyShift | kKeyCtrl | kKeyAlt)) != 0 || !IsCharacterKey(vk)) return unicode;
    // Ctrl or Alt alone make shortcuts, not characters; together they are AltGr.
    if (((wanted & kKeyCtrl) != 0) != ((wanted & kKeyAlt) != 0)) return unicode;
    // A modifier held that the level does not want stays held: it is the script's (Ctrl
    // for a shortcut, Shift for capitals) or was taken from the program already (the
    // keyboard service clears the state of the thread it types into).
    return CharacterKeys{true, vk, static_cast<uint8_t>(wanted & ~held)};
}

int WinCharacterInput(uint32_t character, bool press, INPUT out[kCharacterInputMax]) {
    Press* pending = PendingPress(character);
    if (!press) {
        if (pending == nullptr) return 0;
        pending->used = false;
        return pending->byKey ? KeyWayInput(*pending, true, out) : UnicodeInput(character, true, out);
    }
    // A press repeated before its release (a held key's repeat) presses the key again
    // and leaves the modifiers to the release.
    if (pending != nullptr) {
        if (!pending->byKey) return UnicodeInput(character, false, out);
        out[0] = KeyInput(pending->vk, false, ForegroundLayout());
        return 1;
    }
    if (!WinIsTypableCharacter(character) && !IsSurrogate(character)) return 0;
    Press* slot = nullptr;
    for (Press& free : gPresses)
        if (!free.used && slot == nullptr) slot = &free;
    if (slot == nullptr) {
        slot = &gPresses[gOldest];
        gOldest = (gOldest + 1) % kPressesMax;
    }
    *slot = Decide(character);
    const Press& decided = *slot;
    return decided.byKey ? KeyWayInput(decided, false, out) : UnicodeInput(character, false, out);
}

void WinForgetCharacterPresses() {
    for (Press& press : gPresses) press.used = false;
}

uint32_t WinCharacterOfKey(uint8_t vk, uint8_t scan, const BYTE state[256], HKL layout) {
    WCHAR made[4] = {};
    const int count = ToUnicodeEx(vk, scan, state, made, 4, kKeepKeyboardState, layout);
    if (count == 1 && !IsSurrogate(made[0])) return made[0];
    if (count == 2 && made[0] >= 0xD800 && made[0] <= 0xDBFF && made[1] >= 0xDC00 && made[1] <= 0xDFFF)
        return 0x10000 + ((static_cast<uint32_t>(made[0]) - 0xD800) << 10) + (made[1] - 0xDC00);
    return 0;
}
