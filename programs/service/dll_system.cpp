// The system's part of the keyboard service inside the DLL. On Linux the module borrows it
// from the program that loads it; here the DLL runs inside whatever process gets the key,
// so key state, typing, the hook chain, the clipboard and the way to the main window are
// its own.
#include "platform/win32/windows_api.h"

#include <cstring>

#include "platform/clipboard.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/loop.h"
#include "platform/win32/character_input.h"
#include "platform/win32/wide_text.h"
#include "service/keyboard_proc.h"

namespace {

// The key event the system is asking the hook about. The system updates the thread's key
// state only once the hook has let the event through (Wine 8 does so, at least), while the
// procedure takes the key's own state as telling a press from a release: the event's
// transition flag (lParam bit 31) gives it, until the procedure sets the state itself.
struct KeyEvent {
    bool active;
    uint8_t vk;
    bool down;
    bool inHook;
    uint32_t character;
};
KeyEvent gEvent = {};
// The character each key made when it went down, for its release: by then the modifiers
// that made it may be up.
uint32_t gPressCharacter[256];

// What the key makes in this thread's layout with the modifiers the thread holds (the
// key itself is not in the state yet). Unicode input carries its character instead of a
// scan code.
uint32_t CharacterOfPress(uint8_t vk, uint32_t flags) {
    if (vk == VK_PACKET) {
        const uint32_t unit = flags >> 16 & 0xFFFF;
        return unit >= 0xD800 && unit <= 0xDFFF ? 0 : unit;
    }
    BYTE state[256];
    if (!GetKeyboardState(state)) return 0;
    return WinCharacterOfKey(vk, static_cast<uint8_t>(flags >> 16 & 0xFF), state, GetKeyboardLayout(0));
}

}  // namespace

// Exported as KelmorKeyboardProc (KelmorService.def): the system calls this.
extern "C" intptr_t KEYBOARD_PROC_CALL ServiceKeyboardEntry(int code, uintptr_t wParam, intptr_t lParam) {
    const KeyEvent outer = gEvent;
    const bool key = code == HC_ACTION && wParam <= 255;
    const uint8_t vk = static_cast<uint8_t>(wParam);
    const uint32_t flags = static_cast<uint32_t>(lParam);
    const bool down = (flags & 0x80000000u) == 0;
    uint32_t character = 0;
    if (key) {
        if (down) gPressCharacter[vk] = CharacterOfPress(vk, flags);
        character = gPressCharacter[vk];
    }
    gEvent = KeyEvent{key, vk, down, key, character};
    const intptr_t result = KelmorKeyboardProc(code, wParam, lParam);
    if (key && !down) gPressCharacter[vk] = 0;
    gEvent = outer;
    return result;
}

uint32_t SysKeyEventCharacter() { return gEvent.inHook ? gEvent.character : 0; }

// The system waits for the hook before it goes on with the input of the program being
// hooked, so nothing of the user's comes between the keys sent from inside it. Keys the
// user typed before the program got round to this one may be queued ahead of them; they
// are not looked for (peeking at the queue from inside the hook calls the hook again).
bool SysHoldOtherInput() { return true; }
void SysLetOtherInputGo() {}
// Every key sent comes back through the hook chain here.
bool SysKeyEventAfterTyping() { return false; }

bool SysGetKeyboardState(uint8_t state[256]) { return GetKeyboardState(state) != FALSE; }

int16_t SysGetKeyState(uint8_t vk) {
    const int16_t state = GetKeyState(vk);
    if (!gEvent.active || gEvent.vk != vk) return state;
    return static_cast<int16_t>((state & 1) | (gEvent.down ? 0x8000 : 0));
}

bool SysSetKeyboardState(const uint8_t state[256]) {
    gEvent.active = false;
    BYTE copy[256];
    memcpy(copy, state, sizeof copy);
    return SetKeyboardState(copy) != FALSE;
}

intptr_t SysCallNextHook(intptr_t hook, int code, uintptr_t wParam, intptr_t lParam) {
    return CallNextHookEx(reinterpret_cast<HHOOK>(hook), code, wParam, lParam);
}

// The clipboard's Unicode text as UTF-8, cut before the character that would not fit.
bool SysGetClipboardText(char* out, int size) {
    if (out == nullptr || size <= 0 || !IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(nullptr))
        return false;
    bool got = false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const WCHAR* text = data != nullptr ? static_cast<const WCHAR*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
        int used = 0;
        for (int i = 0; text[i] != L'\0';) {
            const bool pair = text[i] >= 0xD800 && text[i] <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            const int units = pair ? 2 : 1;
            const int bytes = WinUtf8Of(text + i, units, out + used, size - 1 - used);
            if (bytes == 0) break;
            used += bytes;
            i += units;
        }
        out[used] = '\0';
        got = true;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return got;
}

// The main window is found as the single-instance check finds it, by its class.
void ShellPostCommand(int id) {
    HWND main = FindWindowA("Kelmor", nullptr);
    if (main != nullptr) PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

namespace {

struct Box {
    char text[1024];
    char caption[256];
    UINT style;
    HMODULE self;  // held while the box shows: removing the hook may unload the DLL
};

DWORD WINAPI ShowBox(LPVOID parameter) {
    Box* box = static_cast<Box*>(parameter);
    // UTF-8 texts, shown whatever the code page of the process the box is in.
    WCHAR text[1024], caption[256];
    if (WinWideOf(box->text, -1, text, 1024) == 0) text[0] = L'\0';
    if (WinWideOf(box->caption, -1, caption, 256) == 0) caption[0] = L'\0';
    MessageBoxW(nullptr, text, caption, box->style);
    HMODULE self = box->self;
    HeapFree(GetProcessHeap(), 0, box);
    FreeLibraryAndExitThread(self, 0);
}

void CopyCut(char* field, size_t size, const char* text) {
    const size_t length = text != nullptr ? strnlen(text, size - 1) : 0;
    if (length > 0) memcpy(field, text, length);
    field[length] = '\0';
}

}  // namespace

// A box waiting inside the hook would hold up the keys of the process that got the key:
// it waits on a thread of its own.
void ShellPostMessageBox(const char* text, const char* caption, uint32_t style) {
    Box* box = static_cast<Box*>(HeapAlloc(GetProcessHeap(), 0, sizeof(Box)));
    if (box == nullptr) return;
    CopyCut(box->text, sizeof box->text, text);
    CopyCut(box->caption, sizeof box->caption, caption);
    box->style = style;
    HANDLE thread = nullptr;
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ShowBox), &box->self)) {
        thread = CreateThread(nullptr, 0, ShowBox, box, 0, nullptr);
        if (thread == nullptr) FreeLibrary(box->self);
    }
    if (thread == nullptr) {
        HeapFree(GetProcessHeap(), 0, box);
        return;
    }
    CloseHandle(thread);
}
