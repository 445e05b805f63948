#include "platform/wayland/made_keymap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/x11/key_choice.h"

namespace {

const char kBase[] =
    "xkb_keymap {\n"
    "xkb_keycodes { include \"evdev+aliases(qwerty)\" };\n"
    "xkb_types { include \"complete\" };\n"
    "xkb_compat { include \"complete\" };\n"
    "xkb_symbols { include \"pc+us+inet(evdev)\"\n";

bool Held(const uint8_t bits[32], xkb_keycode_t code) { return code < 256 && (bits[code / 8] & (1u << (code % 8))) != 0; }

// The keymap text with every character key; nullptr when it does not fit in memory.
char* SourceText(const MadeKeymap* made) {
    size_t size = sizeof kBase + 16 + static_cast<size_t>(made->spareCount) * 96;
    char* text = static_cast<char*>(malloc(size));
    if (text == nullptr) return nullptr;
    size_t at = static_cast<size_t>(snprintf(text, size, "%s", kBase));
    for (int i = 0; i < made->spareCount; ++i) {
        if (made->carried[i] == 0 || at >= size) continue;
        const char* name = xkb_keymap_key_get_name(made->keymap, made->spare[i]);
        const xkb_keysym_t symbol = xkb_utf32_to_keysym(made->carried[i]);
        // One level: the character whatever modifiers the recording holds down.
        at += static_cast<size_t>(snprintf(text + at, size - at,
                                           "key <%.8s> { type = \"ONE_LEVEL\", symbols[Group1] = [ 0x%08x ] };\n",
                                           name, static_cast<unsigned>(symbol)));
    }
    if (at < size) snprintf(text + at, size - at, "};\n};\n");
    return text;
}

bool Compile(MadeKeymap* made) {
    char* text = SourceText(made);
    if (text == nullptr) return false;
    xkb_keymap* keymap = xkb_keymap_new_from_string(made->context, text, XKB_KEYMAP_FORMAT_TEXT_V1,
                                                    XKB_KEYMAP_COMPILE_NO_FLAGS);
    free(text);
    if (keymap == nullptr) return false;
    xkb_keymap_unref(made->keymap);
    made->keymap = keymap;
    return true;
}

}  // namespace

bool MakeBaseKeymap(MadeKeymap* made) {
    memset(made, 0, sizeof *made);
    made->context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (made->context == nullptr) return false;
    made->keymap = xkb_keymap_new_from_string(made->context, "xkb_keymap { xkb_keycodes { include \"evdev\" }; "
                                              "xkb_types { include \"complete\" }; xkb_compat { include \"complete\" };"
                                              " xkb_symbols { include \"pc+us+inet(evdev)\" }; };",
                                              XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS);
    if (made->keymap == nullptr) return false;
    for (xkb_keycode_t code = kLowestKeycode; code <= kHighestKeycode && made->spareCount < kMaxCharacterKeys; ++code) {
        const char* name = xkb_keymap_key_get_name(made->keymap, code);
        if (name != nullptr && strlen(name) <= 8 && xkb_keymap_num_layouts_for_key(made->keymap, code) == 0) {
            made->spare[made->spareCount++] = code;
        }
    }
    return made->spareCount > 0 && Compile(made);
}

xkb_keycode_t CharacterKey(const MadeKeymap* made, uint32_t character) {
    for (int i = 0; i < made->spareCount; ++i) {
        if (made->carried[i] == character && character != 0) return made->spare[i];
    }
    return 0;
}

xkb_keycode_t AddCharacterKey(MadeKeymap* made, uint32_t character, const uint8_t held[32]) {
    if (!IsTypableCharacter(character) || xkb_utf32_to_keysym(character) == XKB_KEY_NoSymbol) return 0;
    const xkb_keycode_t had = CharacterKey(made, character);
    if (had != 0) return had;
    int slot = -1;
    for (int i = 0; i < made->spareCount && slot < 0; ++i) {
        if (made->carried[i] == 0) slot = i;
    }
    // Every key carries a character: the oldest one not held down gives its own up.
    for (int tried = 0; slot < 0 && tried < made->spareCount; ++tried) {
        const int i = (made->nextSpare + tried) % made->spareCount;
        if (!Held(held, made->spare[i])) slot = i;
    }
    if (slot < 0) return 0;
    made->nextSpare = (slot + 1) % made->spareCount;
    const uint32_t before = made->carried[slot];
    made->carried[slot] = character;
    if (!Compile(made)) {
        made->carried[slot] = before;
        return 0;
    }
    return made->spare[slot];
}

char* KeymapText(const MadeKeymap* made) { return xkb_keymap_get_as_string(made->keymap, XKB_KEYMAP_FORMAT_TEXT_V1); }

void FreeMadeKeymap(MadeKeymap* made) {
    xkb_keymap_unref(made->keymap);
    xkb_context_unref(made->context);
    memset(made, 0, sizeof *made);
}
