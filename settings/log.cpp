#include "settings/log.h"

#include <atomic>
#include <cstdarg>
#include <cstring>

#include "platform/file.h"
#include "platform/system.h"
#include "settings/format.h"

LogSetting gLog;

namespace {

std::atomic<bool> gLostLinesSaid(false);

// A log that is no file at all (a pipe, a device, a folder) takes no line, and would take
// none all the run long: the user is told once. Other failures stay silent, as ever.
void SayWhyLinesAreLost(const char* fileName) {
    const SysFileKind kind = SysGetFileKind(fileName);
    if (kind != SYS_FILE_OTHER && kind != SYS_FILE_FOLDER) return;
    if (gLostLinesSaid.exchange(true)) return;
    char text[LOG_LINE_MAX + 1];
    FormatText(text, sizeof text, "the log '%s' is not a regular file: its lines are dropped", fileName);
    SysWriteStandardError(text);
}

void AppendLine(const char* fileName, const char* text, int len) {
    if (fileName == nullptr || fileName[0] == '\0') return;
    // Text and CR LF go out in one append so that lines of concurrent writers never
    // split apart.
    char line[LOG_LINE_MAX + 3];
    if (len > LOG_LINE_MAX) len = LOG_LINE_MAX;
    memcpy(line, text, static_cast<size_t>(len));
    line[len] = '\r';
    line[len + 1] = '\n';
    uint32_t saved = SysGetLastError();
    if (!SysAppendToFile(fileName, line, static_cast<uint32_t>(len + 2))) SayWhyLinesAreLost(fileName);
    SysSetLastError(saved);
}

void WriteLogLineV(const char* fileName, const char* format, va_list args) {
    char text[LOG_LINE_MAX + 1];
    int len = FormatTextV(text, sizeof text, format, args);
    AppendLine(fileName, text, len);
}

}  // namespace

void WriteLogLine(const char* fileName, const char* format, ...) {
    va_list args;
    va_start(args, format);
    WriteLogLineV(fileName, format, args);
    va_end(args);
}

void LogLastError(const char* fileName) {
    char text[1024];
    if (!SysFormatError(SysGetLastError(), text, sizeof text)) {
        strcpy(text, "Unable to display error.");
    }
    AppendLine(fileName, text, static_cast<int>(strlen(text)));
}

void LogAt(int level, const char* format, ...) {
    if (!LogEnabled(level)) return;
    va_list args;
    va_start(args, format);
    WriteLogLineV(gLog.gszLogFile, format, args);
    va_end(args);
}

void LogLastErrorAt(int level) {
    if (LogEnabled(level)) LogLastError(gLog.gszLogFile);
}
