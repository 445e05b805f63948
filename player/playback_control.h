// Starting, repeating and stopping playbacks; the journal hook handle shared with the
// recorder.
#pragma once
#include <cstdint>

#include "platform/journal.h"
#include "player/player_state.h"

// The journal seam's install and removal, marking this process as playing back or
// recording for every keyboard service of the user meanwhile.
intptr_t InstallJournalHook(int kind, JournalProc proc);
bool RemoveJournalHook(intptr_t hook);

enum { SERVICE_TIMER = 1726 };

// Command handlers: 1056 / 1732 / 1733 (Playback), 1736 (tray Play), 1131 (Load Normal
// Play Settings), 1730 (Fast speed).
void OnPlayback(int id);
void OnTrayPlay(int id);
void OnLoadNormalPlaySettings(int id);
void OnFastSpeed(int id);

void StopAndResetPlayback(bool continuing);
// Called by the player on HC_SKIP past the last event.
void EndOfPlaybackPass();
// The system cancelled the journal hooks (Ctrl+Esc).
void OnCancelJournal();
// A tick of SERVICE_TIMER: the watchdog while a journal hook runs or the run mode is not
// interactive, else the keyboard service upkeep.
void OnServiceTimer();
void PlaybackWatchdog();
// Sets the status line unless it already shows the text (ignoring case).
void SetStatusText(const char* text);
