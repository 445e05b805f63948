#include "settings/settings.h"

#include <cstring>

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "settings/format.h"
#include "settings/log.h"

uint8_t gbPromptForSave;
uint8_t gbVisited;
int32_t gnFactorFast;
int32_t gnFactorSlow;
int32_t gnRandomMin;
int32_t gnRandomMax;
int32_t gnLoopTypeBase;
uint8_t gbShowTabs;
uint8_t gbInterruptWarning;
uint8_t gbMinimize;
uint8_t gbLastFileType;
int32_t gnUserCommand;
uint8_t gbKeyboardService;
uint32_t gdwShowTrayIcon;
uint8_t gbRecentListSize;
uint8_t gbLastOptionsTab;
uint8_t gbExcludeKelmorAction;
uint8_t gbPlayImmediately;
uint8_t gbQuitWhenDone;
uint8_t gbIsWindowsXP;
uint8_t gbReload;
uint8_t gbPlayUpdate;
uint8_t gbGOTOWait;
uint8_t gbSpeed;
uint8_t gbContinuous;
int32_t gnRepeats;
uint8_t gbTopmost;
int32_t gnWindowLeft;
int32_t gnWindowTop;
int32_t gnLastTab;
uint32_t gdwMsgBoxStyle = MB_TASKMODAL;

namespace {

// Splits "key\\path\\Value" at its last backslash. False when there is none or a part
// does not fit.
bool SplitPath(const char* path, char* key, size_t keySize, const char** name) {
    if (path == nullptr) return false;
    const char* slash = strrchr(path, '\\');
    if (slash == nullptr) return false;
    size_t len = static_cast<size_t>(slash - path);
    if (len == 0 || len >= keySize) return false;
    memcpy(key, path, len);
    key[len] = '\0';
    *name = slash + 1;
    return true;
}

// The log this process holds while it runs as a session of the log.
SysFile gLogHold = SYS_NO_FILE;

// Every log the program begins starts with the line for its level, which the Advanced
// Options also write; a file that starts so is the program's own log to erase.
const char kLevelLine[] = "Log level set to ";

const char* LevelName() {
    static const char* const kNames[] = {"LOW", "MEDIUM", "HIGH"};
    return kNames[gbLogLevel >= LOG_HIGH ? 2 : gbLogLevel - 1];
}

// An empty file, one that begins as the program's logs begin, or the default log in the
// program's own folder (older ones began otherwise). Name is a regular file.
bool IsKelmorLog(const char* name) {
    char own[sizeof gszLogFile];
    if (SysDefaultLogPath(own, sizeof own) && strcmp(name, own) == 0) return true;
    const SysFile file = SysOpenRead(name);
    if (file == SYS_NO_FILE) return false;
    char head[sizeof kLevelLine - 1];
    const int got = SysReadAt(file, 0, head, sizeof head);
    SysClose(file);
    return got == 0 || (got == static_cast<int>(sizeof head) && memcmp(head, kLevelLine, sizeof head) == 0);
}

// Erases the log named when it is a regular file the program made as its log and no
// running session holds it. Returns true for a file that is kept because something else
// made it (notes a user pointed the setting at, say): it is only ever appended to.
bool EraseOrKeepLog(const char* name) {
    if (name[0] == '\0' || SysGetFileKind(name) != SYS_FILE_REGULAR) return false;
    if (!IsKelmorLog(name)) return true;
    // A failed delete is no matter: the file is in use, or gone.
    SysDeleteUnusedFile(name);
    return false;
}

// Holds the log for this session; a new one begins with its level line, and a file kept
// from erasing says so first.
void HoldLog(bool kept) {
    if (!LogEnabled(LOG_LOW) || gszLogFile[0] == '\0') return;
    gLogHold = SysHoldFile(gszLogFile);
    if (gLogHold == SYS_NO_FILE) return;
    if (SysGetFileSize(gszLogFile) == 0) WriteLogLine(gszLogFile, "%s%s", kLevelLine, LevelName());
    if (kept) WriteLogLine(gszLogFile, "This file was not begun as a Kelmor log: it is appended to, never erased");
}

}  // namespace

// Each system's own way to open a text file: the desktop's chosen program, or notepad.
#ifdef _WIN32
const char kDefaultEditor[] = "notepad.exe";
#else
const char kDefaultEditor[] = "xdg-open";
#endif

void ReadEditorSetting(char* out) {
    ReadSettingText("Editor", out);
#ifdef _WIN32
    // Earlier Windows builds showed, saved and exported the desktop opener as their
    // default; it starts nothing here.
    if (strcmp(out, "xdg-open") == 0) out[0] = '\0';
#endif
    if (out[0] == '\0') FormatText(out, 256, "%s", kDefaultEditor);
}

namespace {

void SettingPath(const char* name, char* path, int size) { FormatText(path, size, KELMOR_KEY "\\%s", name); }

}  // namespace

uint32_t ReadSettingDword(const char* name, uint32_t defaultValue) {
    char path[128];
    SettingPath(name, path, sizeof path);
    return GetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, defaultValue);
}

void WriteSettingDword(const char* name, uint32_t value) {
    char path[128];
    SettingPath(name, path, sizeof path);
    SetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, value);
}

void ReadSettingText(const char* name, char* out) {
    char path[128];
    SettingPath(name, path, sizeof path);
    GetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, out, 0);
}

void WriteSettingText(const char* name, const char* text) {
    char path[128];
    SettingPath(name, path, sizeof path);
    SetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, text, 0);
}

int SetRegistryValue(uint32_t, const char* path, uint32_t kind, const char* text, uint32_t number) {
    char key[512];
    const char* name = nullptr;
    if (!SplitPath(path, key, sizeof key, &name)) return 0;
    if (!StoreKeyExists(key) && !StoreCreateKey(key)) return 0;
    if (kind == REG_DWORD) {
        uint8_t data[4] = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8),
                           static_cast<uint8_t>(number >> 16), static_cast<uint8_t>(number >> 24)};
        return StoreSetValue(key, name, REG_DWORD, data, 4) ? 1 : 0;
    }
    if (text == nullptr) return 0;
    uint32_t storedKind = strchr(text, '%') != nullptr ? REG_EXPAND_SZ : REG_SZ;
    return StoreSetValue(key, name, storedKind, text, static_cast<uint32_t>(strlen(text) + 1)) ? 1 : 0;
}

uint32_t GetRegistryValue(uint32_t, const char* path, uint32_t kind, char* textOut, uint32_t defaultValue) {
    if (textOut != nullptr) textOut[0] = '\0';
    char key[512];
    const char* name = nullptr;
    if (!SplitPath(path, key, sizeof key, &name)) return defaultValue;
    if (kind == REG_DWORD) {
        uint8_t data[4];
        uint32_t size = sizeof data;
        uint32_t stored = 0;
        // A value of another kind or size is not a number: it reads as the default.
        if (!StoreQueryValue(key, name, &stored, data, &size) || stored != REG_DWORD || size != 4) return defaultValue;
        return static_cast<uint32_t>(data[0]) | static_cast<uint32_t>(data[1]) << 8 |
               static_cast<uint32_t>(data[2]) << 16 | static_cast<uint32_t>(data[3]) << 24;
    }
    char data[256];
    uint32_t size = sizeof data;
    uint32_t stored = 0;
    if (!StoreQueryValue(key, name, &stored, data, &size) || (stored != REG_SZ && stored != REG_EXPAND_SZ)) {
        return defaultValue;
    }
    // A text that does not fit is not cut: a cut file name would name another file.
    const size_t len = strnlen(data, size);
    if (len >= sizeof data) return defaultValue;
    if (textOut != nullptr) {
        memcpy(textOut, data, len);
        textOut[len] = '\0';
    }
    return 0;
}

void DeleteRegistryValue(uint32_t, const char* path) {
    char key[512];
    const char* name = nullptr;
    if (!SplitPath(path, key, sizeof key, &name)) return;
    if (!StoreKeyExists(key)) return;
    if (!StoreDeleteValue(key, name)) StoreDeleteKey(path);
}

int IsWindowsXPOrLater() {
    uint32_t platform = 0, major = 0, minor = 0;
    if (!SysGetVersion(&platform, &major, &minor, nullptr)) return 0;
    if (platform != VER_PLATFORM_WIN32_NT) return 0;
    return (major > 5 || (major == 5 && minor != 0)) ? 1 : 0;
}

void ResetSettings() {
    gbPromptForSave = 1;
    gbVisited = 0;
    gnFactorFast = 15;
    gnFactorSlow = 4;
    gnRandomMin = 1000;
    gnRandomMax = 9999;
    gnLoopTypeBase = 0;
    gbLogLevel = LOG_OFF;
    gbShowTabs = 1;
    gbInterruptWarning = 1;
    gbMinimize = 0;
    gbLastFileType = 1;
    gnUserCommand = 0;
    gbKeyboardService = 1;
    gdwShowTrayIcon = 0;
    gbRecentListSize = 8;
    gbLastOptionsTab = 1;
    gbExcludeKelmorAction = 1;
    gbPlayImmediately = 0;
    gbQuitWhenDone = 0;
    gbIsWindowsXP = 0;
    gbReload = 0;
    gbPlayUpdate = 1;
    gbGOTOWait = 2;
    gbSpeed = 2;
    gbContinuous = 0;
    gnRepeats = 1;
    gbTopmost = 0;
    gnWindowLeft = -99;
    gnWindowTop = 0;
    gnLastTab = 1;
    gdwMsgBoxStyle = MB_TASKMODAL;
    SysDefaultLogPath(gszLogFile, sizeof gszLogFile);
}

void LoadSettings() {
    gbPromptForSave = static_cast<uint8_t>(ReadSettingDword("PromptForSave", 1));
    gbVisited = static_cast<uint8_t>(ReadSettingDword("Visited", 0));
    gnFactorFast = static_cast<int32_t>(ReadSettingDword("FactorFast", 15));
    gnFactorSlow = static_cast<int32_t>(ReadSettingDword("FactorSlow", 4));
    gnRandomMin = static_cast<int32_t>(ReadSettingDword("RandomMin", 1000));
    gnRandomMax = static_cast<int32_t>(ReadSettingDword("RandomMax", 9999));
    gnLoopTypeBase = static_cast<int32_t>(ReadSettingDword("LoopTypeBase", 0));
    gbLogLevel = static_cast<uint8_t>(ReadSettingDword("Log", 0));
    gbShowTabs = static_cast<uint8_t>(ReadSettingDword("ShowTabs", 1));
    gbInterruptWarning = static_cast<uint8_t>(ReadSettingDword("InterruptWarning", 1));
    gbMinimize = static_cast<uint8_t>(ReadSettingDword("Minimize", 0));
    gbLastFileType = static_cast<uint8_t>(ReadSettingDword("LastFileType", 1));
    gnUserCommand = static_cast<int32_t>(ReadSettingDword("UserCommand", 0));
    gbKeyboardService = static_cast<uint8_t>(ReadSettingDword("KeyboardService", 1));
    // Only the low 8 bits decide whether the tray is on; the idle code itself is kept.
    gdwShowTrayIcon = ReadSettingDword("ShowTrayIcon", 0);
    if ((gdwShowTrayIcon & 0xFFu) == 0) gdwShowTrayIcon = 0;
    gbRecentListSize = static_cast<uint8_t>(ReadSettingDword("RecentListSize", 8));
    gbLastOptionsTab = static_cast<uint8_t>(ReadSettingDword("LastOptionsTab", 1));
    gbExcludeKelmorAction = static_cast<uint8_t>(ReadSettingDword("ExcludeKelmorAction", 1));
    gbPlayImmediately = static_cast<uint8_t>(ReadSettingDword("PlayImmediately", 0));
    gbQuitWhenDone = static_cast<uint8_t>(ReadSettingDword("QuitWhenDone", 0));
    gbIsWindowsXP = static_cast<uint8_t>(ReadSettingDword("IsWindowsXP", static_cast<uint32_t>(IsWindowsXPOrLater())));
    gbReload = static_cast<uint8_t>(ReadSettingDword("Reload", 0));
    gbPlayUpdate = static_cast<uint8_t>(ReadSettingDword("PlayUpdate", 1));
    gbGOTOWait = static_cast<uint8_t>(ReadSettingDword("GOTOWait", 2));
    if (ReadSettingDword("RememberPlaybackSettings", 1) != 0) {
        gbSpeed = static_cast<uint8_t>(ReadSettingDword("Speed", 2));
        gbContinuous = static_cast<uint8_t>(ReadSettingDword("Continuous", 0));
        gnRepeats = static_cast<int32_t>(ReadSettingDword("Repeats", 1));
    } else {
        gbSpeed = 2;
        gbContinuous = 0;
        gnRepeats = 1;
    }
    gbTopmost = static_cast<uint8_t>(ReadSettingDword("Topmost", 0));
    gdwMsgBoxStyle = gbTopmost ? (MB_TASKMODAL | MB_TOPMOST) : MB_TASKMODAL;
    ReadSettingText("Logfile", gszLogFile);
    if (gszLogFile[0] == '\0') SysDefaultLogPath(gszLogFile, sizeof gszLogFile);
    if (gbSpeed == 0 || gbSpeed > 4) gbSpeed = 2;
    if (gnRepeats <= 0 || gnRepeats > MAX_REPEATS) gnRepeats = 1;
}

void StartLogSession() {
    EndLogSession();
    if (!LogEnabled(LOG_LOW) || gszLogFile[0] == '\0') return;
    HoldLog(ReadSettingDword("RestartLog", 1) != 0 && EraseOrKeepLog(gszLogFile));
}

void EraseLogNow() {
    EndLogSession();
    HoldLog(EraseOrKeepLog(gszLogFile));
}

void EndLogSession() {
    SysClose(gLogHold);
    gLogHold = SYS_NO_FILE;
}

void SaveSettings() {
    WriteSettingDword("Left", static_cast<uint32_t>(gnWindowLeft));
    WriteSettingDword("Top", static_cast<uint32_t>(gnWindowTop));
    WriteSettingDword("ExcludeKelmorAction", gbExcludeKelmorAction);
    WriteSettingDword("PlayImmediately", gbPlayImmediately);
    WriteSettingDword("QuitWhenDone", gbQuitWhenDone);
    WriteSettingDword("IsWindowsXP", gbIsWindowsXP);
    WriteSettingDword("Reload", gbReload);
    WriteSettingDword("Topmost", gbTopmost);
    WriteSettingDword("PromptForSave", gbPromptForSave);
    WriteSettingDword("Visited", gbVisited);
    WriteSettingDword("ShowTabs", gbShowTabs);
    WriteSettingDword("Speed", gbSpeed);
    WriteSettingDword("Repeats", static_cast<uint32_t>(gnRepeats));
    WriteSettingDword("Continuous", gbContinuous);
    WriteSettingDword("Minimize", gbMinimize);
    WriteSettingDword("FactorFast", static_cast<uint32_t>(gnFactorFast));
    WriteSettingDword("FactorSlow", static_cast<uint32_t>(gnFactorSlow));
    WriteSettingDword("LastTab", static_cast<uint32_t>(gnLastTab));
    WriteSettingDword("RandomMin", static_cast<uint32_t>(gnRandomMin));
    WriteSettingDword("RandomMax", static_cast<uint32_t>(gnRandomMax));
    WriteSettingDword("LoopTypeBase", static_cast<uint32_t>(gnLoopTypeBase));
    WriteSettingDword("Log", gbLogLevel);
    WriteSettingDword("InterruptWarning", gbInterruptWarning);
    WriteSettingText("Logfile", gszLogFile);
    WriteSettingDword("LastFileType", gbLastFileType);
    WriteSettingDword("UserCommand", static_cast<uint32_t>(gnUserCommand));
    WriteSettingDword("KeyboardService", gbKeyboardService);
    WriteSettingDword("ShowTrayIcon", gdwShowTrayIcon);
    WriteSettingDword("RecentListSize", gbRecentListSize);
    WriteSettingDword("LastOptionsTab", gbLastOptionsTab);
    WriteSettingDword("PlayUpdate", gbPlayUpdate);
    WriteSettingDword("GOTOWait", gbGOTOWait);
}
