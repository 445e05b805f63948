#include "host/busy_processes.h"

#include <cstdint>

#include "platform/process.h"
#include "platform/shared_memory.h"

namespace {

// One process id a slot; 0 is free. Nothing guards the table: a process writes only its
// own slot, and a mark left by a process that died counts as free.
const char kName[] = "kelmorbusy";
const int kSlots = 16;
const uint32_t kBytes = kSlots * sizeof(uint32_t);
volatile uint32_t* gTable = nullptr;

volatile uint32_t* Table() {
    if (gTable == nullptr) {
        bool created = false;
        gTable = static_cast<volatile uint32_t*>(SysOpenSharedMemory(kName, kBytes, &created));
    }
    return gTable;
}

}  // namespace

void MarkJournalBusy(bool busy) {
    volatile uint32_t* table = Table();
    if (table == nullptr) return;
    const uint32_t self = SysCurrentProcessId();
    int free = -1;
    for (int i = 0; i < kSlots; ++i) {
        if (table[i] == self) table[i] = 0;
        if (free < 0 && (table[i] == 0 || !SysProcessRuns(table[i]))) free = i;
    }
    if (busy && free >= 0) table[free] = self;
}

bool AnotherProcessBusy() {
    volatile uint32_t* table = Table();
    if (table == nullptr) return false;
    const uint32_t self = SysCurrentProcessId();
    for (int i = 0; i < kSlots; ++i) {
        const uint32_t id = table[i];
        if (id != 0 && id != self && SysProcessRuns(id)) return true;
    }
    return false;
}

void ResetBusyProcesses() {
    if (gTable == nullptr) return;
    MarkJournalBusy(false);
    SysCloseSharedMemory(const_cast<uint32_t*>(gTable), kBytes);
    gTable = nullptr;
}
