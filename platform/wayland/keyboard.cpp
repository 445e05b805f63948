#include "platform/wayland/keyboard.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/wayland/connection.h"
#include "platform/wayland/made_keymap.h"
#include "platform/x11/key_choice.h"
#include "platform/x11/keymap.h"

namespace {

zwp_virtual_keyboard_v1* gKeyboard = nullptr;
MadeKeymap gMade;
xkb_state* gState = nullptr;
uint8_t gHeld[32];  // key codes down, a bit each

// What each character press pressed, for its release.
const int kMaxPresses = 16;
struct CharacterPress {
    uint32_t character;
    KeyChoice choice;
};
CharacterPress gPresses[kMaxPresses];

bool IsHeld(xkb_keycode_t code) { return code < 256 && (gHeld[code / 8] & (1u << (code % 8))) != 0; }

void SendModifiers() {
    zwp_virtual_keyboard_v1_modifiers(gKeyboard, xkb_state_serialize_mods(gState, XKB_STATE_MODS_DEPRESSED),
                                      xkb_state_serialize_mods(gState, XKB_STATE_MODS_LATCHED),
                                      xkb_state_serialize_mods(gState, XKB_STATE_MODS_LOCKED),
                                      xkb_state_serialize_layout(gState, XKB_STATE_LAYOUT_EFFECTIVE));
}

void SendKey(xkb_keycode_t code, bool press) {
    if (code < kLowestKeycode || code > kHighestKeycode) return;
    zwp_virtual_keyboard_v1_key(gKeyboard, WaylandTime(), code - 8,
                                press ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    const uint8_t bit = static_cast<uint8_t>(1u << (code % 8));
    gHeld[code / 8] = static_cast<uint8_t>(press ? gHeld[code / 8] | bit : gHeld[code / 8] & ~bit);
    const xkb_state_component changed = xkb_state_update_key(gState, code, press ? XKB_KEY_DOWN : XKB_KEY_UP);
    if ((changed & (XKB_STATE_MODS_EFFECTIVE | XKB_STATE_LAYOUT_EFFECTIVE)) != 0) SendModifiers();
}

// Hands the compositor the keymap as made now. The keys held stay down in the new state;
// the round trip lets the compositor take the keymap before the next key (a key sent
// straight after it may be lost otherwise).
bool Upload() {
    char* text = KeymapText(&gMade);
    if (text == nullptr) return false;
    const size_t size = strlen(text) + 1;
    const int fd = memfd_create("kelmor-keymap", MFD_CLOEXEC);
    const bool written = fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size);
    free(text);
    if (!written) {
        if (fd >= 0) close(fd);
        return false;
    }
    zwp_virtual_keyboard_v1_keymap(gKeyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd, static_cast<uint32_t>(size));
    close(fd);
    // The base layout is the same in every keymap made, so the held keys and the locks
    // mean the same in the new one.
    const xkb_mod_mask_t locked = gState != nullptr ? xkb_state_serialize_mods(gState, XKB_STATE_MODS_LOCKED) : 0;
    xkb_state_unref(gState);
    gState = xkb_state_new(gMade.keymap);
    if (gState == nullptr) return false;
    for (xkb_keycode_t code = kLowestKeycode; code <= kHighestKeycode; ++code) {
        if (IsHeld(code)) xkb_state_update_key(gState, code, XKB_KEY_DOWN);
    }
    if (locked != 0) {
        xkb_state_update_mask(gState, xkb_state_serialize_mods(gState, XKB_STATE_MODS_DEPRESSED), 0, locked, 0, 0, 0);
    }
    SendModifiers();
    wl_display_roundtrip(Wayland()->display);
    return true;
}

xkb_keycode_t KeyOfSymbol(xkb_keysym_t symbol) {
    for (xkb_keycode_t code = kLowestKeycode; code <= kHighestKeycode; ++code) {
        const xkb_keysym_t* symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(gMade.keymap, code, 0, 0, &symbols) > 0 && symbols[0] == symbol) {
            return code;
        }
    }
    return 0;
}

xkb_keycode_t KeyOfScanCode(uint8_t scan, bool extended) {
    for (unsigned code = kLowestKeycode; code <= kHighestKeycode; ++code) {
        uint8_t s = 0;
        bool e = false;
        X11KeycodeToScanCode(code, &s, &e);
        if (s == scan && e == extended && scan != 0) return code;
    }
    return 0;
}

bool Choose(uint32_t character, KeyChoice* choice) {
    // Caps Lock, played from a recording, stays on in the keymap's state and turns letters.
    const KeyboardNow now = {0, xkb_state_serialize_mods(gState, XKB_STATE_MODS_LOCKED),
                             xkb_state_serialize_mods(gState, XKB_STATE_MODS_DEPRESSED)};
    return ChooseKeyForCharacter(gMade.keymap, now, character, gHeld, choice);
}

}  // namespace

bool WaylandKeyboardOpen() {
    WaylandGlobals* wayland = Wayland();
    if (!MakeBaseKeymap(&gMade)) return false;
    gKeyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(wayland->keyboards, wayland->seat);
    return gKeyboard != nullptr && Upload();
}

bool WaylandKey(uint8_t vk, uint8_t scan, bool extended, bool press) {
    static xkb_keycode_t pressedWith[256];
    xkb_keycode_t code = press ? 0 : pressedWith[vk];
    if (code == 0) {
        const unsigned long symbol = X11VkToKeysym(vk);
        code = symbol != 0 ? KeyOfSymbol(static_cast<xkb_keysym_t>(symbol)) : KeyOfScanCode(scan, extended);
    }
    if (code == 0) return false;
    pressedWith[vk] = press ? code : 0;
    SendKey(code, press);
    return true;
}

bool WaylandCanTypeCharacter(uint32_t character) {
    return IsTypableCharacter(character) && xkb_utf32_to_keysym(character) != XKB_KEY_NoSymbol;
}

int WaylandTypeCharacter(uint32_t character, bool press) {
    if (!press) {
        for (CharacterPress& pressed : gPresses) {
            if (pressed.character != character) continue;
            SendKey(pressed.choice.key, false);
            for (int i = pressed.choice.modifierCount - 1; i >= 0; --i) SendKey(pressed.choice.modifiers[i], false);
            pressed.character = 0;
            return 1 + pressed.choice.modifierCount;
        }
        return 0;
    }
    CharacterPress* slot = nullptr;
    for (CharacterPress& pressed : gPresses) {
        if (pressed.character == 0 && slot == nullptr) slot = &pressed;
    }
    if (slot == nullptr || !WaylandCanTypeCharacter(character)) return 0;
    KeyChoice choice{};
    if (!Choose(character, &choice)) {
        if (AddCharacterKey(&gMade, character, gHeld) == 0 || !Upload() || !Choose(character, &choice)) return 0;
    }
    for (int i = 0; i < choice.modifierCount; ++i) SendKey(choice.modifiers[i], true);
    SendKey(choice.key, true);
    slot->character = character;
    slot->choice = choice;
    return 1 + choice.modifierCount;
}

void WaylandReleaseKeys(bool modifiersOnly) {
    if (gKeyboard == nullptr) return;
    for (xkb_keycode_t code = kLowestKeycode; code <= kHighestKeycode; ++code) {
        if (!IsHeld(code)) continue;
        const xkb_keysym_t symbol = xkb_state_key_get_one_sym(gState, code);
        const bool modifier = (symbol >= XKB_KEY_Shift_L && symbol <= XKB_KEY_Hyper_R) ||
                              symbol == XKB_KEY_ISO_Level3_Shift;
        if (!modifiersOnly || modifier) SendKey(code, false);
    }
    if (!modifiersOnly) memset(gPresses, 0, sizeof gPresses);
}
