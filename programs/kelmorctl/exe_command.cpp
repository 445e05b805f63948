// exe: a recording file in, an executable recording out, made from the kelmor program
// installed beside kelmorctl.
#include <cstdio>
#include <string>

#include "platform/console/terminal_text.h"
#include "platform/system.h"
#include "programs/kelmorctl/subcommands.h"
#include "recording/executable_recording.h"
#include "recording/recording_file.h"

namespace {

// The kelmor program beside this one, or "" after saying why.
std::string FindKelmorProgram() {
    char self[512];
    if (SysGetModuleFileName(self, sizeof self) == 0) {
        fprintf(stderr, "kelmorctl exe: cannot find kelmorctl's own file\n");
        return "";
    }
    const std::string program = KelmorProgramBeside(self);
    const uint32_t size = GetFileSize32(program.c_str());
    if (size == 0) {
        fprintf(stderr, "kelmorctl exe: the kelmor program is missing: %s\n", TerminalText(program.c_str()).c_str());
    } else if (size != EMBEDDED_RECORDING_OFFSET) {
        // Anything else would put the recording where the made program never looks.
        fprintf(stderr, "kelmorctl exe: %s is %u bytes long, not %u: not the kelmor program as built\n",
                TerminalText(program.c_str()).c_str(), static_cast<unsigned>(size),
                static_cast<unsigned>(EMBEDDED_RECORDING_OFFSET));
    } else {
        return program;
    }
    return "";
}

}  // namespace

int RunExe(int, char** argv) {
    if (!SetCurrentFileFromArgument(argv[0]) || LoadRecording(gRecording.gszFile) < 0 ||
        RefuseCutRecording("exe", "nothing written")) {
        return 1;
    }
    char name[MAX_PATH];
    if (!MakeExecutableName(argv[1], name, sizeof name)) {
        fprintf(stderr, "kelmorctl: file name too long (at most %d characters): %s\n", MAX_PATH - 1,
                TerminalText(argv[1]).c_str());
        return 1;
    }
    const std::string program = FindKelmorProgram();
    if (program.empty() || !WriteExecutableRecording(name, program.c_str())) return 1;
    printf("%s\n", TerminalText(name).c_str());
    return 0;
}
