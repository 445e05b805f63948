// kelmor: the program. Given a recording file (with /SPEED, /CONTINUOUS, /REPEATS), or
// started as an executable recording, it plays the recording hidden and exits; its
// message boxes are dialogs on the display the playback runs on.
#include <glib.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/program_state.h"
#include "app/startup.h"
#include "platform/headless/headless_shell.h"
#include "programs/face/face.h"
#include "ui/commands.h"
#include "ui/run_mode.h"
#include "ui/version.h"

namespace {

const int kUsageExit = 2;
const char kUsage[] = "usage: kelmor FILE [/SPEED=1-4] [/REPEATS=n] [/CONTINUOUS=1]\n";
const char kHelp[] =
    "Plays the recording FILE (.klr or .klx) into the focused program and exits: 0 once it\n"
    "played through, non-zero when it failed or was cancelled. Ctrl+Esc cancels; on Wayland,\n"
    "which shows no program the keys of others, Ctrl+C or SIGTERM does.\n"
    "  /SPEED=1-4      1 Slow, 2 Normal, 3 Fast, 4 As Fast As Possible\n"
    "  /REPEATS=n      play n times\n"
    "  /CONTINUOUS=1   play again and again until Ctrl+Esc\n"
    "Started without FILE, kelmor opens its window.\n"
    "kelmorctl plays, records and converts recordings from terminals and scripts.\n";

// Writes text on standard output for --help and --version; the status to exit with.
int PrintOnStandardOutput(const char* text) {
    errno = 0;
    if (fputs(text, stdout) >= 0 && fflush(stdout) == 0) return 0;
    fprintf(stderr, "kelmor: cannot write standard output: %s\n", strerror(errno != 0 ? errno : EIO));
    return 1;
}

// Answers --help, -h and --version, and refuses other options of that form; -1 when the
// first argument is none of them. Needs no display: it is what a new user tries first.
int AnswerOption(const char* argument) {
    if (strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0) {
        GString* text = g_string_new(kUsage);
        g_string_append(text, kHelp);
        g_string_append(text, "kelmor " KELMOR_VERSION_TEXT "\n");
        const int status = PrintOnStandardOutput(text->str);
        g_string_free(text, TRUE);
        return status;
    }
    if (strcmp(argument, "--version") == 0) return PrintOnStandardOutput("kelmor " KELMOR_VERSION_TEXT "\n");
    // A file whose name begins with "--" is still reachable as ./--name.
    if (strncmp(argument, "--", 2) == 0) {
        fprintf(stderr, "kelmor: unknown option '%s' (see kelmor --help)\n", argument);
        return kUsageExit;
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    g_set_prgname("kelmor");
    if (argc > 1) {
        const int status = AnswerOption(argv[1]);
        if (status >= 0) return status;
    }
    ResetProgramState();
    if (DetectProgramRunMode(argc > 1) == RUN_INTERACTIVE) {
        // The window's libraries take longer to load than looking for a running copy and
        // reading the settings: the two go on side by side.
        StartLoadingFace();
        const int status = RunMainWindow();
        FinishLoadingFace();
        return status;
    }
    // The shell has already split the command line and removed its quotes: the first
    // word is the file (an absolute path begins with '/' like the options do), the rest
    // hold the options.
    const char* fileName = "";
    int firstOption = 1;
    if (argc > 1 && !IsCommandLineOption(argv[1])) {
        fileName = argv[1];
        firstOption = 2;
    }
    GString* options = g_string_new(nullptr);
    for (int i = firstOption; i < argc; ++i) {
        if (options->len > 0) g_string_append_c(options, ' ');
        g_string_append(options, argv[i]);
    }
    GString* commandLine = g_string_new(fileName);
    if (commandLine->len > 0 && options->len > 0) g_string_append_c(commandLine, ' ');
    g_string_append(commandLine, options->str);

    int status = gRun.gnExitCode;
    if (!PrepareProgram()) {
        status = EXIT_CODE_FAILED;
    } else {
        ApplyCommandLineOptions(options->str);
        HeadlessShellSetDispatcher(SendCommand);
        status = StartHiddenPlayback(commandLine->str, fileName) ? HeadlessRunMessageLoop() : gRun.gnExitCode;
    }
    g_string_free(options, TRUE);
    g_string_free(commandLine, TRUE);
    return status;
}
