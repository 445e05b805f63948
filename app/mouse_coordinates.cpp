#include "app/mouse_coordinates.h"

#include <cstring>

#include "app/app_state.h"
#include "platform/clipboard.h"
#include "platform/desktop.h"
#include "platform/dialog.h"
#include "platform/picture_ids.h"
#include "settings/format.h"
#include "ui/advanced_options_description.h"

namespace {

// The result shows at most 255 bytes of a title (cut whole characters).
const int kTitleSize = 256;
const int kResultSize = kTitleSize + 96;
const int kTemplateSize = kResultSize + 16;

bool Append(char* out, int size, int* length, const char* text, size_t count) {
    if (*length + static_cast<int>(count) >= size) return false;
    memcpy(out + *length, text, count);
    *length += static_cast<int>(count);
    out[*length] = '\0';
    return true;
}

}  // namespace

int MouseResultText(const char* title, int offsetX, int offsetY, int screenX, int screenY, char* out, int size) {
    // Signed: a point left of or above the window or the primary screen is a negative
    // offset, not a number near four thousand million.
    return FormatText(out, size, "\"%s\" %d, %d\r\nScreen coordinates: x=%d, y=%d", title, offsetX, offsetY, screenX,
                      screenY);
}

bool MouseScriptTemplate(const char* result, char* out, int size) {
    if (out == nullptr || size <= 0 || strstr(result, "\"\"") != nullptr) return false;
    const char* open = strchr(result, '"');
    if (open == nullptr) return false;
    const char* title = open + 1;
    const char* lineEnd = title + strcspn(title, "\r\n");
    // The title ends at the line's last double quote, not its first: a title with a
    // double quote of its own would otherwise be cut there and give a CLICK of words.
    const char* close = lineEnd;
    for (const char* p = title; p < lineEnd; ++p) {
        if (*p == '"') close = p;
    }
    const char* rest = close < lineEnd ? close + 1 : lineEnd;
    int length = 0;
    out[0] = '\0';
    return Append(out, size, &length, "GOTO ", 5) && Append(out, size, &length, title, close - title) &&
           Append(out, size, &length, "\r\nCLICK", 7) && Append(out, size, &length, rest, lineEnd - rest) &&
           Append(out, size, &length, "\r\n", 2);
}

void MouseToolPressed(int dialog) {
    if (gApp.gbCapturing) return;
    gApp.gbCapturing = true;
    DialogSetImage(dialog, IDC_POINTER_PICTURE, IDB_MOUSE_TOOL_CAPTURING);
    DialogCapturePointer(dialog, IDC_POINTER_PICTURE, true);
}

void MouseToolMoved(int dialog) {
    int32_t x = 0, y = 0;
    if (!gApp.gbCapturing || !SysGetCursorPos(&x, &y)) return;
    char title[kTitleSize];
    RECT32 rect = {0, 0, 0, 0};
    if (!SysWindowAtPoint(x, y, DialogIsChecked(dialog, IDC_IGNORE_CHILDREN), title, sizeof title, &rect) ||
        title[0] == '\0') {
        strcpy(title, "(Unknown Window)");
        rect = {0, 0, 0, 0};
    }
    // A title may hold line breaks on this desktop; one line keeps the result and its
    // template whole.
    for (char* p = title; *p != '\0'; ++p) {
        if (*p == '\r' || *p == '\n') *p = ' ';
    }
    char text[kResultSize];
    MouseResultText(title, x - rect.left, y - rect.top, x, y, text, sizeof text);
    DialogSetText(dialog, IDC_POINTER_RESULT, text);
}

void MouseToolReleased(int dialog) {
    if (!gApp.gbCapturing) return;
    gApp.gbCapturing = false;
    DialogSetImage(dialog, IDC_POINTER_PICTURE, IDB_MOUSE_TOOL);
    DialogCapturePointer(dialog, IDC_POINTER_PICTURE, false);
    if (!DialogIsChecked(dialog, IDC_COPY_TEMPLATE)) return;
    char text[kResultSize];
    char script[kTemplateSize];
    DialogGetText(dialog, IDC_POINTER_RESULT, text, sizeof text);
    if (MouseScriptTemplate(text, script, sizeof script)) SysSetClipboardText(script);
}
