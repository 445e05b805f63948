#include "settings/settings.h"

#include <cstring>

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "settings/format.h"
#include "settings/log.h"

ProgramSettings gSettings;

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
    return kNames[gLog.gbLogLevel >= LOG_HIGH ? 2 : gLog.gbLogLevel - 1];
}

// An empty file, one that begins as the program's logs begin, or the default log in the
// program's own folder (older ones began otherwise). Name is a regular file.
bool IsKelmorLog(const char* name) {
    char own[sizeof gLog.gszLogFile];
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
    if (!LogEnabled(LOG_LOW) || gLog.gszLogFile[0] == '\0') return;
    gLogHold = SysHoldFile(gLog.gszLogFile);
    if (gLogHold == SYS_NO_FILE) return;
    if (SysGetFileSize(gLog.gszLogFile) == 0) WriteLogLine(gLog.gszLogFile, "%s%s", kLevelLine, LevelName());
    if (kept) WriteLogLine(gLog.gszLogFile, "This file was not begun as a Kelmor log: it is appended to, never erased");
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
    gSettings = ProgramSettings{};
    gLog = LogSetting{};
    SysDefaultLogPath(gLog.gszLogFile, sizeof gLog.gszLogFile);
}

void LoadSettings() {
    gSettings.gbPromptForSave = static_cast<uint8_t>(ReadSettingDword("PromptForSave", 1));
    gSettings.gbVisited = static_cast<uint8_t>(ReadSettingDword("Visited", 0));
    gSettings.gnFactorFast = static_cast<int32_t>(ReadSettingDword("FactorFast", 15));
    gSettings.gnFactorSlow = static_cast<int32_t>(ReadSettingDword("FactorSlow", 4));
    gSettings.gnRandomMin = static_cast<int32_t>(ReadSettingDword("RandomMin", 1000));
    gSettings.gnRandomMax = static_cast<int32_t>(ReadSettingDword("RandomMax", 9999));
    gSettings.gnLoopTypeBase = static_cast<int32_t>(ReadSettingDword("LoopTypeBase", 0));
    gLog.gbLogLevel = static_cast<uint8_t>(ReadSettingDword("Log", 0));
    gSettings.gbShowTabs = static_cast<uint8_t>(ReadSettingDword("ShowTabs", 1));
    gSettings.gbInterruptWarning = static_cast<uint8_t>(ReadSettingDword("InterruptWarning", 1));
    gSettings.gbMinimize = static_cast<uint8_t>(ReadSettingDword("Minimize", 0));
    gSettings.gbLastFileType = static_cast<uint8_t>(ReadSettingDword("LastFileType", 1));
    gSettings.gnUserCommand = static_cast<int32_t>(ReadSettingDword("UserCommand", 0));
    gSettings.gbKeyboardService = static_cast<uint8_t>(ReadSettingDword("KeyboardService", 1));
    // Only the low 8 bits decide whether the tray is on; the idle code itself is kept.
    gSettings.gdwShowTrayIcon = ReadSettingDword("ShowTrayIcon", 0);
    if ((gSettings.gdwShowTrayIcon & 0xFFu) == 0) gSettings.gdwShowTrayIcon = 0;
    gSettings.gbRecentListSize = static_cast<uint8_t>(ReadSettingDword("RecentListSize", 8));
    gSettings.gbLastOptionsTab = static_cast<uint8_t>(ReadSettingDword("LastOptionsTab", 1));
    gSettings.gbExcludeKelmorAction = static_cast<uint8_t>(ReadSettingDword("ExcludeKelmorAction", 1));
    gSettings.gbPlayImmediately = static_cast<uint8_t>(ReadSettingDword("PlayImmediately", 0));
    gSettings.gbQuitWhenDone = static_cast<uint8_t>(ReadSettingDword("QuitWhenDone", 0));
    gSettings.gbIsWindowsXP =
        static_cast<uint8_t>(ReadSettingDword("IsWindowsXP", static_cast<uint32_t>(IsWindowsXPOrLater())));
    gSettings.gbReload = static_cast<uint8_t>(ReadSettingDword("Reload", 0));
    gSettings.gbPlayUpdate = static_cast<uint8_t>(ReadSettingDword("PlayUpdate", 1));
    gSettings.gbGOTOWait = static_cast<uint8_t>(ReadSettingDword("GOTOWait", 2));
    if (ReadSettingDword("RememberPlaybackSettings", 1) != 0) {
        gSettings.gbSpeed = static_cast<uint8_t>(ReadSettingDword("Speed", 2));
        gSettings.gbContinuous = static_cast<uint8_t>(ReadSettingDword("Continuous", 0));
        gSettings.gnRepeats = static_cast<int32_t>(ReadSettingDword("Repeats", 1));
    } else {
        gSettings.gbSpeed = 2;
        gSettings.gbContinuous = 0;
        gSettings.gnRepeats = 1;
    }
    gSettings.gbTopmost = static_cast<uint8_t>(ReadSettingDword("Topmost", 0));
    gSettings.gdwMsgBoxStyle = gSettings.gbTopmost ? (MB_TASKMODAL | MB_TOPMOST) : MB_TASKMODAL;
    ReadSettingText("Logfile", gLog.gszLogFile);
    if (gLog.gszLogFile[0] == '\0') SysDefaultLogPath(gLog.gszLogFile, sizeof gLog.gszLogFile);
    if (gSettings.gbSpeed == 0 || gSettings.gbSpeed > 4) gSettings.gbSpeed = 2;
    if (gSettings.gnRepeats <= 0 || gSettings.gnRepeats > MAX_REPEATS) gSettings.gnRepeats = 1;
}

void StartLogSession() {
    EndLogSession();
    if (!LogEnabled(LOG_LOW) || gLog.gszLogFile[0] == '\0') return;
    HoldLog(ReadSettingDword("RestartLog", 1) != 0 && EraseOrKeepLog(gLog.gszLogFile));
}

void EraseLogNow() {
    EndLogSession();
    HoldLog(EraseOrKeepLog(gLog.gszLogFile));
}

void EndLogSession() {
    SysClose(gLogHold);
    gLogHold = SYS_NO_FILE;
}

void SaveSettings() {
    WriteSettingDword("Left", static_cast<uint32_t>(gSettings.gnWindowLeft));
    WriteSettingDword("Top", static_cast<uint32_t>(gSettings.gnWindowTop));
    WriteSettingDword("ExcludeKelmorAction", gSettings.gbExcludeKelmorAction);
    WriteSettingDword("PlayImmediately", gSettings.gbPlayImmediately);
    WriteSettingDword("QuitWhenDone", gSettings.gbQuitWhenDone);
    WriteSettingDword("IsWindowsXP", gSettings.gbIsWindowsXP);
    WriteSettingDword("Reload", gSettings.gbReload);
    WriteSettingDword("Topmost", gSettings.gbTopmost);
    WriteSettingDword("PromptForSave", gSettings.gbPromptForSave);
    WriteSettingDword("Visited", gSettings.gbVisited);
    WriteSettingDword("ShowTabs", gSettings.gbShowTabs);
    WriteSettingDword("Speed", gSettings.gbSpeed);
    WriteSettingDword("Repeats", static_cast<uint32_t>(gSettings.gnRepeats));
    WriteSettingDword("Continuous", gSettings.gbContinuous);
    WriteSettingDword("Minimize", gSettings.gbMinimize);
    WriteSettingDword("FactorFast", static_cast<uint32_t>(gSettings.gnFactorFast));
    WriteSettingDword("FactorSlow", static_cast<uint32_t>(gSettings.gnFactorSlow));
    WriteSettingDword("LastTab", static_cast<uint32_t>(gSettings.gnLastTab));
    WriteSettingDword("RandomMin", static_cast<uint32_t>(gSettings.gnRandomMin));
    WriteSettingDword("RandomMax", static_cast<uint32_t>(gSettings.gnRandomMax));
    WriteSettingDword("LoopTypeBase", static_cast<uint32_t>(gSettings.gnLoopTypeBase));
    WriteSettingDword("Log", gLog.gbLogLevel);
    WriteSettingDword("InterruptWarning", gSettings.gbInterruptWarning);
    WriteSettingText("Logfile", gLog.gszLogFile);
    WriteSettingDword("LastFileType", gSettings.gbLastFileType);
    WriteSettingDword("UserCommand", static_cast<uint32_t>(gSettings.gnUserCommand));
    WriteSettingDword("KeyboardService", gSettings.gbKeyboardService);
    WriteSettingDword("ShowTrayIcon", gSettings.gdwShowTrayIcon);
    WriteSettingDword("RecentListSize", gSettings.gbRecentListSize);
    WriteSettingDword("LastOptionsTab", gSettings.gbLastOptionsTab);
    WriteSettingDword("PlayUpdate", gSettings.gbPlayUpdate);
    WriteSettingDword("GOTOWait", gSettings.gbGOTOWait);
}
