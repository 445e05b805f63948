#include "settings/settings_restore.h"

#include <cstring>

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/utf8.h"

namespace {

const int kTextSize = 256;  // the store's readers take 255 characters and the zero
const int kNameSize = 64;
const int kMappingKeys = 255;
const int kMaxShortTypes = 64;
const int kMaxAbbreviation = 15;
const char kMappingsKey[] = KELMOR_MAPPINGS_KEY;
const char kShortTypeKey[] = KELMOR_SHORTTYPE_KEY;
const char kRoot[] = "HKEY_CURRENT_USER\\SOFTWARE\\Kelmor";
// The first line of what the system's registry editor exports in UTF-16.
const char kVersion5[] = "Windows Registry Editor Version 5.00";

struct KnownValue {
    const char* name;
    bool text;
};

// Every value of SOFTWARE\Kelmor that the program reads.
const KnownValue kBasicValues[] = {
    {"Left", false}, {"Top", false}, {"ExcludeKelmorAction", false}, {"PlayImmediately", false},
    {"QuitWhenDone", false}, {"Reload", false}, {"Topmost", false}, {"PromptForSave", false},
    {"Visited", false}, {"ShowTabs", false}, {"Speed", false}, {"Repeats", false}, {"Continuous", false},
    {"Minimize", false}, {"FactorFast", false}, {"FactorSlow", false}, {"LastTab", false},
    {"RandomMin", false}, {"RandomMax", false}, {"LoopTypeBase", false}, {"Log", false},
    {"InterruptWarning", false}, {"Logfile", true}, {"Editor", true}, {"LastFileType", false},
    {"UserCommand", false}, {"KeyboardService", false}, {"ShowTrayIcon", false}, {"RecentListSize", false},
    {"LastOptionsTab", false}, {"RestartLog", false}, {"HaltScriptOnError", false},
    {"RememberPlaybackSettings", false}, {"PlayUpdate", false}, {"FastMapPlay", false},
    {"IsWindowsXP", false}, {"GOTOWait", false}, {"File1", true}, {"File2", true}, {"File3", true},
    {"File4", true}, {"File5", true}, {"File6", true}, {"File7", true}, {"File8", true},
};
const int kBasicCount = sizeof kBasicValues / sizeof kBasicValues[0];
const KnownValue kMappingValues[] = {
    {"Action", false}, {"Control", false}, {"Shift", false}, {"Alt", false}, {"Text", true}};
const int kMappingCount = sizeof kMappingValues / sizeof kMappingValues[0];
const KnownValue kShortTypeValues[] = {{"Text", true}};

struct Planned {
    bool set;
    uint32_t kind;
    uint32_t number;
    char text[kTextSize];
};

struct PlannedKey {
    bool named;  // a key line named it
    int line;
};

// What the file asks for, gathered before anything is written.
struct Plan {
    PlannedKey basicKey, mappingsKey, shortTypeKey;
    Planned basic[kBasicCount];
    PlannedKey mappingKey[kMappingKeys];
    Planned mapping[kMappingKeys][kMappingCount];
    int shortTypeCount;
    char shortTypeName[kMaxShortTypes][kMaxAbbreviation + 1];
    PlannedKey shortTypeKeys[kMaxShortTypes];
    Planned shortTypeText[kMaxShortTypes];
} gPlan;

enum KeyKind { KEY_NONE, KEY_SKIPPED, KEY_BASIC, KEY_MAPPINGS, KEY_MAPPING, KEY_SHORTTYPES, KEY_SHORTTYPE };

// A value line taken apart.
enum DataKind { DATA_DWORD, DATA_STRING, DATA_EXPAND, DATA_OTHER, DATA_DELETE };

struct Reader {
    RestoreNoteProc note;
    RestoreOutcome* outcome;
    KeyKind key;
    int keyIndex;
    int line;
    int storedShortTypes;  // in the store, and new ones planned
    char name[kNameSize];
    bool defaultValue;
    DataKind kind;
    uint32_t number;
    char text[kTextSize];
    // Why the text cannot be stored, which refuses the file only when the value is restored.
    const char* textProblem;
    // A file of the registry editor's fifth version, whose texts in hexadecimal form are
    // UTF-16.
    bool wideHex;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Fail(Reader* r, const char* why) {
    r->outcome->errorLine = r->line;
    FormatText(r->outcome->error, sizeof r->outcome->error, "line %d: %s", r->line, why);
    return false;
}

void Note(Reader* r, const char* format, const char* what) {
    char text[kNameSize + 96];
    FormatText(text, sizeof text, format, r->line, what);
    ++r->outcome->skipped;
    if (r->note != nullptr) r->note(text);
}

bool IsAbbreviation(const char* name, size_t length) {
    if (length < 2 || length > static_cast<size_t>(kMaxAbbreviation)) return false;
    for (size_t i = 0; i < length; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ')) return false;
    }
    return true;
}

// "65" for the key of virtual key 65: decimal without leading zeros, 0 to 254.
int MappingNumber(const char* name, size_t length) {
    if (length == 0 || length > 3 || (length > 1 && name[0] == '0')) return -1;
    int n = 0;
    for (size_t i = 0; i < length; ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        n = n * 10 + (name[i] - '0');
    }
    return n < kMappingKeys ? n : -1;
}

void NameKey(PlannedKey* key, int line) {
    key->named = true;
    key->line = line;
}

// The ShortType's slot in the plan, a new one when it is not there yet; -1 past the 64
// that the keyboard service holds, those already stored counted, as the editor refuses them.
int ShortTypeSlot(Reader* r, const char* name, size_t length) {
    for (int i = 0; i < gPlan.shortTypeCount; ++i) {
        if (EqualNoCaseN(name, length, gPlan.shortTypeName[i])) return i;
    }
    if (gPlan.shortTypeCount == kMaxShortTypes) return -1;
    char* planned = gPlan.shortTypeName[gPlan.shortTypeCount];
    memcpy(planned, name, length);
    planned[length] = '\0';
    char key[64];
    FormatText(key, sizeof key, "%s\\%s", kShortTypeKey, planned);
    if (!StoreKeyExists(key)) {
        if (r->storedShortTypes >= kMaxShortTypes) return -1;
        ++r->storedShortTypes;
    }
    NameKey(&gPlan.shortTypeKeys[gPlan.shortTypeCount], r->line);
    return gPlan.shortTypeCount++;
}

bool ReadKeyLine(Reader* r, const char* line, size_t length) {
    if (length < 2 || line[length - 1] != ']') return Fail(r, "a key line does not end with ']'");
    const char* path = line + 1;
    size_t pathLength = length - 2;
    char shown[kNameSize];
    const size_t shownLength = pathLength < sizeof shown - 1 ? pathLength : sizeof shown - 1;
    memcpy(shown, path, shownLength);
    shown[shownLength] = '\0';
    r->key = KEY_SKIPPED;
    if (pathLength > 0 && path[0] == '-') {
        Note(r, "line %d: deleting [%s] is not done: skipped", shown + 1);
        return true;
    }
    const size_t rootLength = sizeof kRoot - 1;
    const bool underRoot = pathLength >= rootLength && EqualNoCaseN(path, rootLength, kRoot);
    const char* rest = underRoot ? path + rootLength : path;
    const size_t restLength = underRoot ? pathLength - rootLength : 0;
    if (!underRoot) {
        // Another program's key: skipped below.
    } else if (restLength == 0) {
        r->key = KEY_BASIC;
        NameKey(&gPlan.basicKey, r->line);
    } else if (EqualNoCaseN(rest, restLength, "\\Mappings")) {
        r->key = KEY_MAPPINGS;
        NameKey(&gPlan.mappingsKey, r->line);
    } else if (EqualNoCaseN(rest, restLength, "\\ShortType")) {
        r->key = KEY_SHORTTYPES;
        NameKey(&gPlan.shortTypeKey, r->line);
    } else if (restLength > 10 && EqualNoCaseN(rest, 10, "\\Mappings\\")) {
        const int n = MappingNumber(rest + 10, restLength - 10);
        if (n >= 0) {
            r->key = KEY_MAPPING;
            r->keyIndex = n;
            NameKey(&gPlan.mappingKey[n], r->line);
        }
    } else if (restLength > 11 && EqualNoCaseN(rest, 11, "\\ShortType\\") && IsAbbreviation(rest + 11, restLength - 11)) {
        const int slot = ShortTypeSlot(r, rest + 11, restLength - 11);
        if (slot < 0) {
            Note(r, "line %d: more than 64 ShortTypes: [%s] skipped", shown);
            return true;
        }
        r->key = KEY_SHORTTYPE;
        r->keyIndex = slot;
    }
    if (r->key == KEY_SKIPPED) Note(r, "line %d: unknown key [%s] skipped with its values", shown);
    return true;
}

// A quoted text from just after its opening quote to end (exclusive): "\\" is one
// backslash and "\"" a quote; a quote on its own stands for itself, as the backup
// writes it unescaped.
bool ReadQuoted(Reader* r, const char* p, const char* end, char* out, int size, bool* tooLong) {
    int length = 0;
    *tooLong = false;
    while (p < end) {
        char c = *p++;
        if (c == '\\') {
            if (p == end || (*p != '\\' && *p != '"')) return Fail(r, "a backslash that is not doubled");
            c = *p++;
        }
        if (length + 1 >= size) {
            *tooLong = true;
            continue;
        }
        out[length++] = c;
    }
    out[length] = '\0';
    return true;
}

void TextProblem(Reader* r, const char* why) {
    if (r->textProblem == nullptr) r->textProblem = why;
}

// A text's characters as they come from its hexadecimal form: bytes, or UTF-16 code
// units made of two bytes each (low byte first). A zero ends the text; only zeros may follow.
struct HexText {
    int count;
    bool ended;
    bool half;  // a unit's low byte is read, its high byte not yet
    int low;
    uint16_t units[kTextSize];
};

void TakeCharacter(Reader* r, HexText* text, int value) {
    if (text->ended) {
        if (value != 0) TextProblem(r, "a text holds a zero byte");
    } else if (value == 0) {
        text->ended = true;
    } else if (text->count + 1 < kTextSize) {
        text->units[text->count++] = static_cast<uint16_t>(value);
    } else {
        TextProblem(r, "a text longer than 255 characters");
    }
}

// The text of the UTF-16 units, in the system's own text.
void TakeWideText(Reader* r, const HexText& text) {
    char converted[kTextSize * 4];
    const int length = SysTextFromUtf16(text.units, text.count, converted, sizeof converted);
    if (length < 0) {
        TextProblem(r, "a character this system's texts cannot hold");
    } else if (length >= kTextSize) {
        TextProblem(r, "a text longer than 255 characters");
    } else {
        memcpy(r->text, converted, static_cast<size_t>(length) + 1);
    }
}

// "aa,bb,..." into the text; keep is false for data that is only checked.
bool ReadHex(Reader* r, const char* p, const char* end, bool keep) {
    static HexText text;
    memset(&text, 0, sizeof text);
    r->text[0] = '\0';
    while (p < end) {
        const int high = HexDigit(*p);
        if (high < 0) return Fail(r, "hexadecimal data is not pairs of digits parted by commas");
        int value = high;
        ++p;
        if (p < end && HexDigit(*p) >= 0) value = value * 16 + HexDigit(*p++);
        if (p < end && *p++ != ',') return Fail(r, "hexadecimal data is not pairs of digits parted by commas");
        if (p == end && end[-1] == ',') return Fail(r, "hexadecimal data ends with a comma");
        if (!keep) continue;
        if (!r->wideHex) {
            TakeCharacter(r, &text, value);
        } else if (!text.half) {
            text.half = true;
            text.low = value;
        } else {
            text.half = false;
            TakeCharacter(r, &text, value << 8 | text.low);
        }
    }
    if (!keep) return true;
    if (text.half) TextProblem(r, "a UTF-16 text of an odd number of bytes");
    if (r->wideHex) {
        TakeWideText(r, text);
    } else {
        for (int i = 0; i < text.count; ++i) r->text[i] = static_cast<char>(text.units[i]);
        r->text[text.count] = '\0';
    }
    return true;
}

bool ReadData(Reader* r, const char* p, const char* end) {
    const size_t length = static_cast<size_t>(end - p);
    if (length == 1 && *p == '-') {
        r->kind = DATA_DELETE;
        return true;
    }
    if (length >= 6 && memcmp(p, "dword:", 6) == 0) {
        r->kind = DATA_DWORD;
        if (length == 6) return Fail(r, "a number without digits");
        if (length > 14) return Fail(r, "a number larger than 32 bits");
        r->number = 0;
        for (const char* q = p + 6; q < end; ++q) {
            const int digit = HexDigit(*q);
            if (digit < 0) return Fail(r, "a number that is not hexadecimal");
            r->number = r->number << 4 | static_cast<uint32_t>(digit);
        }
        return true;
    }
    if (*p == '"') {
        if (length < 2 || end[-1] != '"') return Fail(r, "a text without its closing quote");
        r->kind = DATA_STRING;
        bool tooLong = false;
        if (!ReadQuoted(r, p + 1, end - 1, r->text, kTextSize, &tooLong)) return false;
        if (tooLong) r->textProblem = "a text longer than 255 characters";
        return true;
    }
    if (length >= 4 && memcmp(p, "hex", 3) == 0) {
        const char* q = p + 3;
        // hex(2) is an expandable text, hex(1) a plain one, as a text with line ends is written.
        bool expandable = false;
        bool plain = false;
        if (*q == '(') {
            const char* close = static_cast<const char*>(memchr(q, ')', static_cast<size_t>(end - q)));
            if (close == nullptr || close == q + 1 || close - q > 9) return Fail(r, "an unreadable value type");
            for (const char* d = q + 1; d < close; ++d) {
                if (HexDigit(*d) < 0) return Fail(r, "an unreadable value type");
            }
            expandable = close - q == 2 && q[1] == '2';
            plain = close - q == 2 && q[1] == '1';
            q = close + 1;
        }
        if (q == end || *q != ':') return Fail(r, "an unreadable value type");
        r->kind = expandable ? DATA_EXPAND : plain ? DATA_STRING : DATA_OTHER;
        return ReadHex(r, q + 1, end, expandable || plain);
    }
    return Fail(r, "an unreadable value");
}

void Keep(Planned* planned, const Reader& r) {
    planned->set = true;
    planned->kind = r.kind == DATA_DWORD ? REG_DWORD : r.kind == DATA_EXPAND ? REG_EXPAND_SZ : REG_SZ;
    planned->number = r.number;
    memcpy(planned->text, r.text, sizeof planned->text);
}

bool ReadValueLine(Reader* r, const char* line, size_t length) {
    const char* end = line + length;
    const char* p = line;
    r->defaultValue = false;
    r->name[0] = '\0';
    r->textProblem = nullptr;
    bool nameTooLong = false;
    if (*p == '@') {
        r->defaultValue = true;
        ++p;
    } else {
        // The name runs to the first quote that no backslash escapes.
        const char* q = p + 1;
        while (q < end && *q != '"') q += (*q == '\\' && q + 1 < end) ? 2 : 1;
        if (q >= end) return Fail(r, "a value name without its closing quote");
        if (!ReadQuoted(r, p + 1, q, r->name, sizeof r->name, &nameTooLong)) return false;
        p = q + 1;
    }
    if (p == end || *p != '=') return Fail(r, "a value line without '=' after its name");
    ++p;
    if (p == end) return Fail(r, "a value line without a value");
    if (!ReadData(r, p, end)) return false;
    if (r->key == KEY_NONE) return Fail(r, "a value before the first key line");
    if (r->key == KEY_SKIPPED) return true;
    if (r->defaultValue) {
        Note(r, "line %d: the key's default value is not used: skipped", "");
        return true;
    }
    if (r->kind == DATA_DELETE) {
        Note(r, "line %d: deleting \"%s\" is not done: skipped", r->name);
        return true;
    }
    const KnownValue* known = nullptr;
    int count = 0;
    Planned* planned = nullptr;
    switch (r->key) {
        case KEY_BASIC: known = kBasicValues, count = kBasicCount, planned = gPlan.basic; break;
        case KEY_MAPPING: known = kMappingValues, count = kMappingCount, planned = gPlan.mapping[r->keyIndex]; break;
        case KEY_SHORTTYPE: known = kShortTypeValues, count = 1, planned = &gPlan.shortTypeText[r->keyIndex]; break;
        default: break;
    }
    int index = -1;
    for (int i = 0; i < count && !nameTooLong; ++i) {
        if (EqualNoCaseN(r->name, strlen(r->name), known[i].name)) index = i;
    }
    if (index < 0) {
        Note(r, "line %d: unknown value \"%s\" skipped", r->name);
        return true;
    }
    const bool isText = r->kind == DATA_STRING || r->kind == DATA_EXPAND;
    if (r->kind == DATA_OTHER || isText != known[index].text) {
        Note(r, known[index].text ? "line %d: \"%s\" is not a text: skipped" : "line %d: \"%s\" is not a number: skipped",
             known[index].name);
        return true;
    }
    if (r->textProblem != nullptr) return Fail(r, r->textProblem);
    Keep(&planned[index], *r);
    return true;
}

// Trailing blanks and one carriage return go; a NUL byte or an overlong line refuses the file.
bool TrimLine(Reader* r, const char* line, size_t* length) {
    if (memchr(line, '\0', *length) != nullptr) return Fail(r, "a NUL byte");
    if (*length > RESTORE_MAX_LINE) return Fail(r, "a line too long");
    while (*length > 0 && (line[*length - 1] == '\r' || line[*length - 1] == ' ' || line[*length - 1] == '\t')) {
        --*length;
    }
    return true;
}

char gLogical[RESTORE_MAX_LINE + 1];

bool ReadLines(Reader* r, const char* text, uint32_t size) {
    const char* p = text;
    const char* end = text + size;
    // A byte order mark, as some editors put before a file they save.
    if (size >= 3 && memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
    int number = 0;
    while (p < end) {
        const char* newline = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
        const char* lineEnd = newline != nullptr ? newline : end;
        r->line = ++number;
        size_t length = static_cast<size_t>(lineEnd - p);
        if (!TrimLine(r, p, &length)) return false;
        const char* line = p;
        p = newline != nullptr ? newline + 1 : end;
        if (number == 1) {
            r->wideHex = length == sizeof kVersion5 - 1 && memcmp(line, kVersion5, length) == 0;
            if (!r->wideHex && (length != 8 || memcmp(line, "REGEDIT4", 8) != 0)) return Fail(r, "not a REGEDIT4 file");
            continue;
        }
        if (length == 0 || line[0] == ';') continue;
        if (line[0] == '[') {
            if (!ReadKeyLine(r, line, length)) return false;
            continue;
        }
        if (line[0] != '"' && line[0] != '@') return Fail(r, "neither a key nor a value");
        // A value continues on the next lines while its line ends with a backslash.
        size_t joined = 0;
        while (true) {
            const bool more = length > 0 && line[length - 1] == '\\';
            if (more) --length;
            if (joined + length > RESTORE_MAX_LINE) return Fail(r, "a line too long");
            memcpy(gLogical + joined, line, length);
            joined += length;
            if (!more || p >= end) break;
            newline = static_cast<const char*>(memchr(p, '\n', static_cast<size_t>(end - p)));
            lineEnd = newline != nullptr ? newline : end;
            ++number;
            length = static_cast<size_t>(lineEnd - p);
            if (!TrimLine(r, p, &length)) return false;
            line = p;
            p = newline != nullptr ? newline + 1 : end;
            while (length > 0 && (*line == ' ' || *line == '\t')) ++line, --length;
        }
        if (!ReadValueLine(r, gLogical, joined)) return false;
    }
    if (number == 0) {
        r->line = 1;
        return Fail(r, "not a REGEDIT4 file");
    }
    return true;
}

int StoredShortTypes() {
    char name[kTextSize];
    int stored = 0;
    while (stored <= kMaxShortTypes && StoreEnumKey(kShortTypeKey, static_cast<uint32_t>(stored), name, sizeof name)) {
        ++stored;
    }
    return stored;
}

bool Write(RestoreOutcome* outcome, const char* key, const char* name, const Planned& value) {
    if (!value.set) return true;
    char path[96];
    FormatText(path, sizeof path, "%s\\%s", key, name);
    // A text keeps the kind the file gave it, whatever it holds.
    const bool ok = value.kind == REG_DWORD
                        ? SetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, value.number) != 0
                        : StoreSetValue(key, name, value.kind, value.text, static_cast<uint32_t>(strlen(value.text) + 1));
    if (!ok) {
        FormatText(outcome->error, sizeof outcome->error, "cannot write %s\\%s into the settings store", key, name);
        return false;
    }
    ++outcome->written;
    return true;
}

bool CreateKey(RestoreOutcome* outcome, const char* key) {
    if (StoreCreateKey(key)) return true;
    FormatText(outcome->error, sizeof outcome->error, "cannot create %s in the settings store", key);
    return false;
}

bool Apply(RestoreOutcome* outcome) {
    bool anyBasic = gPlan.basicKey.named;
    for (int i = 0; i < kBasicCount; ++i) anyBasic = anyBasic || gPlan.basic[i].set;
    if (anyBasic) {
        if (!CreateKey(outcome, KELMOR_KEY)) return false;
        for (int i = 0; i < kBasicCount; ++i) {
            if (!Write(outcome, KELMOR_KEY, kBasicValues[i].name, gPlan.basic[i])) return false;
        }
    }
    if (gPlan.mappingsKey.named && !CreateKey(outcome, kMappingsKey)) return false;
    for (int n = 0; n < kMappingKeys; ++n) {
        if (!gPlan.mappingKey[n].named) continue;
        char key[64];
        FormatText(key, sizeof key, "%s\\%d", kMappingsKey, n);
        if (!CreateKey(outcome, key)) return false;
        for (int i = 0; i < kMappingCount; ++i) {
            if (!Write(outcome, key, kMappingValues[i].name, gPlan.mapping[n][i])) return false;
        }
    }
    if (gPlan.shortTypeKey.named && !CreateKey(outcome, kShortTypeKey)) return false;
    for (int i = 0; i < gPlan.shortTypeCount; ++i) {
        if (!gPlan.shortTypeKeys[i].named) continue;
        char key[64];
        FormatText(key, sizeof key, "%s\\%s", kShortTypeKey, gPlan.shortTypeName[i]);
        if (!CreateKey(outcome, key) || !Write(outcome, key, "Text", gPlan.shortTypeText[i])) return false;
    }
    return true;
}

// Writes the plan as one set of changes: all of it or nothing.
bool ApplyAtOnce(RestoreOutcome* outcome) {
    bool ok = StoreBeginChanges();
    if (ok) {
        ok = Apply(outcome);
        ok = StoreEndChanges(ok) && ok;
    }
    if (ok) return true;
    // A value refused on its own has said so; the store's own failure says why it failed.
    if (outcome->error[0] == '\0') {
        char reason[128];
        if (SysFormatError(SysGetLastError(), reason, sizeof reason)) {
            FormatText(outcome->error, sizeof outcome->error, "cannot write the settings store: %s", reason);
        } else {
            FormatText(outcome->error, sizeof outcome->error, "cannot write the settings store");
        }
    }
    outcome->written = 0;
    return false;
}

char gFileText[RESTORE_MAX_FILE_SIZE];

// A UTF-16 file's lines in the system's own text, each ended by LF as it was; a unit
// becomes at most three bytes.
uint16_t gWideLine[RESTORE_MAX_FILE_SIZE / 2];
char gNarrowText[RESTORE_MAX_FILE_SIZE / 2 * 3 + 1];

// The text of a UTF-16 file that begins with its byte-order mark, as the system's registry
// editor exports, line by line into gNarrowText; the lines keep their numbers.
bool NarrowWideText(Reader* r, const char* text, uint32_t size, uint32_t* narrowSize) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    const bool bigEndian = bytes[0] == 0xFE;
    const uint32_t units = (size - 2) / 2;
    uint32_t used = 0;
    uint32_t lineStart = 0;
    r->line = 1;
    for (uint32_t i = 0; i <= units; ++i) {
        if (i < units) {
            const unsigned char* pair = bytes + 2 + 2 * i;
            const uint16_t unit = static_cast<uint16_t>(bigEndian ? pair[0] << 8 | pair[1] : pair[1] << 8 | pair[0]);
            if (unit == 0) return Fail(r, "a NUL byte");
            if (unit != '\n') {
                gWideLine[i - lineStart] = unit;
                continue;
            }
        }
        const int length = SysTextFromUtf16(gWideLine, static_cast<int>(i - lineStart), gNarrowText + used,
                                            static_cast<int>(sizeof gNarrowText - used));
        if (length < 0) return Fail(r, "a character this system's texts cannot hold");
        used += static_cast<uint32_t>(length);
        if (i == units) break;
        gNarrowText[used++] = '\n';
        lineStart = i + 1;
        ++r->line;
    }
    if (size % 2 != 0) return Fail(r, "a UTF-16 file of an odd number of bytes");
    *narrowSize = used;
    return true;
}

bool IsWideText(const char* text, uint32_t size) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    return size >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF));
}

}  // namespace

bool RestoreSettingsText(const char* text, uint32_t size, RestoreNoteProc note, RestoreOutcome* outcome) {
    memset(outcome, 0, sizeof *outcome);
    memset(&gPlan, 0, sizeof gPlan);
    Reader reader;
    memset(&reader, 0, sizeof reader);
    reader.note = note;
    reader.outcome = outcome;
    reader.key = KEY_NONE;
    reader.storedShortTypes = StoredShortTypes();
    if (IsWideText(text, size)) {
        if (!NarrowWideText(&reader, text, size, &size)) return false;
        text = gNarrowText;
    } else if (!IsUtf8(text, size)) {
        // Written by an older program in Windows-1252: its texts are read as such.
        bool cut = false;
        const int length = Windows1252ToUtf8(text, size, gNarrowText, sizeof gNarrowText, &cut);
        if (cut) return Fail(&reader, "a file too large for its characters");
        text = gNarrowText;
        size = static_cast<uint32_t>(length);
    }
    return ReadLines(&reader, text, size) && ApplyAtOnce(outcome);
}

bool RestoreSettingsFile(const char* name, RestoreNoteProc note, RestoreOutcome* outcome) {
    memset(outcome, 0, sizeof *outcome);
    // A pipe or a device could be endless or never end at all.
    const SysFileKind kind = SysGetFileKind(name);
    if (kind != SYS_FILE_REGULAR) {
        FormatText(outcome->error, sizeof outcome->error, kind == SYS_FILE_MISSING ? "no such file" : "not a file");
        return false;
    }
    const SysFile file = SysOpenRead(name);
    if (file == SYS_NO_FILE) {
        FormatText(outcome->error, sizeof outcome->error, "cannot open the file");
        return false;
    }
    // One byte more than allowed tells a file that is too large.
    uint32_t size = 0;
    int got = 0;
    while (size < sizeof gFileText &&
           (got = SysReadAt(file, size, gFileText + size, static_cast<uint32_t>(sizeof gFileText - size))) > 0) {
        size += static_cast<uint32_t>(got);
    }
    char extra = 0;
    const bool tooLarge = got >= 0 && size == sizeof gFileText && SysReadAt(file, size, &extra, 1) > 0;
    SysClose(file);
    if (got < 0) {
        FormatText(outcome->error, sizeof outcome->error, "cannot read the file");
        return false;
    }
    if (tooLarge) {
        FormatText(outcome->error, sizeof outcome->error, "the file is larger than %d bytes",
                   static_cast<int>(RESTORE_MAX_FILE_SIZE));
        return false;
    }
    return RestoreSettingsText(gFileText, size, note, outcome);
}
