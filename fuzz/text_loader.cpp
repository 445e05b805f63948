// Text recordings of any content. The first input byte picks how the rest is read:
// bit 0 behind a stand-in program under an .exe name, bit 1 with every log line formatted.
// Besides what every load must leave, no text from a comment may become a command: a load
// that kept the whole file holds exactly its command lines, as a reading of the format
// made apart from the loader finds them.
#include "fuzz/loader_check.h"
#include "tests/recording/script_lines_model.h"
#include "text/utf8.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const uint8_t flags = data[0];
    gLog.gbLogLevel = (flags & 2) ? LOG_HIGH : LOG_OFF;
    gLog.gszLogFile[0] = '\0';  // formatted, never written
    loader_fuzz::PlaceInput((flags & 1) ? "input.exe" : "input.klx", flags & 1, data + 1, size - 1);
    const int result = loader_fuzz::LoadAndCheck();
    // A NUL first is the binary form.
    if (result < 0 || gRecording.gbRecordingCut || (size > 1 && data[1] == '\0')) return 0;
    const script_model::Script file =
        script_model::ReadScript(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    using loader_fuzz::Check;
    Check(!file.longLine, "a line longer than the buffer loaded");
    Check(file.commands.size() == static_cast<size_t>(gRecording.nScriptCommands), "as many commands as command lines");
    for (int32_t k = 0; k < gRecording.nScriptCommands; ++k) {
        // Kept as UTF-8: a line that is not is read as Windows-1252.
        const std::string& argument = file.commands[k].argument;
        char kept[SCRIPT_ARG_SIZE];
        TextToUtf8(argument.data(), argument.size(), kept, sizeof kept);
        Check(gRecordingStore.nKeyword[k] == file.commands[k].keyword &&
                  std::string(kept) == gRecordingStore.szArgument[k],
              "each command is the file's command line");
    }
    return 0;
}
