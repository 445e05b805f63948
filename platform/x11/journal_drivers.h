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
// Hands proc what the server recorded up to now and the loop has not read yet: a
// journal records input as it happens, however busy the program is. Does nothing
// from inside proc, which may itself stop the hook on one of the events.
void X11TakeRecordedInput();
// Stops the hand-over, dropping what was not handed over; safe from inside proc.
void X11StopRecordHook();
