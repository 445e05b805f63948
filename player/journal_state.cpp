#include "player/playback_control.h"

#include "host/busy_processes.h"

intptr_t InstallJournalHook(int kind, JournalProc proc) {
    const intptr_t hook = SysSetJournalHook(kind, proc);
    if (hook != 0) MarkJournalBusy(true);
    return hook;
}

bool RemoveJournalHook(intptr_t hook) {
    const bool removed = SysUnhookJournal(hook);
    MarkJournalBusy(false);
    return removed;
}
