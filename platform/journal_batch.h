// What a journal playback driver does the same on every system (platform/x11 and
// platform/win32 play the system's part of the playback hook): one batch of HC_GETNEXT
// and HC_SKIP calls between two turns of the message loop. Portable, header only.
#pragma once
#include <cstdint>

#include "platform/journal.h"
#include "platform/wintypes.h"

// Played without delays, events come back to back; the loop still gets its turn after at
// most this many of them (or the driver's time budget), so that the Ctrl+Esc cancel and
// posted commands are not starved.
const int kJournalBatchEvents = 400;

enum class JournalBatchEnd { Stopped, Wait, Yield };

// Asks proc for events and hands each filled one to inject, until proc asks for a wait
// (Wait, *delay holding it), the batch is full (Yield: kJournalBatchEvents, or
// overBudget() said so) or generation changed from inside proc (Stopped: the playback was
// stopped or replaced and must not go on).
template <typename Inject, typename OverBudget>
JournalBatchEnd PlayJournalBatch(JournalProc proc, const unsigned& generation, Inject inject, OverBudget overBudget,
                                 intptr_t* delay) {
    const unsigned started = generation;
    for (int count = 1;; ++count) {
        EVENTMSG record{};
        *delay = proc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(&record));
        if (generation != started) return JournalBatchEnd::Stopped;
        if (*delay > 0) return JournalBatchEnd::Wait;
        if (record.message != 0) inject(record);
        proc(HC_SKIP, 0, 0);
        if (generation != started) return JournalBatchEnd::Stopped;
        if (count >= kJournalBatchEvents || overBudget()) return JournalBatchEnd::Yield;
    }
}
