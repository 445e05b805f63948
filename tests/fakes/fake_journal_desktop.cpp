#include <cstdio>
#include <cstring>

#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/journal.h"
#include "platform/tray_icon.h"
#include "platform/window.h"
#include "tests/fakes/fakes.h"
#include "ui/pane_view.h"

namespace fake {

bool mainWindowVisible;
bool mainWindowMinimized;
int32_t mainWindowLeft, mainWindowTop;
std::vector<int> mainWindowShowCommands;
bool mainWindowTopmost;
bool panesShown;
std::string statusText;
std::string repeatField;
std::vector<TrayCall> trayIcons;
std::vector<TrayCall> trayAdds;
bool trayPresent;
bool trayIconShown;
std::vector<std::string> trayMenus;
std::deque<int> trayMenuAnswers;
std::function<void()> whileTrayMenuOpen;
std::vector<MouseEvent> mouseEvents;

intptr_t journalHook;
bool refuseJournalHook;
int journalInstalls;
std::vector<int> nextHookCodes;
void (*journalCancelHandler)();
std::vector<EVENTMSG> delivered;
std::vector<uint32_t> deliveredAt;
std::function<int32_t(int32_t)> actualWait;

std::vector<Window> windows;
HWND32 foregroundWindow;
std::map<HWND32, std::string> windowClasses;
std::vector<ShowCall> showCalls;
std::vector<HWND32> activated;
int windowEnumerations;
int32_t cursorX, cursorY;
std::function<bool(int32_t, int32_t, bool, std::string*, RECT32*)> windowAtPoint;

namespace {
intptr_t gNextHandle = 0x100;
int journalKind;  // of the installed hook
JournalProc journalProc;
}

namespace {

// The panes the program's top would register, as a test reads them back.
void SetStatusText(const char* text) { statusText = text ? text : ""; }
int GetStatusText(char* out, int size) {
    if (size <= 0) return 0;
    int len = static_cast<int>(statusText.size());
    if (len > size - 1) len = size - 1;
    memcpy(out, statusText.data(), static_cast<size_t>(len));
    out[len] = '\0';
    return len;
}
void SetSpeedButtons(int) {}
void SetRepeatField(const char* text) { repeatField = text ? text : ""; }
void EnableRepeatControls(bool) {}
void SetContinuousBox(bool) {}
void FocusSpeedButton(int speed) { focusedSpeedButton = speed; }
const PaneView kPanes = {SetStatusText,        GetStatusText,    SetSpeedButtons, SetRepeatField,
                         EnableRepeatControls, SetContinuousBox, FocusSpeedButton};

}  // namespace

void ResetJournalAndDesktop() {
    SetPaneView(&kPanes);
    cursorX = cursorY = 0;
    windowAtPoint = nullptr;
    windowClasses.clear();
    mainWindowVisible = true;
    mainWindowMinimized = false;
    mainWindowLeft = 40;
    mainWindowTop = 30;
    mainWindowShowCommands.clear();
    mainWindowTopmost = false;
    panesShown = true;
    statusText.clear();
    repeatField.clear();
    trayIcons.clear();
    trayAdds.clear();
    trayPresent = true;
    trayIconShown = false;
    trayMenus.clear();
    trayMenuAnswers.clear();
    whileTrayMenuOpen = nullptr;
    mouseEvents.clear();
    journalHook = 0;
    journalKind = -1;
    journalProc = nullptr;
    unreadRecords.clear();
    refuseJournalHook = false;
    journalInstalls = 0;
    nextHookCodes.clear();
    journalCancelHandler = nullptr;
    delivered.clear();
    deliveredAt.clear();
    actualWait = nullptr;
    windows.clear();
    foregroundWindow = 0;
    showCalls.clear();
    activated.clear();
    windowEnumerations = 0;
}

int RunPlayback(int maxEvents) {
    int count = 0;
    while (journalHook != 0 && journalKind == WH_JOURNALPLAYBACK && count < maxEvents) {
        EVENTMSG record{};
        intptr_t delay = journalProc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(&record));
        while (delay > 0 && journalHook != 0) {
            int32_t wait = actualWait ? actualWait(static_cast<int32_t>(delay)) : static_cast<int32_t>(delay);
            tickCount += static_cast<uint32_t>(wait < 0 ? 0 : wait);
            if (journalHook == 0) break;  // ended while the system waited
            record = EVENTMSG{};
            delay = journalProc(HC_GETNEXT, 0, reinterpret_cast<intptr_t>(&record));
        }
        if (journalHook == 0) break;  // the procedure stopped the playback
        if (record.message != 0) {
            delivered.push_back(record);
            deliveredAt.push_back(tickCount);
            ++count;
        }
        journalProc(HC_SKIP, 0, 0);
    }
    return count;
}

std::vector<EVENTMSG> unreadRecords;

intptr_t FeedRecord(const EVENTMSG& event) {
    if (journalHook == 0 || journalKind != WH_JOURNALRECORD) return 0;
    tickCount = event.time;
    EVENTMSG copy = event;
    return journalProc(HC_ACTION, 0, reinterpret_cast<intptr_t>(&copy));
}

}  // namespace fake

// --- journal ---
void SysSetJournalCancelHandler(void (*onCancel)()) { fake::journalCancelHandler = onCancel; }

intptr_t SysSetJournalHook(int kind, JournalProc proc) {
    if (fake::refuseJournalHook) return 0;
    fake::journalHook = fake::gNextHandle++;
    fake::journalKind = kind;
    fake::journalProc = proc;
    ++fake::journalInstalls;
    return fake::journalHook;
}

bool SysUnhookJournal(intptr_t hook) {
    if (hook == 0 || hook != fake::journalHook) return false;
    std::vector<EVENTMSG> unread;
    unread.swap(fake::unreadRecords);
    for (const EVENTMSG& event : unread) {
        if (fake::journalHook == hook) fake::FeedRecord(event);
    }
    // The procedure met its stop key there and removed the hook itself.
    if (fake::journalHook != hook) return true;
    fake::journalHook = 0;
    fake::journalProc = nullptr;
    return true;
}

intptr_t SysCallNextHook(intptr_t, int code, uintptr_t, intptr_t) {
    fake::nextHookCodes.push_back(code);
    return 0;
}

uint32_t SysGetDoubleClickTime() { return 500; }

// --- input ---
void SysMouseEvent(uint32_t flags, int32_t dx, int32_t dy, int32_t data, uint32_t) {
    fake::mouseEvents.push_back({flags, dx, dy, data});
}

// --- desktop ---
namespace {
fake::Window* Find(HWND32 handle) {
    for (auto& w : fake::windows) {
        if (w.handle == handle) return &w;
    }
    return nullptr;
}
}  // namespace

namespace {
int EnumWindows(HWND32* out, int max, bool hidden) {
    int n = 0;
    for (const auto& w : fake::windows) {
        if (n >= max) break;
        if (w.hidden == hidden) out[n++] = w.handle;
    }
    return n;
}
}  // namespace

int SysEnumTopLevelWindows(HWND32* out, int max) {
    ++fake::windowEnumerations;
    return EnumWindows(out, max, false);
}

int SysEnumHiddenTopLevelWindows(HWND32* out, int max) { return EnumWindows(out, max, true); }

int SysGetWindowText(HWND32 window, char* out, int size) {
    fake::Window* w = Find(window);
    if (w == nullptr || size <= 0) return 0;
    int len = static_cast<int>(w->title.size());
    if (len > size - 1) len = size - 1;
    memcpy(out, w->title.data(), static_cast<size_t>(len));
    out[len] = '\0';
    return len;
}

bool SysIsWindowMinimized(HWND32 window) {
    fake::Window* w = Find(window);
    return w != nullptr && w->minimized;
}

int SysGetWindowClass(HWND32 window, char* out, int size) {
    auto found = fake::windowClasses.find(window);
    const std::string name = found != fake::windowClasses.end() && Find(window) != nullptr ? found->second : "";
    if (size <= 0) return 0;
    const int len =
        static_cast<int>(name.size() < static_cast<size_t>(size) ? name.size() : static_cast<size_t>(size - 1));
    memcpy(out, name.data(), static_cast<size_t>(len));
    out[len] = '\0';
    return len;
}

bool SysShowWindow(HWND32 window, int showCommand) {
    fake::showCalls.push_back({window, showCommand});
    fake::Window* w = Find(window);
    if (w == nullptr) return false;
    if (showCommand == SW_RESTORE || showCommand == SW_SHOWNORMAL) w->minimized = false;
    if (showCommand == SW_MINIMIZE) w->minimized = true;
    return true;
}

bool SysActivateWindow(HWND32 window) {
    if (Find(window) == nullptr) return false;
    fake::activated.push_back(window);
    fake::foregroundWindow = window;
    return true;
}

bool SysGetWindowRect(HWND32 window, RECT32* out) {
    fake::Window* w = Find(window);
    if (w == nullptr) return false;
    *out = w->rect;
    return true;
}

HWND32 SysGetForegroundWindow() { return fake::foregroundWindow; }

bool SysGetScreenSize(int32_t* width, int32_t* height) {
    *width = 1280;
    *height = 1024;
    return true;
}

bool SysIsOwnWindow(HWND32 window) {
    fake::Window* w = Find(window);
    return w != nullptr && w->own;
}

// --- main window ---
bool ShellIsMainWindowVisible() { return fake::mainWindowVisible; }
bool ShellIsMainWindowMinimized() { return fake::mainWindowMinimized; }
void ShellShowMainWindow(int showCommand) {
    fake::mainWindowShowCommands.push_back(showCommand);
    if (showCommand == SW_MINIMIZE) fake::mainWindowMinimized = true;
    if (showCommand == SW_RESTORE || showCommand == SW_SHOWNORMAL) fake::mainWindowMinimized = false;
    fake::mainWindowVisible = showCommand != SW_HIDE;
}
bool ShellGetMainWindowPosition(int32_t* left, int32_t* top) {
    *left = fake::mainWindowLeft;
    *top = fake::mainWindowTop;
    return true;
}
void ShellMoveMainWindow(int32_t left, int32_t top) {
    fake::mainWindowLeft = left;
    fake::mainWindowTop = top;
}
void ShellSetMainWindowTopmost(bool topmost) { fake::mainWindowTopmost = topmost; }
void ShellShowPanes(bool shown) { fake::panesShown = shown; }
void ShellSetTrayIcon(int code, const char* tip) { fake::trayIcons.push_back({code, tip ? tip : ""}); }
bool ShellAddTrayIcon(int code, const char* tip) {
    fake::trayAdds.push_back({code, tip ? tip : ""});
    fake::trayIconShown = true;
    return fake::trayPresent;
}
void ShellRemoveTrayIcon() { fake::trayIconShown = false; }
bool ShellIsTrayIconReachable() { return fake::trayIconShown && fake::trayPresent; }
int ShellTrackTrayMenu(const TrayMenuItem* items, int count) {
    std::string menu;
    for (int i = 0; i < count; ++i) {
        if (i > 0) menu += '|';
        menu += items[i].id == 0 ? std::string("-") : std::string(items[i].text) + (items[i].enabled ? "" : "~");
    }
    fake::trayMenus.push_back(menu);
    if (fake::whileTrayMenuOpen) fake::whileTrayMenuOpen();
    if (fake::trayMenuAnswers.empty()) return 0;
    const int chosen = fake::trayMenuAnswers.front();
    fake::trayMenuAnswers.pop_front();
    return chosen;
}

bool SysGetCursorPos(int32_t* x, int32_t* y) {
    *x = fake::cursorX;
    *y = fake::cursorY;
    return true;
}

bool SysWindowAtPoint(int32_t x, int32_t y, bool topLevel, char* title, int titleSize, RECT32* rect) {
    std::string found;
    if (!fake::windowAtPoint || !fake::windowAtPoint(x, y, topLevel, &found, rect)) return false;
    snprintf(title, static_cast<size_t>(titleSize), "%s", found.c_str());
    return true;
}
