#include "platform/win32gui/toolbar.h"

#include "platform/win32gui/common_controls.h"

#include <cstring>

#include "platform/face.h"
#include "platform/window_parts.h"
#include "platform/win32gui/win32gui.h"

namespace {

const int kMaxButtons = 32;
const int kImageSize = 16;
const int kButtonSize = 18;

// Copies field n of the '|'-separated list into out, cut to fit.
void CopyField(const char* list, int n, char* out, size_t size) {
    const char* p = list;
    for (; n > 0 && p != nullptr; --n) {
        p = strchr(p, '|');
        if (p != nullptr) ++p;
    }
    size_t length = 0;
    if (p != nullptr) {
        const char* end = strchr(p, '|');
        length = end != nullptr ? static_cast<size_t>(end - p) : strlen(p);
        if (length >= size) length = size - 1;
        memcpy(out, p, length);
    }
    out[length] = '\0';
}

}  // namespace

HWND Win32CreateToolbar(HWND parent, const KelmorWindowParts& parts) {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr,
                                   WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | TBSTYLE_FLAT |
                                       TBSTYLE_TOOLTIPS | CCS_TOP,
                                   0, 0, 0, 0, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (toolbar == nullptr) return nullptr;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETBITMAPSIZE, 0, MAKELONG(kImageSize, kImageSize));
    int images = 0;
    if (HBITMAP strip = Win32ToolbarStrip(&images)) {
        TBADDBITMAP bitmap = {nullptr, reinterpret_cast<UINT_PTR>(strip)};
        SendMessageA(toolbar, TB_ADDBITMAP, static_cast<WPARAM>(images), reinterpret_cast<LPARAM>(&bitmap));
    }
    TBBUTTON buttons[kMaxButtons] = {};
    const int count = parts.toolbarCount < kMaxButtons ? parts.toolbarCount : kMaxButtons;
    for (int i = 0; i < count; ++i) {
        const ToolbarEntry& entry = parts.toolbar[i];
        buttons[i].iBitmap = entry.command != 0 ? entry.image : 0;
        buttons[i].idCommand = entry.command;
        buttons[i].fsState = TBSTATE_ENABLED;
        buttons[i].fsStyle = entry.command != 0 ? BTNS_BUTTON : BTNS_SEP;
    }
    SendMessageA(toolbar, TB_ADDBUTTONSA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons));
    SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELONG(kButtonSize, kButtonSize));
    SendMessageA(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

bool Win32FillToolbarTip(LPARAM notification, const KelmorWindowParts& parts) {
    NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(notification);
    if (info->hdr.code != TTN_GETDISPINFOA) return false;
    info->hinst = nullptr;
    info->szText[0] = '\0';
    for (int i = 0; i < parts.toolbarCount; ++i) {
        if (parts.toolbar[i].command == 0 || parts.toolbar[i].command != info->hdr.idFrom) continue;
        CopyField(parts.toolbarTips, i, info->szText, sizeof info->szText);
        break;
    }
    info->lpszText = info->szText;
    return true;
}
