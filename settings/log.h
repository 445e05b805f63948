// The troubleshooting log: one line per call, appended to a text file shared by every
// process of the program, opened and closed per line.
#pragma once
#include <cstdint>

enum { LOG_OFF = 0, LOG_LOW = 1, LOG_MEDIUM = 2, LOG_HIGH = 3 };

// A line holds at most this many characters before its CR LF.
static const int LOG_LINE_MAX = 319;

// The two settings every process of the program logs by.
struct LogSetting {
    uint8_t gbLogLevel = LOG_OFF;  // setting Log; above 3 acts as HIGH
    char gszLogFile[256] = "";     // setting Logfile
};
// Global because every layer logs, down to the back ends' own failures, and a log call
// carries no context.
extern LogSetting gLog;

// Formats one line (system formatter conventions, cut at LOG_LINE_MAX characters) and
// appends it with CR LF to fileName. Also the program's way to append a line to any
// text file. Failures are silent.
void WriteLogLine(const char* fileName, const char* format, ...);
// Writes the system's text for the last error as one line, or "Unable to display error.".
void LogLastError(const char* fileName);

// Writes to the log file when the log level reaches level (LOG_LOW, LOG_MEDIUM, LOG_HIGH).
void LogAt(int level, const char* format, ...);
void LogLastErrorAt(int level);
inline bool LogEnabled(int level) { return gLog.gbLogLevel >= level; }
