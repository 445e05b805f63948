#include <cstring>

#include "platform/loop.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/fakes/fakes.h"
#include "ui/menu_description.h"
#include "ui/platform_wording.h"

namespace fake {

std::vector<MessageBoxCall> messageBoxes;
std::deque<int> messageBoxAnswers;
std::string windowTitle;
std::map<int, bool> commandEnabled;
std::vector<std::vector<MenuItem>> menuBar;
std::vector<FileDialogCall> fileDialogs;
std::deque<FileDialogAnswer> fileDialogAnswers;
std::deque<int> postedCommands;
std::vector<MessageBoxCall> postedMessageBoxes;
int quitExitCode = -1;
int focusedSpeedButton = 0;
void (*endSessionHandler)() = nullptr;
std::map<int, Timer> timers;

void BuildMenuBar();

void ResetShell() {
    messageBoxes.clear();
    messageBoxAnswers.clear();
    windowTitle.clear();
    commandEnabled.clear();
    fileDialogs.clear();
    fileDialogAnswers.clear();
    postedCommands.clear();
    postedMessageBoxes.clear();
    quitExitCode = -1;
    focusedSpeedButton = 0;
    endSessionHandler = nullptr;
    timers.clear();
    BuildMenuBar();
}

void BuildMenuBar() {
    menuBar.clear();
    std::vector<size_t> open;  // the menus being filled, innermost last
    for (int i = 0; i < kMenuBarCount; ++i) {
        const MenuEntry& entry = kMenuBar[i];
        switch (entry.kind) {
            case MENU_POPUP:
                if (!open.empty()) menuBar[open.back()].push_back({0, PlatformText(entry.text)});
                open.push_back(menuBar.size());
                menuBar.emplace_back();
                break;
            case MENU_END: open.pop_back(); break;
            case MENU_SEPARATOR: menuBar[open.back()].push_back({0, ""}); break;
            case MENU_ITEM:
                menuBar[open.back()].push_back({entry.id, PlatformText(entry.text), (entry.flags & MENU_GRAYED) != 0,
                                                (entry.flags & MENU_CHECKED) != 0});
                break;
            case MENU_RECENT_FILES: break;  // the recent files go in behind the item before it
        }
    }
}

MenuItem* FindMenuItem(int id) {
    for (auto& submenu : menuBar) {
        for (MenuItem& item : submenu) {
            if (item.id == id && id != 0) return &item;
        }
    }
    return nullptr;
}

namespace {

int Answer(uint32_t style) {
    if (!messageBoxAnswers.empty()) {
        int answer = messageBoxAnswers.front();
        messageBoxAnswers.pop_front();
        return answer;
    }
    return MessageBoxDefaultAnswer(style);
}

}  // namespace

}  // namespace fake

int ShellMessageBox(const char* text, const char* caption, uint32_t style) {
    fake::messageBoxes.push_back({text ? text : "", caption ? caption : "", style, 0});
    return fake::Answer(style);
}

int ShellIconMessageBox(const char* text, const char* caption, uint32_t style, int iconId) {
    fake::messageBoxes.push_back({text ? text : "", caption ? caption : "", style, iconId});
    return fake::Answer(style);
}

void ShellSetWindowTitle(const char* title) { fake::windowTitle = title ? title : ""; }

void ShellEnableCommand(int id, bool enable) {
    fake::commandEnabled[id] = enable;
    if (fake::MenuItem* item = fake::FindMenuItem(id)) item->grayed = !enable;
}

void ShellCheckMenuItem(int id, bool check) {
    if (fake::MenuItem* item = fake::FindMenuItem(id)) item->checked = check;
}

bool ShellMenuInsertAfter(int anchorId, int newId, const char* text) {
    for (auto& submenu : fake::menuBar) {
        for (size_t i = 0; i < submenu.size(); ++i) {
            if (submenu[i].id == anchorId && anchorId != 0) {
                submenu.insert(submenu.begin() + static_cast<long>(i) + 1, {newId, text ? text : ""});
                return true;
            }
        }
    }
    return false;
}

bool ShellMenuDeleteItem(int id) {
    for (auto& submenu : fake::menuBar) {
        for (size_t i = 0; i < submenu.size(); ++i) {
            if (submenu[i].id == id && id != 0) {
                submenu.erase(submenu.begin() + static_cast<long>(i));
                return true;
            }
        }
    }
    return false;
}

bool ShellFileDialog(bool save, char* name, int nameSize, const char* filters, int filterIndex, int* chosenFilter) {
    std::string list;
    for (const char* p = filters; p != nullptr && *p != '\0'; p += strlen(p) + 1) {
        list += p;
        list += '|';
    }
    fake::fileDialogs.push_back({save, name ? name : "", list, filterIndex});
    if (fake::fileDialogAnswers.empty()) return false;
    fake::FileDialogAnswer answer = fake::fileDialogAnswers.front();
    fake::fileDialogAnswers.pop_front();
    if (!answer.chosen) return false;
    snprintf(name, static_cast<size_t>(nameSize), "%s", answer.name.c_str());
    if (chosenFilter != nullptr) *chosenFilter = answer.filter;
    return true;
}

void ShellPostCommand(int id) { fake::postedCommands.push_back(id); }

void ShellPostMessageBox(const char* text, const char* caption, uint32_t style) {
    fake::postedMessageBoxes.push_back({text, caption, style, 0});
}

void ShellQuitMessageLoop(int exitCode) { fake::quitExitCode = exitCode; }
void ShellSetEndSessionHandler(void (*onEndSession)()) { fake::endSessionHandler = onEndSession; }
void ShellSetTimer(int id, unsigned periodMs, void (*onTick)(int id)) { fake::timers[id] = {periodMs, onTick}; }
void ShellKillTimer(int id) { fake::timers.erase(id); }
