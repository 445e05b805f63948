// Kelmor.exe: the program on Windows. Given a recording file (with /SPEED, /CONTINUOUS,
// /REPEATS), or started as an executable recording, it plays the recording hidden and
// exits; started without one, it opens its window. Everything but the entry is the code
// the Linux program runs.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "app/program_state.h"
#include "app/startup.h"
#include "platform/headless/headless_shell.h"
#include "programs/face/face.h"
#include "ui/commands.h"
#include "ui/run_mode.h"
#include "ui/version.h"

namespace {

const char kUsage[] =
    "Kelmor.exe FILE [/SPEED=1-4] [/REPEATS=n] [/CONTINUOUS=1]\n\n"
    "Plays the recording FILE (.klr or .klx) into the focused program and exits: 0 once it played through, "
    "non-zero when it failed or was cancelled. Ctrl+Esc cancels.\n\n"
    "/SPEED=1-4\t1 Slow, 2 Normal, 3 Fast, 4 As Fast As Possible\n"
    "/REPEATS=n\tplay n times\n"
    "/CONTINUOUS=1\tplay again and again until Ctrl+Esc\n\n"
    "Started without FILE, Kelmor.exe opens its window. kelmorctl.exe plays, records and converts recordings "
    "from the command prompt and scripts.";

// The first words a person tries, alone on the command line: a GUI program has no
// console to print on, so the usage comes in a box.
bool AsksForHelp(const char* arguments) {
    static const char* const kWords[] = {"/?", "-h", "--help"};
    for (const char* word : kWords) {
        const size_t length = strlen(word);
        if (strncmp(arguments, word, length) == 0 &&
            (arguments[length] == '\0' || arguments[length] == ' ' || arguments[length] == '\t')) {
            return true;
        }
    }
    return false;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The system hands the command line over whole, the program's own name first.
    const char* arguments = CommandLineArguments(GetCommandLineA());
    if (AsksForHelp(arguments)) {
        MessageBoxA(nullptr, kUsage, "Kelmor " KELMOR_VERSION_TEXT " Command Line", MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    ResetProgramState();
    if (DetectProgramRunMode(arguments[0] != '\0') == RUN_INTERACTIVE) return RunMainWindow();
    // Room for the longest command line the system passes, so a name too long for the
    // program is refused as such rather than cut to another file's name.
    static char fileName[32768];
    const char* options = SplitCommandLine(arguments, fileName, sizeof fileName);
    if (!PrepareProgram()) return EXIT_CODE_FAILED;
    ApplyCommandLineOptions(options);
    HeadlessShellSetDispatcher(SendCommand);
    return StartHiddenPlayback(arguments, fileName) ? HeadlessRunMessageLoop() : gRun.gnExitCode;
}
