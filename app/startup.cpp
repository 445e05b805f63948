#include "app/startup.h"

#include <cstring>

#include "app/exit_step.h"
#include "app/tray.h"
#include "app/tool_commands.h"
#include "app/window_options.h"
#include "host/mappings.h"
#include "host/service_control.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/loop.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/window.h"
#include "player/playback_control.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "script/random.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "ui/command_ids.h"
#include "ui/commands.h"
#include "ui/message_box.h"
#include "ui/run_mode.h"

namespace {

const int kMaxValueDigits = 32;

const char* const kOptions[] = {"/SPEED", "/CONTINUOUS", "/REPEATS"};

const char kMainWindowClass[] = "Kelmor";
const int32_t kNeverPlaced = -99;
// A frame may stick out a little past the left or top edge.
const int32_t kOffScreen = -4;
const int kMaxTopLevelWindows = 512;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Another copy's main window, by its class. A hidden one must carry the main window's
// title as well: the toolkit keeps hidden helper windows of the program's class.
bool IsRunningCopy(HWND32 window, bool hidden) {
    char className[16];
    if (SysIsOwnWindow(window) || SysGetWindowClass(window, className, sizeof className) == 0 ||
        strcmp(className, kMainWindowClass) != 0) {
        return false;
    }
    if (!hidden) return true;
    // "Kelmor", or "Kelmor - file" cut after the blank.
    char title[sizeof kMainWindowClass + 1];
    SysGetWindowText(window, title, sizeof title);
    return strcmp(title, kMainWindowClass) == 0 || strcmp(title, "Kelmor ") == 0;
}

}  // namespace

int32_t GetCommandLineValue(const char* commandLine, const char* option) {
    if (commandLine == nullptr || option == nullptr) return 0;
    const char* p = FindNoCase(commandLine, option);
    if (p == nullptr) return 0;
    p += strlen(option);
    while (IsBlank(*p) || *p == '=' || *p == '"') ++p;
    int64_t value = 0;
    for (int digits = 0; digits < kMaxValueDigits && IsDigit(*p); ++digits, ++p) {
        // Thirty-two digits do not fit any integer; a huge number stays huge rather than
        // wrapping round to a small, valid-looking one.
        if (value <= INT32_MAX) value = value * 10 + (*p - '0');
    }
    return value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

void ApplyCommandLineOptions(const char* options) {
    if (options == nullptr) return;
    if (strchr(options, '/') == nullptr && strchr(options, '-') == nullptr) return;
    if (FindNoCase(options, "/SPEED") != nullptr) {
        const int32_t speed = GetCommandLineValue(options, "/SPEED");
        gSettings.gbSpeed = static_cast<uint8_t>(speed >= 1 && speed <= 4 ? speed : 2);
    }
    if (FindNoCase(options, "/CONTINUOUS") != nullptr) {
        gSettings.gbContinuous = GetCommandLineValue(options, "/CONTINUOUS") != 0 ? 1 : 0;
    }
    if (FindNoCase(options, "/REPEATS") != nullptr) {
        const int32_t repeats = GetCommandLineValue(options, "/REPEATS");
        gSettings.gnRepeats = repeats >= 1 && repeats <= MAX_REPEATS ? repeats : 1;
    }
}

const char* CommandLineArguments(const char* commandLine) {
    if (commandLine == nullptr) return "";
    const char* p = commandLine;
    if (*p == '"') {
        // A quoted name may hold blanks; the system's own reading ends it at the next quote.
        const char* end = strchr(p + 1, '"');
        p = end != nullptr ? end + 1 : p + strlen(p);
    } else {
        while (*p != '\0' && !IsBlank(*p)) ++p;
    }
    while (IsBlank(*p)) ++p;
    return p;
}

const char* SplitCommandLine(const char* arguments, char* fileName, size_t size) {
    const char* options = strchr(arguments, '/');
    if (options == nullptr) options = arguments + strlen(arguments);
    size_t length = 0;
    for (const char* p = arguments; p < options && length + 1 < size; ++p) {
        if (*p != '"') fileName[length++] = *p;
    }
    while (length > 0 && IsBlank(fileName[length - 1])) --length;
    if (size > 0) fileName[length] = '\0';
    return options;
}

bool IsCommandLineOption(const char* argument) {
    if (argument == nullptr) return false;
    for (const char* option : kOptions) {
        if (FindNoCase(argument, option) != argument) continue;
        // "/SPEED=4", "/SPEED 4", "/SPEED": an option; "/speedtests/a.klx": a file.
        const char next = argument[strlen(option)];
        if (next == '\0' || next == '=' || next == '"' || IsBlank(next) || IsDigit(next)) return true;
    }
    return false;
}

int DetectRunMode(const char* ownPath, bool hasArguments) {
    gRecording.gszFile[0] = '\0';
    if (ownPath != nullptr && ownPath[0] != '\0' && GetFileSize32(ownPath) > EMBEDDED_RECORDING_OFFSET &&
        strlen(ownPath) < sizeof gRecording.gszFile) {
        strcpy(gRecording.gszFile, ownPath);
        gRun.gnRunMode = RUN_EXECUTABLE;
    } else {
        gRun.gnRunMode = hasArguments ? RUN_COMMAND_LINE : RUN_INTERACTIVE;
    }
    return gRun.gnRunMode;
}

int DetectProgramRunMode(bool hasArguments) {
    char ownPath[MAX_PATH];
    if (SysGetModuleFileName(ownPath, sizeof ownPath) <= 0) ownPath[0] = '\0';
    return DetectRunMode(ownPath, hasArguments);
}

void SetStartingState() {
    SeedRandom(SysGetTickCount());
    SysSetJournalCancelHandler(OnJournalCancelMessage);
    ShellSetEndSessionHandler(OnEndSession);
}

bool PrepareProgram() {
    if (!AllocateRecordingStore()) return false;
    SetStartingState();
    // Held from before the settings are read until they are written back at exit, so that
    // no restore goes in between to be overwritten. Without it the window still runs.
    if (gRun.gnRunMode == RUN_INTERACTIVE) StoreHoldForWindow();
    LoadSettings();
    // REPLACE Mappings and the Mapping stop key act in every run mode, not only where
    // the keyboard service runs.
    ReadMappings();
    if (gRun.gnRunMode == RUN_INTERACTIVE) LoadKeyboardService();
    StartLogSession();
    return true;
}

bool StartHiddenPlayback(const char* commandLine, const char* fileName) {
    if (commandLine != nullptr && commandLine[0] != '\0') LogAt(LOG_HIGH, "Command Line: [%s]", commandLine);
    if (fileName != nullptr && fileName[0] != '\0') {
        if (strlen(fileName) >= sizeof gRecording.gszFile) {
            // Cutting the name would load some other file, or none.
            KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "The file name is longer than %d characters:\n\n%.300s",
                              static_cast<int>(sizeof gRecording.gszFile) - 1, fileName);
            gRun.gnExitCode = EXIT_CODE_FAILED;
            return false;
        }
        strcpy(gRecording.gszFile, fileName);
    }
    if (LoadRecording(gRecording.gszFile) < 0) {
        gRun.gnExitCode = EXIT_CODE_FAILED;
        return false;
    }
    const uint8_t released[256] = {};
    SysSetKeyboardState(released);
    gRecording.nCompletedPasses = 0;
    PostCommand(ID_PLAY);
    return true;
}

HWND32 FindRunningCopy(bool* hidden) {
    HWND32 windows[kMaxTopLevelWindows];
    // A copy in the tray has hidden its window; it is looked for once the shown ones are.
    for (int pass = 0; pass < 2; ++pass) {
        *hidden = pass == 1;
        const int count = *hidden ? SysEnumHiddenTopLevelWindows(windows, kMaxTopLevelWindows)
                                  : SysEnumTopLevelWindows(windows, kMaxTopLevelWindows);
        for (int i = 0; i < count; ++i) {
            if (IsRunningCopy(windows[i], *hidden)) return windows[i];
        }
    }
    return 0;
}

bool BringRunningCopyForward() {
    bool hidden = false;
    const HWND32 window = FindRunningCopy(&hidden);
    if (window == 0) return false;
    SysShowWindow(window, !hidden && SysIsWindowMinimized(window) ? SW_RESTORE : SW_SHOWNORMAL);
    SysActivateWindow(window);
    return true;
}

void ShowInteractiveWindow() {
    // Never saved (-99) or saved on a screen that is gone: the window manager places it.
    gSettings.gnWindowLeft = static_cast<int32_t>(ReadSettingDword("Left", static_cast<uint32_t>(kNeverPlaced)));
    gSettings.gnWindowTop = static_cast<int32_t>(ReadSettingDword("Top", 0));
    int32_t width = 0;
    int32_t height = 0;
    if (gSettings.gnWindowLeft >= kOffScreen && gSettings.gnWindowTop >= kOffScreen &&
        SysGetScreenSize(&width, &height) && gSettings.gnWindowLeft < width && gSettings.gnWindowTop < height) {
        ShellMoveMainWindow(gSettings.gnWindowLeft, gSettings.gnWindowTop);
    }
    SetUpMainWindow();
    ShowWindowOrTrayIcon();
    if (gSettings.gbTopmost != 0) SetAlwaysOnTop(true);
    FitMainWindow();
    ReloadLastFile();
}

void OnJournalCancelMessage() {
    if (gPlayer.ghJournalHook != 0) OnCancelJournal();
}
