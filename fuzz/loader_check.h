// Shared by the loader fuzzers: writes an input where LoadRecording will read it and
// checks what every load must leave behind, whatever the bytes were.
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "tests/fakes/fakes.h"

namespace loader_fuzz {

inline void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "invariant broken: %s\n", what);
        abort();
    }
}

inline const std::string& Folder() {
    static std::string folder;
    if (folder.empty()) {
        // Memory-backed when possible: rewriting a file on a disk file system waits for
        // the disk, which would make the file system and not the loader the bottleneck.
        char shm[] = "/dev/shm/kelmor-fuzz-XXXXXX";
        char tmp[] = "/tmp/kelmor-fuzz-XXXXXX";
        if (mkdtemp(shm) != nullptr) {
            folder = shm;
        } else {
            Check(mkdtemp(tmp) != nullptr, "temp folder");
            folder = tmp;
        }
        atexit([] { system(("rm -rf '" + Folder() + "'").c_str()); });
        if (!AllocateRecordingStore()) abort();
    }
    return folder;
}

// Writes data to name in the fuzz folder, behind a stand-in program of
// EMBEDDED_RECORDING_OFFSET bytes when asked, and makes it the current file.
inline void PlaceInput(const char* name, bool behindProgram, const uint8_t* data, size_t size) {
    std::string path = Folder() + "/" + name;
    int fd = open(path.c_str(), O_RDWR | O_CREAT, 0600);
    Check(fd >= 0, "open input");
    off_t start = 0;
    if (behindProgram) {
        start = EMBEDDED_RECORDING_OFFSET;
        // The program part is written once; only what follows it changes.
        struct stat st;
        if (fstat(fd, &st) != 0 || st.st_size < start) {
            static char program[EMBEDDED_RECORDING_OFFSET];
            memset(program, 'M', sizeof program);
            Check(pwrite(fd, program, sizeof program, 0) == static_cast<ssize_t>(sizeof program), "program");
        }
    }
    Check(ftruncate(fd, start) == 0, "truncate");
    if (size > 0) Check(pwrite(fd, data, size, start) == static_cast<ssize_t>(size), "write input");
    close(fd);
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "%s", path.c_str());
}

inline int LoadAndCheck() {
    fake::Reset();
    const int result = LoadRecording(gRecording.gszFile);
    Check(result >= -5 && result <= SCRIPT_LOAD_LIMIT, "result range");
    Check(gRecording.nEventCount >= 0 && gRecording.nEventCount <= EVENT_LOAD_LIMIT, "event count");
    Check(gRecording.nScriptCommands >= 0 && gRecording.nScriptCommands <= SCRIPT_LOAD_LIMIT, "command count");
    if (result >= 0) Check(result == gRecording.nScriptCommands, "result is the command count");
    if (result == -1 || result == -4 || result == -5) {
        Check(gRecording.nEventCount == 0 && gRecording.nScriptCommands == 0, "failed load is empty");
    }
    // Records at and above the count are zero (one comparison: a loop here would cost
    // more than the load).
    static const EVENTMSG zeros[EVENT_CAPACITY] = {};
    static const EVENTMSG& zero = zeros[0];
    Check(memcmp(&gRecordingStore.gEvents[gRecording.nEventCount], zeros,
                 static_cast<size_t>(EVENT_CAPACITY - gRecording.nEventCount) * sizeof(EVENTMSG)) == 0,
          "records past the count are zero");
    int32_t previous = -1;
    for (int32_t k = 0; k < gRecording.nScriptCommands; ++k) {
        Check(memchr(gRecordingStore.szArgument[k], '\0', SCRIPT_ARG_SIZE) != nullptr, "argument terminated");
        Check(gRecordingStore.nKeyword[k] >= KW_START && gRecordingStore.nKeyword[k] <= KW_CLICK, "keyword code");
        Check(gRecordingStore.nEventIndex[k] > previous && gRecordingStore.nEventIndex[k] < gRecording.nEventCount,
              "command index");
        Check(memcmp(&gRecordingStore.gEvents[gRecordingStore.nEventIndex[k]], &zero, sizeof zero) == 0,
              "command owns an empty event");
        previous = gRecordingStore.nEventIndex[k];
    }
    // Every message box stays within what the program formats.
    for (const fake::MessageBoxCall& box : fake::messageBoxes) {
        Check(box.text.size() < 1024 && box.caption.size() < 1024, "message box size");
    }
    return result;
}

}  // namespace loader_fuzz
