// kelmor: the program. Given a recording file (with /SPEED, /CONTINUOUS, /REPEATS), or
// started as an executable recording, it plays the recording hidden and exits; its
// message boxes are dialogs on the display the playback runs on.
#include <glib.h>

#include <cstdio>

#include "platform/headless/headless_shell.h"
#include "ui/commands.h"
#include "ui/exit_step.h"
#include "ui/run_mode.h"
#include "ui/startup.h"

namespace {

const int kUsageExit = 2;

}  // namespace

int main(int argc, char** argv) {
    g_set_prgname("kelmor");
    if (DetectProgramRunMode(argc > 1) == RUN_INTERACTIVE) {
        // The main window comes later; until then the program only plays.
        fprintf(stderr, "usage: kelmor FILE [/SPEED=1-4] [/REPEATS=n] [/CONTINUOUS=1]\n");
        return kUsageExit;
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

    int status = gnExitCode;
    if (!PrepareProgram()) {
        status = EXIT_CODE_FAILED;
    } else {
        ApplyCommandLineOptions(options->str);
        HeadlessShellSetDispatcher(SendCommand);
        status = StartHiddenPlayback(commandLine->str, fileName) ? HeadlessRunMessageLoop() : gnExitCode;
    }
    g_string_free(options, TRUE);
    g_string_free(commandLine, TRUE);
    return status;
}
