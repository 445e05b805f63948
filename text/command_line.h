// One argument of a command line that another program splits again: a file name handed
// to the editor, the program's own path in the list of programs started at log-in.
#pragma once

#include <cstddef>

// How the started program splits its command line: by shell rules (the POSIX back end
// splits as a shell does), or as the system's C runtime does on Windows.
enum class CommandLineRules { kPosixShell, kWindows };

// The rules of the system the program runs on.
CommandLineRules SystemCommandLineRules();

// Writes name into out (size bytes, cut at its end) so that it reaches the program as one
// argument. A name that needs no quotes under rules stays as it is.
void QuoteArgument(char* out, size_t size, const char* name, CommandLineRules rules);
