// Seam: starting other programs.
#pragma once

// Starts a command line (program and arguments split by shell quoting rules, the
// program looked up on the search path, no shell involved). Returns within a few tens
// of milliseconds: true once the program is running (or ran and ended), false when it
// could not be started. Children are reaped by the back end.
bool SysStartProcess(const char* commandLine);
