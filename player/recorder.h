// The recorder: captures the desktop's input into the event list.
#pragma once
#include <cstdint>

#include "player/player_state.h"

// Command handlers: 1054 (Start Recording), 1058 (Stop Recording), 1734 / 1735 (tray).
void OnStartRecording(int id);
void OnStopRecording(int id);
void OnTrayStartRecording(int id);
void OnTrayStopRecording(int id);

intptr_t JournalRecordProc(int code, uintptr_t wParam, intptr_t lParam);
// The main window got the focus (a click on the minimised window may stop a recording).
void OnMainWindowFocus();
// Exit or Close while a journal hook runs: logs the reason and removes the hook.
void CancelJournalForExit(const char* logLine);
