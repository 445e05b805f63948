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

bool CheckHasActions() {
    if (nEventCount != 0) return true;
    KelmorMessageBox(kNoActionsText, "Save Error", MB_ICONEXCLAMATION);
    return false;
}

bool SaveAsName(const char* name, char* out, int size) {
    if (FindInFileName(name, ".exe") != nullptr) {
        KelmorMessageBox("To compile an executable program, please use the \"Create Executable Program (.EXE)\" "
                         "command in the Tools Menu.\n\nYou cannot create an .EXE program with \"File Save\".",
                         "Save Error", MB_ICONEXCLAMATION);
        return false;
    }
    if (!MakeSaveName(name, out, size)) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", size - 1, name);
        return false;
    }
    return true;
}

int RunConvert(int, char** argv) {
    if (!LoadNamed(argv[0])) return 1;
    // The checks of Save As that do not need its dialog.
    if (!CheckHasActions()) return 1;
    char name[MAX_PATH];
    if (!SaveAsName(argv[1], name, MAX_PATH)) return 1;
    return SaveRecordingToFile(name) ? 0 : 1;
}
