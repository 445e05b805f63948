// TYPE texts of any content, expanded into event lists from nearly empty to nearly full.
// Input: a flags byte (bit 0 Alt down, bit 1 a position off the end of the list, bit 2
// extreme settings), a byte choosing the event count (high bit: within 63 records of the
// capacity), a byte choosing the position, then the text.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/wintypes.h"
#include "recording/recording.h"
#include "script/type_expansion.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"

namespace {

const EVENTMSG kFiller = {WM_MOUSEMOVE, 1, 2, 3, 4};

bool IsKeyMessage(uint32_t m) { return m == WM_KEYDOWN || m == WM_KEYUP || m == WM_SYSKEYDOWN || m == WM_SYSKEYUP; }

void Check(bool ok) {
    if (!ok) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        fake::Reset();
        if (!AllocateRecordingStore()) abort();
        ready = true;
    }
    if (size < 3) return 0;
    const uint8_t flags = data[0], countByte = data[1], positionByte = data[2];
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

    ResetSettings();
    ResetScriptState();
    fake::keyEvents.clear();
    gLog.gbLogLevel = LOG_HIGH;  // every line is formatted, none written
    gLog.gszLogFile[0] = '\0';
    bool altDown = (flags & 1) != 0;
    gRecording.nCompletedPasses = 0;
    if (flags & 4) {
        gSettings.gnRandomMin = INT32_MIN;
        gSettings.gnRandomMax = INT32_MAX;
        gSettings.gnLoopTypeBase = INT32_MAX;
        gRecording.nCompletedPasses = INT32_MAX;
    }

    // A recording whose TYPE command sits right before position and whose next command
    // is the last event.
    int32_t count = (countByte & 0x80) ? EVENT_CAPACITY - (countByte & 0x3F) : 2 + (countByte & 0x3F);
    for (int32_t i = 0; i < count; ++i) gRecordingStore.gEvents[i] = kFiller;
    int32_t position = 1 + positionByte * (count - 2) / 255;
    gRecordingStore.gEvents[position - 1] = EVENTMSG{};
    gRecordingStore.gEvents[count - 1] = EVENTMSG{};
    gRecordingStore.nKeyword[0] = KW_TYPE;
    gRecordingStore.nEventIndex[0] = position - 1;
    gRecordingStore.nKeyword[1] = KW_WAIT;
    gRecordingStore.nEventIndex[1] = count - 1;
    gRecordingStore.szArgument[0][0] = gRecordingStore.szArgument[1][0] = '\0';
    gRecording.nScriptCommands = 2;
    gRecording.nEventCount = count;
    if (flags & 2) position = count + 1 + positionByte;

    const int n = ExpandTypeText(position, text.c_str(), &altDown);
    gRecording.nEventCount += n;
    ShiftScriptCommands(position, n);

    Check(gRecording.nEventCount >= count && gRecording.nEventCount <= EVENT_CAPACITY);
    Check(gRecordingStore.nEventIndex[0] == position - 1 || (flags & 2));
    if (!(flags & 2)) {
        const int32_t added = gRecording.nEventCount - count;
        Check(gRecordingStore.nEventIndex[1] == count - 1 + added);
        Check(gRecordingStore.gEvents[gRecordingStore.nEventIndex[1]].message == 0 &&
              gRecordingStore.gEvents[gRecordingStore.nEventIndex[0]].message == 0);
        for (int32_t i = position; i < position + added; ++i) {
            // A key of the table or a typed character, never a media, browser or launch key.
            const uint32_t key = gRecordingStore.gEvents[i].paramL;
            Check(IsKeyMessage(gRecordingStore.gEvents[i].message) && gRecordingStore.gEvents[i].time == 0 &&
                  (IsCharacterRecord(key) || (key < 256 && !(key >= 0xA6 && key <= 0xB7))));
        }
        for (int32_t i = position + added; i < gRecordingStore.nEventIndex[1]; ++i) {
            Check(gRecordingStore.gEvents[i].message == kFiller.message);
        }
    } else {
        Check(gRecording.nEventCount == count && gRecordingStore.nEventIndex[1] == count - 1);
    }
    return 0;
}
