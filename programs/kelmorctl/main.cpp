// kelmorctl: the program's core for scripts and terminals. It never waits on a dialog:
// the console shell prints every message box as one line on standard error.
#include <glib.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/program_state.h"
#include "host/mappings.h"
#include "platform/console/terminal_text.h"
#include "programs/kelmorctl/subcommands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/settings.h"
#include "ui/version.h"

namespace {

const Subcommand kSubcommands[] = {
    {"info", "FILE", "Load a recording and print its number of events and script commands", 1, 1, nullptr, RunInfo},
    {"convert", "IN OUT",
     "Load IN and save it as OUT: binary when OUT contains .klr, text otherwise (.klr is added when OUT has no dot)",
     2, 2, nullptr, RunConvert},
    {"record", "FILE",
     "Record the desktop's keys and mouse until the stop key or the time is up, then save FILE as convert does "
     "(Ctrl+Esc cancels)",
     1, 1, kRecordOptions, RunRecord},
    {"exe", "IN OUT",
     "Load IN and make OUT (its extension replaced by .exe) a copy of the kelmor program beside kelmorctl that plays it",
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

gboolean gShowVersion = FALSE;
const GOptionEntry kMainOptions[] = {
    {"version", 'V', 0, G_OPTION_ARG_NONE, &gShowVersion, "Print the version and exit", nullptr},
    {},
};

const Subcommand* FindSubcommand(const char* name) {
    for (const Subcommand& command : kSubcommands) {
        if (strcmp(command.name, name) == 0) return &command;
    }
    return nullptr;
}

gchar* CommandList() {
    GString* text = g_string_new("Commands:");
    for (const Subcommand& command : kSubcommands) {
        gchar* usage = g_strdup_printf("%s %s", command.name, command.arguments);
        g_string_append_printf(text, "\n  %-18s %s", usage, command.summary);
        g_free(usage);
    }
    g_string_append(text, "\n\nRun \"kelmorctl COMMAND --help\" for the options of one command.");
    return g_string_free(text, FALSE);
}

// Parses the subcommand's own options out of argv (argv[0] is its name); false after
// saying why when they or the number of arguments are wrong.
bool ParseSubcommand(const Subcommand& command, int* argc, char*** argv) {
    gchar* parameters = g_strdup_printf("%s %s", command.name, command.arguments);
    GOptionContext* context = g_option_context_new(parameters);
    g_free(parameters);
    g_option_context_set_summary(context, command.summary);
    if (command.options != nullptr) g_option_context_add_main_entries(context, command.options, nullptr);
    GError* error = nullptr;
    bool ok = g_option_context_parse(context, argc, argv, &error);
    if (!ok) {
        fprintf(stderr, "kelmorctl %s: %s\n", command.name, TerminalText(error->message).c_str());
        g_error_free(error);
    } else if (*argc - 1 < command.minArguments || *argc - 1 > command.maxArguments) {
        fprintf(stderr, "kelmorctl: usage: kelmorctl %s %s\n", command.name, command.arguments);
        ok = false;
    }
    g_option_context_free(context);
    return ok;
}

// Every writer of standard output ends here, the help that GLib prints before it exits
// included: output that was not all written makes the run a failure.
void CheckStandardOutput() {
    errno = 0;
    if (fflush(stdout) == 0 && !ferror(stdout)) return;
    const int error = errno;
    fprintf(stderr, "kelmorctl: cannot write standard output%s%s\n", error != 0 ? ": " : "",
            error != 0 ? g_strerror(error) : "");
    std::_Exit(1);
}

}  // namespace

bool ParseNumberOption(const gchar* optionName, const gchar* value, gint64 minimum, gint64 maximum, gint64* out,
                       GError** error) {
    gchar* end = nullptr;
    errno = 0;
    const gint64 number = g_ascii_strtoll(value, &end, 10);
    if (value[0] == '\0' || *end != '\0' || errno != 0 || number < minimum || number > maximum) {
        g_set_error(error, G_OPTION_ERROR, G_OPTION_ERROR_BAD_VALUE,
                    "%s takes a number from %" G_GINT64_FORMAT " to %" G_GINT64_FORMAT ", not '%s'", optionName,
                    minimum, maximum, value);
        return false;
    }
    *out = number;
    return true;
}

bool SetCurrentFileFromArgument(const char* name) {
    if (strlen(name) >= MAX_PATH) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", MAX_PATH - 1,
                TerminalText(name).c_str());
        return false;
    }
    g_strlcpy(gszFile, name, MAX_PATH);
    return true;
}

int main(int argc, char** argv) {
    setlocale(LC_CTYPE, "");  // help text in the terminal's character set
    g_set_prgname("kelmorctl");
    atexit(CheckStandardOutput);
    GOptionContext* context = g_option_context_new("COMMAND [ARGUMENT...]");
    // Everything from the command name on belongs to the command.
    g_option_context_set_strict_posix(context, TRUE);
    gchar* commands = CommandList();
    g_option_context_set_summary(context, commands);
    g_free(commands);
    g_option_context_set_description(context,
                                     "Message boxes are printed on standard error as \"Caption: text\".\n"
                                     "Exit status: 0 on success, 1 on any failure, 128 + N when signal N ended it.");
    g_option_context_add_main_entries(context, kMainOptions, nullptr);
    GError* error = nullptr;
    bool parsed = g_option_context_parse(context, &argc, &argv, &error);
    g_option_context_free(context);
    if (!parsed) {
        fprintf(stderr, "kelmorctl: %s\n", TerminalText(error->message).c_str());
        g_error_free(error);
        return 1;
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
    if (!ParseSubcommand(*command, &commandArgc, &commandArgv)) return 1;

    ResetProgramState();
    if (!AllocateRecordingStore()) return 1;
    LoadSettings();
    ReadMappings();
    int status = command->run(commandArgc - 1, commandArgv + 1);
    FreeRecordingStore();
    return status;
}
