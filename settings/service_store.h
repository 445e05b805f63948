// The Mappings and ShortTypes as the store keeps them: a key per Mapping under
// KELMOR_MAPPINGS_KEY named by its virtual key, with Action, Control, Shift, Alt and Text,
// and a key per ShortType under KELMOR_SHORTTYPE_KEY named by its abbreviation, with Text.
// What is missing reads as 0 or as empty text; text out holds at least 256 bytes.
#pragma once
#include <cstdint>

uint32_t ReadMappingValue(int vk, const char* name);  // Action, Control, Shift or Alt
void ReadMappingText(int vk, char* out);
// Writes the four numbers, then the text (REG_EXPAND_SZ when it holds a '%').
void WriteMapping(int vk, uint32_t action, bool ctrl, bool shift, bool alt, const char* text);
void DeleteMapping(int vk);

// The abbreviation at index in the store's order; false past the last.
bool EnumShortType(uint32_t index, char* name, int size);
bool ShortTypeExists(const char* abbreviation);
void ReadShortTypeText(const char* abbreviation, char* out);
void WriteShortTypeText(const char* abbreviation, const char* text);
void DeleteShortType(const char* abbreviation);
