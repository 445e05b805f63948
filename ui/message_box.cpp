#include "ui/message_box.h"

#include <cstdarg>

#include "platform/message_box.h"
#include "settings/format.h"
#include "settings/settings.h"

const char kNoActionsText[] =
    "There are no actions currently recorded.\n\nPress the red \"Start Recording\" button to begin saving actions.";

int KelmorMessageBox(const char* text, const char* caption, uint32_t flags) {
    return ShellMessageBox(text, caption, gSettings.gdwMsgBoxStyle | flags);
}

int KelmorMessageBoxF(const char* caption, uint32_t flags, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    FormatTextV(text, sizeof text, format, args);
    va_end(args);
    return KelmorMessageBox(text, caption, flags);
}

int ShowIconMessage(const char* text, const char* caption, uint32_t style, int iconId) {
    return ShellIconMessageBox(text, caption, style | MB_USERICON, iconId);
}
