// Seam: the journal hooks. A record hook receives every input event of the desktop; a
// playback hook is asked for the events to inject. The back end plays the system's
// part: it calls the procedure on the thread that installed it, between that thread's
// other work, and tolerates the procedure unhooking and re-hooking from inside a call.
#pragma once
#include <cstdint>

// Hook procedure: code (HC_*), wParam, lParam (an EVENTMSG* for HC_ACTION and HC_GETNEXT).
typedef intptr_t (*JournalProc)(int code, uintptr_t wParam, intptr_t lParam);

enum { WH_JOURNALRECORD = 0, WH_JOURNALPLAYBACK = 1 };

// Installs a journal hook of a kind; returns its handle, or 0 when the system refuses.
intptr_t SysSetJournalHook(int kind, JournalProc proc);
// Removes a hook; false when the handle is not an installed hook. A record hook first
// hands its procedure the input the system took before the call and had not handed over
// yet; the procedure may meet its stop key there and remove the hook itself.
bool SysUnhookJournal(intptr_t hook);
// The system's own handling of a hook call the procedure does not take itself.
intptr_t SysCallNextHook(intptr_t hook, int code, uintptr_t wParam, intptr_t lParam);
// Milliseconds within which a second click counts as a double click.
uint32_t SysGetDoubleClickTime();
// Where the system's journal cancel goes. The user's Ctrl+Esc while a journal hook is
// installed removes the hook (as the system does) and then, from the message loop,
// calls this handler; the program hands its message loop's handler over at start-up.
void SysSetJournalCancelHandler(void (*onCancel)());
