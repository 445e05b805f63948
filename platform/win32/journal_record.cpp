// The record half of the Windows journal: the system's journal hooks are gone, so the
// low-level hooks stand in. Their events come to the installing thread between its
// messages, which is where the core expects its record procedure called. Injected input
// is recorded like the user's, as the system's journal recorded it and as the X11 driver
// records the program's own XTest input.
#include "platform/win32/journal_record.h"

namespace {

JournalProc gProc = nullptr;
HHOOK gKeyboard = nullptr;
HHOOK gMouse = nullptr;

const uint32_t kExtendedKey = 0x8000;  // paramH bit of keys outside the PC's first block

uint32_t Handle(HWND window) { return static_cast<HWND32>(reinterpret_cast<uintptr_t>(window)); }

// The window that gets the keys: the focus within the foreground window's thread.
HWND KeyWindow() {
    HWND foreground = GetForegroundWindow();
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof(thread);
    if (foreground != nullptr && GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &thread) &&
        thread.hwndFocus != nullptr)
        return thread.hwndFocus;
    if (foreground != nullptr) return foreground;
    POINT pointer = {};
    GetCursorPos(&pointer);
    return WindowFromPoint(pointer);
}

void Hand(const EVENTMSG& message) {
    EVENTMSG copy = message;
    if (gProc != nullptr) gProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&copy));
}

LRESULT CALLBACK RecordKeys(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
    const KBDLLHOOKSTRUCT& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    // The cancel is taken before it is recorded, whichever hook the system asks first.
    if (WinTakeJournalCancel(wParam, key)) return 1;
    uint32_t vk = key.vkCode & 0xFF;
    // The journal knows Shift, Ctrl and Alt without their side; the scan code tells it.
    if (vk >= 0xA0 && vk <= 0xA5) vk = 0x10 + (vk - 0xA0) / 2;
    EVENTMSG message = {};
    message.message = static_cast<uint32_t>(wParam);
    // Unicode input carries a UTF-16 unit where the scan code goes, and plays back as it.
    message.paramL = vk == VK_PACKET ? CharacterRecordParam(key.scanCode & 0xFFFF) : vk | (key.scanCode & 0xFF) << 8;
    message.paramH = 1 | ((key.flags & LLKHF_EXTENDED) != 0 ? kExtendedKey : 0);
    message.time = GetTickCount();
    message.hwnd = Handle(KeyWindow());
    Hand(message);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK RecordMouse(int code, WPARAM wParam, LPARAM lParam) {
    if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wParam, lParam);
    const MSLLHOOKSTRUCT& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    switch (wParam) {
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MOUSEWHEEL: {
            EVENTMSG message = {};
            message.message = static_cast<uint32_t>(wParam);
            message.paramL = static_cast<uint32_t>(mouse.pt.x);
            message.paramH = static_cast<uint32_t>(mouse.pt.y);
            message.time = GetTickCount();
            message.hwnd = Handle(WindowFromPoint(mouse.pt));
            Hand(message);
            break;
        }
        default: break;  // side buttons and the tilt wheel have no journal event
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool WinStartRecordDriver(JournalProc proc) {
    if (proc == nullptr) return false;
    WinStopRecordDriver();
    HINSTANCE module = GetModuleHandleA(nullptr);
    gKeyboard = SetWindowsHookExA(WH_KEYBOARD_LL, RecordKeys, module, 0);
    gMouse = SetWindowsHookExA(WH_MOUSE_LL, RecordMouse, module, 0);
    if (gKeyboard == nullptr || gMouse == nullptr) {
        const DWORD error = GetLastError();
        WinStopRecordDriver();
        SetLastError(error);
        return false;
    }
    gProc = proc;
    return true;
}

void WinStopRecordDriver() {
    gProc = nullptr;
    if (gKeyboard != nullptr) UnhookWindowsHookEx(gKeyboard);
    if (gMouse != nullptr) UnhookWindowsHookEx(gMouse);
    gKeyboard = gMouse = nullptr;
}
