#include "script/type_expansion.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/input.h"
#include "platform/wintypes.h"
#include "recording/recording.h"
#include "script/key_names.h"
#include "script/random.h"
#include "script/send_lock_key.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/utf8.h"

void ResetScriptState() { SeedRandom(1); }

namespace {

// The working copy of a TYPE text: at most 1023 characters, like a command's argument.
const int TYPE_TEXT_SIZE = SCRIPT_ARG_SIZE;

// Texts that make the key-token branch press one non-printing key.
const char* const kKeyTokens[] = {
    "{F",        "{up",       "{down",     "{right",  "{left",       "{pagedown}", "{pageup}",
    "{home}",    "{end}",     "{insert}",  "{delete}", "{backspace}", "{add}",      "{subtract}",
    "{decimal}", "{divide}",  "{esc",      "{winkey", "{appkey",
};

bool Has(const char* text, const char* token) { return FindNoCase(text, token) != nullptr; }

bool IsLockKey(int key) {
    return key == VK_LWIN || key == VK_RWIN || key == VK_APPS || key == VK_CAPITAL || key == VK_NUMLOCK ||
           key == VK_SCROLL;
}

// Whether `events` more records fit at position in a list of count records. A refusal is
// logged: the list never grows past its capacity, and a key's events are inserted all or
// none, so no Shift or key is left pressed by a half-inserted group.
bool RoomFor(int32_t position, int32_t count, int events, const char* what) {
    if (position < 0 || position > count) {
        LogAt(LOG_LOW, "   Cannot inject %s at (0-based) position [%d] of a list of %d events", what, position, count);
        return false;
    }
    if (count > EVENT_CAPACITY - events) {
        LogAt(LOG_LOW, "   Event list full: %s not injected (%d more events needed, %d of %d records used)", what,
              events, count, EVENT_CAPACITY);
        return false;
    }
    return true;
}

// Inserts one key event made by the program (message and key only) and counts it.
void InsertCounted(int32_t position, uint32_t message, int key, const char* logName) {
    const EVENTMSG record = {message, static_cast<uint32_t>(key), 0, 0, 0};
    if (InsertEvent(position, gRecording.nEventCount, &record, logName)) ++gRecording.nEventCount;
}

// The single-event tokens: the Alt, Shift and Ctrl presses and releases. Returns whether
// the event went in.
bool InjectModifier(int32_t position, uint32_t message, int key, const char* logName, const char* token) {
    if (!RoomFor(position, gRecording.nEventCount, 1, token)) return false;
    ShiftScriptCommands(position, 1);
    InsertCounted(position, message, key, logName);
    return true;
}

void ReplaceToken(char* text, const char* token, const char* value) {
    bool cut = false;
    ReplaceAllNoCaseBounded(text, TYPE_TEXT_SIZE, token, value, &cut);
    if (cut) LogAt(LOG_LOW, "   TYPE text cut at %d characters while expanding %s", TYPE_TEXT_SIZE - 1, token);
}

void ExpandPlaceholders(char* text) {
    ReplaceToken(text, "{\\n}", "\n");
    ReplaceToken(text, "{\\r}", "\r");
    ReplaceToken(text, "{\\t}", "\t");
    ReplaceToken(text, "{newline}", "\n");
    ReplaceToken(text, "{return}", "\n");
    ReplaceToken(text, "{enter}", "\n");
    ReplaceToken(text, "{space}", " ");
    ReplaceToken(text, "{tab}", "\t");

    // Values are computed only for tokens that occur: a draw advances the generator.
    char value[64];
    SYSTEMTIME now;
    if (Has(text, "{random}")) {
        FormatText(value, sizeof value, "%li", RandomInRange(gSettings.gnRandomMin, gSettings.gnRandomMax));
        ReplaceToken(text, "{random}", value);
    }
    if (Has(text, "{date}")) {
        SysGetLocalTime(&now);
        FormatText(value, sizeof value, "%02d/%02d/%02d", now.wMonth, now.wDay, now.wYear);
        ReplaceToken(text, "{date}", value);
    }
    if (Has(text, "{time}")) {
        SysGetLocalTime(&now);
        FormatText(value, sizeof value, "%02d:%02d:%02d", now.wHour, now.wMinute, now.wSecond);
        ReplaceToken(text, "{time}", value);
    }
    if (Has(text, "{dtnumber}")) {
        SysGetLocalTime(&now);
        FormatText(value, sizeof value, "%04d%02d%02d%02d%02d%02d%04d", now.wYear, now.wMonth, now.wDay, now.wHour,
                   now.wMinute, now.wSecond, now.wMilliseconds);
        ReplaceToken(text, "{dtnumber}", value);
    }
    if (Has(text, "{playbackloop}")) {
        // Wraps like the 32-bit sum it always was, whatever LoopTypeBase holds.
        const uint32_t loop =
            static_cast<uint32_t>(gRecording.nCompletedPasses) + static_cast<uint32_t>(gSettings.gnLoopTypeBase) + 1u;
        FormatText(value, sizeof value, "%li", static_cast<int32_t>(loop));
        ReplaceToken(text, "{playbackloop}", value);
    }
}

}  // namespace

int ExpandTypeText(int32_t position, const char* source, bool* altDown) {
    char text[TYPE_TEXT_SIZE];
    if (source == nullptr) source = "";
    size_t len = strnlen(source, sizeof text);
    if (len == sizeof text) {
        // Never inside a character: its first bytes alone would type other characters.
        len = Utf8Prefix(source, sizeof text);
        LogAt(LOG_LOW, "   TYPE text cut at %d characters", TYPE_TEXT_SIZE - 1);
    }
    memcpy(text, source, len);
    text[len] = '\0';

    if (!*altDown && (Has(text, "{altdown}") || Has(text, "{r_altdown}") || Has(text, "{l_altdown}"))) {
        LogAt(LOG_HIGH, "   +++Injecting events for {altdown}");
        ReplaceAllNoCase(text, "{altdown}", "");
        const int key = Has(text, "{r_altdown}") ? VK_RMENU : Has(text, "{l_altdown}") ? VK_LMENU : VK_MENU;
        // The state follows what the event stream holds: an Alt press that found no room
        // leaves it clear.
        if (InjectModifier(position, WM_SYSKEYDOWN, key, "WM_MENUDOWN", "{altdown}")) *altDown = true;
        return 0;
    }
    if (*altDown && (Has(text, "{altup}") || Has(text, "{r_altup}") || Has(text, "{l_altup}"))) {
        LogAt(LOG_HIGH, "   +++Injecting 2 events for {altup}");
        ReplaceAllNoCase(text, "{altup}", "");
        const int key = Has(text, "{r_altup}") ? VK_RMENU : Has(text, "{l_altup}") ? VK_LMENU : VK_MENU;
        if (InjectModifier(position, WM_SYSKEYUP, key, "WM_MENUUP", "{altup}")) *altDown = false;
        return 0;
    }
    if (Has(text, "{shiftdown}") || Has(text, "{ctrldown}")) {
        LogAt(LOG_HIGH, "   +++Injecting events for {shift/ctrl down}");
        const int key = ReplaceAllNoCase(text, "{shiftdown}", "") > 0 ? VK_SHIFT : VK_CONTROL;
        InjectModifier(position, WM_KEYDOWN, key, "WM_KEYDOWN", "{shift/ctrl down}");
        return 0;
    }
    if (Has(text, "{shiftup}") || Has(text, "{ctrlup}")) {
        LogAt(LOG_HIGH, "   +++Injecting events for {shift/ctrl up}");
        const int key = ReplaceAllNoCase(text, "{shiftup}", "") > 0 ? VK_SHIFT : VK_CONTROL;
        InjectModifier(position, WM_KEYUP, key, "WM_KEYUP", "{shift/ctrl up}");
        return 0;
    }
    for (const char* token : kKeyTokens) {
        if (!Has(text, token)) continue;
        LogAt(LOG_HIGH, "   +++Injecting events for {some non-printing key}");
        const int key = KeyNameToCode(text);
        if (IsLockKey(key)) {
            SendLockKey(key, 0);
            LogAt(LOG_HIGH, "   >>>Sending script key with Kelmor secret sauce");
            return 0;
        }
        if (!RoomFor(position, gRecording.nEventCount, 2, "{some non-printing key}")) return 0;
        ShiftScriptCommands(position, 2);
        InsertCounted(position, *altDown ? WM_SYSKEYDOWN : WM_KEYDOWN, key, "WM_*DOWN");
        InsertCounted(position + 1, *altDown ? WM_SYSKEYUP : WM_KEYUP, key, "WM_*UP");
        return 0;
    }

    ExpandPlaceholders(text);
    return InjectTypedText(position, gRecording.nEventCount, text, *altDown);
}

namespace {

// The key a character of TYPE text stays: the line ends and the tab are keys, and with
// the script's Alt held a character names the key of a menu's accelerator. 0 for a
// character typed as itself.
int KeyOfCharacter(uint32_t character, bool altDown) {
    if (character == '\n' || character == '\r') return VK_RETURN;
    if (character == '\t') return VK_TAB;
    if (altDown && character < 0x80) return CharToKey(static_cast<char>(character));
    return 0;
}

}  // namespace

int InjectTypedText(int32_t position, int32_t count, const char* text, bool altDown) {
    int inserted = 0;
    const uint32_t down = altDown ? WM_SYSKEYDOWN : WM_KEYDOWN, up = altDown ? WM_SYSKEYUP : WM_KEYUP;
    for (const char* c = text != nullptr ? text : ""; *c != '\0';) {
        const char* start = c;
        const uint32_t character = NextCharacter(&c);
        char shown[5] = "";
        memcpy(shown, start, static_cast<size_t>(c - start) < 4 ? static_cast<size_t>(c - start) : 4);
        const int key = KeyOfCharacter(character, altDown);
        if (key == 0 && !SysCanTypeCharacter(character)) {
            LogAt(LOG_LOW, "   Cannot type U+%04X in any layout: skipped", character);
            continue;
        }
        if (!RoomFor(position + inserted, count + inserted, 2, "the rest of the TYPE text")) break;
        const uint32_t paramL = key != 0 ? static_cast<uint32_t>(key) : CharacterRecordParam(character);
        LogAt(LOG_HIGH, "   +++Injecting WM_KEYDOWN + WM_KEYUP for '%s' (%d) into event stream...", shown,
              key != 0 ? key : static_cast<int>(character));
        const EVENTMSG press = {down, paramL, 0, 0, 0}, release = {up, paramL, 0, 0, 0};
        if (InsertEvent(position + inserted, count + inserted, &press, "WM_*DOWN")) ++inserted;
        if (InsertEvent(position + inserted, count + inserted, &release, "WM_*UP")) ++inserted;
    }
    LogAt(LOG_HIGH, "   Injected a total of %d additional events for a new total of %d", inserted,
          gRecording.nEventCount + inserted);
    return inserted;
}
