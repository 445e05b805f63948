// Text recordings of any content. The first input byte picks how the rest is read:
// bit 0 behind a stand-in program under an .exe name, bit 1 with every log line formatted.
#include "fuzz/loader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    gbLogLevel = (flags & 2) ? LOG_HIGH : LOG_OFF;
    gszLogFile[0] = '\0';  // formatted, never written
    loader_fuzz::PlaceInput((flags & 1) ? "input.exe" : "input.klx", flags & 1, data + 1, size - 1);
    loader_fuzz::LoadAndCheck();
    return 0;
}
