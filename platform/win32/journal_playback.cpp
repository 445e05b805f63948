// The journal playback driver: from the message loop it asks the procedure for the next
// event (HC_GETNEXT), waits the delay it returns and asks again, injects a filled record
// with SendInput and moves it on (HC_SKIP).
#include "platform/win32/journal_playback.h"

#include <mmsystem.h>

#include "platform/input.h"
#include "platform/journal_batch.h"
#include "platform/win32/message_loop.h"

namespace {

// The time budget of a batch of events played without delays (platform/journal_batch.h).
const DWORD kBatchMs = 5;
// The bit of a key record's paramH that marks the PC's extended keys.
const uint32_t kExtendedKey = 0x8000;

JournalProc gProc = nullptr;
// Bumped by every start and stop: a step that finds it changed after calling the
// procedure knows the procedure stopped or replaced the playback and must not go on.
unsigned gGeneration = 0;
UINT_PTR gTimer = 0;
bool gStepPosted = false;
bool gReleasePosted = false;
bool gFinerTimers = false;
// What the playback holds down: virtual keys, and the mouse buttons as their up flags.
uint8_t gKeysDown[256];
DWORD gButtonsDown = 0;

void Step();

void CancelWait() {
    if (gTimer != 0) KillTimer(nullptr, gTimer);
    gTimer = 0;
}

void CALLBACK OnWaitOver(HWND, UINT, UINT_PTR, DWORD) {
    CancelWait();
    Step();
}

void RunPostedStep() {
    gStepPosted = false;
    Step();
}

void RunSoon() {
    if (!gStepPosted) gStepPosted = WinPostToLoop(RunPostedStep);
}

DWORD ButtonUpFlag(DWORD downFlag) { return downFlag << 1; }

void NoteHeld(const INPUT& input) {
    if (input.type == INPUT_KEYBOARD) {
        // A character's Unicode input holds no key.
        if ((input.ki.dwFlags & KEYEVENTF_UNICODE) == 0)
            gKeysDown[input.ki.wVk & 0xFF] = (input.ki.dwFlags & KEYEVENTF_KEYUP) == 0;
        return;
    }
    const DWORD downs[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN};
    for (DWORD down : downs) {
        if ((input.mi.dwFlags & down) != 0) gButtonsDown |= ButtonUpFlag(down);
        if ((input.mi.dwFlags & ButtonUpFlag(down)) != 0) gButtonsDown &= ~ButtonUpFlag(down);
    }
}

void Inject(const EVENTMSG& record) {
    INPUT input[kRecordInputMax];
    const int32_t width = GetSystemMetrics(SM_CXSCREEN);
    const int32_t height = GetSystemMetrics(SM_CYSCREEN);
    const int count = WinInputOfRecord(record, width, height, input);
    if (count == 0) return;
    for (int i = 0; i < count; ++i) NoteHeld(input[i]);
    SendInput(static_cast<UINT>(count), input, sizeof(INPUT));
}

void Step() {
    if (gProc == nullptr) return;
    const DWORD start = GetTickCount();
    intptr_t delay = 0;
    const JournalBatchEnd end = PlayJournalBatch(
        gProc, gGeneration, Inject, [start] { return GetTickCount() - start >= kBatchMs; }, &delay);
    if (end == JournalBatchEnd::Wait) gTimer = SetTimer(nullptr, 0, static_cast<UINT>(delay), OnWaitOver);
    if (end == JournalBatchEnd::Yield) RunSoon();
}

// A playback that stopped between a press and its release would leave the key down for
// good. The end of a pass stops the driver and starts it again from inside the
// procedure, and a key may be meant to stay down across that; only a stop that no start
// followed by the time the loop runs again ends the playback.
void ReleaseWhenStopped() {
    gReleasePosted = false;
    if (gProc == nullptr) WinReleaseHeldInput();
}

}  // namespace

void WinReleaseHeldInput() {
    // The characters' keys and modifiers are among the keys released here.
    WinForgetCharacterPresses();
    for (int vk = 0; vk < 256; ++vk) {
        if (gKeysDown[vk] == 0) continue;
        gKeysDown[vk] = 0;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(vk);
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
    }
    if (gButtonsDown != 0) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = gButtonsDown;
        gButtonsDown = 0;
        SendInput(1, &input, sizeof input);
    }
    if (gFinerTimers) timeEndPeriod(1);
    gFinerTimers = false;
}

int WinInputOfRecord(const EVENTMSG& record, int32_t screenWidth, int32_t screenHeight, INPUT out[kRecordInputMax]) {
    INPUT& input = out[0];
    input = INPUT{};
    const uint32_t message = record.message;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP || message == WM_SYSKEYUP) {
        const uint8_t vk = static_cast<uint8_t>(record.paramL & 0xFF);
        const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
        if (IsCharacterRecord(record.paramL)) return WinCharacterInput(CharacterOfRecord(record.paramL), !up, out);
        // The player sends these keys as synthetic input itself, because a journal
        // cannot toggle a lock or open the Start menu; pressing them here too would
        // toggle a lock straight back.
        if (message == WM_KEYDOWN && IsLockOrWindowsKey(vk)) return 0;
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.wScan = static_cast<WORD>((record.paramL >> 8) & 0xFF);
        input.ki.dwFlags = (up ? KEYEVENTF_KEYUP : 0u) | ((record.paramH & kExtendedKey) != 0 ? KEYEVENTF_EXTENDEDKEY : 0u);
        return 1;
    }
    DWORD button = 0;
    switch (message) {
        // A journal record carries no wheel amount: the player turns the wheel itself,
        // and the record only puts the pointer where the wheel was turned.
        case WM_MOUSEMOVE: case WM_MOUSEWHEEL: break;
        case WM_LBUTTONDOWN: button = MOUSEEVENTF_LEFTDOWN; break;
        case WM_LBUTTONUP: button = MOUSEEVENTF_LEFTUP; break;
        case WM_RBUTTONDOWN: button = MOUSEEVENTF_RIGHTDOWN; break;
        case WM_RBUTTONUP: button = MOUSEEVENTF_RIGHTUP; break;
        case WM_MBUTTONDOWN: button = MOUSEEVENTF_MIDDLEDOWN; break;
        case WM_MBUTTONUP: button = MOUSEEVENTF_MIDDLEUP; break;
        // A double-click record sits between the second press and its release (the
        // recorder adds it); the press is already down, and the system tells a double
        // click by its timing, so it injects nothing.
        default: return 0;
    }
    input.type = INPUT_MOUSE;
    input.mi.dx = NormaliseScreenCoordinate(static_cast<int32_t>(record.paramL), screenWidth);
    input.mi.dy = NormaliseScreenCoordinate(static_cast<int32_t>(record.paramH), screenHeight);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | button;
    return 1;
}

bool WinStartPlaybackDriver(JournalProc proc) {
    if (proc == nullptr) return false;
    ++gGeneration;
    CancelWait();
    gProc = proc;
    // Waits end on the system's tick, 15.6 ms apart unless a program asks for finer ones.
    if (!gFinerTimers) gFinerTimers = timeBeginPeriod(1) == TIMERR_NOERROR;
    RunSoon();
    return gStepPosted;
}

void WinStopPlaybackDriver() {
    ++gGeneration;
    gProc = nullptr;
    CancelWait();
    if (!gReleasePosted) gReleasePosted = WinPostToLoop(ReleaseWhenStopped);
}
