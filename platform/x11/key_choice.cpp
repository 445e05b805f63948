#include "platform/x11/key_choice.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace {

const xkb_mod_mask_t kRealModifiers = 0xFF;
const xkb_mod_mask_t kShift = 0x01, kShiftingLocks = 0x02 | 0x10;  // Lock, Num Lock (Mod2)
const int kGroups = 4;  // the most an X server has

bool Marked(const uint8_t bits[32], xkb_keycode_t code) { return code < 256 && (bits[code / 8] & (1u << (code % 8))) != 0; }

bool IsModifierSymbol(xkb_keysym_t symbol) {
    return (symbol >= XKB_KEY_Shift_L && symbol <= XKB_KEY_Hyper_R) || symbol == XKB_KEY_ISO_Level3_Shift ||
           symbol == XKB_KEY_ISO_Level5_Shift || symbol == XKB_KEY_Mode_switch;
}

// Terminals send escape sequences for keypad keys in their application mode: the keypad
// types a character only where the main block has none.
bool IsKeypadSymbol(xkb_keysym_t symbol) { return symbol >= XKB_KEY_KP_Space && symbol <= XKB_KEY_KP_9; }

int Bits(xkb_mod_mask_t mask) {
    int n = 0;
    for (; mask != 0; mask &= mask - 1) ++n;
    return n;
}

// A state of the keyboard with these modifiers and the group: where the server would be.
xkb_state* StateWith(xkb_keymap* keymap, xkb_mod_mask_t depressed, xkb_mod_mask_t locked, xkb_layout_index_t group) {
    xkb_state* state = xkb_state_new(keymap);
    if (state != nullptr) xkb_state_update_mask(state, depressed, 0, locked, 0, 0, group);
    return state;
}

// The modifier keys found per group of the keymap last asked about: looking costs a
// simulated press of every key.
struct ModifierTable {
    xkb_keymap* keymap = nullptr;  // held with a reference, so that its address stays its own
    bool known[kGroups] = {};
    xkb_keycode_t keys[kGroups][8] = {};
} gTable;

// Whether pressing the key in the group sets exactly the modifier and nothing else: no
// lock, latch or group change.
bool SetsOnly(xkb_keymap* keymap, xkb_layout_index_t group, xkb_keycode_t key, xkb_mod_mask_t modifier) {
    xkb_state* state = StateWith(keymap, 0, 0, group);
    if (state == nullptr) return false;
    const xkb_layout_index_t layout = xkb_state_key_get_layout(state, key);
    bool only = false;
    if (layout != XKB_LAYOUT_INVALID) {
        const xkb_keysym_t* symbols = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, layout, 0, &symbols);
        if (count == 1 && IsModifierSymbol(symbols[0])) {
            xkb_state_update_key(state, key, XKB_KEY_DOWN);
            only = xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED) == modifier &&
                   xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED) == 0 &&
                   xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED) == 0 &&
                   xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE) == group;
        }
    }
    xkb_state_unref(state);
    return only;
}

xkb_keycode_t SearchModifierKey(xkb_keymap* keymap, xkb_layout_index_t group, xkb_mod_mask_t modifier,
                                const uint8_t* avoid) {
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= last && key < 256; ++key) {
        if (avoid != nullptr && Marked(avoid, key)) continue;
        if (SetsOnly(keymap, group, key, modifier)) return key;
    }
    return 0;
}

int BitIndex(xkb_mod_mask_t modifier) {
    for (int bit = 0; bit < 8; ++bit) {
        if (modifier == (1u << bit)) return bit;
    }
    return -1;
}

struct Candidate {
    KeyChoice choice;
    int cost;
};

// The symbol pressing the modifiers of press (ascending) and then the key gives from the
// state as it is, with the case Caps Lock gives one that does not use it up, as programs
// read it. Fills the modifier keys of the choice; NoSymbol when one cannot be pressed.
xkb_keysym_t Makes(xkb_keymap* keymap, xkb_mod_mask_t depressed, xkb_mod_mask_t locked, xkb_layout_index_t group,
                   xkb_keycode_t key, xkb_mod_mask_t press, const uint8_t avoid[32], KeyChoice* choice) {
    choice->key = key;
    choice->modifierCount = 0;
    choice->modifierMask = press;
    for (int bit = 0; bit < 8; ++bit) {
        if ((press & (1u << bit)) == 0) continue;
        const xkb_keycode_t modifierKey = ChooseModifierKey(keymap, group, 1u << bit, avoid);
        if (modifierKey == 0 || modifierKey == key) return XKB_KEY_NoSymbol;
        choice->modifiers[choice->modifierCount++] = modifierKey;
    }
    xkb_state* state = StateWith(keymap, depressed, locked, group);
    if (state == nullptr) return XKB_KEY_NoSymbol;
    for (int i = 0; i < choice->modifierCount; ++i) xkb_state_update_key(state, choice->modifiers[i], XKB_KEY_DOWN);
    const xkb_keysym_t symbol = xkb_state_key_get_one_sym(state, key);
    xkb_state_unref(state);
    return symbol;
}

bool Is(xkb_keysym_t symbol, uint32_t character) {
    return symbol != XKB_KEY_NoSymbol && xkb_keysym_to_utf32(symbol) == character;
}

}  // namespace

xkb_keycode_t ChooseModifierKey(xkb_keymap* keymap, xkb_layout_index_t group, xkb_mod_mask_t modifier,
                                const uint8_t avoid[32]) {
    const int bit = BitIndex(modifier);
    if (keymap == nullptr || bit < 0 || group >= static_cast<xkb_layout_index_t>(kGroups)) return 0;
    if (gTable.keymap != keymap) {
        if (gTable.keymap != nullptr) xkb_keymap_unref(gTable.keymap);
        gTable = ModifierTable{};
        gTable.keymap = xkb_keymap_ref(keymap);
    }
    if (!gTable.known[group]) {
        for (int b = 0; b < 8; ++b) gTable.keys[group][b] = SearchModifierKey(keymap, group, 1u << b, nullptr);
        gTable.known[group] = true;
    }
    const xkb_keycode_t key = gTable.keys[group][bit];
    if (key == 0 || avoid == nullptr || !Marked(avoid, key)) return key;
    return SearchModifierKey(keymap, group, modifier, avoid);
}

bool ChooseKeyForCharacter(xkb_keymap* keymap, const KeyboardNow& now, uint32_t character, const uint8_t avoid[32],
                           KeyChoice* out) {
    if (keymap == nullptr || character == 0) return false;
    xkb_state* groupState = StateWith(keymap, 0, 0, now.group);
    if (groupState == nullptr) return false;
    const xkb_mod_mask_t locked = now.locked & kRealModifiers, held = now.held & kRealModifiers;
    // First a choice the held modifiers leave as it is; failing that, one they change as
    // they were meant to.
    Candidate best[2] = {};
    bool found[2] = {false, false};
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= last && key < 256; ++key) {
        if (Marked(avoid, key)) continue;
        const xkb_layout_index_t layout = xkb_state_key_get_layout(groupState, key);
        if (layout == XKB_LAYOUT_INVALID) continue;
        const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, layout);
        for (xkb_level_index_t level = 0; level < levels; ++level) {
            const xkb_keysym_t* symbols = nullptr;
            if (xkb_keymap_key_get_syms_by_level(keymap, key, layout, level, &symbols) != 1) continue;
            if (xkb_keysym_to_utf32(symbols[0]) != character) continue;
            xkb_mod_mask_t masks[16];
            const size_t count = xkb_keymap_key_get_mods_for_level(keymap, key, layout, level, masks, 16);
            const int keypad = IsKeypadSymbol(symbols[0]) ? 100 : 0;
            for (size_t m = 0; m < 2 * count; ++m) {
                // A lock that shifts (Caps Lock on letters, Num Lock on the keypad) leaves
                // the level to Shift pressed with it, which no mask of the type names.
                if (m >= count && (locked & kShiftingLocks) == 0) break;
                const xkb_mod_mask_t wanted = (masks[m % count] & kRealModifiers) ^ (m >= count ? kShift : 0);
                const xkb_mod_mask_t press = wanted & ~(locked | held);
                for (int pass = 0; pass < 2; ++pass) {
                    Candidate candidate;
                    candidate.cost = keypad + Bits(press);
                    if (found[pass] && best[pass].cost <= candidate.cost) continue;
                    // The second pass takes a key the held modifiers turn into the other case
                    // of the character, as they would the user's own typing; no other sign.
                    const xkb_keysym_t made =
                        Makes(keymap, held, locked, now.group, key, press, avoid, &candidate.choice);
                    if (pass == 0 && !Is(made, character)) continue;
                    if (pass == 1 && ((!Is(xkb_keysym_to_upper(made), character) &&
                                       !Is(xkb_keysym_to_lower(made), character)) ||
                                      !Is(Makes(keymap, held & wanted, locked, now.group, key, press, avoid,
                                                &candidate.choice),
                                          character))) {
                        continue;
                    }
                    best[pass] = candidate;
                    found[pass] = true;
                }
            }
        }
    }
    xkb_state_unref(groupState);
    if (!found[0] && !found[1]) return false;
    *out = found[0] ? best[0].choice : best[1].choice;
    return true;
}
