// Seam: starting other programs, and telling which run.
#pragma once
#include <cstdint>

// Starts a command line (program and arguments split by shell quoting rules, the
// program looked up on the search path, no shell involved). Returns within a few tens
// of milliseconds: true once the program is running (or ran and ended), false when it
// could not be started. Children are reaped by the back end.
bool SysStartProcess(const char* commandLine);

// This process's id, and whether a process of that id runs now: a mark a process left
// behind when it died must not count.
uint32_t SysCurrentProcessId();
bool SysProcessRuns(uint32_t id);
