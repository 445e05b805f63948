#include "platform/x11/keymap.h"

#include <X11/XF86keysym.h>
#include <X11/XKBlib.h>
#include <X11/keysym.h>

#include <cstring>

namespace {

const uint8_t kVkDecimal = 0x6E;

struct VkSym {
    uint8_t vk;
    KeySym keysym;
};

// Keys outside the letter, digit and function-key runs. Where two keysyms mean the same
// virtual key (the keypad's navigation keys) the first row is the one injected; where
// two virtual keys share a keysym the first row is the one recorded, so Print Screen
// comes before the old Print key.
const VkSym kKeys[] = {
    {0x03, XK_Break},        {0x08, XK_BackSpace},     {0x09, XK_Tab},           {0x09, XK_ISO_Left_Tab},
    {0x0C, XK_Clear},        {0x0D, XK_Return},        {0x10, XK_Shift_L},       {0x11, XK_Control_L},
    {0x12, XK_Alt_L},        {0x13, XK_Pause},         {0x14, XK_Caps_Lock},     {0x1B, XK_Escape},
    {0x20, XK_space},        {0x21, XK_Prior},         {0x22, XK_Next},          {0x23, XK_End},
    {0x24, XK_Home},         {0x25, XK_Left},          {0x26, XK_Up},            {0x27, XK_Right},
    {0x28, XK_Down},         {0x29, XK_Select},        {0x2C, XK_Print},         {0x2A, XK_Print},
    {0x2B, XK_Execute},      {0x2D, XK_Insert},        {0x2E, XK_Delete},        {0x2F, XK_Help},
    {0x5B, XK_Super_L},      {0x5C, XK_Super_R},       {0x5D, XK_Menu},          {0x5F, XF86XK_Sleep},
    {0x6A, XK_KP_Multiply},  {0x6B, XK_KP_Add},        {0x6C, XK_KP_Separator},  {0x6D, XK_KP_Subtract},
    {0x6E, XK_KP_Decimal},   {0x6F, XK_KP_Divide},     {0x90, XK_Num_Lock},      {0x91, XK_Scroll_Lock},
    {0xA0, XK_Shift_L},      {0xA1, XK_Shift_R},       {0xA2, XK_Control_L},     {0xA3, XK_Control_R},
    {0xA4, XK_Alt_L},        {0xA5, XK_Alt_R},         {0xA6, XF86XK_Back},      {0xA7, XF86XK_Forward},
    {0xA8, XF86XK_Refresh},  {0xA9, XF86XK_Stop},      {0xAA, XF86XK_Search},    {0xAB, XF86XK_Favorites},
    {0xAC, XF86XK_HomePage}, {0xAD, XF86XK_AudioMute}, {0xAE, XF86XK_AudioLowerVolume},
    {0xAF, XF86XK_AudioRaiseVolume},                   {0xB0, XF86XK_AudioNext}, {0xB1, XF86XK_AudioPrev},
    {0xB2, XF86XK_AudioStop},                          {0xB3, XF86XK_AudioPlay}, {0xB4, XF86XK_Mail},
    {0xB5, XF86XK_AudioMedia},                         {0xBA, XK_semicolon},     {0xBB, XK_equal},
    {0xBC, XK_comma},        {0xBD, XK_minus},         {0xBE, XK_period},        {0xBF, XK_slash},
    {0xC0, XK_grave},        {0xDB, XK_bracketleft},   {0xDC, XK_backslash},     {0xDD, XK_bracketright},
    {0xDE, XK_apostrophe},   {0xE2, XK_less},
    // The shifted symbols of the US keys, so that a layout carrying them on a key of their
    // own still yields the key's virtual code.
    {0xBA, XK_colon},        {0xBB, XK_plus},          {0xBC, XK_less},          {0xBD, XK_underscore},
    {0xBE, XK_greater},      {0xBF, XK_question},      {0xC0, XK_asciitilde},    {0xDB, XK_braceleft},
    {0xDC, XK_bar},          {0xDD, XK_braceright},    {0xDE, XK_quotedbl},
    // The other names layouts give the Alt keys: AltGr is the right Alt key, as it is on
    // the system the virtual keys come from.
    {0xA5, XK_ISO_Level3_Shift},                       {0xA5, XK_Mode_switch},   {0xA4, XK_Meta_L},
    {0xA5, XK_Meta_R},
    // The keypad with Num Lock off: the virtual keys of the navigation block.
    {0x21, XK_KP_Prior},     {0x22, XK_KP_Next},       {0x23, XK_KP_End},        {0x24, XK_KP_Home},
    {0x25, XK_KP_Left},      {0x26, XK_KP_Up},         {0x27, XK_KP_Right},      {0x28, XK_KP_Down},
    {0x2D, XK_KP_Insert},    {0x2E, XK_KP_Delete},     {0x0C, XK_KP_Begin},      {0x0D, XK_KP_Enter},
};

// evdev keycodes are the kernel's key numbers plus 8. Up to 0x58 the kernel's numbers
// are the PC scan codes themselves; the keys the PC reaches through its E0 prefix have
// other numbers, so they get their PC code and the extended bit here. Num Lock and Pause
// share scan code 0x45 and differ in the bit, as the journal reports them.
struct ScanCode {
    uint8_t kernelCode;
    uint8_t scan;
    bool extended;
};
const ScanCode kOtherScanCodes[] = {
    {69, 0x45, true},   // Num Lock
    {96, 0x1C, true},   // keypad Enter
    {97, 0x1D, true},   // right Ctrl
    {98, 0x35, true},   // keypad /
    {99, 0x37, true},   // Print
    {100, 0x38, true},  // right Alt
    {102, 0x47, true},  {103, 0x48, true}, {104, 0x49, true}, {105, 0x4B, true},
    {106, 0x4D, true},  {107, 0x4F, true}, {108, 0x50, true}, {109, 0x51, true},
    {110, 0x52, true},  {111, 0x53, true},  // Home, arrows, Page Up/Down, End, Insert, Delete
    {119, 0x45, false},  // Pause
    {125, 0x5B, true},  {126, 0x5C, true}, {127, 0x5D, true},  // the two Windows keys, Menu
};
const unsigned kLastMainBlockCode = 0x58;
const unsigned kEvdevOffset = 8;

// The virtual keys of the US keyboard's typing keys by their PC scan codes, row by row:
// what a key that makes no symbol of the US layout (a letter with an accent, a dead key,
// a Cyrillic letter) stands for, as the system the virtual keys come from names them.
struct UsRow {
    uint8_t firstScan;
    const char* vks;
};
const UsRow kUsRows[] = {
    {0x02, "1234567890\xBD\xBB"},     // ... - =
    {0x10, "QWERTYUIOP\xDB\xDD"},     // ... [ ]
    {0x1E, "ASDFGHJKL\xBA\xDE\xC0"},  // ... ; ' `
    {0x2B, "\xDC" "ZXCVBNM\xBC\xBE\xBF"},  // \ ... , . /
    {0x56, "\xE2"},                    // the key between the left Shift and Z
};

uint8_t UsVkAt(unsigned keycode) {
    uint8_t scan = 0;
    bool extended = false;
    X11KeycodeToScanCode(keycode, &scan, &extended);
    if (extended) return 0;
    for (const UsRow& row : kUsRows) {
        const size_t length = strlen(row.vks);
        if (scan >= row.firstScan && scan < row.firstScan + length) {
            return static_cast<uint8_t>(row.vks[scan - row.firstScan]);
        }
    }
    return 0;
}

const KeySym kShiftedDigits[10] = {XK_parenright, XK_exclam, XK_at,        XK_numbersign, XK_dollar,
                                   XK_percent,    XK_asciicircum, XK_ampersand, XK_asterisk, XK_parenleft};

}  // namespace

KeySym X11VkToKeysym(uint8_t vk) {
    if (vk >= '0' && vk <= '9') return XK_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z') return XK_a + (vk - 'A');
    if (vk >= 0x60 && vk <= 0x69) return XK_KP_0 + (vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87) return XK_F1 + (vk - 0x70);
    for (const VkSym& key : kKeys) {
        if (key.vk == vk) return key.keysym;
    }
    return NoSymbol;
}

uint8_t X11KeysymToVk(KeySym keysym) {
    if (keysym >= XK_0 && keysym <= XK_9) return static_cast<uint8_t>('0' + (keysym - XK_0));
    if (keysym >= XK_a && keysym <= XK_z) return static_cast<uint8_t>('A' + (keysym - XK_a));
    if (keysym >= XK_A && keysym <= XK_Z) return static_cast<uint8_t>('A' + (keysym - XK_A));
    if (keysym >= XK_KP_0 && keysym <= XK_KP_9) return static_cast<uint8_t>(0x60 + (keysym - XK_KP_0));
    if (keysym >= XK_F1 && keysym <= XK_F24) return static_cast<uint8_t>(0x70 + (keysym - XK_F1));
    for (int digit = 0; digit < 10; ++digit) {
        if (kShiftedDigits[digit] == keysym) return static_cast<uint8_t>('0' + digit);
    }
    for (const VkSym& key : kKeys) {
        if (key.keysym == keysym) return key.vk;
    }
    return 0;
}

uint8_t X11KeycodeToVk(Display* display, unsigned keycode, unsigned state) {
    if (display == nullptr || keycode < 8 || keycode > 255) return 0;
    // Asked only for the keypad, the one place the answer depends on it.
    const KeySym shifted = XkbKeycodeToKeysym(display, static_cast<KeyCode>(keycode), 0, 1);
    const bool keypad = (shifted >= XK_KP_0 && shifted <= XK_KP_9) || shifted == XK_KP_Decimal ||
                        shifted == XK_KP_Separator;
    const unsigned numLock = keypad ? X11ModifierMaskOf(display, XK_Num_Lock) : 0;
    return X11KeycodeToVkWith(display, keycode, numLock != 0 && (state & numLock) != 0);
}

uint8_t X11KeycodeToVkWith(Display* display, unsigned keycode, bool numLock) {
    if (display == nullptr || keycode < 8 || keycode > 255) return 0;
    const KeyCode code = static_cast<KeyCode>(keycode);
    // With Num Lock on the keypad types digits, and those are its virtual keys then. The
    // decimal key stays the decimal key whatever mark it types: some layouts put the
    // separator (a comma) there.
    const KeySym shifted = XkbKeycodeToKeysym(display, code, 0, 1);
    const bool digit = shifted >= XK_KP_0 && shifted <= XK_KP_9;
    const bool decimal = shifted == XK_KP_Decimal || shifted == XK_KP_Separator;
    if (numLock && (digit || decimal)) return digit ? X11KeysymToVk(shifted) : kVkDecimal;
    const KeySym base = XkbKeycodeToKeysym(display, code, 0, 0);
    uint8_t vk = X11KeysymToVk(base);
    // A digit on the second level (the French keyboards' top row) is the key's own, as on
    // the US keyboard and on the system the virtual keys come from: its first level's
    // mark would name another key's code ('&' that of 7).
    if (shifted >= XK_0 && shifted <= XK_9 && !(vk >= 'A' && vk <= 'Z')) return X11KeysymToVk(shifted);
    if (vk == 0) vk = X11KeysymToVk(shifted);
    // A key making what the US keyboard lacks still has a virtual key, so that no
    // recording holds a key as nothing: the US keyboard's at the same place.
    if (vk == 0 && (base != NoSymbol || shifted != NoSymbol)) vk = UsVkAt(keycode);
    return vk;
}

uint8_t X11SidelessVk(uint8_t vk) {
    if (vk >= 0xA0 && vk <= 0xA5) return static_cast<uint8_t>(0x10 + (vk - 0xA0) / 2);  // Shift, Ctrl, Alt
    return vk;
}

void X11KeycodeToScanCode(unsigned keycode, uint8_t* scan, bool* extended) {
    *scan = 0;
    *extended = false;
    if (keycode < kEvdevOffset) return;
    const unsigned kernelCode = keycode - kEvdevOffset;
    for (const ScanCode& key : kOtherScanCodes) {
        if (key.kernelCode == kernelCode) {
            *scan = key.scan;
            *extended = key.extended;
            return;
        }
    }
    if (kernelCode <= kLastMainBlockCode) *scan = static_cast<uint8_t>(kernelCode);
}

KeyCode X11ScanCodeToKeycode(Display* display, uint8_t scan, bool extended) {
    if (display == nullptr || scan == 0) return 0;
    unsigned kernelCode = 0;
    for (const ScanCode& key : kOtherScanCodes) {
        if (key.scan == scan && key.extended == extended) {
            kernelCode = key.kernelCode;
            break;
        }
    }
    // An extended code missing from the table names a key this keyboard lacks; its
    // number without the prefix would be another key altogether.
    if (kernelCode == 0 && !extended && scan <= kLastMainBlockCode) kernelCode = scan;
    if (kernelCode == 0) return 0;
    const unsigned keycode = kernelCode + kEvdevOffset;
    int min = 0, max = 0;
    XDisplayKeycodes(display, &min, &max);
    if (keycode < static_cast<unsigned>(min) || keycode > static_cast<unsigned>(max)) return 0;
    return static_cast<KeyCode>(keycode);
}

unsigned X11ModifierMaskOf(Display* display, KeySym keysym, XModifierKeymap* given) {
    if (display == nullptr || keysym == NoSymbol) return 0;
    XModifierKeymap* map = given != nullptr ? given : XGetModifierMapping(display);
    if (map == nullptr) return 0;
    unsigned mask = 0;
    // Any key carrying the symbol counts: a layout may put it on more than one.
    for (int mod = 0; mod < 8 && mask == 0; ++mod) {
        for (int k = 0; k < map->max_keypermod; ++k) {
            const KeyCode code = map->modifiermap[mod * map->max_keypermod + k];
            if (code == 0) continue;
            if (XkbKeycodeToKeysym(display, code, 0, 0) == keysym || XkbKeycodeToKeysym(display, code, 0, 1) == keysym) {
                mask = 1u << mod;
                break;
            }
        }
    }
    if (given == nullptr) XFreeModifiermap(map);
    return mask;
}

int X11LockMasks(Display* display, unsigned out[8], XModifierKeymap* map) {
    const unsigned locks[] = {LockMask, X11ModifierMaskOf(display, XK_Num_Lock, map),
                              X11ModifierMaskOf(display, XK_Scroll_Lock, map)};
    int n = 1;
    out[0] = 0;
    unsigned seen = 0;
    for (unsigned lock : locks) {
        if (lock == 0 || (lock & seen) != 0) continue;
        seen |= lock;
        for (int i = 0, before = n; i < before; ++i) out[n++] = out[i] | lock;
    }
    return n;
}
