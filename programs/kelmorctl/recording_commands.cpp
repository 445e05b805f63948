// info and convert: a recording file in, its counts or another form out.
#include <cstdio>
#include <cstring>

#include "programs/kelmorctl/subcommands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "ui/message_box.h"

namespace {

// Loads the named file as the current one; false when loading failed (it said why).
bool LoadNamed(const char* name) { return SetCurrentFileFromArgument(name) && LoadRecording() >= 0; }

}  // namespace

int RunInfo(int, char** argv) {
    if (!LoadNamed(argv[0])) return 1;
    printf("events: %d\ncommands: %d\n", static_cast<int>(nEventCount), static_cast<int>(nScriptCommands));
    return 0;
}

int RunConvert(int, char** argv) {
    if (!LoadNamed(argv[0])) return 1;
    // The checks of Save As that do not need its dialog.
    if (nEventCount == 0) {
        KelmorMessageBox("There are no actions currently recorded.\n\nPress the blue \"Start Recording\" button to "
                         "begin saving actions.",
                         "Save Error", MB_ICONEXCLAMATION);
        return 1;
    }
    if (FindNoCase(argv[1], ".exe") != nullptr) {
        KelmorMessageBox("To compile an executable program, please use the \"Create Executable Program (.EXE)\" "
                         "command in the Tools Menu.\n\nYou cannot create an .EXE program with \"File Save\".",
                         "Save Error", MB_ICONEXCLAMATION);
        return 1;
    }
    char name[MAX_PATH];
    int length = snprintf(name, sizeof name, "%s%s", argv[1], FileNameHasDot(argv[1]) ? "" : ".klr");
    if (length < 0 || length >= MAX_PATH) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", MAX_PATH - 1, argv[1]);
        return 1;
    }
    return SaveRecordingToFile(name) ? 0 : 1;
}
