#include "recording/recording.h"

#include <cstdlib>
#include <cstring>

#include "settings/log.h"
#include "ui/message_box.h"

EVENTMSG* gEvents = nullptr;
int32_t nEventCount = 0;
EVENTMSG* gBackupEvents = nullptr;
int32_t nBackupEventCount = 0;
int32_t* nKeyword = nullptr;
int32_t* nEventIndex = nullptr;
int32_t* nBackupEventIndex = nullptr;
char** szArgument = nullptr;
int32_t nScriptCommands = 0;

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
    gEvents = static_cast<EVENTMSG*>(calloc(EVENT_CAPACITY, sizeof(EVENTMSG)));
    if (gEvents == nullptr) {
        KelmorMessageBox("Event Memory Failure!", "Failure", MB_ICONEXCLAMATION);
        return 0;
    }
    gBackupEvents = static_cast<EVENTMSG*>(calloc(EVENT_CAPACITY, sizeof(EVENTMSG)));
    if (gBackupEvents == nullptr) {
        KelmorMessageBox("Event Memory Failure!", "Failure", MB_ICONEXCLAMATION);
        return 0;
    }
    int32_t** arrays[] = {&nEventIndex, &nBackupEventIndex, &nKeyword};
    for (int32_t** array : arrays) {
        *array = static_cast<int32_t*>(calloc(SCRIPT_CAPACITY, sizeof(int32_t)));
        if (*array == nullptr) {
            KelmorMessageBox("Integer Memory Failure!", "Failure", MB_ICONEXCLAMATION);
            return 0;
        }
    }
    szArgument = static_cast<char**>(calloc(SCRIPT_CAPACITY, sizeof(char*)));
    if (szArgument == nullptr) {
        KelmorMessageBox("Script Memory Allocation Failure!", "Memory Error", MB_ICONEXCLAMATION);
        return 0;
    }
    char* block = kSeparateArguments ? nullptr : static_cast<char*>(calloc(SCRIPT_CAPACITY, SCRIPT_ARG_SIZE));
    for (int k = 0; k < SCRIPT_CAPACITY; ++k) {
        if (kSeparateArguments) {
            szArgument[k] = static_cast<char*>(calloc(SCRIPT_ARG_SIZE, 1));
        } else {
            szArgument[k] = block != nullptr ? block + static_cast<size_t>(k) * SCRIPT_ARG_SIZE : nullptr;
        }
        if (szArgument[k] == nullptr) {
            KelmorMessageBox("Script Memory Allocation Failure!", "Memory Error", MB_ICONEXCLAMATION);
            return 0;
        }
    }
    nEventCount = 0;
    nBackupEventCount = 0;
    nScriptCommands = 0;
    return 1;
}

void FreeRecordingStore() {
    if (szArgument != nullptr) {
        if (kSeparateArguments) {
            for (int k = 0; k < SCRIPT_CAPACITY; ++k) free(szArgument[k]);
        } else {
            free(szArgument[0]);
        }
    }
    free(szArgument);
    free(nKeyword);
    free(nBackupEventIndex);
    free(nEventIndex);
    free(gBackupEvents);
    free(gEvents);
    szArgument = nullptr;
    nKeyword = nBackupEventIndex = nEventIndex = nullptr;
    gBackupEvents = gEvents = nullptr;
    nEventCount = nBackupEventCount = nScriptCommands = 0;
}

void ClearRecording() {
    memset(gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    nEventCount = 0;
    nScriptCommands = 0;
}

int InsertEvent(int32_t position, int32_t count, const EVENTMSG* record, const char* logName) {
    if (count >= EVENT_CAPACITY || position < 0 || position > count) {
        LogAt(LOG_LOW, "Event list full: event message '%s' not injected at (0-based) position [%d] (%d of %d records used)",
              logName, position, count, EVENT_CAPACITY);
        return 0;
    }
    memmove(&gEvents[position + 1], &gEvents[position],
            static_cast<size_t>(count - position) * sizeof(EVENTMSG));
    gEvents[position] = *record;
    LogAt(LOG_HIGH, "      +---Injected new event message '%s' at (0-based) position [%d] for a new total of %d",
          logName, position, count + 1);
    return 1;
}

void ShiftScriptCommands(int32_t position, int32_t delta) {
    if (delta == 0) return;
    for (int32_t k = 0; k < nScriptCommands; ++k) {
        if (nEventIndex[k] < position) continue;
        LogAt(LOG_HIGH,
              "      ~~~Adjusting upcoming script command #%d \"%s %s\" from event (0-based) index [%d] to [%d]",
              k + 1, ScriptKeywordName(nKeyword[k]), szArgument[k], nEventIndex[k], nEventIndex[k] + delta);
        nEventIndex[k] += delta;
    }
}

void BackupRecording() {
    int32_t count = nEventCount < 0 ? 0 : nEventCount;
    memcpy(gBackupEvents, gEvents, static_cast<size_t>(count) * sizeof(EVENTMSG));
    nBackupEventCount = count;
    memcpy(nBackupEventIndex, nEventIndex, SCRIPT_CAPACITY * sizeof(int32_t));
}

void RestoreRecordingBackup() {
    memset(gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    memcpy(gEvents, gBackupEvents, static_cast<size_t>(nBackupEventCount) * sizeof(EVENTMSG));
    nEventCount = nBackupEventCount;
    memcpy(nEventIndex, nBackupEventIndex, SCRIPT_CAPACITY * sizeof(int32_t));
}
