// What every windowless loop hands over the same way, whatever runs the loop: posted
// commands to the program's dispatch, the system's order to end to its handler.
#include <cstdio>

#include "platform/headless/headless_shell.h"

namespace {

void (*gDispatch)(int) = nullptr;
void (*gEndSession)() = nullptr;

}  // namespace

void HeadlessShellSetDispatcher(void (*dispatch)(int id)) { gDispatch = dispatch; }

void HeadlessRunPostedCommand(const char* programName, int id) {
    if (gDispatch != nullptr) {
        gDispatch(id);
    } else {
        // Without printf: the Windows program has no room for the C runtime's.
        char number[12];
        int at = sizeof number - 1;
        number[at] = '\0';
        unsigned magnitude = id < 0 ? 0u - static_cast<unsigned>(id) : static_cast<unsigned>(id);
        do {
            number[--at] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0 && at > 1);
        if (id < 0) number[--at] = '-';
        fputs(programName, stderr);
        fputs(": command ", stderr);
        fputs(number + at, stderr);
        fputs(" was posted but nothing can run it\n", stderr);
    }
}

void HeadlessKeepEndSessionHandler(void (*onEndSession)()) { gEndSession = onEndSession; }

void HeadlessEndSession() {
    // Once: a signal arriving while the display's loss is handled finds the work done.
    static bool ended = false;
    if (ended) return;
    ended = true;
    if (gEndSession != nullptr) gEndSession();
}
