#include "ui/platform_wording.h"

#include <cstring>

#ifdef _WIN32
// The texts were written for this system: nothing to reword. One placeholder row keeps
// the array non-empty.
const PlatformWording kPlatformWording[] = {{"", ""}};
const int kPlatformWordingCount = 0;
#else
const PlatformWording kPlatformWording[] = {
    // The Tools menu item and the Options tab's box: the autostart file of the desktop
    // session is what the setting writes here.
    {"&Auto-Start Kelmor with Windows", "&Auto-Start Kelmor at Log-in"},
    {"Auto-Start Kelmor with Windows", "Auto-Start Kelmor at Log-in"},
    // Advanced Options: the warning box the setting stands for says "the system" too.
    {"Show &warning when Windows interrupts Kelmor", "Show &warning when the system interrupts Kelmor"},
    {"You can now access Kelmor from the System Tray on the Taskbar.",
     "You can now access Kelmor from its icon in the panel's notification area."},
    // On X11 the only system cancel is Ctrl+Esc, which the journal back end grabs.
    {"Windows is forcing Kelmor to stop recording and playing.\n\nThe CTRL+ESC and CTRL+ALT+DEL key "
     "combinations terminate Kelmor functions.\n(You can use these key combinations as a safe way to cancel a "
     "playback or recording)\n\n--> If you intended to go to the Windows START button, use the \"Windows "
     "Key\" instead.",
     "The system is forcing Kelmor to stop recording and playing.\n\nThe CTRL+ESC key combination terminates "
     "Kelmor functions.\n(You can use this key combination as a safe way to cancel a playback or "
     "recording)\n\n--> If you intended to open the desktop's application menu, use the \"Super\" key "
     "instead."},
    {"Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct program path from the \"Properties\" of "
     "its icon)\n\nThe playback has stopped.",
     "Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct command from the \"Exec\" line of its "
     ".desktop launcher)\n\nThe playback has stopped."},
    {"Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct program path from the \"Properties\" of "
     "its icon)",
     "Unable to START the program '%s'!\n\n(NOTE: Try to copy the correct command from the \"Exec\" line of its "
     ".desktop launcher)"},
    // The keyboard service is a shared library beside the program.
    {"KelmorService.DLL", "libkelmor-service.so"},
    {"Unable to load the Kelmor Keyboard Service (located in \"KelmorService.DLL\")\n\nKelmor can run without this "
     "component, but Mappings and ShortTypes will not be available until you reinstall Kelmor.",
     "Unable to load the Kelmor Keyboard Service (located in \"libkelmor-service.so\")\n\nKelmor can run without "
     "this component, but Mappings and ShortTypes will not be available until you reinstall Kelmor."},
    {"Unable to load the Kelmor Keyboard Service Addresses (located in \"KelmorService.DLL\")\n\nKelmor can run "
     "without this component, but Mappings and ShortTypes will not be available until you reinstall Kelmor.",
     "Unable to load the Kelmor Keyboard Service Addresses (located in \"libkelmor-service.so\")\n\nKelmor can "
     "run without this component, but Mappings and ShortTypes will not be available until you reinstall Kelmor."},
    {"Unable to load \"KelmorService.DLL\"", "Unable to load \"libkelmor-service.so\""},
    // The combinations a Mapping may not take belong to the desktop here.
    {"You have chosen a key combination for a Mapping that is reserved for a common Windows function.\n\nPlease "
     "choose a different combination.",
     "You have chosen a key combination for a Mapping that is reserved for a common function of the desktop."
     "\n\nPlease choose a different combination."},
    {"You have chosen a key combination for a Mapping that is reserved for a common Windows function.  This will "
     "remove your ability to use these special combinations in other programs.\n\nIt is recommended that you use "
     "different multiple key combinations such as \"Ctrl + Shift + F7\"\n\nAre you sure that you want to continue?",
     "You have chosen a key combination for a Mapping that is reserved for a common function of the desktop and "
     "its programs.  This will remove your ability to use these special combinations in other programs.\n\nIt is "
     "recommended that you use different multiple key combinations such as \"Ctrl + Shift + F7\"\n\nAre you sure "
     "that you want to continue?"},
    // A backup is imported by kelmorctl here, not by the registry editor.
    {"The settings were saved in \"%s\"\n\nYou can reload these settings by double-clicking on this file when "
     "Kelmor is not running.",
     "The settings were saved in \"%s\"\n\nYou can reload these settings by running \"kelmorctl restore\" "
     "with this file when Kelmor is not running."},
};
const int kPlatformWordingCount = sizeof kPlatformWording / sizeof kPlatformWording[0];
#endif

const char* PlatformText(const char* original) {
    if (original == nullptr) return original;
    for (int i = 0; i < kPlatformWordingCount; ++i) {
        if (strcmp(kPlatformWording[i].original, original) == 0) return kPlatformWording[i].local;
    }
    return original;
}
