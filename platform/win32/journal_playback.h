// The journal playback driver of Windows (journal_playback.cpp): journal hooks are gone
// from current systems, so the program plays the system's part itself.
#pragma once
#include "platform/journal.h"
#include "platform/win32/character_input.h"
#include "platform/win32/windows_api.h"

// Starts asking proc for events (HC_GETNEXT / HC_SKIP) from the message loop and
// injecting them with SendInput; false when the loop cannot run it.
bool WinStartPlaybackDriver(JournalProc proc);
// Stops asking; safe from inside proc, and a new start from inside proc then takes over.
void WinStopPlaybackDriver();
// Releases every key and button the playback left down.
void WinReleaseHeldInput();

// The most input one record plays: a character's modifiers and key
// (platform/win32/character_input.h).
constexpr int kRecordInputMax = kCharacterInputMax;
// The synthetic input that plays one journal record on a screen of the size given;
// returns how many entries of out it filled (none for a record that injects nothing). A
// character record is played in the layout active now.
int WinInputOfRecord(const EVENTMSG& record, int32_t screenWidth, int32_t screenHeight, INPUT out[kRecordInputMax]);
