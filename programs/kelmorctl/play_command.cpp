// play: the hidden playback of the kelmor program, with the options as flags. Values out
// of range are refused with a message rather than quietly replaced, since a script that
// asks for --speed 7 has a mistake its author wants to hear about.
#include <string>

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
bool gPlayContinuous = false;

bool TakeSpeed(const char* optionName, const char* value, std::string* error) {
    int64_t speed = 0;
    if (!ParseNumberOption(optionName, value, 1, 4, &speed, error)) return false;
    gPlaySpeed = static_cast<int>(speed);
    return true;
}

bool TakeRepeats(const char* optionName, const char* value, std::string* error) {
    int64_t repeats = 0;
    if (!ParseNumberOption(optionName, value, 1, MAX_REPEATS, &repeats, error)) return false;
    gPlayRepeats = static_cast<int32_t>(repeats);
    return true;
}

bool TakeContinuous(const char*, const char*, std::string*) {
    gPlayContinuous = true;
    return true;
}

}  // namespace

const CommandOption kPlayOptions[] = {
    {"speed", 's', "1-4", "1 Slow, 2 Normal, 3 Fast, 4 As Fast As Possible (default: the saved setting)", TakeSpeed},
    {"repeats", 'r', "N", "Play N times, 1 to 2000000000 (default: the saved setting)", TakeRepeats},
    {"continuous", 'c', nullptr, "Play again and again until Ctrl+Esc (on Wayland: Ctrl+C or SIGTERM)",
     TakeContinuous},
    {},
};

int RunPlay(int, char** argv) {
    SetStartingState();
    gRun.gnRunMode = RUN_COMMAND_LINE;
    StartLogSession();
    // Over the saved settings, for this run only: nothing is saved after a hidden playback.
    std::string commandLine = argv[0];
    if (gPlaySpeed != 0) {
        gSettings.gbSpeed = static_cast<uint8_t>(gPlaySpeed);
        commandLine += " --speed " + std::to_string(gPlaySpeed);
    }
    if (gPlayRepeats != 0) {
        gSettings.gnRepeats = gPlayRepeats;
        commandLine += " --repeats " + std::to_string(gPlayRepeats);
    }
    if (gPlayContinuous) {
        gSettings.gbContinuous = 1;
        commandLine += " --continuous";
    }
    HeadlessShellSetDispatcher(SendCommand);
    const bool started = StartHiddenPlayback(commandLine.c_str(), argv[0]);
    // Nobody is asked here, and half a run of someone's work is not what they recorded:
    // the Playback posted above never runs.
    if (started && RefuseCutRecording("play", "nothing played")) return 1;
    return started ? HeadlessRunMessageLoop() : gRun.gnExitCode;
}
