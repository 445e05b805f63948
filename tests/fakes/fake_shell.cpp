#include <cstring>

#include "platform/loop.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "tests/fakes/fakes.h"

namespace fake {

std::vector<MessageBoxCall> messageBoxes;
std::deque<int> messageBoxAnswers;
std::string windowTitle;
std::map<int, bool> commandEnabled;
std::vector<std::vector<MenuItem>> menuBar;
std::vector<FileDialogCall> fileDialogs;
std::deque<FileDialogAnswer> fileDialogAnswers;
std::deque<int> postedCommands;
int quitExitCode = -1;
int focusedSpeedButton = 0;
void (*endSessionHandler)() = nullptr;

void ResetShell() {
    messageBoxes.clear();
    messageBoxAnswers.clear();
    windowTitle.clear();
    commandEnabled.clear();
    fileDialogs.clear();
    fileDialogAnswers.clear();
    postedCommands.clear();
    quitExitCode = -1;
    focusedSpeedButton = 0;
    endSessionHandler = nullptr;
    // The File menu of the main window; 0 stands for a separator.
    menuBar = {{{1066, "&New"}, {1051, "&Open..."}, {1103, "&Reload Current File"}, {1067, "&Close"}, {0, ""},
                {1061, "Save &As..."}, {0, ""}, {1068, "Reset Recent Files"}, {0, ""}, {1030, "E&xit"}}};
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

void ShellEnableCommand(int id, bool enable) { fake::commandEnabled[id] = enable; }

void ShellCheckMenuItem(int, bool) {}

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

void ShellFocusSpeedButton(int speed) { fake::focusedSpeedButton = speed; }

void ShellQuitMessageLoop(int exitCode) { fake::quitExitCode = exitCode; }
void ShellSetEndSessionHandler(void (*onEndSession)()) { fake::endSessionHandler = onEndSession; }
