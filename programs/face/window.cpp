// The main window of the kelmor program: the face module's, once it is open. A hidden
// playback opens none, and then these calls have nothing to show on.
#include "platform/window.h"

#include "app/tray.h"
#include "platform/desktop.h"
#include "platform/tray_icon.h"
#include "programs/face/face.h"
#include "ui/commands.h"

bool ShellIsMainWindowVisible() { return WindowFace() != nullptr && WindowFace()->isMainWindowVisible(); }

bool ShellIsMainWindowMinimized() { return WindowFace() != nullptr && WindowFace()->isMainWindowMinimized(); }

void ShellShowMainWindow(int showCommand) {
    if (WindowFace() != nullptr) WindowFace()->showMainWindow(showCommand);
}

void ShellSetWindowTitle(const char* title) {
    if (WindowFace() != nullptr) WindowFace()->setWindowTitle(title);
}

bool ShellGetMainWindowPosition(int32_t* left, int32_t* top) {
    return WindowFace() != nullptr && WindowFace()->getMainWindowPosition(left, top);
}

void ShellMoveMainWindow(int32_t left, int32_t top) {
    if (WindowFace() != nullptr) WindowFace()->moveMainWindow(left, top);
}

void ShellSetMainWindowTopmost(bool topmost) {
    if (WindowFace() != nullptr && FACE_HAS(WindowFace(), setMainWindowTopmost)) {
        WindowFace()->setMainWindowTopmost(topmost);
    }
}

void ShellShowPanes(bool shown) {
    if (WindowFace() != nullptr && FACE_HAS(WindowFace(), showPanes)) WindowFace()->showPanes(shown);
}

void ShellEnableCommand(int id, bool enable) {
    // A command nothing carries out yet stays grey whatever its state says: an item that
    // does nothing when chosen would pretend to work.
    if (WindowFace() != nullptr) WindowFace()->enableCommand(id, enable && FindCommandHandler(id) != nullptr);
}

void ShellCheckMenuItem(int id, bool check) {
    if (WindowFace() != nullptr) WindowFace()->checkMenuItem(id, check);
}

bool ShellMenuInsertAfter(int anchorId, int newId, const char* text) {
    return WindowFace() != nullptr && WindowFace()->menuInsertAfter(anchorId, newId, text);
}

bool ShellMenuDeleteItem(int id) { return WindowFace() != nullptr && WindowFace()->menuDeleteItem(id); }

// The desktop's opener lives with the toolkit, in the face module, whether or not a
// window is open.
bool ShellOpenTextFile(const char* path) {
    const KelmorFace* face = LoadFace();
    return FACE_HAS(face, openTextFile) && face->openTextFile != nullptr && path != nullptr &&
           face->openTextFile(path);
}

bool ShellOpen(const char* uri) {
    const KelmorFace* face = LoadFace();
    return FACE_HAS(face, openUri) && uri != nullptr && face->openUri(uri);
}

// A module without a tray has no icon to show: the window then stays in reach.
namespace {
const KelmorFace* TrayFace() { return FACE_HAS(WindowFace(), trackTrayMenu) ? WindowFace() : nullptr; }
}  // namespace

bool ShellAddTrayIcon(int code, const char* tip) {
    return TrayFace() != nullptr && TrayFace()->addTrayIcon(code, tip, OnTrayEvent);
}

void ShellSetTrayIcon(int code, const char* tip) {
    if (TrayFace() != nullptr) TrayFace()->setTrayIcon(code, tip);
}

void ShellRemoveTrayIcon() {
    if (TrayFace() != nullptr) TrayFace()->removeTrayIcon();
}

bool ShellIsTrayIconReachable() { return TrayFace() != nullptr && TrayFace()->isTrayIconReachable(); }

int ShellTrackTrayMenu(const TrayMenuItem* items, int count) {
    return TrayFace() != nullptr ? TrayFace()->trackTrayMenu(items, count) : 0;
}
