// restore: a settings backup (REGEDIT4) back into the settings store.
#include <cstdio>

#include "platform/console/terminal_text.h"
#include "platform/registry.h"
#include "programs/kelmorctl/subcommands.h"
#include "settings/settings_restore.h"

namespace {

void PrintNote(const char* note) { printf("%s\n", TerminalText(note).c_str()); }

}  // namespace

int RunRestore(int, char** argv) {
    // The window writes its settings back when it closes, over whatever was restored: a
    // window holds the store while it runs, on whichever display, and none may start
    // while the restore writes.
    bool windowOpen = false;
    if (!StoreKeepWindowsOut(&windowOpen) && windowOpen) {
        fprintf(stderr,
                "kelmorctl restore: Close the Kelmor window first: it saves its settings when it closes and would "
                "overwrite what is restored.\n");
        return 1;
    }
    RestoreOutcome outcome;
    const bool restored = RestoreSettingsFile(argv[0], PrintNote, &outcome);
    StoreLetWindowsIn();
    if (!restored) {
        fprintf(stderr, "kelmorctl restore: %s: %s; nothing was restored\n", TerminalText(argv[0]).c_str(),
                TerminalText(outcome.error).c_str());
        return 1;
    }
    printf("%d value%s restored, %d line%s skipped\n", outcome.written, outcome.written == 1 ? "" : "s",
           outcome.skipped, outcome.skipped == 1 ? "" : "s");
    return 0;
}
