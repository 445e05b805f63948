// The keyboard service at work on a desktop: a window of this program has the focus, the
// service's hook is installed through the keyboard hook seam, b, t and w are typed with
// SendInput, and the window must receive them followed by three Backspaces and the
// ShortType's text from the registry; F7's Mapping types its text and keeps F7 from the
// window, F8's fails to launch its program and warns. Exits 0 when all went as expected.
// With --other-process the hook is installed here and the window is a second process's,
// into which the system must load the DLL (run as --window-only).
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/keyboard_hook.h"
#include "platform/module.h"
#include "platform/registry.h"

namespace {

typedef int (*ReloadEntry)(uint32_t, uint32_t, int32_t, const char*, const uint8_t*, const uint8_t*, const uint8_t*,
                           const uint8_t*, const char*, const char*);

const int kF7 = 0x76;
std::string gReceived;
int gF7Presses = 0;

LRESULT CALLBACK ProbeWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) gReceived += static_cast<char>(wParam);
    if (message == WM_KEYDOWN && wParam == kF7) ++gF7Presses;
    return DefWindowProcA(window, message, wParam, lParam);
}

void Pump(DWORD milliseconds, const std::string& until) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && (until.empty() || gReceived != until)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

void Type(const char* keys) {
    for (const char* key = keys; *key != '\0'; ++key) {
        INPUT input[2] = {};
        input[0].type = input[1].type = INPUT_KEYBOARD;
        input[0].ki.wVk = input[1].ki.wVk = static_cast<WORD>(*key);
        input[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, input, sizeof(INPUT));
    }
}

std::string Visible(const std::string& text) {
    std::string out;
    for (char ch : text) out += ch == '\b' ? std::string("<BS>") : std::string(1, ch);
    return out;
}

const char kText[] = "by the way";
const char kMissingProgram[] = "kelmor-no-such-program";

bool TypedIntoOwnWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindow;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelmorHookProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KelmorHookProbe", "Kelmor hook probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                                300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    Pump(500, "");
    // The ShortType, then F7, whose Mapping types its text and keeps the key itself.
    const std::string expected = std::string("btw\b\b\b") + kText + "ok";
    Type("BTW");
    Pump(5000, expected.substr(0, expected.size() - 2));
    const char f7[] = {static_cast<char>(kF7), '\0'};
    Type(f7);
    Pump(5000, expected);
    printf("received \"%s\", F7 pressed %d times\n", Visible(gReceived).c_str(), gF7Presses);
    if (gReceived != expected || gF7Presses != 0) {
        fprintf(stderr, "expected \"%s\" and no F7\n", Visible(expected).c_str());
        return false;
    }
    // F8 launches a program that is not there: the warning, captioned by the command
    // line, comes up without holding up the keys that follow.
    const char f8[] = {static_cast<char>(kF7 + 1), 'B', '\0'};
    Type(f8);
    HWND box = nullptr;
    for (int tries = 0; tries < 100 && (box == nullptr || gReceived.back() != 'b'); ++tries) {
        Pump(50, "");
        box = FindWindowA(nullptr, kMissingProgram);
    }
    if (box != nullptr && gReceived.back() == 'b') return true;
    fprintf(stderr, "no warning box for the failed launch, or the keys after it held up\n");
    return false;
}

bool InOtherProcess() {
    char program[MAX_PATH + 16];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return false;
    std::string commandLine = std::string("\"") + program + "\" --window-only";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child))
        return false;
    // This thread answers nothing while it waits: the hook must run in the other process.
    WaitForSingleObject(child.hProcess, 30000);
    DWORD status = 1;
    GetExitCodeProcess(child.hProcess, &status);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return status == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "--window-only") {
        const bool typed = TypedIntoOwnWindow();
        // This process never loaded the DLL itself: the system did, to run the hook here.
        const bool loaded = GetModuleHandleA("KelmorService.DLL") != nullptr;
        if (!loaded) fprintf(stderr, "the system did not load KelmorService.DLL into this process\n");
        return typed && loaded ? 0 : 1;
    }
    const char key[] = "SOFTWARE\\Kelmor\\ShortType\\btw";
    const char mapping[] = "SOFTWARE\\Kelmor\\Mappings\\118";
    const char launch[] = "SOFTWARE\\Kelmor\\Mappings\\119";
    if (!StoreCreateKey(key) || !StoreSetValue(key, "Text", REG_SZ, kText, sizeof kText) ||
        !StoreCreateKey(mapping) || !StoreSetValue(mapping, "Text", REG_SZ, "ok", 3) ||
        !StoreCreateKey(launch) || !StoreSetValue(launch, "Text", REG_SZ, kMissingProgram, sizeof kMissingProgram)) {
        fprintf(stderr, "cannot write the ShortType and the Mapping to the registry\n");
        return 1;
    }
    char why[256] = "";
    void* dll = ModuleLoad("KelmorService.DLL", why, sizeof why);
    if (dll == nullptr) {
        fprintf(stderr, "KelmorService.DLL not loaded: %s\n", why);
        return 1;
    }
    auto proc = reinterpret_cast<KeyboardProc>(ModuleEntry(dll, "KelmorKeyboardProc"));
    auto reload = reinterpret_cast<ReloadEntry>(ModuleEntry(dll, "ReloadServiceCache"));
    if (proc == nullptr || reload == nullptr) return 1;
    const intptr_t hook = SysSetKeyboardHook(proc);
    if (hook == 0) {
        fprintf(stderr, "the system refused the hook: %lu\n", GetLastError());
        return 1;
    }
    char shortTypes[64 * 16] = "btw";
    uint8_t actions[256] = {};
    actions[kF7] = 5;      // type the Mapping's text
    actions[kF7 + 1] = 6;  // launch the Mapping's program
    reload(0, static_cast<uint32_t>(hook), 0, nullptr, actions, nullptr, nullptr, nullptr, shortTypes, nullptr);
    const bool typed = mode == "--other-process" ? InOtherProcess() : TypedIntoOwnWindow();
    const bool unhooked = SysUnhookKeyboard(hook);
    if (!unhooked || SysUnhookKeyboard(hook)) {
        fprintf(stderr, "the hook was not removed exactly once\n");
        return 1;
    }
    return typed ? 0 : 1;
}
