// Seam: synthetic keyboard input and the keyboard state table.
#pragma once
#include <cstdint>

// One key press or release (KEYEVENTF_KEYUP in flags) of a virtual key, sent straight
// to the system.
void SysKeybdEvent(uint8_t vk, uint8_t scan, uint32_t flags);
bool SysGetKeyboardState(uint8_t state[256]);
bool SysSetKeyboardState(const uint8_t state[256]);
