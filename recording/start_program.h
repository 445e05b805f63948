// Starting the program a command line names: the editor of Edit Script File here, and
// the script's START command above in the player.
#pragma once

// Starts a command line; true when the program is running (or ran and ended).
bool StartProgram(const char* commandLine);
