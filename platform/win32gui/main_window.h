// The main window's fields of the Windows face (platform/face.h).
#pragma once
#include <cstdint>

#include "platform/win32/windows_api.h"

struct KelmorWindowParts;

bool Win32CreateMainWindow(const KelmorWindowParts* parts);
void Win32ShowMainWindow(int showCommand);
bool Win32IsMainWindowVisible();
bool Win32IsMainWindowMinimized();
void Win32SetWindowTitle(const char* title);
void Win32EnableCommand(int id, bool enable);
void Win32CheckMenuItem(int id, bool check);
bool Win32MenuInsertAfterItem(int anchorId, int newId, const char* text);
bool Win32MenuDeleteItem(int id);
bool Win32GetMainWindowPosition(int32_t* left, int32_t* top);
void Win32MoveMainWindow(int32_t left, int32_t top);
void Win32SetMainWindowTopmost(bool topmost);
void Win32ShowPanes(bool shown);
void Win32SetMenuOpenHandler(void (*onMenuOpen)());
void Win32SetDisplayLostHandler(void (*onDisplayLost)());
void Win32SetWording(const char* (*wording)(const char* text));
bool Win32OpenUri(const char* uri);
