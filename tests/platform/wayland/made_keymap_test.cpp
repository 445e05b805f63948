// The keymap the virtual keyboard makes, judged as a receiving program judges it: the
// text handed over is compiled anew, the keys chosen for a character are pressed in a
// state of their own, and the character that state makes must be the one meant.
#include "platform/wayland/made_keymap.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/x11/key_choice.h"

namespace {

struct Received {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    xkb_keymap* keymap = nullptr;
    ~Received() {
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }
    // What the program with the focus makes of the keymap handed to it.
    void Take(const MadeKeymap& made) {
        char* text = KeymapText(&made);
        ASSERT_NE(text, nullptr);
        xkb_keymap_unref(keymap);
        keymap = xkb_keymap_new_from_string(context, text, XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
        free(text);
        ASSERT_NE(keymap, nullptr);
    }
    // The character the choice's modifiers and key make there.
    uint32_t Typed(const KeyChoice& choice, xkb_mod_mask_t heldBefore = 0) {
        xkb_state* state = xkb_state_new(keymap);
        xkb_state_update_mask(state, heldBefore, 0, 0, 0, 0, 0);
        for (int i = 0; i < choice.modifierCount; ++i) xkb_state_update_key(state, choice.modifiers[i], XKB_KEY_DOWN);
        const uint32_t character = xkb_state_key_get_utf32(state, choice.key);
        xkb_state_unref(state);
        return character;
    }
};

// The decision the back end takes: the keymap's own key, else a key made for the character.
bool Choose(MadeKeymap* made, uint32_t character, const uint8_t held[32], KeyChoice* choice) {
    const KeyboardNow now = {0, 0, 0};
    if (ChooseKeyForCharacter(made->keymap, now, character, held, choice)) return true;
    return AddCharacterKey(made, character, held) != 0 && ChooseKeyForCharacter(made->keymap, now, character, held, choice);
}

TEST(MadeKeymapTest, EveryCharacterArrivesAsItselfWhereverItsKeyCameFrom) {
    MadeKeymap made;
    ASSERT_TRUE(MakeBaseKeymap(&made)) << "no keyboard data (xkb-data)";
    const uint8_t none[32] = {};
    const uint32_t characters[] = {'a', 'Z', '1', '@', '~', '"', '{', ' ', 0xDF /* ß */, 0x20AC /* € */,
                                   0xF1 /* ñ */, 0xC9 /* É */, 0x3A9 /* Ω */, 0x436 /* ж */, 0x2192 /* → */,
                                   0x2713 /* ✓ */, 0x1F600 /* an emoji, past the 16-bit plane */};
    KeyChoice choices[sizeof characters / sizeof characters[0]];
    for (size_t i = 0; i < sizeof characters / sizeof characters[0]; ++i) {
        ASSERT_TRUE(Choose(&made, characters[i], none, &choices[i])) << std::hex << characters[i];
        EXPECT_GE(choices[i].key, kLowestKeycode);
        EXPECT_LE(choices[i].key, kHighestKeycode) << "a key Xwayland's programs cannot get";
    }
    // Keys given out earlier keep their characters in the keymap made last.
    Received received;
    received.Take(made);
    for (size_t i = 0; i < sizeof characters / sizeof characters[0]; ++i) {
        EXPECT_EQ(received.Typed(choices[i]), characters[i]) << std::hex << characters[i];
    }
    // A character made for the text comes out the same with Shift held by a recording.
    const KeyChoice& euro = choices[9];
    EXPECT_EQ(euro.modifierCount, 0);
    EXPECT_EQ(received.Typed(euro, 1), 0x20ACu);
    EXPECT_EQ(AddCharacterKey(&made, 0x20AC, none), euro.key) << "the same character, the same key";
    EXPECT_EQ(AddCharacterKey(&made, 0xD800, none), 0u) << "a surrogate is no character";
    FreeMadeKeymap(&made);
}

TEST(MadeKeymapTest, ALongTextReusesTheKeysGivenOutLongestAgoButNeverOneHeldDown) {
    MadeKeymap made;
    ASSERT_TRUE(MakeBaseKeymap(&made));
    ASSERT_GE(made.spareCount, 16) << "too few keys for a text's characters";
    uint8_t held[32] = {};
    const xkb_keycode_t first = AddCharacterKey(&made, 0x4E00, held);
    ASSERT_NE(first, 0u);
    held[first / 8] |= static_cast<uint8_t>(1u << (first % 8));
    const xkb_keycode_t second = AddCharacterKey(&made, 0x4E01, held);
    // Every key but the held one takes a character of its own, and then some more.
    for (uint32_t c = 0x4E02; c < 0x4E02 + static_cast<uint32_t>(made.spareCount) + 3; ++c) {
        const xkb_keycode_t key = AddCharacterKey(&made, c, held);
        ASSERT_NE(key, 0u);
        EXPECT_NE(key, first) << "the held key was taken away";
    }
    EXPECT_EQ(CharacterKey(&made, 0x4E00), first);
    EXPECT_EQ(CharacterKey(&made, 0x4E01), 0u) << "the oldest key not held is the one reused";
    EXPECT_NE(second, 0u);
    Received received;
    received.Take(made);
    KeyChoice choice{};
    choice.key = first;
    EXPECT_EQ(received.Typed(choice), 0x4E00u);
    FreeMadeKeymap(&made);
}

}  // namespace
