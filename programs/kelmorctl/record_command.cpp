// record: the program's recorder run from a terminal, saved as convert saves. The
// recording ends at the stop key (pressed anywhere on the desktop) or when its time is
// up; Ctrl+Esc cancels it and nothing is written.
#include <glib.h>

#include <cstdio>

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
const gint64 kMaxSeconds = 2000000;
// How often the loop looks whether the recorder has stopped. The stop key ends the
// recording from inside the record hook, where nothing may quit the loop yet.
const guint kWatchInterval = 50;

gchar* gStopKeyName = nullptr;
gint64 gSeconds = 0;
bool gCancelled = false;

gboolean TakeSeconds(const gchar* optionName, const gchar* value, gpointer, GError** error) {
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

gboolean StopWhenTimeIsUp(gpointer) {
    if (ghJournalHook != 0 && !gbPlayingNow) SendCommand(ID_STOP_RECORDING);
    return G_SOURCE_REMOVE;
}

gboolean QuitWhenStopped(gpointer) {
    if (ghJournalHook != 0) return G_SOURCE_CONTINUE;
    ShellQuitMessageLoop(gCancelled ? 1 : 0);
    return G_SOURCE_REMOVE;
}

// Whether the recording can be saved as name once it is done; says why not.
bool CanSaveTo(const char* name) {
    if (SysGetFileKind(name) == SYS_FILE_FOLDER) {
        fprintf(stderr, "kelmorctl record: cannot save to %s: it is a folder\n", name);
        return false;
    }
    gchar* folder = g_path_get_dirname(name);
    const bool ok = SysCanCreateFilesIn(folder);
    if (!ok) {
        char reason[256];
        if (!SysFormatError(SysGetLastError(), reason, sizeof reason)) g_strlcpy(reason, "unknown error", sizeof reason);
        fprintf(stderr, "kelmorctl record: cannot save in %s: %s\n", folder, reason);
    }
    g_free(folder);
    return ok;
}

}  // namespace

const GOptionEntry kRecordOptions[] = {
    {"stop-key", 'k', 0, G_OPTION_ARG_STRING, &gStopKeyName,
     "Stop at this key, named as in the Mapping editor (Pause, F12, ScrollLock...), not at the Stop Recording "
     "Mapping's key; it is not recorded",
     "NAME"},
    {"seconds", 't', 0, G_OPTION_ARG_CALLBACK, reinterpret_cast<gpointer>(TakeSeconds),
     "Stop after N seconds, 1 to 2000000", "N"},
    {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
};

int RunRecord(int, char** argv) {
    if (gStopKeyName == nullptr && gSeconds == 0 && gbStopRecordingKey == 0) {
        fprintf(stderr, "kelmorctl record: give --stop-key or --seconds (Ctrl+Esc only cancels)\n");
        return 1;
    }
    // The name is checked before anything is recorded, not after the work is done.
    char saveName[MAX_PATH];
    if (!SaveAsName(argv[0], saveName, MAX_PATH) || !CanSaveTo(saveName)) return 1;

    // Without --stop-key the stored Mapping's stop key, if any, ends the recording.
    int stopKey = gbStopRecordingKey;
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
    gbStopRecordingKey = static_cast<uint8_t>(stopKey);
    // A terminal tool ends when the recording does; the exit step is not its to run.
    gbQuitWhenDone = 0;

    StartLogSession();
    HeadlessShellSetDispatcher(SendCommand);
    SysSetJournalCancelHandler(OnCancelled);
    ShellSetEndSessionHandler(OnEnded);
    SendCommand(ID_START_RECORDING);
    if (ghJournalHook == 0) return 1;  // the recorder said why

    char keyName[64] = "";
    if (stopKey != 0) KeyCodeToName(stopKey, keyName, sizeof keyName);
    const char* unit = gSeconds == 1 ? "second" : "seconds";
    if (stopKey != 0 && gSeconds != 0) {
        fprintf(stderr, "kelmorctl: recording for %" G_GINT64_FORMAT " %s or until %s; Ctrl+Esc cancels\n", gSeconds,
                unit, keyName);
    } else if (stopKey != 0) {
        fprintf(stderr, "kelmorctl: recording until %s; Ctrl+Esc cancels\n", keyName);
    } else {
        fprintf(stderr, "kelmorctl: recording for %" G_GINT64_FORMAT " %s; Ctrl+Esc cancels\n", gSeconds, unit);
    }
    if (gSeconds != 0) g_timeout_add(static_cast<guint>(gSeconds * 1000), StopWhenTimeIsUp, nullptr);
    g_timeout_add(kWatchInterval, QuitWhenStopped, nullptr);
    const int status = HeadlessRunMessageLoop();
    if (gCancelled) {
        fprintf(stderr, "kelmorctl record: cancelled with Ctrl+Esc; nothing saved\n");
        return 1;
    }
    if (status != 0) return status;
    if (!CheckHasActions("Save Error") || !SaveRecordingToFile(saveName)) return 1;
    printf("%d events saved to %s\n", static_cast<int>(nEventCount), TerminalText(saveName).c_str());
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
