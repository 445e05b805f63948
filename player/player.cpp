#include "player/player.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "host/mappings.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/window.h"
#include "player/script_commands.h"
#include "recording/message_names.h"
#include "recording/recording.h"
#include "script/key_names.h"
#include "script/random.h"
#include "script/send_lock_key.h"
#include "script/type_expansion.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/numbers.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/run_mode.h"

namespace {

// A re-offer that finds less than this still to wait delivers at once; an overrun of at
// least this much is paid back out of later delays.
const int64_t DELAY_TOLERANCE = 10;

// Speed codes
enum { SPEED_SLOW = 1, SPEED_NORMAL = 2, SPEED_FAST = 3, SPEED_AFAP = 4 };

// Delays and surpluses are subtracted and negated: saturated at -INT32_MAX below, so
// the magnitude stays representable.
int32_t ClampDelay(int64_t value) { return value < -INT32_MAX ? -INT32_MAX : ClampToInt32(value); }

intptr_t PassOn(int code, uintptr_t wParam, intptr_t lParam) {
    return SysCallNextHook(gPlayer.ghJournalHook, code, wParam, lParam);
}

bool HasEvent(int32_t index) { return index >= 0 && index < gRecording.nEventCount && index < EVENT_CAPACITY; }

// "WM_KEYDOWN (1, 'A')": the message as the play log lines print it.
void MessageText(const EVENTMSG& e, char* out, int size) {
    const char* name = LogMessageName(e.message);
    char number[16];
    if (name == nullptr) {
        FormatText(number, sizeof number, "%u", e.message);
        name = number;
    }
    if (e.paramL >= 'A' && e.paramL <= 'Z') {
        FormatText(out, size, "%s (%li, '%c')", name, e.paramH, static_cast<int>(e.paramL));
    } else {
        FormatText(out, size, "%s (%li, %li)", name, e.paramH, e.paramL);
    }
}

// The recorded gap before event i, scaled by the speed.
int32_t ScaledDelay(int32_t i) {
    int32_t raw = 0;
    if (i > 0) {
        const uint32_t previous = gRecordingStore.gEvents[i - 1].time;
        if (previous > 1) {
            // The tick wraps after 49.7 days; a 32-bit difference stays right across it.
            const int32_t gap = static_cast<int32_t>(gRecordingStore.gEvents[i].time - previous);
            raw = gap < 0 ? 0 : gap;
        }
    }
    // Factors come from the store; one below 1 would divide by zero or reverse time.
    switch (gSettings.gbSpeed) {
        case SPEED_AFAP:
            return 0;
        case SPEED_FAST:
            return raw / (gSettings.gnFactorFast < 1 ? 1 : gSettings.gnFactorFast);
        case SPEED_SLOW: {
            // Double clicks only register when their parts keep their recorded rhythm.
            const bool click = gRecordingStore.gEvents[i].message == WM_LBUTTONDBLCLK ||
                               gRecordingStore.gEvents[i].message == WM_LBUTTONUP ||
                               (HasEvent(i + 1) && gRecordingStore.gEvents[i + 1].message == WM_LBUTTONUP) ||
                               (HasEvent(i + 2) && gRecordingStore.gEvents[i + 2].message == WM_LBUTTONUP);
            if (click) return raw;
            return ClampDelay(static_cast<int64_t>(raw) * (gSettings.gnFactorSlow < 1 ? 1 : gSettings.gnFactorSlow));
        }
        default:
            return raw;
    }
}

void LogPlayEvent(int32_t i, int32_t delay) {
    if (!LogEnabled(LOG_MEDIUM)) return;
    char text[96];
    MessageText(gRecordingStore.gEvents[i], text, sizeof text);
    if (LogEnabled(LOG_HIGH)) {
        LogAt(LOG_HIGH,
              "PLAY EVENT #%d at %li: Requested Delay=%li, Surplus Remaining=%li, Rec Time=%li, Rec Prev=%li, "
              "Message=%s",
              i + 1, SysGetTickCount(), delay, gPlayer.lSurplus, gRecordingStore.gEvents[i].time,
              i > 0 ? gRecordingStore.gEvents[i - 1].time : 0u, text);
    } else {
        LogAt(LOG_MEDIUM, "PLAY EVENT #%d: Message=%s", i + 1, text);
    }
}

// Pays back time the system waited too long out of a delay.
int32_t ApplySurplus(int32_t delay) {
    if (gPlayer.lSurplus <= 0 || delay == 0) return delay;
    if (gPlayer.lSurplus > delay) {
        gPlayer.lSurplus -= delay;
        delay = 0;
    } else {
        delay -= gPlayer.lSurplus;
        gPlayer.lSurplus = 0;
    }
    LogAt(LOG_HIGH, "   Adjusting for Surplus: Requesting Altered Delay of %li, Remaining Surplus=%li", delay,
          gPlayer.lSurplus);
    return delay;
}

// Hands the current event to the system. A journal playback cannot toggle the lock keys
// or open the Start menu, so those keys also go out as synthetic input; the wheel's
// recorded amount does not survive the journal, so one notch is sent by hand.
void Deliver(intptr_t lParam, bool firstOffer) {
    FillPlaybackEvent(reinterpret_cast<EVENTMSG*>(lParam));
    const EVENTMSG& e = gRecordingStore.gEvents[gPlayer.nCurrentEvent];
    const int32_t number = gPlayer.nCurrentEvent + 1;
    if (e.message == WM_KEYDOWN && IsLockOrWindowsKey(e.paramL & 0xFF)) {
        SendLockKey(static_cast<int>(e.paramL & 0xFF), 0);
        LogAt(LOG_HIGH,
              firstOffer ? "   >>>Sending Event #%d with Kelmor secret sauce with NO DELAY"
                         : "   >>>Sending Event #%d with Kelmor secret sauce",
              number);
    } else if (e.message == WM_MOUSEWHEEL) {
        // The pointer goes to the recorded point before the notch, so the wheel turns in
        // the window that was under it. An absolute move takes coordinates normalised to
        // 0-65535 across the screen; the recorded point is in pixels, x in paramL.
        int32_t width = 0, height = 0;
        if (SysGetScreenSize(&width, &height) && width > 0 && height > 0) {
            SysMouseEvent(MOUSEEVENTF_MOVE | MOUSEEVENTF_WHEEL | MOUSEEVENTF_ABSOLUTE,
                          NormaliseScreenCoordinate(static_cast<int32_t>(e.paramL), width),
                          NormaliseScreenCoordinate(static_cast<int32_t>(e.paramH), height), -120, 0);
        } else {
            SysMouseEvent(MOUSEEVENTF_WHEEL, 0, 0, -120, 0);
        }
    } else {
        LogAt(LOG_HIGH, firstOffer ? "   >>>Sending Event #%d with no delay" : "   >>>Sending Event #%d", number);
    }
}

// By hand: the program's formatter takes 32-bit integers only, and the Windows program
// has no room for the C runtime's.
void FormatInt64(char* out, int size, int64_t value) {
    if (size <= 0) return;
    char digits[24];
    int n = 0;
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[n++] = '-';
    int at = 0;
    while (n > 0 && at < size - 1) out[at++] = digits[--n];
    out[at] = '\0';
}

// The key a played key-down stands for. A typed character counts as the key that makes
// it, so that the text of a TYPE command meets the REPLACE Mappings as its keys did.
uint8_t PlayedKey(uint32_t paramL) {
    if (!IsCharacterRecord(paramL)) return static_cast<uint8_t>(paramL & 0xFF);
    const uint32_t character = CharacterOfRecord(paramL);
    return character < 0x80 ? static_cast<uint8_t>(CharToKey(static_cast<char>(character))) : 0;
}

// The key-down of a key bound to a REPLACE Mapping: its text is typed in place of the key.
intptr_t ReplaceKey(int code, uintptr_t wParam, intptr_t lParam, uint8_t action) {
    const int32_t i = gPlayer.nCurrentEvent;
    char text[64];
    SYSTEMTIME t;
    switch (action) {
        case ACTION_REPLACE_LOOP:
            FormatInt64(
                text, sizeof text,
                static_cast<int64_t>(gRecording.nCompletedPasses) + static_cast<int64_t>(gSettings.gnLoopTypeBase) + 1);
            break;
        case ACTION_REPLACE_RANDOM:
            FormatText(text, sizeof text, "%d", RandomInRange(gSettings.gnRandomMin, gSettings.gnRandomMax));
            break;
        case ACTION_REPLACE_TIME:
            SysGetLocalTime(&t);
            FormatText(text, sizeof text, "%02d:%02d:%02d", t.wHour, t.wMinute, t.wSecond);
            break;
        case ACTION_REPLACE_DATETIME:
            SysGetLocalTime(&t);
            FormatText(text, sizeof text, "%02d/%02d/%02d %02d:%02d:%02d", t.wMonth, t.wDay, t.wYear, t.wHour,
                       t.wMinute, t.wSecond);
            break;
        default:  // ACTION_REPLACE_TIMENUMBER
            SysGetLocalTime(&t);
            FormatText(text, sizeof text, "%04d%02d%02d%02d%02d%02d%04d", t.wYear, t.wMonth, t.wDay, t.wHour,
                       t.wMinute, t.wSecond, t.wMilliseconds);
            break;
    }
    LogAt(LOG_MEDIUM, "PLAY EVENT #%d: REPLACE Mapping: '%s'", i + 1, text);
    // Behind the key's own key-up; a key-down that ends the list has none, so the text
    // goes at the end rather than past it.
    int32_t position = i + 2;
    if (position > gRecording.nEventCount) position = gRecording.nEventCount;
    const int n = InjectTypedText(position, gRecording.nEventCount, text, gPlayer.gbScriptAltDown);
    gRecording.nEventCount += n;
    ShiftScriptCommands(position, n);
    LogAt(LOG_MEDIUM, "   %d additional events added for replacement", n);
    LogAt(LOG_HIGH, "   >>>Continuing after non-Windows Event #%d", i + 1);
    return PassOn(code, wParam, lParam);
}

void CorruptionStop() {
    LogAt(LOG_LOW, "ERROR: Event #%d: This recording appears to be corrupted!", gPlayer.nCurrentEvent + 1);
    gPlayer.stopPlayback(false);
    KelmorMessageBox("This recording appears to be corrupted!\n\nPlease re-record your actions.", "Playback Error",
                     MB_ICONHAND);
    NoteFailedHiddenPlayback();
    if (gSettings.gbQuitWhenDone || gRun.gnRunMode != RUN_INTERACTIVE) PostCommand(ID_EXIT);
}

intptr_t FirstOffer(int code, uintptr_t wParam, intptr_t lParam) {
    const int32_t i = gPlayer.nCurrentEvent;
    gPlayer.bFreshEvent = false;
    if (gSettings.gbPlayUpdate == 2) {
        char title[64];
        FormatText(title, sizeof title, "Action %d of %d...", i + 1, gRecording.nEventCount);
        ShellSetWindowTitle(title);
    }
    const EVENTMSG& e = gRecordingStore.gEvents[i];
    if (e.message == 0) {
        for (int32_t k = 0; k < gRecording.nScriptCommands && k < SCRIPT_CAPACITY; ++k) {
            if (gRecordingStore.nEventIndex[k] != i) continue;
            int32_t delay = 0;
            if (RunScriptCommand(k, i, &delay)) return delay;
            break;
        }
        return PassOn(code, wParam, lParam);
    }
    if (e.message == WM_KEYDOWN) {
        const uint8_t action = gMappings.gbMapAction[PlayedKey(e.paramL)];
        if (action >= ACTION_REPLACE_LOOP && action <= ACTION_REPLACE_TIMENUMBER) {
            return ReplaceKey(code, wParam, lParam, action);
        }
    }
    const int32_t delay = ScaledDelay(i);
    LogPlayEvent(i, delay);
    gPlayer.lDelay = ApplySurplus(delay);
    if (gPlayer.lDelay == 0) Deliver(lParam, true);
    gPlayer.dwDelayStart = SysGetTickCount();
    return gPlayer.lDelay;
}

intptr_t LaterOffer(int code, uintptr_t wParam, intptr_t lParam) {
    int32_t commandDelay = 0;
    if (ContinueScriptCommand(gPlayer.nCurrentEvent, &commandDelay)) return commandDelay;
    if (gPlayer.lDelay != 0) {
        const uint32_t now = SysGetTickCount();
        const uint32_t elapsed = now - gPlayer.dwDelayStart;  // right across a wrap of the tick
        const int32_t remaining = ClampDelay(static_cast<int64_t>(gPlayer.lDelay) - elapsed);
        LogAt(LOG_HIGH, "   Actual Delay Completed=%li, %s=%li", ClampDelay(elapsed),
              remaining >= 0 ? "Deficit" : "Surplus", remaining);
        if (remaining >= DELAY_TOLERANCE) {
            LogAt(LOG_HIGH, "   ...Try waiting again, %li remaining...", remaining);
            gPlayer.dwDelayStart = now;
            gPlayer.lDelay = remaining;
            return remaining;
        }
        gPlayer.lDelay = 0;
        gPlayer.dwDelayStart = 0;
        if (remaining <= -DELAY_TOLERANCE) {
            gPlayer.lSurplus = ClampDelay(static_cast<int64_t>(gPlayer.lSurplus) - remaining);
            LogAt(LOG_HIGH, "   Windows waited too long; Surplus updated to %li", gPlayer.lSurplus);
        }
        LogAt(LOG_HIGH, "   Delay was done!");
    }
    if (gRecordingStore.gEvents[gPlayer.nCurrentEvent].message != 0) {
        Deliver(lParam, false);
        return 0;
    }
    LogAt(LOG_HIGH, "   >>>Continuing after non-Windows Event #%d", gPlayer.nCurrentEvent + 1);
    return PassOn(code, wParam, lParam);
}

intptr_t GetNext(int code, uintptr_t wParam, intptr_t lParam) {
    // A negative index would read before the list as surely as a large one reads past it.
    if (gPlayer.nCurrentEvent < 0 || gPlayer.nCurrentEvent >= gRecording.nEventCount ||
        gPlayer.nCurrentEvent >= EVENT_CAPACITY) {
        CorruptionStop();
        return 0;
    }
    return gPlayer.bFreshEvent ? FirstOffer(code, wParam, lParam) : LaterOffer(code, wParam, lParam);
}

intptr_t Skip(int code, uintptr_t wParam, intptr_t lParam) {
    gPlayer.bFreshEvent = true;
    ++gPlayer.nCurrentEvent;
    LogAt(LOG_HIGH, "   -->Windows accepted the previous message at %li, go on to #%d...", SysGetTickCount(),
          gPlayer.nCurrentEvent + 1);
    if (gPlayer.nCurrentEvent == gRecording.nEventCount) {
        gPlayer.endOfPass();
        return 0;
    }
    return PassOn(code, wParam, lParam);
}

}  // namespace

intptr_t JournalPlaybackProc(int code, uintptr_t wParam, intptr_t lParam) {
    switch (code) {
        case HC_GETNEXT:
            return GetNext(code, wParam, lParam);
        case HC_SKIP:
            return Skip(code, wParam, lParam);
        case HC_SYSMODALON:
            LogAt(LOG_HIGH, "* * * HC_SYSMODALON Flag * * *");
            return PassOn(code, wParam, lParam);
        case HC_SYSMODALOFF:
            LogAt(LOG_HIGH, "* * * HC_SYSMODALOFF Flag * * *");
            return PassOn(code, wParam, lParam);
        default:
            return PassOn(code, wParam, lParam);
    }
}

void FillPlaybackEvent(EVENTMSG* record) {
    if (record == nullptr) return;
    memset(record, 0, sizeof *record);
    if (gPlayer.nCurrentEvent < 0 || gPlayer.nCurrentEvent >= EVENT_CAPACITY) return;
    const EVENTMSG& e = gRecordingStore.gEvents[gPlayer.nCurrentEvent];
    record->message = e.message;
    record->paramL = e.paramL;
    record->paramH = e.paramH;
    record->hwnd = e.hwnd;
    // The system orders its input by time; recorded stamps lie in the past.
    record->time = SysGetTickCount();
}

void ResetPlayerForPass() {
    gPlayer.nCurrentEvent = 0;
    gPlayer.bFreshEvent = true;
    gPlayer.lSurplus = 0;
}

void ClearPlayerDelays() {
    CancelScriptCommandRetry();
    gPlayer.lSurplus = 0;
    gPlayer.lDelay = 0;
    gPlayer.dwDelayStart = 0;
}

