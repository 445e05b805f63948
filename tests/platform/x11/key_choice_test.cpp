// The character → key decision on real layouts, compiled from the system's keyboard
// data as setxkbmap would have the server load them; no server is asked.
#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon.h>

#include <string>
#include <vector>

#include "platform/x11/key_choice.h"

namespace {

const xkb_mod_mask_t kShift = 1, kLock = 2, kNumLock = 0x10;

xkb_keymap* Layout(const char* layout, const char* variant = "") {
    static xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names = {"evdev", "pc105", layout, variant, ""};
    return xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
}

std::string Symbol(xkb_keymap* keymap, xkb_keycode_t key) {
    const xkb_keysym_t* symbols = nullptr;
    if (xkb_keymap_key_get_syms_by_level(keymap, key, 0, 0, &symbols) < 1) return "?";
    char name[64];
    xkb_keysym_get_name(symbols[0], name, sizeof name);
    return name;
}

// The choice as "KEY+Modifier+Modifier" (the key by its name, the modifiers by the symbol
// of their first level), or "-" when there is none.
std::string Choice(xkb_keymap* keymap, const KeyboardNow& now, uint32_t character, const uint8_t avoid[32] = nullptr) {
    const uint8_t none[32] = {};
    KeyChoice choice;
    if (!ChooseKeyForCharacter(keymap, now, character, avoid != nullptr ? avoid : none, &choice)) return "-";
    std::string text = xkb_keymap_key_get_name(keymap, choice.key);
    for (int i = 0; i < choice.modifierCount; ++i) text += "+" + Symbol(keymap, choice.modifiers[i]);
    return text;
}

TEST(KeyChoiceTest, FindsTheLevelAndGroupAndTheModifiersThatSelectItWithTheLocksAsTheyAre) {
    struct Case {
        const char* layout;
        KeyboardNow now;
        uint32_t character;
        const char* want;
    } cases[] = {
        {"us", {0, 0, 0}, 'a', "AC01"},
        {"us", {0, 0, 0}, 'A', "AC01+Shift_L"},
        {"us", {0, kLock, 0}, 'a', "AC01+Shift_L"},  // Caps Lock on: Shift gives the small letter
        {"us", {0, kLock, 0}, 'A', "AC01"},
        {"us", {0, kNumLock, 0}, '7', "AE07"},            // the main block before the keypad
        {"us", {0, kNumLock, 0}, '*', "AE08+Shift_L"},    // even with a modifier more
        {"us", {0, 0, kShift}, 'A', "AC01"},              // a held Shift is not pressed again
        {"us", {0, 0, kShift}, 's', "AC02"},              // nor let go: it makes capitals, as meant
        {"us", {0, 0, 0}, 0x20AC, "-"},                   // € is on no key
        {"de", {0, 0, 0}, '@', "AD01+ISO_Level3_Shift"},
        {"de", {0, 0, 0}, '~', "AD12+ISO_Level3_Shift"},
        {"de", {0, 0, 0}, '{', "AE07+ISO_Level3_Shift"},
        {"de", {0, 0, 0}, 0x20AC, "AD03+ISO_Level3_Shift"},
        {"de", {0, 0, 0}, 'y', "AB01"},
        {"de", {0, 0, 0}, 'Z', "AD06+Shift_L"},
        {"de", {0, 0, 0}, 0xDF, "AE11"},
        {"de", {0, kLock, 0}, 0xE4, "AC11+Shift_L"},      // ä with Caps Lock on
        {"de", {0, 0, 0}, '`', "-"},                      // only a dead key makes it
        {"fr", {0, 0, 0}, '1', "AE01+Shift_L"},
        {"fr", {0, 0, 0}, 0xE9, "AE02"},
        {"fr", {0, 0, 0}, 'a', "AD01"},
        {"ru", {0, 0, 0}, 0x444, "AC01"},                 // ф
        {"ru", {0, 0, 0}, 'a', "-"},
        {"us,ru", {1, 0, 0}, 0x424, "AC01+Shift_L"},      // Ф in the second group
        {"us,ru", {0, 0, 0}, 0x444, "-"},                 // not in the active one
        {"us,ru", {1, 0, 0}, 'a', "-"},
        {"us,ru", {1, 0, 0}, '1', "AE01"},                // keys of one group serve every group
    };
    for (const Case& c : cases) {
        xkb_keymap* keymap = Layout(c.layout);
        ASSERT_NE(keymap, nullptr) << c.layout;
        EXPECT_EQ(Choice(keymap, c.now, c.character), c.want) << c.layout << " U+" << std::hex << c.character;
        xkb_keymap_unref(keymap);
    }
}

TEST(KeyChoiceTest, LeavesKeysAloneThatAreHeldOrLentAndReachesLevelFive) {
    xkb_keymap* us = Layout("us");
    uint8_t avoid[32] = {};
    const xkb_keycode_t a = xkb_keymap_key_by_name(us, "AC01"), shift = xkb_keymap_key_by_name(us, "LFSH");
    avoid[shift / 8] |= static_cast<uint8_t>(1u << (shift % 8));
    EXPECT_EQ(Choice(us, {0, 0, 0}, 'A', avoid), "AC01+Shift_R") << "the other Shift";
    avoid[a / 8] |= static_cast<uint8_t>(1u << (a % 8));
    EXPECT_EQ(Choice(us, {0, 0, 0}, 'a', avoid), "-");
    xkb_keymap_unref(us);

    // Neo has eight levels: ª on the fifth of 1, ∀ on the seventh of A (levels 3 and 5).
    xkb_keymap* neo = Layout("de", "neo");
    ASSERT_NE(neo, nullptr);
    EXPECT_EQ(Choice(neo, {0, 0, 0}, 0xAA), "AE01+ISO_Level5_Shift");
    const std::string all = Choice(neo, {0, 0, 0}, 0x2200);
    EXPECT_EQ(all.substr(0, 4), "AC03");
    EXPECT_NE(all.find("ISO_Level3_Shift"), std::string::npos) << all;
    EXPECT_NE(all.find("ISO_Level5_Shift"), std::string::npos) << all;
    xkb_keymap_unref(neo);
}

// Whatever a layout types, the decision presses only the character's key and modifiers
// whose press sets nothing but the modifier, and what it presses makes the character.
TEST(KeyChoiceTest, EveryChoicePressesOnlyModifiersAndTheKeyThatMakesTheCharacter) {
    std::vector<uint32_t> characters;
    for (uint32_t c = 0x20; c < 0x250; ++c) {
        if (c != 0x7F && !(c >= 0x80 && c < 0xA0)) characters.push_back(c);
    }
    for (uint32_t c = 0x400; c < 0x460; ++c) characters.push_back(c);
    for (uint32_t c = 0x2010; c < 0x20B0; ++c) characters.push_back(c);
    const uint8_t none[32] = {};
    for (const char* layout : {"us", "de", "fr", "ru"}) {
        xkb_keymap* keymap = Layout(layout);
        int typed = 0;
        for (const xkb_mod_mask_t locked : {0u, kLock | kNumLock}) {
            for (uint32_t c : characters) {
                KeyChoice choice;
                if (!ChooseKeyForCharacter(keymap, {0, locked, 0}, c, none, &choice)) continue;
                ++typed;
                xkb_state* state = xkb_state_new(keymap);
                xkb_state_update_mask(state, 0, 0, locked, 0, 0, 0);
                for (int i = 0; i < choice.modifierCount; ++i) {
                    const std::string symbol = Symbol(keymap, choice.modifiers[i]);
                    EXPECT_TRUE(symbol == "Shift_L" || symbol == "Shift_R" || symbol == "ISO_Level3_Shift" ||
                                symbol == "ISO_Level5_Shift")
                        << layout << " U+" << std::hex << c << " presses " << symbol;
                    xkb_state_update_key(state, choice.modifiers[i], XKB_KEY_DOWN);
                }
                EXPECT_EQ(xkb_state_key_get_utf32(state, choice.key), c) << layout << " U+" << std::hex << c;
                xkb_state_unref(state);
            }
        }
        // Each layout's own characters, both cases of its letters included, with and
        // without the locks.
        EXPECT_GT(typed, 2 * 90) << layout;
        xkb_keymap_unref(keymap);
    }
}

}  // namespace
