// play: the hidden playback of the kelmor program, with the options as flags. Values out
// of range are refused with a message rather than quietly replaced, since a script that
// asks for --speed 7 has a mistake its author wants to hear about.
#include <glib.h>

#include "app/exit_step.h"
#include "app/startup.h"
#include "platform/headless/headless_shell.h"
#include "programs/kelmorctl/subcommands.h"
#include "settings/settings.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

namespace {


int gPlaySpeed = 0;       // 0: the setting's
int32_t gPlayRepeats = 0;  // 0: the setting's
gboolean gPlayContinuous = FALSE;

gboolean TakeSpeed(const gchar* optionName, const gchar* value, gpointer, GError** error) {
    gint64 speed = 0;
    if (!ParseNumberOption(optionName, value, 1, 4, &speed, error)) return FALSE;
    gPlaySpeed = static_cast<int>(speed);
    return TRUE;
}

gboolean TakeRepeats(const gchar* optionName, const gchar* value, gpointer, GError** error) {
    gint64 repeats = 0;
    if (!ParseNumberOption(optionName, value, 1, MAX_REPEATS, &repeats, error)) return FALSE;
    gPlayRepeats = static_cast<int32_t>(repeats);
    return TRUE;
}

}  // namespace

const GOptionEntry kPlayOptions[] = {
    {"speed", 's', 0, G_OPTION_ARG_CALLBACK, reinterpret_cast<gpointer>(TakeSpeed),
     "1 Slow, 2 Normal, 3 Fast, 4 As Fast As Possible (default: the saved setting)", "1-4"},
    {"repeats", 'r', 0, G_OPTION_ARG_CALLBACK, reinterpret_cast<gpointer>(TakeRepeats),
     "Play N times, 1 to 2000000000 (default: the saved setting)", "N"},
    {"continuous", 'c', 0, G_OPTION_ARG_NONE, &gPlayContinuous, "Play again and again until Ctrl+Esc", nullptr},
    {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
};

int RunPlay(int, char** argv) {
    SetStartingState();
    gnRunMode = RUN_COMMAND_LINE;
    StartLogSession();
    // Over the saved settings, for this run only: nothing is saved after a hidden playback.
    GString* commandLine = g_string_new(argv[0]);
    if (gPlaySpeed != 0) {
        gbSpeed = static_cast<uint8_t>(gPlaySpeed);
        g_string_append_printf(commandLine, " --speed %d", gPlaySpeed);
    }
    if (gPlayRepeats != 0) {
        gnRepeats = gPlayRepeats;
        g_string_append_printf(commandLine, " --repeats %d", static_cast<int>(gPlayRepeats));
    }
    if (gPlayContinuous) {
        gbContinuous = 1;
        g_string_append(commandLine, " --continuous");
    }
    HeadlessShellSetDispatcher(SendCommand);
    const bool started = StartHiddenPlayback(commandLine->str, argv[0]);
    g_string_free(commandLine, TRUE);
    // Nobody is asked here, and half a run of someone's work is not what they recorded:
    // the Playback posted above never runs.
    if (started && RefuseCutRecording("play", "nothing played")) return 1;
    return started ? HeadlessRunMessageLoop() : gnExitCode;
}
