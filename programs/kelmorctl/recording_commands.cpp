// info and convert: a recording file in, its counts or another form out.
#include <cstdio>
#include <cstring>

#include "platform/console/terminal_text.h"
#include "programs/kelmorctl/subcommands.h"
#include "recording/file_commands.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "ui/message_box.h"

namespace {

// Loads the named file as the current one; false when loading failed (it said why).
bool LoadNamed(const char* name) { return SetCurrentFileFromArgument(name) && LoadRecording(gRecording.gszFile) >= 0; }

}  // namespace

int RunInfo(int, char** argv) {
    if (!LoadNamed(argv[0])) return 1;
    // The counts of a cut file are not the file's: shown as such, and not a success.
    printf("events: %d%s\ncommands: %d\n", static_cast<int>(gRecording.nEventCount),
           gRecording.gbRecordingCut ? " (the file holds more; cut)" : "",
           static_cast<int>(gRecording.nScriptCommands));
    if (gRecording.gbRecordingCut) return 1;
    // A file that play and convert would refuse is no usable recording.
    return CheckHasActions("Error") ? 0 : 1;
}

bool RefuseCutRecording(const char* command, const char* outcome) {
    if (!gRecording.gbRecordingCut) return false;
    fprintf(stderr, "kelmorctl %s: %s: part of the file was left out\n", command, outcome);
    return true;
}

bool CheckHasActions(const char* caption) {
    if (gRecording.nEventCount != 0) return true;
    KelmorMessageBox(kNoActionsText, caption, MB_ICONEXCLAMATION);
    return false;
}

bool SaveAsName(const char* name, char* out, int size) {
    if (RefuseExecutableSaveName(name)) return false;
    if (!MakeSaveName(name, out, size)) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", size - 1,
                TerminalText(name).c_str());
        return false;
    }
    return true;
}

int RunConvert(int, char** argv) {
    if (!LoadNamed(argv[0]) || RefuseCutRecording("convert", "nothing written")) return 1;
    // The checks of Save As that do not need its dialog.
    if (!CheckHasActions("Save Error")) return 1;
    char name[MAX_PATH];
    if (!SaveAsName(argv[1], name, MAX_PATH)) return 1;
    return SaveRecordingToFile(name) ? 0 : 1;
}
