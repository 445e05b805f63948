// The character of the key the keyboard hook hands over: what the hook noted at the key's
// press (keyboard_hook.cpp), outside a call of the hook nothing.
#include "platform/input.h"
#include "platform/x11/inject.h"

uint32_t SysKeyEventCharacter() { return gX11KeyView != nullptr ? gX11KeyView->character : 0; }
