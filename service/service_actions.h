// What the keyboard service does once a key completes a Mapping or a ShortType: typing,
// launching, asking the main program, and the stored texts these need.
#pragma once
#include <cstdint>

// Writes a service line to the record's log file when the record's level reaches level.
void ServiceLog(int level, const char* format, ...);

// Reads string value name of key keyPath into text (256 bytes); returns the bytes read,
// or 0 with text untouched when the value is missing, not a string or too long.
int ReadServiceText(const char* keyPath, const char* name, char text[256]);

// Types text (UTF-8) as the characters it holds, in whatever layout is active: one Enter
// for CR, LF or CR LF, Tab as the Tab key. Counts the events actually sent in
// gService.gnInjectedEvents; a character that cannot be typed is skipped with a log line.
void TypeServiceText(const char* text);

// Carries out the Mapping action of the key vk that matched; returns the hook's result,
// or -1 when the event is to go on to the next hook.
intptr_t RunMappingAction(int vk, int action);
