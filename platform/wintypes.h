// The system vocabulary every layer speaks: the journal record, message codes,
// virtual-key codes, hook codes, message-box styles and answers. Values are the
// Windows ones so that files and command ids stay interchangeable with that platform.
#pragma once
#include <cstdint>

typedef uint32_t HWND32;  // a 32-bit window handle as stored in recordings

// The 20-byte journal record; its layout is the .klr file layout.
struct EVENTMSG {
    uint32_t message;
    uint32_t paramL;
    uint32_t paramH;
    uint32_t time;
    uint32_t hwnd;
};
static_assert(sizeof(EVENTMSG) == 20, "EVENTMSG must stay 20 bytes");

enum : uint32_t {
    WM_NCLBUTTONDBLCLK = 163,
    WM_KEYDOWN = 256,
    WM_KEYUP = 257,
    WM_CHAR = 258,
    WM_SYSKEYDOWN = 260,
    WM_SYSKEYUP = 261,
    WM_COMMAND = 273,
    WM_TIMER = 275,
    WM_MOUSEMOVE = 512,
    WM_LBUTTONDOWN = 513,
    WM_LBUTTONUP = 514,
    WM_LBUTTONDBLCLK = 515,
    WM_RBUTTONDOWN = 516,
    WM_RBUTTONUP = 517,
    WM_RBUTTONDBLCLK = 518,
    WM_MBUTTONDOWN = 519,
    WM_MBUTTONUP = 520,
    WM_MBUTTONDBLCLK = 521,
    WM_MOUSEWHEEL = 522,
    WM_CANCELJOURNAL = 75,
};

// Virtual-key codes named by the program.
enum : uint8_t {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,  // Page Up
    VK_NEXT = 34,   // Page Down
    VK_LWIN = 91,
    VK_RWIN = 92,
    VK_APPS = 93,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,
    VK_LMENU = 164,
    VK_RMENU = 165,
    // A typed character rather than a key: see CharacterRecordParam.
    VK_PACKET = 0xE7,
};

// A key record that types a character carries VK_PACKET as its virtual key and the
// character's Unicode code point where a key's scan code would be, as the system's own
// Unicode input does; the back end makes it in whatever layout is active.
inline uint32_t CharacterRecordParam(uint32_t character) { return VK_PACKET | character << 8; }
inline bool IsCharacterRecord(uint32_t paramL) { return (paramL & 0xFF) == VK_PACKET; }
inline uint32_t CharacterOfRecord(uint32_t paramL) { return paramL >> 8; }

// Keys a journal playback cannot press for real: the lock keys would not toggle and the
// Windows and Menu keys would not open their menus, so the player sends them as
// synthetic input and the journal's own press of them is not delivered.
inline bool IsLockOrWindowsKey(uint32_t vk) {
    return vk == VK_LWIN || vk == VK_RWIN || vk == VK_APPS || vk == VK_CAPITAL || vk == VK_NUMLOCK ||
           vk == VK_SCROLL;
}

// keybd_event flags
enum : uint32_t {
    KEYEVENTF_EXTENDEDKEY = 0x0001,
    KEYEVENTF_KEYUP = 0x0002,
};

// Journal hook codes
enum : int {
    HC_ACTION = 0,
    HC_GETNEXT = 1,
    HC_SKIP = 2,
    HC_NOREMOVE = 3,
    HC_SYSMODALON = 4,
    HC_SYSMODALOFF = 5,
};

// Message-box styles
enum : uint32_t {
    MB_OK = 0x0000,
    MB_OKCANCEL = 0x0001,
    MB_ABORTRETRYIGNORE = 0x0002,
    MB_YESNOCANCEL = 0x0003,
    MB_YESNO = 0x0004,
    MB_RETRYCANCEL = 0x0005,
    MB_ICONHAND = 0x0010,
    MB_ICONSTOP = 0x0010,
    MB_ICONQUESTION = 0x0020,
    MB_ICONEXCLAMATION = 0x0030,
    MB_ICONWARNING = 0x0030,
    MB_ICONASTERISK = 0x0040,
    MB_ICONINFORMATION = 0x0040,
    MB_USERICON = 0x0080,
    MB_DEFBUTTON1 = 0x0000,
    MB_DEFBUTTON2 = 0x0100,
    MB_DEFBUTTON3 = 0x0200,
    MB_DEFMASK = 0x0F00,
    MB_SYSTEMMODAL = 0x1000,
    MB_TASKMODAL = 0x2000,
    MB_TOPMOST = 0x40000,
    MB_TYPEMASK = 0x000F,
    MB_ICONMASK = 0x00F0,
};

// Message-box answers
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

// The buttons of a message box's type, left to right (at most 3); returns how many.
// An unknown type has the OK button alone.
inline int MessageBoxButtons(uint32_t style, int buttons[3]) {
    switch (style & MB_TYPEMASK) {
        case MB_OKCANCEL: buttons[0] = IDOK; buttons[1] = IDCANCEL; return 2;
        case MB_ABORTRETRYIGNORE: buttons[0] = IDABORT; buttons[1] = IDRETRY; buttons[2] = IDIGNORE; return 3;
        case MB_YESNOCANCEL: buttons[0] = IDYES; buttons[1] = IDNO; buttons[2] = IDCANCEL; return 3;
        case MB_YESNO: buttons[0] = IDYES; buttons[1] = IDNO; return 2;
        case MB_RETRYCANCEL: buttons[0] = IDRETRY; buttons[1] = IDCANCEL; return 2;
        default: buttons[0] = IDOK; return 1;
    }
}

// The answer of a message box whose default button is taken: the one MB_DEFBUTTON*
// names, the first when it names none that exists.
inline int MessageBoxDefaultAnswer(uint32_t style) {
    int buttons[3];
    const int count = MessageBoxButtons(style, buttons);
    const uint32_t index = (style & MB_DEFMASK) >> 8;
    return buttons[index < static_cast<uint32_t>(count) ? index : 0];
}

// Registry value kinds
enum : uint32_t {
    REG_SZ = 1,
    REG_EXPAND_SZ = 2,
    REG_DWORD = 4,
};

// The only registry root the program uses.
static const uint32_t HKEY_CURRENT_USER = 0x80000001u;

// Version query platform ids
enum : uint32_t {
    VER_PLATFORM_WIN32s = 0,
    VER_PLATFORM_WIN32_WINDOWS = 1,
    VER_PLATFORM_WIN32_NT = 2,
};

// Maximum path held in a name buffer, terminator included.
static const int MAX_PATH = 260;
