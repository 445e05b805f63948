// The message loop of Kelmor.exe: posted commands, message boxes, timers and the end of
// the session go through one hidden window of its own, whether or not the main window
// (platform/win32gui) is open; that window sees each message first through the filter.
#include "platform/win32/windows_api.h"

#include <cstdlib>
#include <cstring>

#include "platform/headless/headless_shell.h"
#include "platform/loop.h"
#include "platform/message_box.h"
#include "platform/win32/message_loop.h"

namespace {

// A hidden top-level window rather than a message-only one: only top-level windows hear
// that the session ends. Its class is not the main window's, so no start takes it for a
// running copy.
const char kClassName[] = "KelmorLoop";
enum : UINT { kPostedCommand = WM_APP + 1, kPostedBox, kPostedWork, kEndSession };

HWND gWindow = nullptr;
const char* gProgramName = "Kelmor";
int gExitCode = 0;
bool gQuitRequested = false;
bool gConsoleWatched = false;
bool (*gFilter)(MSG* message) = nullptr;

struct Timer {
    int id;
    bool running;
    void (*onTick)(int id);
};
const int kMaxTimers = 8;
Timer gTimers[kMaxTimers];

struct PostedBox {
    char* text;
    char* caption;
    uint32_t style;
};

char* Copy(const char* text) {
    const size_t size = strlen(text != nullptr ? text : "") + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (copy != nullptr) memcpy(copy, text != nullptr ? text : "", size);
    return copy;
}

// Ends the program as a signal does on Linux: the end-session handler, then straight out,
// also from inside a message box's own loop.
void EndProgram() {
    HeadlessEndSession();
    exit(EXIT_FAILURE);
}

LRESULT CALLBACK LoopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kPostedCommand:
            HeadlessRunPostedCommand(gProgramName, static_cast<int>(wParam));
            return 0;
        case kPostedBox: {
            PostedBox* box = reinterpret_cast<PostedBox*>(lParam);
            ShellMessageBox(box->text, box->caption, box->style);
            free(box->text);
            free(box->caption);
            free(box);
            return 0;
        }
        case kPostedWork:
            reinterpret_cast<void (*)()>(lParam)();
            return 0;
        case WM_TIMER:
            for (const Timer& timer : gTimers) {
                if (timer.running && static_cast<WPARAM>(timer.id) == wParam) timer.onTick(timer.id);
            }
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam != 0) EndProgram();
            return 0;
        case kEndSession:
            EndProgram();
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

HWND LoopWindow() {
    if (gWindow != nullptr) return gWindow;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = LoopProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    gWindow = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, windowClass.hInstance,
                              nullptr);
    return gWindow;
}

bool Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = LoopWindow();
    return window != nullptr && PostMessageA(window, message, wParam, lParam);
}

// Runs on a thread of its own: the loop does the work, and the system ends the process
// once this returns from a close, log-off or shut-down.
BOOL WINAPI OnConsoleControl(DWORD) {
    PostMessageA(gWindow, kEndSession, 0, 0);
    Sleep(5000);
    return TRUE;
}

}  // namespace

void HeadlessSetProgramName(const char* name) { gProgramName = name; }

void WinSetMessageFilter(bool (*filter)(MSG* message)) { gFilter = filter; }

bool WinPostToLoop(void (*work)()) { return Post(kPostedWork, 0, reinterpret_cast<LPARAM>(work)); }

void ShellPostMessageBox(const char* text, const char* caption, uint32_t style) {
    PostedBox* box = static_cast<PostedBox*>(malloc(sizeof(PostedBox)));
    if (box == nullptr) return;
    box->text = Copy(text);
    box->caption = Copy(caption);
    box->style = style;
    if (box->text == nullptr || box->caption == nullptr || !Post(kPostedBox, 0, reinterpret_cast<LPARAM>(box))) {
        free(box->text);
        free(box->caption);
        free(box);
    }
}

int HeadlessRunMessageLoop() {
    if (gQuitRequested) return gExitCode;
    LoopWindow();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (gFilter != nullptr && gFilter(&message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return gExitCode;
}

void ShellQuitMessageLoop(int exitCode) {
    gExitCode = exitCode;
    gQuitRequested = true;
    PostQuitMessage(exitCode);
}

void ShellPostCommand(int id) { Post(kPostedCommand, static_cast<WPARAM>(id), 0); }

void ShellSetEndSessionHandler(void (*onEndSession)()) {
    HeadlessKeepEndSessionHandler(onEndSession);
    if (gConsoleWatched || LoopWindow() == nullptr) return;
    // Started from a console (a batch file waits for it), the program is also ended by
    // that console's Ctrl+C or its closing. A GUI program has no console of its own; a
    // console program (kelmorctl.exe) has one already, which it cannot attach again.
    gConsoleWatched = true;
    if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
        SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    }
}

void ShellSetTimer(int id, unsigned periodMs, void (*onTick)(int id)) {
    if (onTick == nullptr || LoopWindow() == nullptr) return;
    Timer* slot = nullptr;
    for (Timer& timer : gTimers) {
        if (timer.running && timer.id == id) slot = &timer;
    }
    for (Timer& timer : gTimers) {
        if (slot == nullptr && !timer.running) slot = &timer;
    }
    if (slot == nullptr) return;
    // Setting an id that runs replaces it, with the new period.
    if (SetTimer(gWindow, static_cast<UINT_PTR>(id), periodMs, nullptr) == 0) return;
    *slot = Timer{id, true, onTick};
}

void ShellKillTimer(int id) {
    for (Timer& timer : gTimers) {
        if (!timer.running || timer.id != id) continue;
        KillTimer(gWindow, static_cast<UINT_PTR>(id));
        timer.running = false;
    }
}
