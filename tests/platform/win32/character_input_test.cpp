// The character -> key events decision of Windows: its system-free part on the answers
// layouts give, and the input it builds on the real system.
#include "platform/win32/character_input.h"

#include <gtest/gtest.h>

#include "platform/input.h"

namespace {

TEST(CharacterInputTest, ThroughTheKeyOnlyForAMainBlockKeyWithShiftOrAltGrPressingWhatIsNotHeld) {
    const uint8_t altGr = kKeyCtrl | kKeyAlt;
    struct Case {
        const char* what;
        uint32_t character;
        int16_t keyScan;
        bool madeBack;
        uint8_t held;
        bool byKey;
        uint8_t vk;
        uint8_t modifiers;
    } cases[] = {
        {"a plain letter", 'a', 0x0041, true, 0, true, 'A', 0},
        {"@ on US: Shift+2", '@', 0x0132, true, 0, true, '2', kKeyShift},
        {"@ on German: AltGr+Q", '@', 0x0651, true, 0, true, 'Q', altGr},
        {"Shift already held is not pressed again", '@', 0x0132, true, kKeyShift, true, '2', 0},
        {"the user's Ctrl half of AltGr", 0x20AC, 0x0645, true, kKeyCtrl, true, 'E', kKeyAlt},
        {"the script's Shift held makes capitals", 'a', 0x0041, true, kKeyShift, true, 'A', 0},
        {"the script's Ctrl held makes a shortcut", 's', 0x0053, true, kKeyCtrl, true, 'S', 0},
        {"Ctrl alone makes a shortcut", 'x', 0x0258, true, 0, false, 0, 0},
        {"Alt alone makes a menu key", 'x', 0x0458, true, 0, false, 0, 0},
        {"a Kana-level modifier", 0x30A2, 0x0833, true, 0, false, 0, 0},
        {"a key that does not give the character back (dead key)", '^', 0x00DC, false, 0, false, 0, 0},
        {"on no key of the layout", 0x0416, -1, false, 0, false, 0, 0},
        {"a media key", 0x266A, 0x00AD, true, 0, false, 0, 0},
        {"a browser key", 0x2302, 0x00AC, true, 0, false, 0, 0},
        {"a numeric-keypad key", '.', 0x006E, true, 0, false, 0, 0},
        {"a function key", 0xF700, 0x0070, true, 0, false, 0, 0},
        {"past U+FFFF", 0x1F600, 0x0041, true, 0, false, 0, 0},
        {"the OEM keys of the main block", 0x00DF, 0x00DB, true, 0, true, 0xDB, 0},
        {"the key beside left Shift", '<', 0x00E2, true, 0, true, 0xE2, 0},
    };
    for (const Case& c : cases) {
        const CharacterKeys keys = WinChooseCharacterKeys(c.character, c.keyScan, c.madeBack, c.held);
        EXPECT_EQ(keys.byKey, c.byKey) << c.what;
        if (!c.byKey) continue;
        EXPECT_EQ(keys.vk, c.vk) << c.what;
        EXPECT_EQ(keys.modifiers, c.modifiers) << c.what;
    }
}

TEST(CharacterInputTest, ControlCharactersSurrogatesAndNonCharactersAreNeverTyped) {
    const uint32_t refused[] = {0, '\t', 0x1F, 0x7F, 0x80, 0x9F, 0xD800, 0xDFFF, 0x110000, 0xFFFFFFFF};
    for (uint32_t c : refused) {
        EXPECT_FALSE(SysCanTypeCharacter(c)) << std::hex << c;
        EXPECT_EQ(SysTypeCharacter(c, true), 0) << std::hex << c;
    }
    const uint32_t typed[] = {' ', '~', 0xA0, 0xE4, 0x20AC, 0x0416, 0xFFFD, 0x1F600, 0x10FFFF};
    for (uint32_t c : typed) EXPECT_TRUE(SysCanTypeCharacter(c)) << std::hex << c;
}

bool IsUnit(const INPUT& input, WORD unit, bool up) {
    return input.type == INPUT_KEYBOARD && input.ki.wVk == 0 && input.ki.wScan == unit &&
           input.ki.dwFlags == (KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0u));
}

TEST(CharacterInputTest, UnicodeInputPressesEachUnitAndOnlyAPressIsReleased) {
    INPUT input[kCharacterInputMax];
    ASSERT_EQ(WinCharacterInput(0x1F600, true, input), 2);
    EXPECT_TRUE(IsUnit(input[0], 0xD83D, false));
    EXPECT_TRUE(IsUnit(input[1], 0xDE00, false));
    // A key's repeat presses again; one release ends it.
    ASSERT_EQ(WinCharacterInput(0x1F600, true, input), 2);
    ASSERT_EQ(WinCharacterInput(0x1F600, false, input), 2);
    EXPECT_TRUE(IsUnit(input[0], 0xD83D, true));
    EXPECT_TRUE(IsUnit(input[1], 0xDE00, true));
    EXPECT_EQ(WinCharacterInput(0x1F600, false, input), 0) << "released already";
    EXPECT_EQ(WinCharacterInput(0x2603, false, input), 0) << "never pressed";
    // A recorded surrogate unit plays as that unit.
    ASSERT_EQ(WinCharacterInput(0xD83D, true, input), 1);
    EXPECT_TRUE(IsUnit(input[0], 0xD83D, false));
    WinForgetCharacterPresses();
    EXPECT_EQ(WinCharacterInput(0xD83D, false, input), 0) << "forgotten";
    EXPECT_EQ(WinCharacterInput(0x7F, true, input), 0);
}

// Under the US layout (Wine's without a display, or with a US keymap) a shifted sign goes
// through its key with Shift around it, and its release undoes exactly that.
TEST(CharacterInputTest, AShiftedSignOfTheUsLayoutIsItsKeyWithShiftAround) {
    if (LOWORD(reinterpret_cast<uintptr_t>(GetKeyboardLayout(0))) != 0x0409) GTEST_SKIP() << "not a US layout";
    INPUT press[kCharacterInputMax], release[kCharacterInputMax];
    ASSERT_EQ(WinCharacterInput('@', true, press), 2);
    EXPECT_EQ(press[0].ki.wVk, VK_SHIFT);
    EXPECT_EQ(press[1].ki.wVk, '2');
    EXPECT_EQ(press[0].ki.dwFlags | press[1].ki.dwFlags, 0u);
    ASSERT_EQ(WinCharacterInput('@', false, release), 2);
    EXPECT_EQ(release[0].ki.wVk, '2');
    EXPECT_EQ(release[1].ki.wVk, VK_SHIFT);
    EXPECT_EQ(release[0].ki.dwFlags & release[1].ki.dwFlags, static_cast<DWORD>(KEYEVENTF_KEYUP));
    // Not on the US layout at all: Unicode input.
    ASSERT_EQ(WinCharacterInput(0x20AC, true, press), 1);
    EXPECT_TRUE(IsUnit(press[0], 0x20AC, false));
    ASSERT_EQ(WinCharacterInput(0x20AC, false, release), 1);
}

}  // namespace
