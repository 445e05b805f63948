// What the window's boxes and tools are in the middle of. A fresh start has none of it.
#pragma once

struct AppState {
    bool gbExitStepDone = false;
    // While the tray menu is open a second one must not open over it.
    bool gbTrayMenuOpen = false;
    bool gbOptionsOpen = false;   // Advanced Options is on screen
    // Set when the capture field holds a combination ending in an ordinary key, or a
    // listed Mapping was chosen: the next key starts a new combination.
    bool gbKeyComplete = false;
    // The complete combination a modifier replaced, while no other key has followed it:
    // Ctrl pressed for Ctrl+Tab, the way out of the field, gives it back when the focus
    // leaves.
    char gszReplaced[64] = "";
    bool gbCapturing = false;     // Mouse Coordinates follows the pointer
};
// The handlers of the main window's loop share it: each is a separate entry point.
extern AppState gApp;
