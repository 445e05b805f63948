#include "recording/recording.h"

#include <cstdlib>
#include <cstring>

#include "settings/log.h"
#include "ui/message_box.h"

RecordingStore gRecordingStore;
RecordingState gRecording;

namespace {

// Where a sanitizer watches the end of every allocation, each argument buffer is one, so
// that an overrun is caught at its own end. Elsewhere they share one block: 2048 small
// allocations would each write a header into memory of their own, 2 MiB resident in
// every run before any script is loaded, where one large block is mapped in only as it
// is used.
#if defined(__SANITIZE_ADDRESS__)
const bool kSeparateArguments = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
const bool kSeparateArguments = true;
#else
const bool kSeparateArguments = false;
#endif
#else
const bool kSeparateArguments = false;
#endif

}  // namespace

const char* ScriptKeywordName(int32_t code) {
    static const char* const kNames[] = {"", "START", "GOTO", "TYPE", "WAIT", "CLICK"};
    return code >= 0 && code <= KW_CLICK ? kNames[code] : "";
}

int AllocateRecordingStore() {
    RecordingStore& store = gRecordingStore;
    store.gEvents = static_cast<EVENTMSG*>(calloc(EVENT_CAPACITY, sizeof(EVENTMSG)));
    if (store.gEvents == nullptr) {
        KelmorMessageBox("Event Memory Failure!", "Failure", MB_ICONEXCLAMATION);
        return 0;
    }
    store.gBackupEvents = static_cast<EVENTMSG*>(calloc(EVENT_CAPACITY, sizeof(EVENTMSG)));
    if (store.gBackupEvents == nullptr) {
        KelmorMessageBox("Event Memory Failure!", "Failure", MB_ICONEXCLAMATION);
        return 0;
    }
    int32_t** arrays[] = {&store.nEventIndex, &store.nBackupEventIndex, &store.nKeyword};
    for (int32_t** array : arrays) {
        *array = static_cast<int32_t*>(calloc(SCRIPT_CAPACITY, sizeof(int32_t)));
        if (*array == nullptr) {
            KelmorMessageBox("Integer Memory Failure!", "Failure", MB_ICONEXCLAMATION);
            return 0;
        }
    }
    store.szArgument = static_cast<char**>(calloc(SCRIPT_CAPACITY, sizeof(char*)));
    if (store.szArgument == nullptr) {
        KelmorMessageBox("Script Memory Allocation Failure!", "Memory Error", MB_ICONEXCLAMATION);
        return 0;
    }
    char* block = kSeparateArguments ? nullptr : static_cast<char*>(calloc(SCRIPT_CAPACITY, SCRIPT_ARG_SIZE));
    for (int k = 0; k < SCRIPT_CAPACITY; ++k) {
        if (kSeparateArguments) {
            store.szArgument[k] = static_cast<char*>(calloc(SCRIPT_ARG_SIZE, 1));
        } else {
            store.szArgument[k] = block != nullptr ? block + static_cast<size_t>(k) * SCRIPT_ARG_SIZE : nullptr;
        }
        if (store.szArgument[k] == nullptr) {
            KelmorMessageBox("Script Memory Allocation Failure!", "Memory Error", MB_ICONEXCLAMATION);
            return 0;
        }
    }
    gRecording.nEventCount = 0;
    gRecording.nBackupEventCount = 0;
    gRecording.nScriptCommands = 0;
    return 1;
}

void FreeRecordingStore() {
    RecordingStore& store = gRecordingStore;
    if (store.szArgument != nullptr) {
        if (kSeparateArguments) {
            for (int k = 0; k < SCRIPT_CAPACITY; ++k) free(store.szArgument[k]);
        } else {
            free(store.szArgument[0]);
        }
    }
    free(store.szArgument);
    free(store.nKeyword);
    free(store.nBackupEventIndex);
    free(store.nEventIndex);
    free(store.gBackupEvents);
    free(store.gEvents);
    store = RecordingStore{};
    gRecording.nEventCount = gRecording.nBackupEventCount = gRecording.nScriptCommands = 0;
}

void ClearRecording() {
    memset(gRecordingStore.gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    gRecording.nEventCount = 0;
    gRecording.nScriptCommands = 0;
}

int InsertEvent(int32_t position, int32_t count, const EVENTMSG* record, const char* logName) {
    if (count >= EVENT_CAPACITY || position < 0 || position > count) {
        LogAt(LOG_LOW,
              "Event list full: event message '%s' not injected at (0-based) position [%d] (%d of %d records used)",
              logName, position, count, EVENT_CAPACITY);
        return 0;
    }
    memmove(&gRecordingStore.gEvents[position + 1], &gRecordingStore.gEvents[position],
            static_cast<size_t>(count - position) * sizeof(EVENTMSG));
    gRecordingStore.gEvents[position] = *record;
    LogAt(LOG_HIGH, "      +---Injected new event message '%s' at (0-based) position [%d] for a new total of %d",
          logName, position, count + 1);
    return 1;
}

void ShiftScriptCommands(int32_t position, int32_t delta) {
    if (delta == 0) return;
    for (int32_t k = 0; k < gRecording.nScriptCommands; ++k) {
        if (gRecordingStore.nEventIndex[k] < position) continue;
        LogAt(LOG_HIGH,
              "      ~~~Adjusting upcoming script command #%d \"%s %s\" from event (0-based) index [%d] to [%d]", k + 1,
              ScriptKeywordName(gRecordingStore.nKeyword[k]), gRecordingStore.szArgument[k],
              gRecordingStore.nEventIndex[k], gRecordingStore.nEventIndex[k] + delta);
        gRecordingStore.nEventIndex[k] += delta;
    }
}

void BackupRecording() {
    int32_t count = gRecording.nEventCount < 0 ? 0 : gRecording.nEventCount;
    memcpy(gRecordingStore.gBackupEvents, gRecordingStore.gEvents, static_cast<size_t>(count) * sizeof(EVENTMSG));
    gRecording.nBackupEventCount = count;
    memcpy(gRecordingStore.nBackupEventIndex, gRecordingStore.nEventIndex, SCRIPT_CAPACITY * sizeof(int32_t));
}

void RestoreRecordingBackup() {
    memset(gRecordingStore.gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    memcpy(gRecordingStore.gEvents, gRecordingStore.gBackupEvents,
           static_cast<size_t>(gRecording.nBackupEventCount) * sizeof(EVENTMSG));
    gRecording.nEventCount = gRecording.nBackupEventCount;
    memcpy(gRecordingStore.nEventIndex, gRecordingStore.nBackupEventIndex, SCRIPT_CAPACITY * sizeof(int32_t));
}
