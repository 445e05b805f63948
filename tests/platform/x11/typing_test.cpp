// Characters typed through the input seam into a window of another client, which reads
// them as programs do: the symbol XLookupString gives with the event's modifiers, its
// keymap refreshed on every mapping notice.
#include "tests/platform/x11/x_test_client.h"  // first: Xlib's macros break gtest's headers

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <xkbcommon/xkbcommon.h>

#include "platform/input.h"
#include "platform/x11/keymap.h"
#include "tests/platform/x11/x_layout.h"
#include "text/utf8.h"

namespace {

bool IsModifier(KeySym symbol) {
    return (symbol >= XK_Shift_L && symbol <= XK_Hyper_R) || symbol == XK_ISO_Level3_Shift ||
           symbol == XK_ISO_Level5_Shift || symbol == XK_Mode_switch;
}

class TypingTest : public XClientTest {
protected:
    void TearDown() override {
        if (client_ != nullptr) {
            if (capsLock_) Chord({XK_Caps_Lock});
            XkbLockGroup(client_, XkbUseCoreKbd, 0);
            SetLayout(client_, "us");
        }
        XClientTest::TearDown();
    }

    // Types the text (UTF-8) a character at a time, press then release, and reads what
    // arrives as a program does, as it arrives: the text as the window reads it, every
    // other key pressed as <SYMBOL>. Fails unless each character's key events are as many
    // as the seam said it sent.
    std::string Type(const std::string& text) {
        Pump([] { return false; }, 50);  // what came before is not counted
        got_.clear();
        std::string got;
        for (const char* c = text.c_str(); *c != '\0';) {
            const uint32_t character = NextCharacter(&c);
            const int pressed = SysTypeCharacter(character, true);
            EXPECT_GT(pressed, 0) << "U+" << std::hex << character;
            const int sent = pressed + SysTypeCharacter(character, false);
            XSync(X11Display(), False);
            int events = 0;
            const gint64 end = g_get_monotonic_time() + 2000 * 1000;
            while (events < sent && g_get_monotonic_time() < end) {
                g_main_context_iteration(nullptr, FALSE);
                for (XEvent e; XPending(client_) > 0;) {
                    XNextEvent(client_, &e);
                    if (e.type == MappingNotify) XRefreshKeyboardMapping(&e.xmapping);
                    if (e.type != KeyPress && e.type != KeyRelease) continue;
                    ++events;
                    KeySym symbol = NoSymbol;
                    char bytes[16];
                    XLookupString(&e.xkey, bytes, sizeof bytes, &symbol, nullptr);
                    if (e.type == KeyRelease || IsModifier(symbol)) continue;
                    const uint32_t made = xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(symbol));
                    char utf8[4];
                    const int length = made >= 0x20 ? EncodeUtf8(made, utf8) : 0;
                    if (length > 0) {
                        got.append(utf8, static_cast<size_t>(length));
                    } else {
                        const char* name = XKeysymToString(symbol);
                        got += "<" + std::string(name != nullptr ? name : "NoSymbol") + ">";
                    }
                }
            }
            EXPECT_EQ(events, sent) << "U+" << std::hex << character << ": key events received, as counted";
        }
        EXPECT_FALSE(Pump([&] { return !got_.empty(); }, 50)) << "nothing more comes";
        return got;
    }

    bool capsLock_ = false;
};

const char kText[] = "@#{}[]\\|~<> \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F \xC3\xA9\xC3\xA8\xC3\xA0\xC3\xA7 \xE2\x82\xAC "
                     "\xE2\x80\x99 \xD0\xBF\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xD0\x96 Hello, World! 1+1=2";

TEST_F(TypingTest, TextArrivesAsWrittenInEveryLayoutWithTheLocksOnAndOff) {
    struct Case {
        const char* layout;
        bool capsLock;
        int group;
    } cases[] = {{"us", false, 0}, {"de", false, 0}, {"fr", false, 0}, {"ru", false, 0},
                 {"de", true, 0},  {"fr", true, 0},  {"-layout us,ru", false, 1}};
    for (const Case& c : cases) {
        ASSERT_TRUE(SetLayout(client_, c.layout)) << c.layout;
        if (c.capsLock != capsLock_) Chord({XK_Caps_Lock}), capsLock_ = c.capsLock;
        XkbLockGroup(client_, XkbUseCoreKbd, static_cast<unsigned>(c.group));
        XSync(client_, False);
        EXPECT_EQ(Type(kText), kText) << c.layout << (c.capsLock ? " with Caps Lock" : "") << ", group " << c.group;
    }
}

TEST_F(TypingTest, ASpareKeyTypesItsCharacterWhateverModifiersAreHeld) {
    ASSERT_TRUE(SetLayout(client_, "de"));
    // AltGr held by the user: the layout's level-3 signs stay themselves, and characters
    // de lacks come from spare keys all the same.
    Key(XK_ISO_Level3_Shift, true);
    XSync(client_, False);
    EXPECT_EQ(Type("~@\xC3\xA9\xE2\x80\x99"), "~@\xC3\xA9\xE2\x80\x99");  // ~@é’
    Key(XK_ISO_Level3_Shift, false);
    // Shift held: a sign without case is what it is, a letter comes as its capital, as
    // on the letter keys.
    Key(XK_Shift_L, true);
    XSync(client_, False);
    EXPECT_EQ(Type("\xC2\xA2\xC3\xA7"), "\xC2\xA2\xC3\x87");  // ¢ç: ¢Ç
    // Both, in a second group: still the sign itself.
    ASSERT_TRUE(SetLayout(client_, "-layout de,ru"));
    XkbLockGroup(client_, XkbUseCoreKbd, 1);
    Key(XK_ISO_Level3_Shift, true);
    XSync(client_, False);
    EXPECT_EQ(Type("\xC2\xA2"), "\xC2\xA2");
    Key(XK_ISO_Level3_Shift, false);
    Key(XK_Shift_L, false);
}

TEST_F(TypingTest, AKeyMakesItsCharacterWithTheModifiersAndGroupOfItsEvent) {
    ASSERT_TRUE(SetLayout(client_, "-layout fr,ru"));
    const unsigned kGroup2 = 1u << 13;  // where a core event's state carries the group
    const struct {
        unsigned keycode, state;
        uint32_t want;
    } cases[] = {{10, 0, '&'},       {10, ShiftMask, '1'}, {38, 0, 'q'},  {38, LockMask, 'Q'},
                 {38, kGroup2, 0x444}, {50, 0, 0},          {67, 0, 0}};  // AE01, AC01, Shift, F1
    for (const auto& c : cases) {
        EXPECT_EQ(X11KeyCharacter(X11Display(), c.keycode, c.state), c.want) << c.keycode << " " << c.state;
    }
}

TEST_F(TypingTest, OnlyCharactersAreTyped) {
    // Control characters are keys or nothing, and U+D800 and past U+10FFFF are no
    // characters at all: none of them sends anything.
    for (uint32_t character : {0x0Au, 0x1Bu, 0x7Fu, 0x85u, 0xD800u, 0x110000u}) {
        EXPECT_FALSE(SysCanTypeCharacter(character)) << character;
        EXPECT_EQ(SysTypeCharacter(character, true), 0) << character;
    }
    EXPECT_TRUE(SysCanTypeCharacter(0x20AC));
    EXPECT_EQ(SysTypeCharacter('x', false), 0) << "a release with no press before it";
    EXPECT_FALSE(Pump([&] { return !got_.empty(); }, 100));
}

}  // namespace
