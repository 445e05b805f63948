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

namespace {

inline unsigned char Lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 32) : c; }

}  // namespace

char* FindNoCase(const char* text, const char* pattern) {
    if (text == nullptr || pattern == nullptr || pattern[0] == '\0') return nullptr;
    const unsigned char first = Lower(static_cast<unsigned char>(pattern[0]));
    for (const char* t = text; *t != '\0'; ++t) {
        if (Lower(static_cast<unsigned char>(*t)) != first) continue;
        const char* a = t + 1;
        const char* b = pattern + 1;
        while (*b != '\0' && Lower(static_cast<unsigned char>(*a)) == Lower(static_cast<unsigned char>(*b))) {
            ++a;
            ++b;
        }
        if (*b == '\0') return const_cast<char*>(t);
    }
    return nullptr;
}

int ReplaceAllNoCase(char* text, const char* pattern, const char* replacement) {
    if (text == nullptr || pattern == nullptr || replacement == nullptr) return 0;
    const size_t plen = strlen(pattern);
    const size_t rlen = strlen(replacement);
    int count = 0;
    char* from = text;
    for (char* hit = FindNoCase(from, pattern); hit != nullptr; hit = FindNoCase(from, pattern)) {
        memmove(hit + rlen, hit + plen, strlen(hit + plen) + 1);
        memcpy(hit, replacement, rlen);
        from = hit + rlen;
        ++count;
    }
    return count;
}

int ReplaceAllNoCaseBounded(char* text, int size, const char* pattern, const char* replacement, bool* cut) {
    if (cut != nullptr) *cut = false;
    if (text == nullptr || pattern == nullptr || replacement == nullptr || size <= 0) return 0;
    const size_t cap = static_cast<size_t>(size) - 1;  // characters the buffer holds
    const size_t plen = strlen(pattern);
    const size_t rlen = strlen(replacement);
    int count = 0;
    char* from = text;
    for (char* hit = FindNoCase(from, pattern); hit != nullptr; hit = FindNoCase(from, pattern)) {
        const size_t at = static_cast<size_t>(hit - text);
        const size_t tail = strlen(hit + plen);
        size_t putRepl = rlen;
        if (at + putRepl > cap) putRepl = cap - at;
        size_t putTail = tail;
        if (at + putRepl + putTail > cap) putTail = cap - at - putRepl;
        if (putRepl < rlen || putTail < tail) {
            if (cut != nullptr) *cut = true;
        }
        memmove(hit + putRepl, hit + plen, putTail);
        hit[putRepl + putTail] = '\0';
        memcpy(hit, replacement, putRepl);
        from = hit + putRepl;
        ++count;
        if (putRepl < rlen) break;  // nothing fits behind a cut replacement
    }
    return count;
}
