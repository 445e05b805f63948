#include "settings/settings_backup.h"

#include <cstring>
#include <initializer_list>

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/recent_files.h"
#include "settings/settings.h"

// The file names the keys as the registry of the program's first home does, so that it
// imports there as well.
#define BACKUP_ROOT "HKEY_CURRENT_USER\\Software\\Kelmor"

namespace {

enum { MAPPING_SLOTS = 255, HEX_BYTES_PER_LINE = 21, TEXT_SIZE = 256 };

// Lines gather here and go out in few writes; the first failed write is remembered with
// its reason (the store's reads after it set errors of their own) and nothing more is
// written.
struct Output {
    SysFile file;
    bool ok;
    uint32_t error;
    uint32_t used;
    char buffer[4096];
};

void Flush(Output* out) {
    if (out->ok && out->used > 0) {
        out->ok = SysWriteAtEnd(out->file, out->buffer, out->used);
        if (!out->ok) out->error = SysGetLastError();
    }
    out->used = 0;
}

void Put(Output* out, const char* text, size_t length) {
    while (length > 0) {
        if (out->used == sizeof out->buffer) Flush(out);
        size_t n = sizeof out->buffer - out->used;
        if (n > length) n = length;
        memcpy(out->buffer + out->used, text, n);
        out->used += static_cast<uint32_t>(n);
        text += n;
        length -= n;
    }
}

void PutText(Output* out, const char* text) { Put(out, text, strlen(text)); }

void PutDword(Output* out, const char* name, uint32_t value) {
    char line[80];
    Put(out, line, static_cast<size_t>(FormatText(line, sizeof line, "\"%s\"=dword:%08x\r\n", name, value)));
}

void PutHexText(Output* out, const char* name, int kind, const char* text);

// A registry script doubles a backslash; every other byte, a double quote too, goes as it is.
// A line end cannot stand in a quoted text: such a text goes in hexadecimal form, as the
// store keeps it (an expandable text when it holds a '%').
void PutString(Output* out, const char* name, const char* text) {
    if (strpbrk(text, "\r\n") != nullptr) {
        PutHexText(out, name, strchr(text, '%') != nullptr ? REG_EXPAND_SZ : REG_SZ, text);
        return;
    }
    PutText(out, "\"");
    PutText(out, name);
    PutText(out, "\"=\"");
    for (const char* p = text; *p != '\0'; ++p) {
        Put(out, p, 1);
        if (*p == '\\') Put(out, p, 1);
    }
    PutText(out, "\"\r\n");
}

// A text (kind REG_SZ or REG_EXPAND_SZ): its bytes and terminating zero in hexadecimal,
// continued on the next line after every 21 bytes.
void PutHexText(Output* out, const char* name, int kind, const char* text) {
    static const char kDigits[] = "0123456789abcdef";
    PutText(out, "\"");
    PutText(out, name);
    PutText(out, kind == REG_EXPAND_SZ ? "\"=hex(2):" : "\"=hex(1):");
    const size_t length = strlen(text);
    int onLine = 0;
    for (size_t i = 0; i <= length; ++i) {
        const unsigned char byte = static_cast<unsigned char>(text[i]);
        const char pair[3] = {kDigits[byte >> 4], kDigits[byte & 15], ','};
        const bool last = i == length;
        Put(out, pair, last ? 2 : 3);
        if (++onLine == HEX_BYTES_PER_LINE && !last) {
            Put(out, "\\\r\n  ", 5);
            onLine = 0;
        }
    }
    PutText(out, "\r\n");
}

void PutBasicBlock(Output* out) {
    PutText(out, "\r\n[" BACKUP_ROOT "]\r\n");
    PutDword(out, "Left", static_cast<uint32_t>(gSettings.gnWindowLeft));
    PutDword(out, "Top", static_cast<uint32_t>(gSettings.gnWindowTop));
    PutDword(out, "ExcludeKelmorAction", gSettings.gbExcludeKelmorAction);
    PutDword(out, "PlayImmediately", gSettings.gbPlayImmediately);
    PutDword(out, "QuitWhenDone", gSettings.gbQuitWhenDone);
    PutDword(out, "Reload", gSettings.gbReload);
    PutDword(out, "Topmost", gSettings.gbTopmost);
    PutDword(out, "PromptForSave", gSettings.gbPromptForSave);
    PutDword(out, "Visited", gSettings.gbVisited);
    PutDword(out, "ShowTabs", gSettings.gbShowTabs);
    PutDword(out, "Speed", gSettings.gbSpeed);
    PutDword(out, "Repeats", static_cast<uint32_t>(gSettings.gnRepeats));
    PutDword(out, "Continuous", gSettings.gbContinuous);
    PutDword(out, "Minimize", gSettings.gbMinimize);
    PutDword(out, "FactorFast", static_cast<uint32_t>(gSettings.gnFactorFast));
    PutDword(out, "FactorSlow", static_cast<uint32_t>(gSettings.gnFactorSlow));
    PutDword(out, "LastTab", static_cast<uint32_t>(gSettings.gnLastTab));
    PutDword(out, "RandomMin", static_cast<uint32_t>(gSettings.gnRandomMin));
    PutDword(out, "RandomMax", static_cast<uint32_t>(gSettings.gnRandomMax));
    PutDword(out, "LoopTypeBase", static_cast<uint32_t>(gSettings.gnLoopTypeBase));
    PutDword(out, "Log", gLog.gbLogLevel);
    PutDword(out, "InterruptWarning", gSettings.gbInterruptWarning);
    PutString(out, "Logfile", gLog.gszLogFile);
    char text[TEXT_SIZE];
    ReadEditorSetting(text);
    PutString(out, "Editor", text);
    PutDword(out, "LastFileType", gSettings.gbLastFileType);
    PutDword(out, "UserCommand", static_cast<uint32_t>(gSettings.gnUserCommand));
    PutDword(out, "KeyboardService", gSettings.gbKeyboardService);
    PutDword(out, "ShowTrayIcon", gSettings.gdwShowTrayIcon);
    PutDword(out, "RecentListSize", gSettings.gbRecentListSize);
    PutDword(out, "LastOptionsTab", gSettings.gbLastOptionsTab);
    PutDword(out, "RestartLog", ReadSettingDword("RestartLog", 1));
    PutDword(out, "HaltScriptOnError", ReadSettingDword("HaltScriptOnError", 1));
    PutDword(out, "RememberPlaybackSettings", ReadSettingDword("RememberPlaybackSettings", 1));
    PutDword(out, "PlayUpdate", gSettings.gbPlayUpdate);
    PutDword(out, "FastMapPlay", ReadSettingDword("FastMapPlay", 0));
    for (int n = 1; n <= 8; ++n) {
        char name[8];
        char path[RECENT_PATH_SIZE];
        FormatText(name, sizeof name, "File%d", n);
        GetRecentFile(n, path);
        PutString(out, name, path);
    }
}

uint32_t ReadDwordAt(const char* key, const char* name) {
    char path[128];
    FormatText(path, sizeof path, "%s\\%s", key, name);
    return GetRegistryValue(HKEY_CURRENT_USER, path, REG_DWORD, nullptr, 0);
}

// The Text value of key, which holds at most 255 characters; a longer one reads as empty.
void PutTextOf(Output* out, const char* key) {
    char path[TEXT_SIZE + 64];
    char text[TEXT_SIZE];
    FormatText(path, sizeof path, "%s\\Text", key);
    GetRegistryValue(HKEY_CURRENT_USER, path, REG_SZ, text, 0);
    PutHexText(out, "Text", REG_EXPAND_SZ, text);
}

void PutMappingsBlock(Output* out) {
    PutText(out, "\r\n[" BACKUP_ROOT "\\Mappings]\r\n");
    for (int n = 0; n < MAPPING_SLOTS; ++n) {
        char key[64];
        FormatText(key, sizeof key, KELMOR_MAPPINGS_KEY "\\%d", n);
        if (ReadDwordAt(key, "Action") == 0) continue;
        char line[64];
        FormatText(line, sizeof line, "\r\n[" BACKUP_ROOT "\\Mappings\\%d]\r\n", n);
        PutText(out, line);
        for (const char* name : {"Action", "Control", "Shift", "Alt"}) PutDword(out, name, ReadDwordAt(key, name));
        PutTextOf(out, key);
    }
}

void PutShortTypeBlock(Output* out) {
    const char kShortTypes[] = KELMOR_SHORTTYPE_KEY;
    if (!StoreKeyExists(kShortTypes)) return;
    PutText(out, "\r\n[" BACKUP_ROOT "\\ShortType]\r\n");
    for (uint32_t i = 0; i < BACKUP_SHORTTYPE_MAX; ++i) {
        char name[TEXT_SIZE];
        if (!StoreEnumKey(kShortTypes, i, name, sizeof name)) break;
        PutText(out, "\r\n[" BACKUP_ROOT "\\ShortType\\");
        PutText(out, name);
        PutText(out, "]\r\n");
        char key[sizeof kShortTypes + TEXT_SIZE];
        FormatText(key, sizeof key, "%s\\%s", kShortTypes, name);
        PutTextOf(out, key);
    }
}

}  // namespace

bool WriteSettingsBackup(intptr_t file, int blocks) {
    Output out;
    out.file = file;
    out.ok = true;
    out.error = 0;
    out.used = 0;
    PutText(&out, "REGEDIT4\r\n");
    if (blocks & BACKUP_BASIC) PutBasicBlock(&out);
    if (blocks & BACKUP_MAPPINGS) PutMappingsBlock(&out);
    if (blocks & BACKUP_SHORTTYPES) PutShortTypeBlock(&out);
    Flush(&out);
    if (!out.ok) SysSetLastError(out.error);
    return out.ok;
}
