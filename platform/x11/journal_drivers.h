// The two halves of the X11 journal: the playback driver and the record hook. The seam's
// entry points (journal.cpp) install one of them and the Ctrl+Esc cancel grab with it.
#pragma once
#include "platform/journal.h"

// Starts asking proc for events (HC_GETNEXT / HC_SKIP) from the main loop and injecting
// them through XTest; false when the display or XTest is missing.
bool X11StartPlaybackDriver(JournalProc proc);
// Stops asking; safe from inside proc, and a new start from inside proc then takes over.
void X11StopPlaybackDriver();

// Starts handing every key and pointer event of the desktop to proc (HC_ACTION with an
// EVENTMSG*) from the main loop; false when the display or the RECORD extension is
// missing.
bool X11StartRecordHook(JournalProc proc);
// Stops the hand-over; safe from inside proc.
void X11StopRecordHook();
