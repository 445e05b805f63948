// A recording shaped like a real one, shared by the benchmarks.
#pragma once
#include <cstdint>

#include "recording/recording.h"

// Mostly mouse moves 16-22 ms apart, with key strokes and clicks between; a full list.
inline void FillRecording() {
    ClearRecording();
    uint32_t time = 13024638;
    for (int32_t i = 0; i < EVENT_LOAD_LIMIT; ++i) {
        EVENTMSG& e = gRecordingStore.gEvents[i];
        time += 16 + static_cast<uint32_t>(i % 7);
        switch (i % 10) {
            case 0: e = EVENTMSG{WM_KEYDOWN, 0x1E41u + static_cast<uint32_t>(i % 26), 1, time, 0}; break;
            case 1: e = EVENTMSG{WM_KEYUP, 0x1E41u + static_cast<uint32_t>(i % 26), 1, time, 0}; break;
            case 5: e = EVENTMSG{WM_LBUTTONDOWN, 420, 288, time, 0}; break;
            case 6: e = EVENTMSG{WM_LBUTTONUP, 420, 288, time, 0}; break;
            default:
                e = EVENTMSG{WM_MOUSEMOVE, 100u + static_cast<uint32_t>(i % 1500), 50u + static_cast<uint32_t>(i % 900),
                             time, 0};
        }
    }
    gRecording.nEventCount = EVENT_LOAD_LIMIT;
}
