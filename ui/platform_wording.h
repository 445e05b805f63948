// Texts that name things only one operating system has read right on the system the
// program was built for: one table, looked up by the text as the program's other
// systems show it. Every text not in the table is shown as it is.
#pragma once

struct PlatformWording {
    const char* original;
    const char* local;
};
extern const PlatformWording kPlatformWording[];
extern const int kPlatformWordingCount;

// The text to show for `original`: its reading on this system, or `original` itself.
const char* PlatformText(const char* original);
