// The journal record driver of Windows (journal_record.cpp): low-level keyboard and mouse
// hooks on the loop's thread hand each event to the record procedure in journal shape.
#pragma once
#include "platform/journal.h"
#include "platform/win32/windows_api.h"

// Installs both hooks on the calling thread, which must pump messages; false when the
// system refuses either.
bool WinStartRecordDriver(JournalProc proc);
// Removes both hooks; safe from inside proc.
void WinStopRecordDriver();

// The user's Ctrl+Esc that cancels an installed journal hook (journal.cpp): true when the
// key was that cancel and the hook is gone; the key then goes no further.
bool WinTakeJournalCancel(WPARAM message, const KBDLLHOOKSTRUCT& key);
