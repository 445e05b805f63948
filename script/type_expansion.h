// TYPE commands: their text becomes key events inserted into the event list right
// behind the command, which the playback hook then plays like recorded events.
#pragma once
#include <cstdint>

// Back to the state of a fresh start: the generator unseeded.
void ResetScriptState();

// Expands a TYPE text into events inserted at position (the command's empty event + 1).
// A key or modifier token inserts its events, counts them in gRecording.nEventCount, moves the later
// script commands itself and returns 0; plain text returns the number of events inserted,
// which the caller adds to gRecording.nEventCount and passes to ShiftScriptCommands. Nothing is
// inserted beyond the event list's capacity. altDown is the script's Alt, which outlives
// the TYPE command: {altdown} sets it and {altup} clears it; while it is set, typed keys go
// out as system keys and without Shift.
int ExpandTypeText(int32_t position, const char* text, bool* altDown);

// Inserts the events that type text (UTF-8) at position, position + 1, ...: a press and
// a release for each character, made as a character in whatever layout plays it; line
// ends, tabs and, with the script's Alt held, the keys of ASCII characters stay keys. A
// character that cannot be typed is skipped with a log line. count is the current
// gRecording.nEventCount. Changes neither gRecording.nEventCount nor the script commands. Typing stops
// at the first character whose events no longer all fit in the event list. Returns the
// number of events inserted.
int InjectTypedText(int32_t position, int32_t count, const char* text, bool altDown);
