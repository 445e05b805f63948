// record: the program's recorder run from a terminal, saved as convert saves. The
// recording ends at the stop key (pressed anywhere on the desktop) or when its time is
// up; Ctrl+Esc cancels it and nothing is written.
#include <cinttypes>
#include <cstdio>
#include <string>

#include "app/exit_step.h"
#include "host/mappings.h"
#include "platform/console/terminal_text.h"
#include "platform/file.h"
#include "platform/headless/headless_shell.h"
#include "platform/journal.h"
#include "platform/loop.h"
#include "platform/system.h"
#include "player/playback_control.h"
#include "programs/kelmorctl/subcommands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "script/key_names.h"
#include "settings/settings.h"
#include "ui/command_ids.h"
#include "ui/commands.h"

namespace {

// The longest run a timer in milliseconds can hold with room to spare.
const int64_t kMaxSeconds = 2000000;
// How often the loop looks whether the recorder has stopped. The stop key ends the
// recording from inside the record hook, where nothing may quit the loop yet.
const unsigned kWatchInterval = 50;
// The loop's timers of this command, clear of the program's own.
enum { TIME_UP_TIMER = 1801, WATCH_TIMER };

const char* gStopKeyName = nullptr;
int64_t gSeconds = 0;
bool gCancelled = false;

bool TakeStopKey(const char*, const char* value, std::string*) {
    gStopKeyName = value;
    return true;
}

bool TakeSeconds(const char* optionName, const char* value, std::string* error) {
    return ParseNumberOption(optionName, value, 1, kMaxSeconds, &gSeconds, error);
}

void OnCancelled() {
    gCancelled = true;
    OnCancelJournal();
}

void OnEnded() {
    fprintf(stderr, "kelmorctl record: ended by a signal; nothing saved\n");
    OnEndSession();
}

void StopWhenTimeIsUp(int id) {
    ShellKillTimer(id);
    if (gPlayer.ghJournalHook != 0 && !gPlayer.gbPlayingNow) SendCommand(ID_STOP_RECORDING);
}

void QuitWhenStopped(int id) {
    if (gPlayer.ghJournalHook != 0) return;
    ShellKillTimer(id);
    ShellQuitMessageLoop(gCancelled ? 1 : 0);
}

// Whether the recording can be saved as name once it is done; says why not.
bool CanSaveTo(const char* name) {
    if (SysGetFileKind(name) == SYS_FILE_FOLDER) {
        fprintf(stderr, "kelmorctl record: cannot save to %s: it is a folder\n", name);
        return false;
    }
    const std::string folder = FolderOfFile(name);
    const bool ok = SysCanCreateFilesIn(folder.c_str());
    if (!ok) {
        char reason[256];
        if (!SysFormatError(SysGetLastError(), reason, sizeof reason)) snprintf(reason, sizeof reason, "unknown error");
        fprintf(stderr, "kelmorctl record: cannot save in %s: %s\n", folder.c_str(), reason);
    }
    return ok;
}

}  // namespace

const CommandOption kRecordOptions[] = {
    {"stop-key", 'k', "NAME",
     "Stop at this key, named as in the Mapping editor (Pause, F12, ScrollLock...), not at the Stop Recording "
     "Mapping's key; it is not recorded",
     TakeStopKey},
    {"seconds", 't', "N", "Stop after N seconds, 1 to 2000000", TakeSeconds},
    {},
};

int RunRecord(int, char** argv) {
    if (gStopKeyName == nullptr && gSeconds == 0 && gMappings.gbStopRecordingKey == 0) {
        fprintf(stderr, "kelmorctl record: give --stop-key or --seconds (Ctrl+Esc only cancels)\n");
        return 1;
    }
    // The name is checked before anything is recorded, not after the work is done.
    char saveName[MAX_PATH];
    if (!SaveAsName(argv[0], saveName, MAX_PATH) || !CanSaveTo(saveName)) return 1;

    // Without --stop-key the stored Mapping's stop key, if any, ends the recording.
    int stopKey = gMappings.gbStopRecordingKey;
    if (gStopKeyName != nullptr) {
        // Only a whole name: the program's reading of key labels takes a text that merely
        // begins like one ("NoSuchKey") for some key, which would stop at a key never named.
        stopKey = KeyNameToCodeExact(gStopKeyName);
        if (stopKey <= 0 || stopKey > 255) {
            fprintf(stderr, "kelmorctl record: no key is named '%s'\n", TerminalText(gStopKeyName).c_str());
            return 1;
        }
    }
    // For this run only: kelmorctl never saves the settings.
    gMappings.gbStopRecordingKey = static_cast<uint8_t>(stopKey);
    // A terminal tool ends when the recording does; the exit step is not its to run.
    gSettings.gbQuitWhenDone = 0;

    StartLogSession();
    HeadlessShellSetDispatcher(SendCommand);
    SysSetJournalCancelHandler(OnCancelled);
    ShellSetEndSessionHandler(OnEnded);
    SendCommand(ID_START_RECORDING);
    if (gPlayer.ghJournalHook == 0) return 1;  // the recorder said why

    char keyName[64] = "";
    if (stopKey != 0) KeyCodeToName(stopKey, keyName, sizeof keyName);
    const char* unit = gSeconds == 1 ? "second" : "seconds";
    if (stopKey != 0 && gSeconds != 0) {
        fprintf(stderr, "kelmorctl: recording for %" PRId64 " %s or until %s; Ctrl+Esc cancels\n", gSeconds,
                unit, keyName);
    } else if (stopKey != 0) {
        fprintf(stderr, "kelmorctl: recording until %s; Ctrl+Esc cancels\n", keyName);
    } else {
        fprintf(stderr, "kelmorctl: recording for %" PRId64 " %s; Ctrl+Esc cancels\n", gSeconds, unit);
    }
    if (gSeconds != 0) ShellSetTimer(TIME_UP_TIMER, static_cast<unsigned>(gSeconds * 1000), StopWhenTimeIsUp);
    ShellSetTimer(WATCH_TIMER, kWatchInterval, QuitWhenStopped);
    const int status = HeadlessRunMessageLoop();
    if (gCancelled) {
        fprintf(stderr, "kelmorctl record: cancelled with Ctrl+Esc; nothing saved\n");
        return 1;
    }
    if (status != 0) return status;
    if (!CheckHasActions("Save Error") || !SaveRecordingToFile(saveName)) return 1;
    printf("%d events saved to %s\n", static_cast<int>(gRecording.nEventCount), TerminalText(saveName).c_str());
    return 0;
}

// The names --stop-key reads back to their own key, each once, for shell completion.
int RunKeys(int, char**) {
    for (int key = 1; key < 256; ++key) {
        char name[64];
        KeyCodeToName(key, name, sizeof name);
        if (name[0] != '\0' && KeyNameToCodeExact(name) == key) printf("%s\n", name);
    }
    return 0;
}
