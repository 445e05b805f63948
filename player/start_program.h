#pragma once

// Starts a command line; true when the program is running (or ran and ended).
bool StartProgram(const char* commandLine);
