#include "service/service_actions.h"

#include <cstdarg>
#include <cstring>

#include "host/mappings.h"
#include "platform/clipboard.h"
#include "platform/input.h"
#include "platform/loop.h"
#include "platform/registry.h"
#include "recording/start_program.h"
#include "script/send_lock_key.h"
#include "service/service_data.h"
#include "settings/format.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "text/no_case.h"
#include "text/utf8.h"
#include "ui/command_ids.h"
#include "ui/platform_wording.h"

void ServiceLog(int level, const char* format, ...) {
    const KELMORSERVICEDATA* data = gService.gpServiceData;
    if (data == nullptr || data->nLogLevel < level) return;
    // The record is shared: its path is copied with a terminator before use.
    char file[sizeof data->szLogFile + 1];
    memcpy(file, data->szLogFile, sizeof data->szLogFile);
    file[sizeof data->szLogFile] = '\0';
    char line[LOG_LINE_MAX + 1];
    va_list args;
    va_start(args, format);
    FormatTextV(line, sizeof line, format, args);
    va_end(args);
    WriteLogLine(file, "%s", line);
}

int ReadServiceText(const char* keyPath, const char* name, char text[256]) {
    char value[256];
    uint32_t kind = 0;
    uint32_t size = sizeof value;
    if (!StoreQueryValue(keyPath, name, &kind, value, &size)) return 0;
    if ((kind != REG_SZ && kind != REG_EXPAND_SZ) || size == 0 || size > sizeof value) return 0;
    value[size - 1] = '\0';
    memcpy(text, value, size);
    return static_cast<int>(size);
}

void TypeServiceText(const char* text) {
    for (const char* p = text; *p != '\0';) {
        const uint32_t character = NextCharacter(&p);
        if (character == '\r' || character == '\n') {
            if (character == '\r' && *p == '\n') ++p;
            gService.gnInjectedEvents += SendLockKey(VK_RETURN, 0);
        } else if (character == '\t') {
            gService.gnInjectedEvents += SendLockKey(VK_TAB, 0);
        } else if (SysCanTypeCharacter(character)) {
            gService.gnInjectedEvents += SysTypeCharacter(character, true);
            gService.gnInjectedEvents += SysTypeCharacter(character, false);
        } else {
            ServiceLog(LOG_LOW, "   Service-->Cannot type U+%04X: skipped", character);
        }
    }
}

namespace {

void ReadMappingText(int vk, char text[256]) {
    char path[64];
    FormatText(path, sizeof path, KELMOR_MAPPINGS_KEY "\\%u", static_cast<uint32_t>(vk));
    ReadServiceText(path, "Text", text);
}

void LaunchProgram(const char* commandLine) {
    ServiceLog(LOG_HIGH, "   Service-->Running \"%s\"", commandLine);
    if (StartProgram(commandLine)) return;
    // No playback runs while the service acts, so the message does not say one stopped.
    char message[640];
    FormatText(message, sizeof message,
               PlatformText("Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct program path from "
                            "the \"Properties\" of its icon)"),
               commandLine);
    ServiceLog(LOG_LOW, "%s", message);
    // Shown once the key has been handled: a box waiting inside the hook would hold up
    // every key of the desktop behind it.
    ShellPostMessageBox(message, commandLine, MB_SYSTEMMODAL | MB_ICONWARNING);
}

void PlayFile(const char* path) {
    ServiceLog(LOG_HIGH, "   Service-->Running Recorded File \"%s\"", path);
    if (StoreCreateKey(KELMOR_KEY))
        StoreSetValue(KELMOR_KEY, "ServiceFileLoad", REG_SZ, path, static_cast<uint32_t>(strlen(path) + 1));
}

}  // namespace

intptr_t RunMappingAction(int vk, int action) {
    const uint32_t mainWindow = gService.gpServiceData->hWndMain;
    char text[256] = "";
    switch (action) {
    case ACTION_START_RECORDING:
    case ACTION_PLAYBACK:
        if (mainWindow == 0) return -1;
        // The command runs from the main loop, never inside the key's callback.
        ShellPostCommand(action == ACTION_PLAYBACK ? ID_SERVICE_PLAYBACK : ID_START_RECORDING);
        return 1;
    case ACTION_ACTIVATE_WINDOW:
        if (mainWindow == 0) return -1;
        // Restoring and raising the window is the tray's Show, through the window manager.
        ShellPostCommand(ID_TRAY_SHOW);
        return 1;
    case ACTION_TYPE_TEXT:
        ReadMappingText(vk, text);
        // Without text on the clipboard the words themselves are typed.
        if (EqualNoCase(text, "(unformat clipboard text)")) SysGetClipboardText(text, sizeof text);
        ServiceLog(LOG_HIGH, "   Service-->Typing \"%s\"", text);
        gService.gnInjectedEvents = 0;
        // Keys typed after the hot key are in the program before the text either way.
        SysHoldOtherInput();
        TypeServiceText(text);
        SysLetOtherInputGo();
        return 1;
    case ACTION_LAUNCH_PROGRAM:
        ReadMappingText(vk, text);
        LaunchProgram(text);
        return 1;
    case ACTION_PLAY_FILE:
        ReadMappingText(vk, text);
        PlayFile(text);
        if (mainWindow != 0) ShellPostCommand(ID_SERVICE_PLAYFILE);
        return 1;
    default:
        return 0;
    }
}
