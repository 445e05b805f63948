#include "player/script_commands.h"

#include <cstring>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "recording/recording.h"
#include "recording/start_program.h"
#include "script/type_expansion.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/numbers.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/platform_wording.h"
#include "ui/run_mode.h"

void ResetScriptCommands() { CancelScriptCommandRetry(); }

namespace {

const int TITLE_SIZE = 127;          // the title read of a window: 126 characters take part
const int MAX_WINDOWS = 4096;        // top-level windows looked at per search
const int GOTO_RETRY_MS = 500;
const int32_t GOTO_DELAY = 250;
const int CLICK_DIGITS = 8;

// A command's argument as a terminated string, whatever its buffer holds.
void CopyArgument(char* out, const char* argument) {
    size_t len = argument ? strnlen(argument, SCRIPT_ARG_SIZE - 1) : 0;
    if (len) memcpy(out, argument, len);
    out[len] = '\0';
}

// A halting script error: the playback ends here unless the user asked scripts to play on.
// Returns true when the playback was stopped.
bool HaltOnError(const char* argument, const char* format) {
    if (ReadSettingDword("HaltScriptOnError", 1) == 0) {
        return false;
    }
    gPlayer.stopPlayback(false);
    // Room for the longest argument inside the longest text, so nothing of it is cut.
    char text[2 * SCRIPT_ARG_SIZE];
    FormatText(text, sizeof text, format, argument);
    ShellMessageBox(text, argument, MB_SYSTEMMODAL | MB_ICONWARNING);
    NoteFailedHiddenPlayback();
    if (gSettings.gbQuitWhenDone || gRun.gnRunMode != RUN_INTERACTIVE) PostCommand(ID_EXIT);
    return true;
}

void RunStart(const char* argument) {
    if (!StartProgram(argument)) {
        LogAt(LOG_LOW, "   ERROR: Unable to START the program '%s'!", argument);
        // After a halt the playback is over: minimising the window now would leave it
        // minimised with nobody left to restore it.
        if (HaltOnError(argument, PlatformText("Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct "
                                               "program path from the \"Properties\" of its icon)\n\nThe playback "
                                               "has stopped."))) {
            return;
        }
    }
    // A console window would sit under ours; step aside until the playback ends.
    if (gRun.gnRunMode == RUN_INTERACTIVE &&
        (FindNoCase(argument, "CMD.EXE") != nullptr || FindNoCase(argument, "COMMAND.COM") != nullptr)) {
        if (gPlayer.gbConsoleMinimized < UINT8_MAX) ++gPlayer.gbConsoleMinimized;
        if (ShellIsMainWindowMinimized()) ShellShowMainWindow(SW_RESTORE);
        ShellShowMainWindow(SW_MINIMIZE);
    }
}

// A GOTO still looking for its window: the empty event it waits at, its command and the
// retry time spent so far. The hook answers each failed search with the retry pause as a
// delay and searches again at the next offer of the event, so the loop runs between the
// tries and the user's Ctrl+Esc (or a signal) is heard during the whole search.
int32_t gGotoEvent = -1;
int32_t gGotoCommand = -1;
int32_t gGotoElapsed = 0;

// One search of a GOTO; returns the delay the hook answers with.
int32_t SearchForGotoWindow(const char* argument) {
    const int32_t limit = static_cast<int32_t>(gSettings.gbGOTOWait) * 1000;
    if (gGotoElapsed <= limit) {
        HWND32 window = FindWindowByTitle(argument);
        if (window != 0) {
            gGotoEvent = -1;
            gPlayer.ghGotoWindow = window;
            SysShowWindow(window, SysIsWindowMinimized(window) ? SW_RESTORE : SW_SHOWNA);
            SysActivateWindow(window);
            LogAt(LOG_HIGH, "   Found window '%s'", argument);
            return GOTO_DELAY;
        }
        if (gSettings.gbGOTOWait != 0) {
            LogAt(LOG_LOW, "   Unable to find window '%s', trying again...", argument);
            gGotoElapsed += GOTO_RETRY_MS;
            return GOTO_RETRY_MS;
        }
    }
    gGotoEvent = -1;
    LogAt(LOG_LOW, "   ERROR: Unable to find window '%s'!", argument);
    HaltOnError(argument, "Unable to find and GOTO window with the title '%s'!\n\nThe playback has stopped.");
    return GOTO_DELAY;
}

int32_t RunGoto(int32_t k, int32_t i, const char* argument) {
    LogAt(LOG_HIGH, "   Searching for window '%s'...", argument);
    gPlayer.ghGotoWindow = 0;
    // The search's pauses are no delay of the system: a delay start left by the event
    // before would have the watchdog kick Ctrl into the desktop while the search runs.
    gPlayer.dwDelayStart = 0;
    gGotoEvent = i;
    gGotoCommand = k;
    gGotoElapsed = 0;
    return SearchForGotoWindow(argument);
}

void RunType(int32_t i, const char* argument) {
    LogAt(LOG_HIGH, "   Typing '%s'...", argument);
    int n = ExpandTypeText(i + 1, argument, &gPlayer.gbScriptAltDown);
    gRecording.nEventCount += n;
    ShiftScriptCommands(i + 1, n);
}

// Whole seconds as the system's atol reads them, saturating instead of overflowing.
int64_t ReadSeconds(const char* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    int64_t value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < INT64_MAX / 10 - 10) value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

int32_t RunWait(const char* argument) {
    gPlayer.dwDelayStart = SysGetTickCount();
    // Clamped at each step so that no product leaves 64 bits.
    int64_t wait = ClampToInt32(ReadSeconds(argument));
    wait = ClampToInt32(wait * 1000);
    if (gSettings.gbSpeed == 4) {
        wait = 0;
    } else if (gSettings.gbSpeed == 3) {
        wait /= gSettings.gnFactorFast > 0 ? gSettings.gnFactorFast : 1;
    } else if (gSettings.gbSpeed == 1) {
        wait *= gSettings.gnFactorSlow > 0 ? gSettings.gnFactorSlow : 1;
    }
    // A negative delay would be measured as an overrun and paid out of the following
    // events' delays, so it waits for nothing at every speed.
    if (wait < 0) wait = 0;
    const int32_t delay = ClampToInt32(wait);
    gPlayer.lDelay = delay;
    gPlayer.lWaitDuration = delay;
    LogAt(LOG_HIGH, "   >>>Sending WAIT command duration %li at %li", delay, SysGetTickCount());
    return delay;
}

// A run of at most CLICK_DIGITS decimal digits; *text is left behind it.
int32_t ReadDigits(const char** text) {
    int32_t value = 0;
    for (int n = 0; n < CLICK_DIGITS && **text >= '0' && **text <= '9'; ++n, ++*text) {
        value = value * 10 + (**text - '0');
    }
    return value;
}

void RunClick(int32_t i, const char* argument) {
    // Both button events or neither: a lone button-down would leave the button held.
    if (i < 0 || i >= gRecording.nEventCount) {
        LogAt(LOG_LOW, "   Cannot inject CLICK '%s' at (0-based) position [%d] of a list of %d events", argument,
              i + 1, gRecording.nEventCount);
        return;
    }
    if (gRecording.nEventCount > EVENT_CAPACITY - 2) {
        LogAt(LOG_LOW, "   Event list full: CLICK '%s' not injected (2 more events needed, %d of %d records used)",
              argument, gRecording.nEventCount, EVENT_CAPACITY);
        return;
    }
    ShiftScriptCommands(i + 1, 2);

    const char* p = argument;
    int64_t x = ReadDigits(&p);
    while (*p != '\0' && !(*p >= '0' && *p <= '9')) ++p;
    int64_t y = ReadDigits(&p);

    if (gPlayer.ghGotoWindow == 0) {
        LogAt(LOG_LOW, "   ERROR: The 'GOTO' command should be used before the 'CLICK' command");
        gPlayer.ghGotoWindow = SysGetForegroundWindow();
    }
    // A window that has gone away leaves the numbers as screen coordinates.
    RECT32 rect = {0, 0, 0, 0};
    SysGetWindowRect(gPlayer.ghGotoWindow, &rect);
    const int32_t screenX = ClampToInt32(x + rect.left);
    const int32_t screenY = ClampToInt32(y + rect.top);
    LogAt(LOG_HIGH, "   Mouse clicking at screen coordinate (%d, %d)...", screenX, screenY);

    EVENTMSG event{};
    event.paramL = static_cast<uint32_t>(screenX);
    event.paramH = static_cast<uint32_t>(screenY);
    event.time = 0;
    event.hwnd = gPlayer.ghGotoWindow;
    event.message = WM_LBUTTONDOWN;
    InsertEvent(i + 1, gRecording.nEventCount, &event, "WM_LBUTTONDOWN");
    event.message = WM_LBUTTONUP;
    InsertEvent(i + 2, gRecording.nEventCount + 1, &event, "WM_LBUTTONUP");
    gRecording.nEventCount += 2;
}

}  // namespace

bool RunScriptCommand(int32_t k, int32_t i, int32_t* delay) {
    const bool known = k >= 0 && k < gRecording.nScriptCommands && k < SCRIPT_CAPACITY;
    const int32_t kind = known ? gRecordingStore.nKeyword[k] : KW_NONE;
    char argument[SCRIPT_ARG_SIZE];
    CopyArgument(argument, known ? gRecordingStore.szArgument[k] : nullptr);

    LogAt(LOG_MEDIUM, "PLAY EVENT #%d: Script Command #%d: %s '%s'", i + 1, k + 1, ScriptKeywordName(kind), argument);
    if (gSettings.gbPlayUpdate == 2) {
        char title[64];
        FormatText(title, sizeof title, "Script Line %d of %d...", k + 1, gRecording.nScriptCommands);
        ShellSetWindowTitle(title);
    }

    CancelScriptCommandRetry();
    switch (kind) {
        case KW_GOTO:
            *delay = RunGoto(k, i, argument);
            return true;
        case KW_WAIT:
            *delay = RunWait(argument);
            return true;
        case KW_START:
            RunStart(argument);
            break;
        case KW_TYPE:
            RunType(i, argument);
            break;
        case KW_CLICK:
            RunClick(i, argument);
            break;
        default:
            break;
    }
    LogAt(LOG_HIGH, "   >>>Continuing after non-Windows Event #%d", i + 1);
    return false;
}

bool ContinueScriptCommand(int32_t i, int32_t* delay) {
    if (gGotoEvent < 0 || gGotoEvent != i || gGotoCommand < 0 || gGotoCommand >= SCRIPT_CAPACITY) return false;
    char argument[SCRIPT_ARG_SIZE];
    CopyArgument(argument, gRecordingStore.szArgument[gGotoCommand]);
    *delay = SearchForGotoWindow(argument);
    return true;
}

void CancelScriptCommandRetry() { gGotoEvent = -1; }

HWND32 FindWindowByTitle(const char* text) {
    static HWND32 windows[MAX_WINDOWS];
    const int count = SysEnumTopLevelWindows(windows, MAX_WINDOWS);
    char title[TITLE_SIZE];
    for (int n = 0; n < count; ++n) {
        title[0] = '\0';
        SysGetWindowText(windows[n], title, TITLE_SIZE);
        if (FindNoCase(title, text) != nullptr) return windows[n];
    }
    return 0;
}
