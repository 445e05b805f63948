#pragma once

// Makes sure a key reaches a focused widget only once it can take it (see key_focus.cpp).
void GtkKeepKeysForRealizedFocus();
