// The one recording in memory: event list, script command table and playback backup.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"

enum {
    EVENT_CAPACITY = 32768,        // records in the event list
    EVENT_LOAD_LIMIT = 32766,      // loading and recording stop here
    SCRIPT_CAPACITY = 2048,        // entries in the script command table
    SCRIPT_LOAD_LIMIT = 2047,      // commands a file may hold
    SCRIPT_ARG_SIZE = 1024,        // bytes of one argument buffer
};

// Script keyword codes
enum ScriptKeyword { KW_NONE = 0, KW_START = 1, KW_GOTO = 2, KW_TYPE = 3, KW_WAIT = 4, KW_CLICK = 5 };

// The recording's memory, allocated once at start-up by AllocateRecordingStore: it
// outlives every reset, which only empties it.
struct RecordingStore {
    EVENTMSG* gEvents = nullptr;          // EVENT_CAPACITY records
    EVENTMSG* gBackupEvents = nullptr;    // EVENT_CAPACITY records
    int32_t* nKeyword = nullptr;          // SCRIPT_CAPACITY entries each
    int32_t* nEventIndex = nullptr;
    int32_t* nBackupEventIndex = nullptr;
    char** szArgument = nullptr;          // SCRIPT_CAPACITY buffers of SCRIPT_ARG_SIZE bytes
};
// Global because the journal hooks, which the system calls with no context, read and
// write these lists while they play or record.
extern RecordingStore gRecordingStore;

// What the recording in memory holds, where it came from and how it was played.
struct RecordingState {
    int32_t nEventCount = 0;
    int32_t nBackupEventCount = 0;
    int32_t nScriptCommands = 0;
    char gszFile[MAX_PATH] = "";    // current file; empty for an untitled recording
    bool gbModified = false;        // the recording changed since it was opened or saved
    bool gbFileChosen = false;      // Open takes gszFile as chosen, without its dialog
    // The last LoadRecording stopped at the event or command limit with actions of the
    // file left out (it said so). Programs that must not act on part of a file refuse then.
    bool gbRecordingCut = false;
    int32_t nCompletedPasses = 0;   // playback passes completed since Playback started
};
// Global for the same hooks, and for the command handlers the loop calls with no
// context: Open, Save, Playback and the editor all work on the one recording.
extern RecordingState gRecording;

// Name of a keyword code as logs print it ("" for none or an unknown code).
const char* ScriptKeywordName(int32_t code);

// Allocates and zero-fills the store; shows the failure message and returns 0 when an
// allocation fails.
int AllocateRecordingStore();
void FreeRecordingStore();
// Empties the recording (event list, count and command table) without freeing it.
void ClearRecording();
// Every global of recording/ back to a fresh start: no recording (the store stays as it
// is, emptied when allocated), no file, nothing modified, cut or played.
void ResetRecordingState();

// Moves records position..count-1 up by one and stores record at position. Returns 1,
// or 0 (nothing changed, logged at LOW) when the list is full: callers add 1 to
// gRecording.nEventCount only after a successful insertion.
int InsertEvent(int32_t position, int32_t count, const EVENTMSG* record, const char* logName);
// Adds delta to the event index of every command at or after position.
void ShiftScriptCommands(int32_t position, int32_t delta);

// Takes the playback backup (events, count, command indices) and restores it.
void BackupRecording();
void RestoreRecordingBackup();
