// Binary recordings of any content. The first input byte picks the name: .klr, an
// .exe with the records behind a stand-in program, or a text name whose first byte is 0.
#include <string>

#include "fuzz/loader_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t mode = data[0] % 3;
    std::string content(reinterpret_cast<const char*>(data + 1), size - 1);
    if (mode != 0) content.insert(content.begin(), '\0');  // only a zero first byte makes these binary
    const char* name = mode == 0 ? "input.klr" : mode == 1 ? "input.exe" : "input.txt";
    loader_fuzz::PlaceInput(name, mode == 1, reinterpret_cast<const uint8_t*>(content.data()), content.size());
    const int result = loader_fuzz::LoadAndCheck();
    if (content.empty()) {
        loader_fuzz::Check(result == -2, "empty file");
        return 0;
    }
    // The records come back exactly, or a partial one fails the whole load.
    const size_t records = content.size() / 20;
    if (content.size() % 20 != 0 && records < static_cast<size_t>(EVENT_LOAD_LIMIT)) {
        loader_fuzz::Check(result == -4, "partial record fails");
        return 0;
    }
    loader_fuzz::Check(result == 0, "binary load succeeds");
    const size_t expected = records < static_cast<size_t>(EVENT_LOAD_LIMIT) ? records : EVENT_LOAD_LIMIT;
    loader_fuzz::Check(static_cast<size_t>(gRecording.nEventCount) == expected, "every record loaded");
    for (size_t i = 0; i < expected; ++i) {
        uint32_t fields[5];
        for (int f = 0; f < 5; ++f) {
            const unsigned char* b = reinterpret_cast<const unsigned char*>(content.data()) + i * 20 + f * 4;
            fields[f] = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
        }
        const EVENTMSG& e = gRecordingStore.gEvents[i];
        loader_fuzz::Check(e.message == fields[0] && e.paramL == fields[1] && e.paramH == fields[2] &&
                               e.time == fields[3] && e.hwnd == fields[4],
                           "record bits");
    }
    return 0;
}
