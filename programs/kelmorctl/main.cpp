// kelmorctl: the program's core for scripts and terminals. It never waits on a dialog:
// the console shell prints every message box as one line on standard error.
#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program_state.h"
#include "host/mappings.h"
#include "platform/console/terminal_text.h"
#include "platform/headless/headless_shell.h"
#include "programs/kelmorctl/subcommands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "ui/version.h"

namespace {

const Subcommand kSubcommands[] = {
    {"info", "FILE", "Load a recording and print its number of events and script commands", 1, 1, nullptr, RunInfo},
    {"convert", "IN OUT",
     "Load IN and save it as OUT: binary when OUT contains .klr, text otherwise (.klr is added when OUT has no dot)", 2,
     2, nullptr, RunConvert},
    {"record", "FILE",
     "Record the desktop's keys and mouse until the stop key or the time is up, then save FILE as convert does "
     "(Ctrl+Esc cancels)",
     1, 1, kRecordOptions, RunRecord},
    {"exe", "IN OUT",
     "Load IN and make OUT (its extension replaced by .exe) a copy of the kelmor program beside kelmorctl that plays "
     "it",
     2, 2, nullptr, RunExe},
    {"play", "FILE", "Play FILE into the focused program, as kelmor FILE does; 0 once it played through", 1, 1,
     kPlayOptions, RunPlay},
    {"backup", "PART FILE",
     "Write settings to FILE as a REGEDIT4 registry script, as the window's Backup commands do; PART is all, basic, "
     "mappings or shorttypes",
     2, 2, nullptr, RunBackup},
    {"restore", "FILE",
     "Restore the settings, Mappings and ShortTypes of a REGEDIT4 backup into the settings store (the Kelmor window "
     "must be closed)",
     1, 1, nullptr, RunRestore},
    {"keys", "", "Print the key names --stop-key takes, one per line", 0, 0, nullptr, RunKeys},
};

#ifdef _WIN32
// Ctrl+C and Ctrl+Break end a run as a failure; the system has no signals to report.
const char kClosingHelp[] =
    "Message boxes are printed on standard error as \"Caption: text\".\n"
    "Exit status: 0 on success, 1 on any failure or when Ctrl+C ended it.";
#else
const char kClosingHelp[] =
    "Message boxes are printed on standard error as \"Caption: text\".\n"
    "Exit status: 0 on success, 1 on any failure, 128 + N when signal N ended it.";
#endif

bool gShowVersion = false;

bool TakeVersion(const char*, const char*, std::string*) {
    gShowVersion = true;
    return true;
}

const CommandOption kMainOptions[] = {
    {"version", 'V', nullptr, "Print the version and exit", TakeVersion},
    {},
};
const CommandOption kNoOptions[] = {{}};

const Subcommand* FindSubcommand(const char* name) {
    for (const Subcommand& command : kSubcommands) {
        if (strcmp(command.name, name) == 0) return &command;
    }
    return nullptr;
}

std::string CommandList() {
    std::string text = "Commands:";
    for (const Subcommand& command : kSubcommands) {
        char line[512];
        const std::string usage = std::string(command.name) + " " + command.arguments;
        snprintf(line, sizeof line, "\n  %-18s %s", usage.c_str(), command.summary);
        text += line;
    }
    return text + "\n\nRun \"kelmorctl COMMAND --help\" for the options of one command.";
}

// Parses the subcommand's own options out of argv (argv[0] is its name); false after
// saying why when they or the number of arguments are wrong. *status is then the exit
// status: 0 when the command's help was asked for and printed.
bool ParseSubcommand(const Subcommand& command, int* argc, char** argv, int* status) {
    const CommandOption* options = command.options != nullptr ? command.options : kNoOptions;
    std::string error;
    *status = 1;
    switch (ParseOptions(options, false, argc, argv, &error)) {
        case OPTIONS_HELP: {
            const std::string usage = std::string(command.name) + " [OPTION...] " + command.arguments;
            fputs(OptionsHelpText("kelmorctl", {usage.c_str(), command.summary, nullptr}, options).c_str(), stdout);
            *status = 0;
            return false;
        }
        case OPTIONS_FAILED:
            fprintf(stderr, "kelmorctl %s: %s\n", command.name, TerminalText(error.c_str()).c_str());
            return false;
        case OPTIONS_PARSED:
            break;
    }
    if (*argc - 1 < command.minArguments || *argc - 1 > command.maxArguments) {
        fprintf(stderr, "kelmorctl: usage: kelmorctl %s %s\n", command.name, command.arguments);
        return false;
    }
    return true;
}

// Every writer of standard output ends here, the help included: output that was not all
// written makes the run a failure.
void CheckStandardOutput() {
    errno = 0;
    if (fflush(stdout) == 0 && !ferror(stdout)) return;
    const int error = errno;
    fprintf(stderr, "kelmorctl: cannot write standard output%s%s\n", error != 0 ? ": " : "",
            error != 0 ? strerror(error) : "");
    std::_Exit(1);
}

}  // namespace

bool SetCurrentFileFromArgument(const char* name) {
    if (strlen(name) >= MAX_PATH) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", MAX_PATH - 1,
                TerminalText(name).c_str());
        return false;
    }
    memcpy(gRecording.gszFile, name, strlen(name) + 1);
    return true;
}

int main(int argc, char** argv) {
    setlocale(LC_CTYPE, "");  // help text in the terminal's character set
    HeadlessSetProgramName("kelmorctl");
    atexit(CheckStandardOutput);
    std::string error;
    // Everything from the command name on belongs to the command.
    switch (ParseOptions(kMainOptions, true, &argc, argv, &error)) {
        case OPTIONS_HELP: {
            const std::string commands = CommandList();
            fputs(OptionsHelpText("kelmorctl",
                                  {"[OPTION...] COMMAND [ARGUMENT...]", commands.c_str(),
                                   kClosingHelp},
                                  kMainOptions)
                      .c_str(),
                  stdout);
            return 0;
        }
        case OPTIONS_FAILED:
            fprintf(stderr, "kelmorctl: %s\n", TerminalText(error.c_str()).c_str());
            return 1;
        case OPTIONS_PARSED:
            break;
    }
    if (gShowVersion) {
        printf("kelmorctl " KELMOR_VERSION_TEXT "\n");
        return 0;
    }
    if (argc < 2) {
        fprintf(stderr, "kelmorctl: no command given (see kelmorctl --help)\n");
        return 1;
    }
    const Subcommand* command = FindSubcommand(argv[1]);
    if (command == nullptr) {
        fprintf(stderr, "kelmorctl: unknown command '%s' (see kelmorctl --help)\n", TerminalText(argv[1]).c_str());
        return 1;
    }
    int commandArgc = argc - 1;
    char** commandArgv = argv + 1;
    int parseStatus = 1;
    if (!ParseSubcommand(*command, &commandArgc, commandArgv, &parseStatus)) return parseStatus;

    ResetProgramState();
    if (!AllocateRecordingStore()) return 1;
    LoadSettings();
    ReadMappings();
    int status = command->run(commandArgc - 1, commandArgv + 1);
    FreeRecordingStore();
    return status;
}
