// Kelmor.exe: the program on Windows. Given a recording file (with /SPEED, /CONTINUOUS,
// /REPEATS), or started as an executable recording, it plays the recording hidden and
// exits; started without one, it opens its window. Everything but the entry is the code
// the Linux program runs.
#include "platform/win32/windows_api.h"

#include "app/program_state.h"
#include "app/startup.h"
#include "platform/headless/headless_shell.h"
#include "programs/kelmor/face.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The system hands the command line over whole, the program's own name first.
    const char* arguments = CommandLineArguments(GetCommandLineA());
    ResetProgramState();
    if (DetectProgramRunMode(arguments[0] != '\0') == RUN_INTERACTIVE) return RunMainWindow();
    // Room for the longest command line the system passes, so a name too long for the
    // program is refused as such rather than cut to another file's name.
    static char fileName[32768];
    const char* options = SplitCommandLine(arguments, fileName, sizeof fileName);
    if (!PrepareProgram()) return EXIT_CODE_FAILED;
    ApplyCommandLineOptions(options);
    HeadlessShellSetDispatcher(SendCommand);
    return StartHiddenPlayback(arguments, fileName) ? HeadlessRunMessageLoop() : gnExitCode;
}
