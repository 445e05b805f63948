// The keyboard service at work on a desktop: a window of this program has the focus, the
// service's hook is installed through the keyboard hook seam, b, t and w are typed with
// SendInput, and the window must receive them followed by three Backspaces and the
// ShortType's text from the registry. Exits 0 when the characters arrived as expected.
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

std::string gReceived;

LRESULT CALLBACK ProbeWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == 0x0102) gReceived += static_cast<char>(wParam);  // WM_CHAR
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

}  // namespace

int main() {
    const char key[] = "SOFTWARE\\Kelmor\\ShortType\\btw";
    const char text[] = "by the way";
    if (!StoreCreateKey(key) || !StoreSetValue(key, "Text", REG_SZ, text, sizeof text)) {
        fprintf(stderr, "cannot write the ShortType to the registry\n");
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

    const intptr_t hook = SysSetKeyboardHook(proc);
    if (hook == 0) {
        fprintf(stderr, "the system refused the hook: %lu\n", GetLastError());
        return 1;
    }
    char shortTypes[64 * 16] = "btw";
    reload(0, static_cast<uint32_t>(hook), 0, nullptr, nullptr, nullptr, nullptr, nullptr, shortTypes, nullptr);
    const std::string expected = std::string("btw\b\b\b") + text;
    Type("BTW");
    Pump(5000, expected);
    const bool unhooked = SysUnhookKeyboard(hook);
    printf("received \"%s\"\n", Visible(gReceived).c_str());
    if (gReceived != expected) {
        fprintf(stderr, "expected \"%s\"\n", Visible(expected).c_str());
        return 1;
    }
    if (!unhooked || SysUnhookKeyboard(hook)) {
        fprintf(stderr, "the hook was not removed exactly once\n");
        return 1;
    }
    return 0;
}
