// Every setting of the main program: the in-memory copies that LoadSettings fills at
// start and SaveSettings writes back at exit, and the store operations on value paths.
#pragma once
#include <cstdint>

#include "platform/wintypes.h"
#include "settings/store_keys.h"

// The most passes a playback can be asked for.
const int32_t MAX_REPEATS = 2000000000;

// Every setting of the main program in memory, with its default: LoadSettings fills
// it from the store at start, SaveSettings writes it back at exit.
struct ProgramSettings {
    uint8_t gbPromptForSave = 1;
    uint8_t gbVisited = 0;
    int32_t gnFactorFast = 15;
    int32_t gnFactorSlow = 4;
    int32_t gnRandomMin = 1000;
    int32_t gnRandomMax = 9999;
    int32_t gnLoopTypeBase = 0;
    // gLog.gbLogLevel and gLog.gszLogFile: settings/log.h
    uint8_t gbShowTabs = 1;
    uint8_t gbInterruptWarning = 1;
    uint8_t gbMinimize = 0;
    uint8_t gbLastFileType = 1;      // 1 binary (.klr), 2 text (.klx)
    int32_t gnUserCommand = 0;
    uint8_t gbKeyboardService = 1;
    uint32_t gdwShowTrayIcon = 0;    // 0 off, else the tray's idle code (1000 / 1006)
    uint8_t gbRecentListSize = 8;
    uint8_t gbLastOptionsTab = 1;
    uint8_t gbExcludeKelmorAction = 1;
    uint8_t gbPlayImmediately = 0;
    uint8_t gbQuitWhenDone = 0;
    uint8_t gbIsWindowsXP = 0;
    uint8_t gbReload = 0;
    uint8_t gbPlayUpdate = 1;
    uint8_t gbGOTOWait = 2;
    uint8_t gbSpeed = 2;             // 1 Slow, 2 Normal, 3 Fast, 4 As Fast As Possible
    uint8_t gbContinuous = 0;
    int32_t gnRepeats = 1;
    uint8_t gbTopmost = 0;
    int32_t gnWindowLeft = -99;      // Left
    int32_t gnWindowTop = 0;         // Top
    int32_t gnLastTab = 1;           // LastTab, 1-based

    // Message-box base style: MB_TASKMODAL, with MB_TOPMOST while Topmost is on.
    uint32_t gdwMsgBoxStyle = MB_TASKMODAL;
};
// Global because the settings are read wherever a behaviour depends on them, from the
// hooks the system calls with no context to the dialogs.
extern ProgramSettings gSettings;

// Store operations on full value paths ("SOFTWARE\\Kelmor\\Speed"); root is always
// HKEY_CURRENT_USER. kind is REG_DWORD or REG_SZ (a string with '%' is stored as
// REG_EXPAND_SZ). textOut holds at least 256 bytes.
int SetRegistryValue(uint32_t root, const char* path, uint32_t kind, const char* text, uint32_t number);
uint32_t GetRegistryValue(uint32_t root, const char* path, uint32_t kind, char* textOut, uint32_t defaultValue);
void DeleteRegistryValue(uint32_t root, const char* path);
// The values of the program's own key by name. A DWORD that cannot be read is
// defaultValue; a text that cannot be read is empty (out holds at least 256 bytes).
uint32_t ReadSettingDword(const char* name, uint32_t defaultValue);
void WriteSettingDword(const char* name, uint32_t value);
void ReadSettingText(const char* name, char* out);
void WriteSettingText(const char* name, const char* text);

// The program that opens a file for editing when the Editor setting is empty.
extern const char kDefaultEditor[];
// The program that opens a file for editing: the Editor setting, or kDefaultEditor. out
// holds at least 256 bytes.
void ReadEditorSetting(char* out);

void LoadSettings();
// For the programs whose run is a session of the log (the program itself, a playback, a
// recording) once the settings are loaded: with logging on, erases the old log when
// RestartLog asks for it, then holds the log so that no program starting meanwhile erases
// it. Only a regular file the program made as its log is ever erased (one that is empty,
// or begins with the level line every log begins with), never a link, folder or device,
// nor a log that another running session holds; any other file is appended to, and the
// first line written to it says so.
void StartLogSession();
// Erases the log now as a restart would (with logging off too), then holds it again.
void EraseLogNow();
// Lets go of the log (the end of the process does as much).
void EndLogSession();
void SaveSettings();
int IsWindowsXPOrLater();
// Restores every in-memory setting, the log's among them, to its built-in default.
void ResetSettings();
