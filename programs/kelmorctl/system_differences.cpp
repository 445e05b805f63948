// What differs between the systems kelmorctl runs on: how file names are spelled and the
// kelmor program's name.
#include <cstring>
#include <string>

#include "programs/kelmorctl/subcommands.h"

namespace {

#ifdef _WIN32
const char kSeparators[] = "\\/";
const char kKelmorProgram[] = "Kelmor.exe";
#else
const char kSeparators[] = "/";
const char kKelmorProgram[] = "kelmor";
#endif

bool IsSeparator(char c) { return c != '\0' && strchr(kSeparators, c) != nullptr; }

// Where the folder part of name ends: after its drive ("C:") on Windows, or 0.
size_t RootLength(const char* name) {
#ifdef _WIN32
    if (name[0] != '\0' && name[1] == ':') return 2;
#endif
    (void)name;
    return 0;
}

}  // namespace

std::string FolderOfFile(const char* name) {
    const size_t root = RootLength(name);
    size_t end = strlen(name);
    while (end > root && !IsSeparator(name[end - 1])) --end;  // the file's own name
    if (end == root) return std::string(name, root) + ".";
    // Separators between the folder and the name go, but not the root's own.
    while (end > root + 1 && IsSeparator(name[end - 2])) --end;
    return std::string(name, end > root + 1 ? end - 1 : end);
}

std::string KelmorProgramBeside(const char* program) {
    const std::string folder = FolderOfFile(program);
    const char last = folder.empty() ? '\0' : folder.back();
    return IsSeparator(last) ? folder + kKelmorProgram : folder + kSeparators[0] + kKelmorProgram;
}
