// restore: a settings backup (REGEDIT4) back into the settings store.
#include <cstdio>

#include "app/startup.h"
#include "platform/console/terminal_text.h"
#include "programs/kelmorctl/subcommands.h"
#include "settings/settings_restore.h"

namespace {

void PrintNote(const char* note) { printf("%s\n", TerminalText(note).c_str()); }

}  // namespace

int RunRestore(int, char** argv) {
    // The window writes its settings back when it closes, over whatever was restored.
    // Where no window can be open the restore goes ahead, as it does when the display
    // named cannot be reached (which is said).
    bool hidden = false;
    if (DesktopMayHoldWindows() && FindRunningCopy(&hidden) != 0) {
        fprintf(stderr,
                "kelmorctl restore: Close the Kelmor window first: it saves its settings when it closes and would "
                "overwrite what is restored.\n");
        return 1;
    }
    RestoreOutcome outcome;
    if (!RestoreSettingsFile(argv[0], PrintNote, &outcome)) {
        fprintf(stderr, "kelmorctl restore: %s: %s; %s\n", TerminalText(argv[0]).c_str(),
                TerminalText(outcome.error).c_str(),
                outcome.written == 0 ? "nothing was restored" : "the settings are restored only in part");
        return 1;
    }
    printf("%d value%s restored, %d line%s skipped\n", outcome.written, outcome.written == 1 ? "" : "s",
           outcome.skipped, outcome.skipped == 1 ? "" : "s");
    return 0;
}
