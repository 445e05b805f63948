// Scriptable fakes of the platform seams, with a record of every call, for unit tests.
#pragma once
#include <cstdint>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialog.h"
#include "platform/keyboard_hook.h"
#include "platform/wintypes.h"

namespace fake {

// --- shell ---
struct MessageBoxCall {
    std::string text;
    std::string caption;
    uint32_t style;
    int iconId;  // 0 unless shown as an icon message box
};
extern std::vector<MessageBoxCall> messageBoxes;
// Answers given in order; when none is left a box answers with its first button.
extern std::deque<int> messageBoxAnswers;

extern std::string windowTitle;
extern std::map<int, bool> commandEnabled;

struct MenuItem {
    int id;            // 0 for a separator or a submenu
    std::string text;  // in the local wording
    bool grayed = false;
    bool checked = false;
};
// The menu bar: one list of items per menu and submenu, in the order they open in the
// menu description; a submenu also stands as an item with id 0 and its title in its menu.
// Reset() builds it from the description.
extern std::vector<std::vector<MenuItem>> menuBar;
// The item with this id, or nullptr.
MenuItem* FindMenuItem(int id);

struct FileDialogCall {
    bool save;
    std::string initialName;
    std::string filters;  // the NUL-separated list with its NULs as '|'
    int filterIndex;
};
extern std::vector<FileDialogCall> fileDialogs;
struct FileDialogAnswer {
    bool chosen;
    std::string name;
    int filter;
};
// Answers given in order; when none is left the dialog is cancelled.
extern std::deque<FileDialogAnswer> fileDialogAnswers;

extern std::deque<int> postedCommands;
// Message boxes queued for the loop, not shown yet.
extern std::vector<MessageBoxCall> postedMessageBoxes;
// Dispatches queued commands until the queue is empty; returns how many ran.
int RunPostedCommands();
extern int focusedSpeedButton;
// The exit code of the last ShellQuitMessageLoop, -1 while the loop was never quit.
extern int quitExitCode;
// What the program handed over for the system's order to end it.
extern void (*endSessionHandler)();
// The running timers by id: period and tick handler.
struct Timer {
    unsigned periodMs;
    void (*onTick)(int id);
};
extern std::map<int, Timer> timers;

// --- clock ---
extern uint32_t tickCount;
extern SYSTEMTIME localTime;

// --- input ---
// A key sent, or a typed character (vk VK_PACKET, the character in character).
struct KeyEvent {
    uint8_t vk;
    uint8_t scan;
    uint32_t flags;
    uint32_t character = 0;
    bool held = false;  // sent while other input was held back
};
extern std::vector<KeyEvent> keyEvents;
// Whether other input is held back now, and how many holds to come find keys already
// waiting after the event being handled (and so hold nothing).
extern bool otherInputHeld;
extern int holdsFindingNewerKeys;
// Whether the key handed to the keyboard hook came after the last typing was let go.
extern bool keyAfterTyping;
extern uint8_t keyboardState[256];
// Virtual keys no key stands for: sending them sends nothing.
extern std::set<uint8_t> unsentKeys;
// Characters the system cannot make (control characters never can), and the key events
// one press or release of any other character takes.
extern std::set<uint32_t> untypableCharacters;
extern int eventsPerCharacter;
// The character the key handed to the keyboard hook makes.
extern uint32_t eventCharacter;

// --- process ---
extern std::vector<std::string> startedPrograms;
extern bool startProgramSucceeds;
// This process's id, and the other processes that run.
extern uint32_t processId;
extern std::set<uint32_t> runningProcesses;
// What ShellOpen was given, in order, and whether the desktop opens it.
extern std::vector<std::string> openedUris;
extern bool openSucceeds;
// What ShellOpenTextFile was given; it opens as ShellOpen does.
extern std::vector<std::string> openedTextFiles;

// --- shared memory: blocks by name, kept while the test runs ---
extern std::map<std::string, std::vector<uint8_t>> sharedBlocks;
void RetireSharedBlocks();
extern bool refuseSharedMemory;

// --- clipboard ---
extern bool clipboardHasText;
extern std::string clipboardText;
// How many texts were put on the clipboard.
extern int clipboardSets;

// --- modules ---
// The module files there are, by file name, each with its entries' addresses by name.
extern std::map<std::string, std::map<std::string, void*>> modules;

// Clears every record and script and restores the default menus.
void Reset();

}  // namespace fake

namespace fake {
// --- settings store (in memory) ---
struct StoredValue {
    std::string name;  // as first written
    uint32_t kind;
    std::string data;  // raw bytes; strings include their terminating zero
};
// Keys by lower-cased path; each holds its values by lower-cased name.
extern std::map<std::string, std::map<std::string, StoredValue>> store;
// Reads a DWORD or string value back for checks; false when missing.
bool StoredDword(const std::string& keyPath, const std::string& name, uint32_t* out);
bool StoredString(const std::string& keyPath, const std::string& name, std::string* out, uint32_t* kind = nullptr);
// Writes (values set, keys created) that succeed before every further one fails; -1: none fails.
extern int storeWritesBeforeFailure;
// Whether the end of a set of changes fails to write it (leaving this error), and how
// many sets were written.
extern bool storeEndFails;
const uint32_t kStoreEndError = 5;
extern int storeSetsWritten;
void ResetStore();
// Whether the store holds exactly these keys and values.
bool StoreEquals(const std::map<std::string, std::map<std::string, StoredValue>>& other);
}  // namespace fake

#include <functional>

#include "platform/desktop.h"
#include "platform/journal.h"

namespace fake {
// --- main window (shell) ---
extern bool mainWindowVisible;
extern bool mainWindowMinimized;
// Where the main window's frame is; moves change it.
extern int32_t mainWindowLeft, mainWindowTop;
extern std::vector<int> mainWindowShowCommands;
extern bool mainWindowTopmost;
extern bool panesShown;
extern std::string statusText;
extern std::string repeatField;
struct TrayCall {
    int code;
    std::string tip;
};
extern std::vector<TrayCall> trayIcons;  // SetTrayIcon calls
extern std::vector<TrayCall> trayAdds;
extern bool trayPresent;    // the desktop has a tray (default)
extern bool trayIconShown;  // added and not removed since
// Each tray menu shown, as "text|text~|-|...": '~' marks a grey item, '-' a separator.
extern std::vector<std::string> trayMenus;
// Ids chosen in the tray menus, in order; when none is left nothing is chosen.
extern std::deque<int> trayMenuAnswers;
// What happens while a tray menu is open (a second right click, say).
extern std::function<void()> whileTrayMenuOpen;

// --- input ---
struct MouseEvent {
    uint32_t flags;
    int32_t dx, dy, data;
};
extern std::vector<MouseEvent> mouseEvents;

// --- journal ---
// The installed hook, 0 for none.
extern intptr_t journalHook;
extern bool refuseJournalHook;   // the next installations fail
extern int journalInstalls;
extern std::vector<int> nextHookCodes;   // codes the procedure passed on
extern void (*journalCancelHandler)();
// The events the fake system injected during playback, with the tick of delivery.
extern std::vector<EVENTMSG> delivered;
extern std::vector<uint32_t> deliveredAt;
// How long the fake system really waits for a requested delay; default: exactly.
extern std::function<int32_t(int32_t requested)> actualWait;
// Plays as the system does while a playback hook is installed: HC_GETNEXT, wait the
// returned delay on the fake clock and ask again, deliver a filled record, HC_SKIP.
// Stops when no playback hook is left or after maxEvents deliveries; returns the count.
int RunPlayback(int maxEvents = 1000000);
// Hands one event to the installed record hook with HC_ACTION; the tick is set to its time.
intptr_t FeedRecord(const EVENTMSG& event);
// Input the system took but has not handed to the record hook yet; removing the hook
// hands it over first.
extern std::vector<EVENTMSG> unreadRecords;

// --- desktop ---
struct Window {
    HWND32 handle;
    std::string title;
    RECT32 rect;
    bool minimized;
    bool own;  // the program's own (main window or inside it)
    bool hidden = false;  // withdrawn: listed only with the hidden windows
};
extern std::vector<Window> windows;  // in the system's order
extern HWND32 foregroundWindow;
// Window classes by window; a window missing here has none.
extern std::map<HWND32, std::string> windowClasses;
struct ShowCall {
    HWND32 window;
    int command;
};
extern std::vector<ShowCall> showCalls;
extern std::vector<HWND32> activated;
extern int windowEnumerations;
// Where the pointer is.
extern int32_t cursorX, cursorY;
// The window under a screen point as SysWindowAtPoint finds it: its title and rectangle;
// false (or no script) when there is none.
extern std::function<bool(int32_t x, int32_t y, bool topLevel, std::string* title, RECT32* rect)> windowAtPoint;
}  // namespace fake

namespace fake {
// --- dialogs ---
struct Control {
    std::string text;  // in the local wording
    bool checked = false;
    bool enabled = true;
    bool shown = true;
    std::vector<std::string> items;
    int selection = -1;
    int image = 0;  // the bitmap of a picture or gadget
    int position = 0;  // a slider's
    bool capturing = false;  // holds the pointer (DialogCapturePointer)
    // The last DialogFitDropDown: its limit (0: never fitted) and how many items the list
    // held then.
    int dropDownLimit = 0;
    int dropDownItems = 0;
    // The caret and selection in the field: after the text once the program sets it.
    int selectionStart = 0, selectionEnd = 0;
};
struct Dialog {
    const DialogDescription* description = nullptr;
    DialogProc proc = nullptr;
    std::map<int, Control> controls;  // by control id, from the description
    bool open = false;
    int result = -1;  // given to DialogEnd
};
// Every dialog created or run, by dialog id; a closed one keeps its last values.
extern std::map<int, Dialog> dialogs;
// The ids of the modal dialogs run, in order.
extern std::vector<int> dialogRuns;
// What a person does in each modal dialog, in order, once its procedure has been told
// DIALOG_INIT: usually DialogCommand calls. A dialog still open afterwards, or run with
// no script left, ends with IDCANCEL.
extern std::deque<std::function<void(int dialog)>> dialogScripts;
// Calls naming a dialog that is not open or a control it does not have.
extern std::vector<std::string> dialogErrors;
extern int focusedDialog, focusedControl;
// Passes a control's notification to the dialog's procedure, as a click or typing would.
void DialogCommand(int dialog, int control, int notification);
// A control of an open or closed dialog (created empty when missing, for checks).
Control& DialogControl(int dialog, int control);

// --- keyboard hook ---
extern KeyboardProc keyboardProc;  // the installed procedure, nullptr for none
extern intptr_t keyboardHook;      // its handle, 0 for none
extern bool refuseKeyboardHook;    // the next installations fail
extern std::vector<TakenKey> takenKeys;  // the keys taken last, cleared by the unhook
extern std::vector<TakenKey> busyKeys;   // combinations other programs hold
extern const char* hookReach;            // what SysKeyboardHookReach answers
}  // namespace fake
