#include "platform/win32gui/menu_bar.h"

#include "platform/window_parts.h"

namespace {

// Returns the index after the entry that closes the menu begun before index i.
int Fill(HMENU menu, const MenuEntry* entries, int count, int i, const char* (*wording)(const char*)) {
    while (i < count) {
        const MenuEntry& entry = entries[i++];
        const char* text = entry.text != nullptr ? entry.text : "";
        if (wording != nullptr) text = wording(text);
        switch (entry.kind) {
            case MENU_END:
                return i;
            case MENU_POPUP: {
                HMENU popup = CreatePopupMenu();
                i = Fill(popup, entries, count, i, wording);
                AppendMenuA(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), text);
                break;
            }
            case MENU_SEPARATOR:
                AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
                break;
            case MENU_ITEM: {
                // The text after the tab is the accelerator's, which the system sets apart.
                UINT flags = MF_STRING;
                if ((entry.flags & MENU_GRAYED) != 0) flags |= MF_GRAYED;
                if ((entry.flags & MENU_CHECKED) != 0) flags |= MF_CHECKED;
                AppendMenuA(menu, flags, entry.id, text);
                break;
            }
            case MENU_RECENT_FILES:
                break;
        }
    }
    return i;
}

// The menu (of the bar or below it) that holds the item id, and its position there.
HMENU Holder(HMENU menu, int id, int* position) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU submenu = GetSubMenu(menu, i)) {
            if (HMENU found = Holder(submenu, id, position)) return found;
        } else if (GetMenuItemID(menu, i) == static_cast<UINT>(id)) {
            *position = i;
            return menu;
        }
    }
    return nullptr;
}

}  // namespace

HMENU Win32BuildMenuBar(const MenuEntry* entries, int count, const char* (*wording)(const char*)) {
    HMENU bar = CreateMenu();
    if (bar != nullptr) Fill(bar, entries, count, 0, wording);
    return bar;
}

bool Win32MenuInsertAfter(HMENU bar, int anchorId, int newId, const char* text) {
    int position = 0;
    int unused = 0;
    HMENU menu = Holder(bar, anchorId, &position);
    if (menu == nullptr || Holder(bar, newId, &unused) != nullptr) return false;
    // A file name is shown as it is: an ampersand in it is doubled, so that it makes no
    // mnemonic. Cut, if it must be, at a whole character pair.
    char shown[600];
    size_t used = 0;
    for (const char* p = text != nullptr ? text : ""; *p != '\0' && used + 3 <= sizeof shown; ++p) {
        if (*p == '&') shown[used++] = '&';
        shown[used++] = *p;
    }
    shown[used] = '\0';
    return InsertMenuA(menu, static_cast<UINT>(position + 1), MF_BYPOSITION | MF_STRING, static_cast<UINT_PTR>(newId),
                       shown) != FALSE;
}
