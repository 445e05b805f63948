// The two forms of a recording on disk, the loader that reads either of them into the
// one recording in memory, and the writers. Reads and writes go through one static
// window buffer each, so a file of tens of thousands of lines costs a handful of system
// calls and nothing is allocated while loading or saving.
#include "recording/recording_file.h"

#include <cstdio>
#include <cstring>

#include "platform/file.h"
#include "platform/message_box.h"
#include "platform/system.h"
#include "platform/window.h"
#include "recording/message_names.h"
#include "recording/recording.h"
#include "recording/save_file.h"
#include "settings/format.h"
#include "settings/log.h"
#include "text/no_case.h"
#include "text/utf8.h"
#include "ui/command_ids.h"
#include "ui/message_box.h"

// Each literal ends in its own NUL, which is the extra NUL that closes the list.
const char kOpenFilters[] = "Kelmor Files (*.klr;*.klx)\0*.klr;*.klx\0All Files (*.*)\0*.*\0";
const char kSaveAsFilters[] =
    "Kelmor Recording (*.klr)\0*.klr\0Kelmor Editable Text Files (*.klx)\0*.klx\0All Files (*.*)\0*.*\0";
const char kExeFilters[] = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
#ifdef _WIN32
const char kProgramFilters[] = "Program Files (*.exe)\0*.exe\0All Files (*.*)\0*.*\0";
#else
const char kProgramFilters[] = "Programs\0" FILE_PATTERN_EXECUTABLE "\0All Files (*.*)\0*.*\0";
#endif

namespace {

enum : uint32_t {
    RECORD_SIZE = 20,
    LINE_READ = 1023,          // bytes one text line read takes at most
    KEYWORD_MAX = 32,          // characters of a script keyword that are looked at
    ERROR_LINE_MAX = 224,      // characters of a bad line that its message box quotes
    IO_WINDOW = 64 * 1024,
};

// ---------------------------------------------------------------------------------
// Reading: a window on the file that answers "read n bytes at offset" exactly as one
// read of the file would (short at the end, -1 on failure), refilling itself with one
// large read whenever the request falls outside it.

// One byte more than a read fills, for the NUL that bounds every scan of the window.
char gReadWindow[IO_WINDOW + 1];

struct Reader {
    SysFile file;
    uint32_t size;    // bytes the loader may read; nothing past it is asked for
    uint32_t base;    // file offset of gReadWindow[0]
    uint32_t length;  // valid bytes in the window
    const char* path; // as the messages name it
};

int ReadAt(Reader* r, uint32_t offset, uint32_t n, const char** data) {
    if (offset >= r->size) return 0;
    if (n > r->size - offset) n = r->size - offset;
    uint64_t end = static_cast<uint64_t>(offset) + n;
    if (offset >= r->base && end <= static_cast<uint64_t>(r->base) + r->length) {
        *data = gReadWindow + (offset - r->base);
        return static_cast<int>(n);
    }
    uint32_t want = r->size - offset;
    if (want > IO_WINDOW) want = IO_WINDOW;
    r->base = offset;
    r->length = 0;
    int got = SysReadAt(r->file, offset, gReadWindow, want);
    if (got < 0) return -1;
    r->length = static_cast<uint32_t>(got);
    gReadWindow[got] = '\0';
    *data = gReadWindow;
    return got < static_cast<int>(n) ? got : static_cast<int>(n);
}

uint32_t GetLE32(const char* p) {
    const unsigned char* b = reinterpret_cast<const unsigned char*>(p);
    return static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
           static_cast<uint32_t>(b[3]) << 24;
}

void PutLE32(char* p, uint32_t v) {
    for (int k = 0; k < 4; ++k) p[k] = static_cast<char>((v >> (8 * k)) & 0xFFu);
}

// ---------------------------------------------------------------------------------
// Writing: everything goes out through SysWriteAtEnd in large blocks; the first failed
// block fails the whole save.

char gWriteWindow[IO_WINDOW];

struct Writer {
    SysFile file;
    uint32_t used;
    bool failed;
};

bool Flush(Writer* w) {
    if (w->failed) return false;
    if (w->used > 0 && !SysWriteAtEnd(w->file, gWriteWindow, w->used)) w->failed = true;
    w->used = 0;
    return !w->failed;
}

bool Put(Writer* w, const char* data, uint32_t n) {
    if (w->failed) return false;
    if (n > IO_WINDOW - w->used && !Flush(w)) return false;
    if (n > IO_WINDOW) {
        if (!SysWriteAtEnd(w->file, data, n)) w->failed = true;
        return !w->failed;
    }
    memcpy(gWriteWindow + w->used, data, n);
    w->used += n;
    return true;
}

// ---------------------------------------------------------------------------------
// Text form

// Reads the leading decimal number of text (optional sign, digits) up to end. Values
// from -2^31 to 2^32 - 1 give their 32-bit pattern, so a negative number written for a
// value at or above 2^31 reads back to the same bits; anything beyond stops at the
// nearest of those limits instead of wrapping around.
uint32_t ParseNumber(const char* text, const char* end) {
    const char* p = text;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    uint64_t v = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p) {
        if (v <= 0xFFFFFFFFull) v = v * 10 + static_cast<uint64_t>(*p - '0');
    }
    if (negative) {
        if (v > 0x80000000ull) v = 0x80000000ull;
        return 0u - static_cast<uint32_t>(v);
    }
    return v > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(v);
}

const char* WordEnd(const char* p) {
    while (*p != '\0' && *p != ' ') ++p;
    return p;
}

uint32_t MessageFromValue(const char* value, const char* end) {
    char text[LINE_READ + 1];
    size_t len = static_cast<size_t>(end - value);
    if (len > LINE_READ) len = LINE_READ;
    memcpy(text, value, len);
    text[len] = '\0';
    // No name holds another one, so a value that is exactly a name is that name; and a
    // value without "WM_" holds none. Both spare the search through every name.
    if (strstr(text, "WM_") == nullptr) return ParseNumber(text, text + len);
    for (const MessageName& m : kMessageNames) {
        if (strcmp(text, m.name) == 0) return m.code;
    }
    for (const MessageName& m : kMessageNames) {
        if (strstr(text, m.name) != nullptr) return m.code;
    }
    return ParseNumber(text, text + len);
}

// What one line did; the loader closes the file before it reports a bad line.
enum LineResult {
    LINE_OK,
    LINE_MISSING_PARAMH,
    LINE_MISSING_PARAML,
    LINE_UNKNOWN_KEYWORD,
    LINE_TOO_MANY,
    LINE_TOO_LONG,
};

// One event line into record; key is where "message=" begins.
LineResult ReadEventLine(const char* messageKey, EVENTMSG* record) {
    const char* value = messageKey + 8;
    const char* p = WordEnd(value);
    EVENTMSG e{};
    e.message = MessageFromValue(value, p);
    const char* key = strstr(p, "paramH=");
    if (key == nullptr) return LINE_MISSING_PARAMH;
    p = WordEnd(key + 7);
    e.paramH = ParseNumber(key + 7, p);
    key = strstr(p, "paramL=");
    if (key == nullptr) return LINE_MISSING_PARAML;
    p = WordEnd(key + 7);
    e.paramL = ParseNumber(key + 7, p);
    key = strstr(p, "time=");
    if (key != nullptr) e.time = ParseNumber(key + 5, WordEnd(key + 5));
    *record = e;
    return LINE_OK;
}

// One script command line (rest = the line behind its leading blanks) into entry k,
// whose empty event is record i.
LineResult ReadCommandLine(const char* rest, int32_t k, int32_t i) {
    char keyword[KEYWORD_MAX + 1];
    uint32_t n = 0;
    while (n < KEYWORD_MAX && rest[n] != '\0' && rest[n] != ' ' && rest[n] != '\t' && rest[n] != '\r' &&
           rest[n] != '\n') {
        keyword[n] = rest[n];
        ++n;
    }
    keyword[n] = '\0';
    const char* argument = rest + n;
    while (*argument == ' ' || *argument == '\t') ++argument;

    int32_t code = KW_NONE;
    if (FindNoCase(keyword, "START")) code = KW_START;
    else if (FindNoCase(keyword, "GOTO")) code = KW_GOTO;
    else if (FindNoCase(keyword, "WAIT")) code = KW_WAIT;
    else if (FindNoCase(keyword, "TYPE")) code = KW_TYPE;
    else if (FindNoCase(keyword, "CLICK")) code = KW_CLICK;
    if (code == KW_NONE) return LINE_UNKNOWN_KEYWORD;
    if (k >= SCRIPT_LOAD_LIMIT) return LINE_TOO_MANY;

    char raw[SCRIPT_ARG_SIZE];
    FormatText(raw, SCRIPT_ARG_SIZE, "%s", argument);
    if (code == KW_WAIT) {
        ReplaceAllNoCase(raw, "seconds", "");
        ReplaceAllNoCase(raw, "second", "");
    }
    // Files from older programs hold Windows-1252 text; what is kept is UTF-8 either way.
    TextToUtf8(raw, strlen(raw), gRecordingStore.szArgument[k], SCRIPT_ARG_SIZE);
    gRecordingStore.nKeyword[k] = code;
    gRecordingStore.nEventIndex[k] = i;
    return LINE_OK;
}

bool HasPair(const char* text, char first, char second) {
    for (const char* p = strchr(text, first); p != nullptr; p = strchr(p + 1, first)) {
        if (p[1] == second) return true;
    }
    return false;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Failure after the old recording was dropped: what was read so far goes too.
void DropPartialRecording(int32_t count) {
    memset(gRecordingStore.gEvents, 0, static_cast<size_t>(count) * sizeof(EVENTMSG));
    gRecording.nEventCount = 0;
    gRecording.nScriptCommands = 0;
}

// The file holds more actions than were loaded: the program goes on with those it has,
// after saying so; programs that must not act on part of a file test gRecording.gbRecordingCut.
void ReportCutRecording(const char* path, int32_t loaded) {
    gRecording.gbRecordingCut = true;
    LogAt(LOG_LOW, "Only the first %d actions of '%s' were loaded.", static_cast<int>(loaded), path);
    KelmorMessageBoxF("Error", MB_ICONEXCLAMATION,
                      "Only the first %d actions of '%s' were loaded.\n\nThe rest of the file was left out.",
                      static_cast<int>(loaded), path);
}

int ReadFailure(Reader* r, int code, int32_t count) {
    const char* path = r->path;
    LogLastErrorAt(LOG_LOW);
    LogAt(LOG_LOW, "Unable to open file '%s'! (%d)", path, code);
    SysClose(r->file);
    DropPartialRecording(count);
    KelmorMessageBoxF("Error", MB_ICONEXCLAMATION,
                      "Unable to open file '%s'! (%d)\n\nPlease verify that the file has not changed.", path, code);
    return code;
}

int LoadBinary(Reader* r, uint32_t offset) {
    int32_t i = 0;
    while (offset < r->size && i < EVENT_LOAD_LIMIT) {
        const char* data = nullptr;
        if (ReadAt(r, offset, RECORD_SIZE, &data) != static_cast<int>(RECORD_SIZE)) return ReadFailure(r, -4, i);
        EVENTMSG& e = gRecordingStore.gEvents[i];
        e.message = GetLE32(data);
        e.paramL = GetLE32(data + 4);
        e.paramH = GetLE32(data + 8);
        e.time = GetLE32(data + 12);
        e.hwnd = GetLE32(data + 16);
        ++i;
        offset += RECORD_SIZE;
    }
    SysClose(r->file);
    gRecording.nEventCount = i;
    gRecording.nScriptCommands = 0;
    if (offset < r->size) ReportCutRecording(r->path, i);
    return 0;
}

// What lies on a line behind the part that NextLine keeps.
struct LineTail {
    bool cut;     // the line went on past LINE_READ bytes
    bool opens;   // ... and "/*" was among the bytes left out
    bool closes;  // ... and "*/" was
    char first;   // the first byte left out that is not a blank or tab, or NUL
};

bool IsLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// The offset behind the line end at offset: one end character, or CR LF / LF CR as one.
int64_t PastLineEnd(Reader* r, uint32_t offset) {
    const char* data = nullptr;
    if (ReadAt(r, offset, 1, &data) != 1) return -1;
    const char end = *data;
    uint32_t next = offset + 1;
    if ((end == '\r' || end == '\n') && next < r->size) {
        if (ReadAt(r, next, 1, &data) != 1) return -1;
        if (*data == (end == '\r' ? '\n' : '\r')) ++next;
    }
    return next;
}

// Skips the rest of a line that is longer than one read, from offset to its real end,
// and notes the block comment marks in it; previous is the last byte kept, so a mark
// split across the cut is seen too. Returns the offset of the line end (the file size
// when the file ends first), or -1 when a read fails.
int64_t SkipLineTail(Reader* r, uint32_t offset, char previous, LineTail* tail) {
    while (offset < r->size) {
        uint32_t want = r->size - offset < IO_WINDOW ? r->size - offset : IO_WINDOW;
        const char* data = nullptr;
        const int got = ReadAt(r, offset, want, &data);
        if (got <= 0) return -1;
        for (int j = 0; j < got; ++j) {
            const char c = data[j];
            if (IsLineEnd(c)) return offset + static_cast<uint32_t>(j);
            tail->cut = true;
            if (tail->first == '\0' && c != ' ' && c != '\t') tail->first = c;
            if (previous == '/' && c == '*') tail->opens = true;
            if (previous == '*' && c == '/') tail->closes = true;
            previous = c;
        }
        offset += static_cast<uint32_t>(got);
    }
    return r->size;
}

// Cuts the next line out of the file at offset into line (LINE_READ + 1 bytes) and
// returns the offset behind it and its end, or -1 when the read fails or comes up short.
// A line longer than LINE_READ keeps its first LINE_READ bytes; the rest still belongs
// to it (tail says what it held) and never becomes a line of its own.
int64_t NextLine(Reader* r, uint32_t offset, char* line, LineTail* tail) {
    *tail = LineTail{};
    uint32_t want = r->size - offset < LINE_READ ? r->size - offset : LINE_READ;
    const char* data = nullptr;
    if (ReadAt(r, offset, want, &data) != static_cast<int>(want)) return -1;
    // The window ends in a NUL, so the scan stops inside it even past the bytes asked for.
    uint32_t len = static_cast<uint32_t>(strcspn(data, "\r\n"));
    if (len > want) len = want;
    memcpy(line, data, len);
    line[len] = '\0';
    int64_t end = offset + len;
    if (len == want) {
        end = SkipLineTail(r, offset + len, len > 0 ? line[len - 1] : '\0', tail);
        if (end < 0 || end >= r->size) return end;
    }
    return PastLineEnd(r, static_cast<uint32_t>(end));
}

enum LineKind { KIND_SKIPPED, KIND_EVENT, KIND_COMMAND };

// Sorts one line as the text form defines its kinds, opening and closing block comments
// on the way; rest is the line behind its leading blanks. A block comment mark counts
// wherever it is on the line, in the part beyond the line buffer too: a mark the reader
// overlooked would run the lines its writer meant to hide. So does the first character
// behind the blanks when they fill the line buffer.
LineKind SortLine(const char* line, const LineTail& tail, bool* blockComment, const char** rest) {
    const char* p = line;
    while (*p == ' ' || *p == '\t') ++p;
    *rest = p;
    if (HasPair(p, '/', '*') || tail.opens) {
        *blockComment = true;
        return KIND_SKIPPED;
    }
    if (*blockComment) {
        if (HasPair(p, '*', '/') || tail.closes) *blockComment = false;
        return KIND_SKIPPED;
    }
    if (!IsAsciiLetter(*p != '\0' ? *p : tail.first)) return KIND_SKIPPED;
    return FindNoCase(line, "message=") != nullptr ? KIND_EVENT : KIND_COMMAND;
}

// Whether an event or command line follows offset: 1 yes, 0 no, -1 when a read fails.
int ActionsLeft(Reader* r, uint32_t offset, bool blockComment, char* line) {
    while (offset < r->size) {
        LineTail tail;
        const int64_t next = NextLine(r, offset, line, &tail);
        if (next < 0) return -1;
        offset = static_cast<uint32_t>(next);
        const char* rest = nullptr;
        if (SortLine(line, tail, &blockComment, &rest) != KIND_SKIPPED) return 1;
    }
    return 0;
}

int LoadText(Reader* r, uint32_t offset) {
    static char line[LINE_READ + 1];
    int32_t i = 0;
    int32_t k = 0;
    bool blockComment = false;
    LineResult result = LINE_OK;
    while (offset < r->size && i < EVENT_LOAD_LIMIT) {
        LineTail tail;
        int64_t next = NextLine(r, offset, line, &tail);
        if (next < 0) return ReadFailure(r, -5, i);
        offset = static_cast<uint32_t>(next);

        const char* rest = nullptr;
        const LineKind kind = SortLine(line, tail, &blockComment, &rest);
        if (kind == KIND_SKIPPED) continue;
        if (tail.cut) {
            // Half a command could do what its writer never asked for (a shorter path for
            // START, say), so the line is refused rather than cut.
            result = LINE_TOO_LONG;
            break;
        }
        if (kind == KIND_EVENT) {
            result = ReadEventLine(FindNoCase(line, "message="), &gRecordingStore.gEvents[i]);
            if (result != LINE_OK) break;
            ++i;
        } else {
            result = ReadCommandLine(rest, k, i);
            if (result != LINE_OK) break;
            ++k;
            ++i;  // the command's empty event, already zero
        }
    }
    // Stopped at the event limit: whether the file had more to give.
    bool cut = false;
    if (result == LINE_OK && i >= EVENT_LOAD_LIMIT) {
        const int left = ActionsLeft(r, offset, blockComment, line);
        if (left < 0) return ReadFailure(r, -5, i);
        cut = left > 0;
    }
    SysClose(r->file);
    switch (result) {
        case LINE_OK:
            break;
        case LINE_MISSING_PARAMH:
        case LINE_MISSING_PARAML:
            DropPartialRecording(i);
            KelmorMessageBox(result == LINE_MISSING_PARAMH ? "Improperly formatted EVENT command (missing paramH)"
                                                           : "Improperly formatted EVENT command (missing paramL)",
                             line, MB_ICONEXCLAMATION);
            return -1;
        case LINE_UNKNOWN_KEYWORD:
        case LINE_TOO_LONG: {
            DropPartialRecording(i);
            char shown[ERROR_LINE_MAX + 1];
            FormatText(shown, sizeof shown, "%s", line);
            if (result == LINE_TOO_LONG) {
                LogAt(LOG_LOW, "ERROR: Line longer than %d characters in '%s': \"%s\"", static_cast<int>(LINE_READ),
                      r->path, line);
                KelmorMessageBoxF("Script Error", MB_ICONEXCLAMATION, "Line longer than %d characters:\n\n\"%s...\"",
                                  static_cast<int>(LINE_READ), shown);
            } else {
                LogAt(LOG_LOW, "ERROR: Unknown or incorrectly formatted command in '%s': \"%s\"", r->path, line);
                KelmorMessageBoxF("Script Error", MB_ICONEXCLAMATION,
                                  "Unknown or incorrectly formatted command #%d:\n\n\"%s\"", k + 1, shown);
            }
            return -1;
        }
        case LINE_TOO_MANY:
            gRecording.gbRecordingCut = true;
            KelmorMessageBoxF(line, MB_ICONEXCLAMATION,
                              "Too many script commands!\n\nThe maximum number of script commands is %d",
                              static_cast<int>(SCRIPT_LOAD_LIMIT));
            break;
    }
    gRecording.nEventCount = i;
    gRecording.nScriptCommands = k;
    if (cut) ReportCutRecording(r->path, i);
    return k;
}

char* AppendText(char* p, const char* text) {
    while (*text != '\0') *p++ = *text++;
    return p;
}

// A 32-bit value as a signed decimal, so values at or above 2^31 come out negative.
char* AppendSigned(char* p, uint32_t bits) {
    uint32_t magnitude = bits;
    if (bits & 0x80000000u) {
        *p++ = '-';
        magnitude = 0u - bits;
    }
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (n > 0) *p++ = digits[--n];
    return p;
}

// The script command whose empty event is event i, or -1. Commands are in event order,
// so one pass over the events walks them once: *next is where the search resumes.
int32_t CommandAt(int32_t i, int32_t* next) {
    while (*next < gRecording.nScriptCommands && gRecordingStore.nEventIndex[*next] < i) ++*next;
    return *next < gRecording.nScriptCommands && gRecordingStore.nEventIndex[*next] == i ? *next : -1;
}

// The text form, events and script commands, at the end of an open file; false when a
// write failed.
bool PutTextRecording(SysFile file) {
    Writer w{file, 0, false};
    static const char kHeader[] =
        "; This file was created by Kelmor (https://kelmor.example.org) \r\n"
        "; You may edit it, but keep the format the same as you see below.\r\n"
        "; You may add comments by using ';' at the start of a line.\r\n"
        "; Each line represents an EVENT structure, or may be one of the Kelmor commands (see help file reference)\r\n"
        "; \r\n"
        "; Examples:\r\n"
        ";        START notepad.exe\r\n"
        ";        WAIT 1 second\r\n"
        ";        GOTO Untitled - Notepad\r\n"
        ";        TYPE Here is text that is being typed by Kelmor\r\n"
        "; \r\n"
        "; You can mix the EVENT structure lines with Kelmor commands, such as:\r\n"
        ";        message=WM_MOUSEMOVE paramH=288 paramL=420 time=13024638\r\n"
        ";        START NOTEPAD.EXE\r\n"
        ";        GOTO Untitled - Notepad\r\n"
        ";        message=WM_MOUSEMOVE paramH=267 paramL=420 time=13024758\r\n"
        "; \r\n"
        "; You may put 0 for the TIME component in each line.\r\n"
        "; Remember that Kelmor is primarly a mouse and keyboard recorder, and does not rely on scripts.\r\n"
        "; Start of the real recording:\r\n";
    Put(&w, kHeader, sizeof kHeader - 1);
    // A command line is its keyword, a blank and an argument of less than SCRIPT_ARG_SIZE.
    static char line[2048];
    int32_t next = 0;
    for (int32_t i = 0; i < gRecording.nEventCount && !w.failed; ++i) {
        const EVENTMSG& e = gRecordingStore.gEvents[i];
        const int32_t k = e.message == 0 ? CommandAt(i, &next) : -1;
        if (k >= 0 && ScriptKeywordName(gRecordingStore.nKeyword[k])[0] != '\0') {
            // The loader took the argument behind the keyword's blanks, so one blank
            // gives the same argument back.
            char* p = AppendText(line, ScriptKeywordName(gRecordingStore.nKeyword[k]));
            const size_t length = strnlen(gRecordingStore.szArgument[k], SCRIPT_ARG_SIZE - 1);
            if (length > 0) *p++ = ' ';
            memcpy(p, gRecordingStore.szArgument[k], length);
            p = AppendText(p + length, "\r\n");
            Put(&w, line, static_cast<uint32_t>(p - line));
            continue;
        }
        // "message=%s paramH=%li paramL=%li time=%li\r\n", or the message as a number,
        // put together by hand: the general formatter would be most of the saving time.
        char* p = AppendText(line, "message=");
        const char* known = MessageFileName(e.message);
        p = known != nullptr ? AppendText(p, known) : AppendSigned(p, e.message);
        p = AppendSigned(AppendText(p, " paramH="), e.paramH);
        p = AppendSigned(AppendText(p, " paramL="), e.paramL);
        p = AppendSigned(AppendText(p, " time="), e.time);
        p = AppendText(p, "\r\n");
        Put(&w, line, static_cast<uint32_t>(p - line));
    }
    return Flush(&w);
}

// The binary form: the event records in order, 20 bytes each.
bool PutRecords(SysFile file) {
    Writer w{file, 0, false};
    for (int32_t i = 0; i < gRecording.nEventCount && !w.failed; ++i) {
        const EVENTMSG& e = gRecordingStore.gEvents[i];
        char record[RECORD_SIZE];
        PutLE32(record, e.message);
        PutLE32(record + 4, e.paramL);
        PutLE32(record + 8, e.paramH);
        PutLE32(record + 12, e.time);
        PutLE32(record + 16, e.hwnd);
        Put(&w, record, RECORD_SIZE);
    }
    return Flush(&w);
}

bool HasEmptyEvent() {
    for (int32_t i = 0; i < gRecording.nEventCount; ++i) {
        if (gRecordingStore.gEvents[i].message == 0) return true;
    }
    return false;
}

}  // namespace

int LoadRecording(const char* path) {
    gRecording.gbRecordingCut = false;
    if (path == nullptr) path = "";
    if (path[0] == '\0') {
        LogAt(LOG_LOW, "Unable to open file '%s'! (-3)", path);
        KelmorMessageBox("Internal error while loading Kelmor file!\n\n(This should never occur)", "Internal Error",
                         MB_ICONSTOP);
        return -1;
    }
    const uint32_t size = GetFileSize32(path);
    if (size < 1) {
        LogAt(LOG_LOW, "Unable to open file '%s'! (-2)", path);
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION,
                          "Unable to open file '%s'! (-2)\n\nPlease verify that the file exists.", path);
        return -2;
    }
    SysFile file = SysOpenRead(path);
    if (file == SYS_NO_FILE) {
        const uint32_t error = SysGetLastError();  // before the log can fail in turn
        LogLastErrorAt(LOG_LOW);
        LogAt(LOG_LOW, "Unable to open file '%s'! (-3)", path);
        // The system's reason says more than a guess, when it gives one.
        char reason[256];
        if (!SysFormatError(error, reason, sizeof reason)) {
            FormatText(reason, sizeof reason, "%s", "Please verify that the file is not already open");
        }
        KelmorMessageBoxF("Error", MB_ICONEXCLAMATION, "Unable to open file '%s'! (-3)\n\n%s.", path, reason);
        return -3;
    }

    // The old recording is gone from here on.
    memset(gRecordingStore.gEvents, 0, EVENT_CAPACITY * sizeof(EVENTMSG));
    gRecording.nEventCount = 0;
    gRecording.nScriptCommands = 0;

    Reader reader{file, size, 0, 0, path};
    uint32_t start = FindInFileName(path, ".exe") != nullptr ? EMBEDDED_RECORDING_OFFSET : 0;
    bool binary = FindInFileName(path, ".klr") != nullptr;
    if (!binary) {
        const char* first = nullptr;
        binary = ReadAt(&reader, start, 1, &first) == 1 && *first == '\0';
    }
    ShellEnableCommand(ID_EDIT_SCRIPT, !binary);
    if (binary) return LoadBinary(&reader, start);
    // Editors that save UTF-8 may put a byte-order mark first; it would make the first
    // line one that starts with no letter, and hide it.
    const char* mark = nullptr;
    if (ReadAt(&reader, start, 3, &mark) == 3 && memcmp(mark, "\xEF\xBB\xBF", 3) == 0) start += 3;
    return LoadText(&reader, start);
}

bool WriteTextRecording(intptr_t file) { return PutTextRecording(file); }

bool SaveRecordingToFile(const char* name) {
    const bool binary = FindInFileName(name, ".klr") != nullptr;
    // Refused before anything is created: the file named keeps what it holds.
    if (binary && HasEmptyEvent()) {
        KelmorMessageBox("This file cannot be saved in the \"KLR\" binary format since it appears to contain "
                         "script commands or empty messages.\n\nTry re-saving it in the \"KLX\" text format.",
                         "Error", MB_ICONEXCLAMATION);
        return false;
    }
    SysFile file = BeginSave(name, nullptr);
    if (file == SYS_NO_FILE) return false;
    return FinishSave(file, name, binary ? PutRecords(file) : PutTextRecording(file));
}

bool MakeSaveName(const char* name, char* out, int size) {
    // A device, a folder or a pipe is written (or refused) under its own name.
    const bool plain = !FileNameHasDot(name) && (SysGetFileKind(name) == SYS_FILE_MISSING ||
                                                 SysGetFileKind(name) == SYS_FILE_REGULAR);
    const char* extension = plain ? ".klr" : "";
    FormatText(out, size, "%s%s", name, extension);
    return strlen(name) + strlen(extension) < static_cast<size_t>(size > 0 ? size : 0);
}

uint32_t GetFileSize32(const char* name) { return SysGetFileSize(name); }

const char* FileNamePart(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}

bool FileNameHasDot(const char* path) { return strchr(FileNamePart(path), '.') != nullptr; }

const char* FindInFileName(const char* path, const char* pattern) { return FindNoCase(FileNamePart(path), pattern); }

void GetListField(const char* list, char delimiter, int n, char* out, int outSize) {
    if (out == nullptr || outSize <= 0) return;
    out[0] = '\0';
    if (list == nullptr || n < 0) return;
    const char* field = list;
    if (delimiter == '\0') {
        // Each field ends in a NUL; an empty field ends the list.
        for (int k = 0; k < n; ++k) {
            if (*field == '\0') return;
            field += strlen(field) + 1;
        }
        FormatText(out, outSize, "%s", field);
        return;
    }
    for (int k = 0; k < n; ++k) {
        field = strchr(field, delimiter);
        if (field == nullptr) return;
        ++field;
    }
    const char* end = strchr(field, delimiter);
    int len = end != nullptr ? static_cast<int>(end - field) : static_cast<int>(strlen(field));
    if (len > outSize - 1) len = outSize - 1;
    memcpy(out, field, static_cast<size_t>(len));
    out[len] = '\0';
}

int ChooseFileName(char* name, const char* filters, bool save, int filterIndex) {
    int chosen = filterIndex;
    if (!ShellFileDialog(save, name, MAX_PATH, filters, filterIndex, &chosen)) return 0;
    if (!save) return 1;
    char pattern[MAX_PATH];
    GetListField(filters, '\0', 2 * chosen - 1, pattern, sizeof pattern);
    const char* extension = "";
    if (strcmp(pattern, "*.*") != 0 && pattern[0] == '*') extension = pattern + 1;
    if ((FindInFileName(name, ".klr") != nullptr || FindInFileName(name, ".klx") != nullptr) && extension[0] != '\0' &&
        FindInFileName(name, extension) == nullptr) {
        return 2;
    }
    // Dialogs answer with full paths, and a dot in a folder name is no extension.
    if (!FileNameHasDot(name)) {
        if (extension[0] == '\0') extension = ".klr";
        // A name too long for its extension gives up its end, never the extension.
        size_t room = static_cast<size_t>(MAX_PATH) - 1 - strlen(extension);
        size_t len = strlen(name);
        if (len > room) len = room;
        memcpy(name + len, extension, strlen(extension) + 1);
    }
    return 1;
}
