// Kelmor.exe: the program on Windows. Given a recording file (with /SPEED, /CONTINUOUS,
// /REPEATS), or started as an executable recording, it plays the recording hidden and
// exits. Everything but the entry is the code the Linux program runs.
#include "platform/win32/windows_api.h"

#include "app/program_state.h"
#include "app/startup.h"
#include "platform/headless/headless_shell.h"
#include "platform/message_box.h"
#include "ui/commands.h"
#include "ui/run_mode.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The system hands the command line over whole, the program's own name first.
    const char* arguments = CommandLineArguments(GetCommandLineA());
    ResetProgramState();
    if (DetectProgramRunMode(arguments[0] != '\0') == RUN_INTERACTIVE) {
        ShellMessageBox("The Kelmor window is not part of this build yet.\n\n"
                        "Start Kelmor with a recording:\nKelmor FILE [/SPEED=1-4] [/REPEATS=n] [/CONTINUOUS=1]",
                        "Kelmor", MB_OK | MB_ICONEXCLAMATION);
        return EXIT_CODE_FAILED;
    }
    // Room for the longest command line the system passes, so a name too long for the
    // program is refused as such rather than cut to another file's name.
    static char fileName[32768];
    const char* options = SplitCommandLine(arguments, fileName, sizeof fileName);
    if (!PrepareProgram()) return EXIT_CODE_FAILED;
    ApplyCommandLineOptions(options);
    HeadlessShellSetDispatcher(SendCommand);
    return StartHiddenPlayback(arguments, fileName) ? HeadlessRunMessageLoop() : gnExitCode;
}
