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
        fprintf(stderr, "%s: command %d was posted but nothing can run it\n", programName, id);
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
