// The journal seam on Windows: the playback hook, played by the driver of
// journal_playback.cpp, and the record hook, emulated by journal_record.cpp, with the
// user's Ctrl+Esc way out watched by a low-level keyboard hook while either is installed.
#include "platform/win32/windows_api.h"

#include <cstdlib>

#include "platform/journal.h"
#include "platform/journal_handle.h"
#include "platform/win32/journal_playback.h"
#include "platform/win32/journal_record.h"
#include "platform/win32/message_loop.h"

namespace {

JournalHandle gHook;
int gKind = WH_JOURNALPLAYBACK;
void (*gCancelHandler)() = nullptr;
HHOOK gKeyWatch = nullptr;
bool gUnwatchPosted = false;
// The user's own Ctrl keys, told from the ones the playback presses.
bool gLeftCtrlDown = false;
bool gRightCtrlDown = false;

void StopDriver() {
    if (gKind == WH_JOURNALRECORD) {
        WinStopRecordDriver();
    } else {
        WinStopPlaybackDriver();
    }
}

void RunCancelHandler() {
    if (gCancelHandler != nullptr) gCancelHandler();
}

void Unwatch() {
    if (gKeyWatch != nullptr) UnhookWindowsHookEx(gKeyWatch);
    gKeyWatch = nullptr;
}

void UnwatchWhenIdle() {
    gUnwatchPosted = false;
    if (!gHook.Installed()) Unwatch();
}

LRESULT CALLBACK WatchKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && WinTakeJournalCancel(wParam, *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)))
        return 1;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A program that ends with the hook installed still lets go of what it holds down.
void EndAtExit() {
    if (gHook.Installed()) StopDriver();
    gHook.Clear();
    WinReleaseHeldInput();
    Unwatch();
}

}  // namespace

bool WinTakeJournalCancel(WPARAM message, const KBDLLHOOKSTRUCT& key) {
    if ((key.flags & LLKHF_INJECTED) != 0) return false;
    const bool down = message == 0x0100 || message == 0x0104;  // WM_KEYDOWN, WM_SYSKEYDOWN
    if (key.vkCode == VK_LCONTROL) gLeftCtrlDown = down;
    if (key.vkCode == VK_RCONTROL) gRightCtrlDown = down;
    if (!down || key.vkCode != VK_ESCAPE || !(gLeftCtrlDown || gRightCtrlDown) || !gHook.Installed()) return false;
    // The system's cancel: the hook is gone before anyone hears of it, so the core's
    // own unhook of the same handle afterwards finds nothing to remove.
    gHook.Clear();
    StopDriver();
    WinPostToLoop(RunCancelHandler);
    if (!gUnwatchPosted) gUnwatchPosted = WinPostToLoop(UnwatchWhenIdle);
    return true;
}

intptr_t SysSetJournalHook(int kind, JournalProc proc) {
    if (proc == nullptr || (kind != WH_JOURNALRECORD && kind != WH_JOURNALPLAYBACK)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (gHook.Installed()) {
        SetLastError(ERROR_BUSY);
        return 0;
    }
    const bool started = kind == WH_JOURNALRECORD ? WinStartRecordDriver(proc) : WinStartPlaybackDriver(proc);
    if (!started) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return 0;
    }
    gKind = kind;
    gHook.Issue();
    // Without the watch the playback still runs, as it would where Ctrl+Esc is taken.
    if (gKeyWatch == nullptr) {
        gLeftCtrlDown = (GetAsyncKeyState(VK_LCONTROL) & 0x8000) != 0;
        gRightCtrlDown = (GetAsyncKeyState(VK_RCONTROL) & 0x8000) != 0;
        gKeyWatch = SetWindowsHookExA(WH_KEYBOARD_LL, WatchKeys, GetModuleHandleA(nullptr), 0);
    }
    EndJournalAtExit(EndAtExit);
    return gHook.Current();
}

bool SysUnhookJournal(intptr_t hook) {
    if (!gHook.Holds(hook)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    gHook.Clear();
    StopDriver();
    // The end of a playback pass unhooks and hooks again at once; the watch stays through
    // that and goes only when the loop finds no hook left.
    if (!gUnwatchPosted) gUnwatchPosted = WinPostToLoop(UnwatchWhenIdle);
    return true;
}

intptr_t SysCallNextHook(intptr_t, int, uintptr_t, intptr_t) {
    // No other journal hook is chained behind this one.
    return 0;
}

uint32_t SysGetDoubleClickTime() { return GetDoubleClickTime(); }

void SysSetJournalCancelHandler(void (*onCancel)()) { gCancelHandler = onCancel; }
