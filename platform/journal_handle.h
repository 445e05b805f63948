// The handle of the one journal hook a back end emulates at a time (platform/x11 and
// platform/win32 alike). Portable, header only.
#pragma once
#include <cstdint>
#include <cstdlib>

class JournalHandle {
public:
    // A fresh handle for a new hook: never 0, never the one before it, even after wrapping.
    intptr_t Issue() {
        current_ = next_++;
        if (next_ <= 0) next_ = 1;
        return current_;
    }
    // True when hook is the installed one; a removed hook's handle is never installed again.
    bool Holds(intptr_t hook) const { return hook != 0 && hook == current_; }
    bool Installed() const { return current_ != 0; }
    intptr_t Current() const { return current_; }
    void Clear() { current_ = 0; }

private:
    intptr_t current_ = 0;
    intptr_t next_ = 1;
};

// Registers end, once, to stop a hook still installed when the program exits, so that no
// emulated input is left half done (keys held down, the pointer grabbed).
inline void EndJournalAtExit(void (*end)()) {
    static bool added = false;
    if (added) return;
    added = true;
    atexit(end);
}
