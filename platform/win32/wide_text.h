// Text crosses to the system as UTF-16, through its -W functions: the core's text is
// UTF-8, and the -A functions would read it in the code page of whatever process runs the
// code (the keyboard service's DLL runs inside other programs, whose code page is theirs).
#pragma once
#include "platform/win32/windows_api.h"

// The UTF-16 form of length bytes of text (-1: up to and with its terminator) in out, at
// most size units; bytes that are not valid UTF-8 are read as Windows-1252, as the core
// reads such text. Returns the units written, 0 when they do not fit (or length is 0).
inline int WinWideOf(const char* text, int length, WCHAR* out, int size) {
    if (text == nullptr || length == 0) return 0;
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text, length, out, size);
    if (units != 0 || GetLastError() != ERROR_NO_UNICODE_TRANSLATION) return units;
    return MultiByteToWideChar(1252, 0, text, length, out, size);
}

// The UTF-8 form of length units of text (-1: with its terminator) in out, at most size
// bytes (size 0: only counts them). Returns the bytes, 0 when they do not fit.
inline int WinUtf8Of(const WCHAR* text, int length, char* out, int size) {
    if (text == nullptr || length == 0) return 0;
    return WideCharToMultiByte(CP_UTF8, 0, text, length, out, size, nullptr, nullptr);
}
