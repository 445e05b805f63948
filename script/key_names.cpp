#include "script/key_names.h"

#include <cstring>

#include "recording/recording.h"
#include "settings/format.h"
#include "text/no_case.h"

namespace {

struct NamedKey {
    int code;
    const char* name;
};

// Keys with a fixed name; digits, letters, the number pad digits and the function keys
// are named by rule.
const NamedKey kKeyNames[] = {
    {9, "Tab"},        {13, "Enter"},   {19, "Pause"},   {20, "Caps"},    {27, "Escape"},  {32, "Space"},
    {33, "PgUp"},      {34, "PgDn"},    {35, "End"},     {36, "Home"},    {37, "Left"},    {38, "Up"},
    {39, "Right"},     {40, "Down"},    {44, "PrtScr"},  {45, "Insert"},  {46, "Del"},     {91, "Winkey"},
    {106, "Num*"},     {107, "Num+"},   {108, "Num Sep"}, {109, "Num-"},  {110, "Num."},   {111, "Num/"},
    {144, "NumLock"},  {145, "ScrollLock"}, {186, ";"},  {187, "="},      {188, ","},      {189, "-"},
    {190, "."},        {191, "/"},      {192, "`"},      {219, "["},      {220, "\\"},     {221, "]"},
    {222, "'"},
};

// Names looked for anywhere in a text, first match wins. The order matters: "Backspace"
// before "Space", "pageup" before "Up", "winkeyr" before "winkey". No name stands for
// a text that is exactly one blank.
const NamedKey kNamesInText[] = {
    {144, "NumLock"}, {145, "ScrollLock"}, {8, "Backspace"},  {32, nullptr},   {32, "Space"},
    {13, "Return"},   {13, "Enter"},       {17, "Control"},   {17, "Ctrl"},    {9, "Tab"},
    {19, "Pause"},    {27, "Esc"},         {33, "Page Up"},   {33, "PgUp"},    {33, "pageup"},
    {34, "Page Down"}, {34, "PgDn"},       {34, "pagedown"},  {35, "End"},     {36, "Home"},
    {37, "Left"},     {38, "Up"},          {39, "Right"},     {40, "Down"},    {45, "Ins"},
    {46, "Del"},      {44, "Prt"},         {44, "Print"},     {20, "Cap"},     {96, "Num0"},
    {97, "Num1"},     {98, "Num2"},        {99, "Num3"},      {100, "Num4"},   {101, "Num5"},
    {102, "Num6"},    {103, "Num7"},       {104, "Num8"},     {105, "Num9"},   {106, "Num*"},
    {107, "Num+"},    {107, "add"},        {108, "NumSep"},   {108, "Num Sep"}, {109, "Num-"},
    {109, "subtract"}, {110, "Num."},      {110, "decimal"},  {111, "Num/"},   {111, "divide"},
    {92, "winkeyr"},  {91, "winkeyl"},     {91, "winkey"},    {93, "appkey"},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsF(char c) { return c == 'F' || c == 'f'; }

// Decimal digits from text up to the first other character.
int LeadingNumber(const char* text) {
    int n = 0;
    for (; IsDigit(*text); ++text) n = n * 10 + (*text - '0');
    return n;
}

}  // namespace

void KeyCodeToName(int keyCode, char* out, int size) {
    if (out == nullptr || size <= 0) return;
    out[0] = '\0';
    if ((keyCode >= '0' && keyCode <= '9') || (keyCode >= 'A' && keyCode <= 'Z')) {
        FormatText(out, size, "%c", keyCode);
    } else if (keyCode >= 96 && keyCode <= 105) {
        FormatText(out, size, "Num%d", keyCode - 96);
    } else if (keyCode >= 112 && keyCode <= 135) {
        FormatText(out, size, "F%d", keyCode - 111);
    } else {
        for (const NamedKey& key : kKeyNames) {
            if (key.code == keyCode) {
                FormatText(out, size, "%s", key.name);
                break;
            }
        }
    }
}

const char* const kModifierPrefixes[3] = {"Ctrl + ", "Shift + ", "Alt + "};

void KeyCombinationText(int keyCode, bool ctrl, bool shift, bool alt, char* out, int size) {
    char name[32];
    KeyCodeToName(keyCode, name, sizeof name);
    FormatText(out, size, "%s%s%s%s", ctrl ? kModifierPrefixes[0] : "", shift ? kModifierPrefixes[1] : "",
               alt ? kModifierPrefixes[2] : "", name);
}

int KeyNameToCode(const char* source) {
    if (source == nullptr) return 0;
    // A working copy, so callers may hand in constant text; every caller's text (a key
    // label, a Mapping list entry, a TYPE text) fits in it.
    char text[SCRIPT_ARG_SIZE];
    size_t len = strnlen(source, sizeof text - 1);
    memcpy(text, source, len);
    text[len] = '\0';
    if (char* cut = strstr(text, " = ")) *cut = '\0';
    len = strlen(text);

    // F1 ... F99
    if (IsF(text[0]) && text[1] >= '1' && text[1] <= '9' && len <= 3) {
        return 111 + LeadingNumber(text + 1);
    }
    // One character, F, a digit and at most one more: the tokens {F1} ... {F9}
    if (len >= 3 && len <= 4 && IsF(text[1]) && text[2] >= '1' && text[2] <= '9') {
        return 111 + LeadingNumber(text + 2);
    }
    for (const NamedKey& key : kNamesInText) {
        if (key.name == nullptr ? strcmp(text, " ") == 0 : FindNoCase(text, key.name) != nullptr) {
            return key.code;
        }
    }
    return CharToKey(text[0]);
}

int KeyNameToCodeExact(const char* name) {
    if (name == nullptr || name[0] == '\0') return 0;
    const size_t len = strlen(name);
    auto same = [&](const char* known) { return strlen(known) == len && FindNoCase(name, known) == name; };
    char known[16];
    for (int code = 1; code < 256; ++code) {
        KeyCodeToName(code, known, sizeof known);
        if (known[0] != '\0' && same(known)) return code;
    }
    for (const NamedKey& key : kNamesInText) {
        if (key.name != nullptr && same(key.name)) return key.code;
    }
    return 0;
}

int CharToKey(char ch, int* shift) {
    const unsigned char c = static_cast<unsigned char>(ch);
    // Only the keys of the table: any other byte taken as a key code would press a media,
    // browser or launch key (0xA6-0xB7), a function key or a lone modifier.
    int key = (c >= '0' && c <= '9') || c == ' ' || c == '\t' ? c : 0;
    int shifted = 0;
    // Shifted punctuation: each pair is (unshifted, shifted) on one key.
    static const struct {
        char plain;
        char shifted;
        int key;
    } kPunctuation[] = {
        {';', ':', 186}, {'=', '+', 187}, {',', '<', 188}, {'-', '_', 189}, {'.', '>', 190},
        {'/', '?', 191}, {'`', '~', 192}, {'[', '{', 219}, {'\\', '|', 220}, {']', '}', 221},
        {'\'', '"', 222},
    };
    static const char kShiftedDigits[] = ")!@#$%^&*(";  // Shift + '0' ... '9'

    if (c >= 'a' && c <= 'z') {
        key = c - 'a' + 'A';
    } else if (c >= 'A' && c <= 'Z') {
        key = c;
        shifted = 1;
    } else if (c == '\n' || c == '\r') {
        key = 13;
    } else if (c != '\0') {
        if (const char* digit = strchr(kShiftedDigits, c)) {
            key = '0' + static_cast<int>(digit - kShiftedDigits);
            shifted = 1;
        } else {
            for (const auto& p : kPunctuation) {
                if (c == static_cast<unsigned char>(p.plain)) {
                    key = p.key;
                    break;
                }
                if (c == static_cast<unsigned char>(p.shifted)) {
                    key = p.key;
                    shifted = 1;
                    break;
                }
            }
        }
    }
    if (shift != nullptr) *shift = shifted;
    return key;
}
