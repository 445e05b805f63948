#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"

namespace {

std::string Record(uint32_t message, uint32_t paramL, uint32_t paramH, uint32_t time, uint32_t hwnd) {
    std::string out;
    for (uint32_t v : {message, paramL, paramH, time, hwnd}) {
        for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
    }
    return out;
}

bool SameEvent(const EVENTMSG& e, uint32_t message, uint32_t paramL, uint32_t paramH, uint32_t time) {
    return e.message == message && e.paramL == paramL && e.paramH == paramH && e.time == time && e.hwnd == 0;
}

}  // namespace

class RecordingFileTest : public CoreTest {
protected:
    int Load(const std::string& path) {
        snprintf(gszFile, sizeof gszFile, "%s", path.c_str());
        return LoadRecording();
    }
    int LoadText(const std::string& text, const std::string& name = "t.klx") {
        WriteFile(Path(name), text);
        return Load(Path(name));
    }
    const fake::MessageBoxCall& OnlyBox() {
        EXPECT_EQ(fake::messageBoxes.size(), 1u);
        static fake::MessageBoxCall none{};
        return fake::messageBoxes.empty() ? none : fake::messageBoxes.back();
    }
};

TEST_F(RecordingFileTest, OpenFailuresShowTheirMessageAndKeepTheRecording) {
    gbLogLevel = LOG_LOW;
    gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0};
    nEventCount = 1;
    EXPECT_EQ(Load(""), -1);
    EXPECT_EQ(OnlyBox().text, "Internal error while loading Kelmor file!\n\n(This should never occur)");
    EXPECT_EQ(OnlyBox().caption, "Internal Error");
    EXPECT_EQ(OnlyBox().style & MB_ICONMASK, MB_ICONSTOP);

    fake::messageBoxes.clear();
    std::string missing = Path("missing.klr");
    EXPECT_EQ(Load(missing), -2);
    EXPECT_EQ(OnlyBox().text, "Unable to open file '" + missing + "'! (-2)\n\nPlease verify that the file exists.");
    EXPECT_EQ(OnlyBox().caption, "Error");
    EXPECT_EQ(OnlyBox().style & MB_ICONMASK, MB_ICONEXCLAMATION);
    fake::messageBoxes.clear();
    WriteFile(Path("empty.klx"), "");
    EXPECT_EQ(Load(Path("empty.klx")), -2);
    EXPECT_EQ(nEventCount, 1) << "a file that cannot be read leaves the recording alone";
    EXPECT_EQ(ReadFile(gszLogFile), "Unable to open file ''! (-3)\r\nUnable to open file '" + missing +
                                        "'! (-2)\r\nUnable to open file '" + Path("empty.klx") + "'! (-2)\r\n");

    if (geteuid() != 0) {  // root opens anything
        fake::messageBoxes.clear();
        WriteFile(Path("locked.klr"), Record(WM_KEYDOWN, 1, 2, 3, 4));
        chmod(Path("locked.klr").c_str(), 0);
        EXPECT_EQ(Load(Path("locked.klr")), -3);
        EXPECT_EQ(OnlyBox().text, "Unable to open file '" + Path("locked.klr") +
                                      "'! (-3)\n\nPlease verify that the file is not already open.");
        EXPECT_EQ(nEventCount, 1);
    }
}

TEST_F(RecordingFileTest, BinaryFormReadsRecordsAndRejectsAPartialOne) {
    std::string records = Record(WM_KEYDOWN, 0x1E41, 1, 1000, 77) + Record(WM_MOUSEMOVE, 420, 288, 0xFFFFFFFF, 0);
    WriteFile(Path("a.klr"), records);
    fake::commandEnabled[ID_EDIT_SCRIPT] = true;
    EXPECT_EQ(Load(Path("a.klr")), 0);
    ASSERT_EQ(nEventCount, 2);
    EXPECT_EQ(gEvents[0].hwnd, 77u);
    EXPECT_TRUE(SameEvent(gEvents[1], WM_MOUSEMOVE, 420, 288, 0xFFFFFFFF));
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]);

    // A zero first byte makes any name binary.
    WriteFile(Path("b.klx"), Record(0, 1, 2, 3, 4));
    EXPECT_EQ(Load(Path("b.klx")), 0);
    EXPECT_EQ(nEventCount, 1);
    EXPECT_EQ(gEvents[0].paramL, 1u);

    gbLogLevel = LOG_LOW;
    WriteFile(Path("c.KLR"), records + "xyz");
    EXPECT_EQ(Load(Path("c.KLR")), -4);
    EXPECT_EQ(nEventCount, 0);
    EXPECT_EQ(gEvents[0].message, 0u) << "records read before the failure are dropped";
    EXPECT_EQ(OnlyBox().text, "Unable to open file '" + Path("c.KLR") +
                                  "'! (-4)\n\nPlease verify that the file has not changed.");
    std::string log = ReadFile(gszLogFile);
    EXPECT_NE(log.find("Unable to open file '" + Path("c.KLR") + "'! (-4)\r\n"), std::string::npos);
}

TEST_F(RecordingFileTest, LoadingStopsAtTheEventLimit) {
    std::string records;
    for (uint32_t n = 0; n < EVENT_LOAD_LIMIT + 2; ++n) records += Record(WM_KEYDOWN, n, 0, n, 0);
    WriteFile(Path("big.klr"), records);
    EXPECT_EQ(Load(Path("big.klr")), 0);
    EXPECT_EQ(nEventCount, EVENT_LOAD_LIMIT);
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT - 1].paramL, static_cast<uint32_t>(EVENT_LOAD_LIMIT - 1));
    EXPECT_EQ(gEvents[EVENT_LOAD_LIMIT].message, 0u);

    std::string text;
    for (int n = 0; n < EVENT_LOAD_LIMIT + 5; ++n) text += "message=WM_KEYUP paramH=0 paramL=" + std::to_string(n) + "\n";
    EXPECT_EQ(LoadText(text), 0);
    EXPECT_EQ(nEventCount, EVENT_LOAD_LIMIT);
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(RecordingFileTest, TextLinesEndsCommentsAndEventFields) {
    fake::commandEnabled[ID_EDIT_SCRIPT] = false;
    std::string text =
        "; comment\r\n"
        "\r\n"
        "  message=WM_KEYDOWN paramH=1 paramL=65 time=10\r\n"       // CR LF, leading blanks
        "MESSAGE=WM_KEYUP paramH=1 paramL=65\n"                      // LF, no time
        "message=wm_keydown paramH=2 paramL=3 time=4\r"              // CR; name in lower case is no name
        "message=15 paramH=-1 paramL=-2147483648 time=4294967295\n\r"  // LF CR, numbers as bits
        "message=WM_SYSKEYDOWN paramH= 5 paramL=18 time=9\r\n"       // blank behind paramH=
        "/* a block comment\r\n"
        "message=WM_CHAR paramH=1 paramL=1\r\n"
        "*/ still in the comment\r\n"
        "\tmessage=WM_NCLBUTTONDBLCLK xyz paramL=9 paramH=8 paramL=7 time=99999999999\r\n"
        "1message=WM_KEYDOWN\r\n"                                    // no letter first: comment
        "message=WM_MOUSEWHEEL paramH=-120 paramL=5 time=-99999999999";  // no line end
    EXPECT_EQ(LoadText(text), 0);
    ASSERT_EQ(nEventCount, 7);
    EXPECT_TRUE(SameEvent(gEvents[0], WM_KEYDOWN, 65, 1, 10));
    EXPECT_TRUE(SameEvent(gEvents[1], WM_KEYUP, 65, 1, 0));
    EXPECT_TRUE(SameEvent(gEvents[2], 0, 3, 2, 4));
    EXPECT_TRUE(SameEvent(gEvents[3], 15, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFFu));
    EXPECT_TRUE(SameEvent(gEvents[4], WM_SYSKEYDOWN, 18, 0, 9));
    // Keys are searched from behind the previous field; numbers beyond 32 bits stop at the limit.
    EXPECT_TRUE(SameEvent(gEvents[5], WM_NCLBUTTONDBLCLK, 7, 8, 0xFFFFFFFFu));
    EXPECT_TRUE(SameEvent(gEvents[6], WM_MOUSEWHEEL, 5, static_cast<uint32_t>(-120), 0x80000000u));
    EXPECT_TRUE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(RecordingFileTest, EventLinesWithoutTheirKeysFail) {
    gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0};
    nEventCount = 1;
    EXPECT_EQ(LoadText("TYPE x\r\nmessage=WM_KEYDOWN paramh=1 paramL=2\r\n"), -1);
    EXPECT_EQ(OnlyBox().text, "Improperly formatted EVENT command (missing paramH)");
    EXPECT_EQ(OnlyBox().caption, "message=WM_KEYDOWN paramh=1 paramL=2");
    EXPECT_EQ(nEventCount, 0);
    EXPECT_EQ(nScriptCommands, 0);

    fake::messageBoxes.clear();
    EXPECT_EQ(LoadText("  TYPE send message=now paramH=1\n"), -1);
    EXPECT_EQ(OnlyBox().text, "Improperly formatted EVENT command (missing paramL)");
    EXPECT_EQ(OnlyBox().caption, "  TYPE send message=now paramH=1");
}

TEST_F(RecordingFileTest, ScriptCommandsAndTheirArguments) {
    std::string text =
        "START xterm -e cat\r\n"
        "restart   \tnotepad.exe\r\n"
        "Typewriter Hello {enter}\r\n"
        "typewait 3\r\n"
        "WAIT 2 seconds\r\n"
        "message=WM_KEYDOWN paramH=0 paramL=65\r\n"
        "wait 1 SECOND\r\n"
        "GOTO Untitled - Notepad\r\n"
        "click 10 20\r\n";
    EXPECT_EQ(LoadText(text), 8);
    ASSERT_EQ(nScriptCommands, 8);
    EXPECT_EQ(nEventCount, 9);
    const int32_t keywords[] = {KW_START, KW_START, KW_TYPE, KW_WAIT, KW_WAIT, KW_WAIT, KW_GOTO, KW_CLICK};
    const char* arguments[] = {"xterm -e cat", "notepad.exe", "Hello {enter}", "3", "2 ", "1 ",
                               "Untitled - Notepad", "10 20"};
    const int32_t indices[] = {0, 1, 2, 3, 4, 6, 7, 8};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(nKeyword[k], keywords[k]) << k;
        EXPECT_STREQ(szArgument[k], arguments[k]) << k;
        EXPECT_EQ(nEventIndex[k], indices[k]) << k;
        EXPECT_EQ(gEvents[indices[k]].message, 0u);
    }
    EXPECT_EQ(gEvents[5].message, WM_KEYDOWN);
}

TEST_F(RecordingFileTest, UnknownKeywordQuotesTheLineCut) {
    gbLogLevel = LOG_LOW;
    std::string bad = "PRESS " + std::string(300, 'x');
    EXPECT_EQ(LoadText("TYPE a\r\nmessage=WM_KEYUP paramH=0 paramL=1\r\n" + bad + "\r\nTYPE b\r\n"), -1);
    EXPECT_EQ(OnlyBox().text, "Unknown or incorrectly formatted command #2:\n\n\"" + bad.substr(0, 224) + "\"");
    EXPECT_EQ(OnlyBox().caption, "Script Error");
    EXPECT_EQ(nEventCount, 0);
    EXPECT_EQ(gEvents[1].message, 0u);
    std::string log = ReadFile(gszLogFile);
    std::string expected = "ERROR: Unknown or incorrectly formatted command in '" + std::string(gszFile) + "': \"" + bad;
    EXPECT_EQ(log, expected.substr(0, LOG_LINE_MAX) + "\r\n");
}

TEST_F(RecordingFileTest, TooManyScriptCommandsKeepsTheFirst2047) {
    std::string text = "message=WM_KEYDOWN paramH=0 paramL=1\n";
    for (int k = 0; k < SCRIPT_LOAD_LIMIT; ++k) text += "TYPE " + std::to_string(k) + "\n";
    text += "WAIT 9\nmessage=WM_KEYUP paramH=0 paramL=1\n";
    EXPECT_EQ(LoadText(text), SCRIPT_LOAD_LIMIT);
    EXPECT_EQ(nScriptCommands, SCRIPT_LOAD_LIMIT);
    EXPECT_EQ(nEventCount, SCRIPT_LOAD_LIMIT + 1);
    EXPECT_EQ(OnlyBox().text, "Too many script commands!\n\nThe maximum number of script commands is 2047");
    EXPECT_EQ(OnlyBox().caption, "WAIT 9");
    EXPECT_STREQ(szArgument[SCRIPT_LOAD_LIMIT - 1], "2046");
}

TEST_F(RecordingFileTest, LongLinesNulBytesAndLongKeywordsStayInTheirBuffers) {
    // A line longer than one read goes on as the next line; a NUL ends a line.
    std::string longType = "TYPE " + std::string(1018, 'a') + "TYPE tail";
    std::string keyword = "TYPE" + std::string(40, 'k') + " arg";
    std::string text = longType + "\nWAIT 1" + std::string(1, '\0') + "GOTO win\n" + keyword + "\n";
    EXPECT_EQ(LoadText(text), 5);
    EXPECT_EQ(strlen(szArgument[0]), 1018u);
    EXPECT_STREQ(szArgument[1], "tail");
    EXPECT_STREQ(szArgument[2], "1");
    EXPECT_EQ(nKeyword[3], KW_GOTO);
    EXPECT_STREQ(szArgument[3], "win");
    // Only 32 characters make the keyword; the argument follows them.
    EXPECT_EQ(nKeyword[4], KW_TYPE);
    EXPECT_EQ(std::string(szArgument[4]), std::string(12, 'k') + " arg");
}

TEST_F(RecordingFileTest, ExecutableNamesReadBehindTheProgram) {
    std::string program(EMBEDDED_RECORDING_OFFSET, 'P');
    WriteFile(Path("rec.exe"), program + Record(WM_KEYDOWN, 65, 1, 5, 0) + Record(WM_KEYUP, 65, 1, 6, 0));
    EXPECT_EQ(Load(Path("rec.exe")), 0);
    EXPECT_EQ(nEventCount, 2);
    WriteFile(Path("script.EXE"), program + "TYPE hi\r\nmessage=WM_KEYUP paramH=0 paramL=1\r\n");
    EXPECT_EQ(Load(Path("script.EXE")), 1);
    EXPECT_EQ(nEventCount, 2);
    // Renamed, the program itself is read as text and fails.
    WriteFile(Path("renamed.bin"), program + Record(WM_KEYDOWN, 65, 1, 5, 0));
    EXPECT_EQ(Load(Path("renamed.bin")), -1);
    EXPECT_EQ(OnlyBox().caption, "Script Error");
}

TEST_F(RecordingFileTest, TextWriterHeaderAndEventLines) {
    const uint32_t messages[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_MOUSEWHEEL,
                                 WM_COMMAND, WM_NCLBUTTONDBLCLK, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN,
                                 WM_SYSKEYUP, 15, 0, 0x80000001u};
    for (uint32_t m : messages) gEvents[nEventCount++] = EVENTMSG{m, 0x80000000u, 0xFFFFFFFFu, 2147483647u, 5};
    ASSERT_TRUE(SaveRecordingToFile(Path("out.klx").c_str()));
    std::string file = ReadFile(Path("out.klx"));
    const std::string header =
        "; This file was created by Kelmor (https://kelmor.example.org) \r\n"
        "; You may edit it, but keep the format the same as you see below.\r\n"
        "; You may add comments by using ';' at the start of a line.\r\n"
        "; Each line represents an EVENT structure, or may be one of the Kelmor commands (see help file reference)\r\n"
        "; \r\n; Examples:\r\n;        START notepad.exe\r\n;        WAIT 1 second\r\n"
        ";        GOTO Untitled - Notepad\r\n;        TYPE Here is text that is being typed by Kelmor\r\n; \r\n"
        "; You can mix the EVENT structure lines with Kelmor commands, such as:\r\n"
        ";        message=WM_MOUSEMOVE paramH=288 paramL=420 time=13024638\r\n;        START NOTEPAD.EXE\r\n"
        ";        GOTO Untitled - Notepad\r\n;        message=WM_MOUSEMOVE paramH=267 paramL=420 time=13024758\r\n"
        "; \r\n; You may put 0 for the TIME component in each line.\r\n"
        "; Remember that Kelmor is primarly a mouse and keyboard recorder, and does not rely on scripts.\r\n"
        "; Start of the real recording:\r\n";
    ASSERT_EQ(file.substr(0, header.size()), header);
    const char* names[] = {"WM_MOUSEMOVE", "WM_LBUTTONDOWN", "WM_LBUTTONUP", "WM_LBUTTONDBLCLK", "WM_MOUSEWHEEL",
                           "WM_COMMAND", "WM_NCLBUTTONDBLCLK", "WM_KEYDOWN", "WM_KEYUP", "WM_CHAR",
                           "WM_SYSKEYDOWN", "WM_SYSKEYUP", "15", "0", "-2147483647"};
    std::string lines;
    for (const char* n : names) lines += std::string("message=") + n + " paramH=-1 paramL=-2147483648 time=2147483647\r\n";
    EXPECT_EQ(file.substr(header.size()), lines);

    // Read back, every record keeps its bits (hwnd is not part of the text form).
    EXPECT_EQ(Load(Path("out.klx")), 0);
    ASSERT_EQ(nEventCount, 15);
    for (int i = 0; i < 15; ++i) EXPECT_TRUE(SameEvent(gEvents[i], messages[i], 0x80000000u, 0xFFFFFFFFu, 2147483647u));
}

TEST_F(RecordingFileTest, ScriptsSaveAsNumericLinesButNotAsBinary) {
    ASSERT_EQ(LoadText("message=WM_KEYDOWN paramH=0 paramL=65\r\nTYPE hello\r\nmessage=WM_KEYUP paramH=0 paramL=65\r\n"),
              1);
    ASSERT_TRUE(SaveRecordingToFile(Path("s.txt").c_str()));
    EXPECT_NE(ReadFile(Path("s.txt")).find("paramL=65 time=0\r\nmessage=0 paramH=0 paramL=0 time=0\r\nmessage=WM_KEYUP"),
              std::string::npos);

    EXPECT_FALSE(SaveRecordingToFile(Path("s.klr").c_str()));
    EXPECT_EQ(OnlyBox().text,
              "This file cannot be saved in the \"KLR\" binary format since it appears to contain script commands or "
              "empty messages.\n\nTry re-saving it in the \"KLX\" text format.");
    EXPECT_EQ(OnlyBox().caption, "Error");
    EXPECT_EQ(ReadFile(Path("s.klr")), Record(WM_KEYDOWN, 65, 0, 0, 0)) << "records before the empty one stay";
    EXPECT_EQ(nEventCount, 3) << "saving never changes the recording";
}

TEST_F(RecordingFileTest, SaveFailuresAreReported) {
    gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0};
    nEventCount = 1;
    std::string noFolder = Path("none/x.klr");
    EXPECT_FALSE(SaveRecordingToFile(noFolder.c_str()));
    EXPECT_EQ(OnlyBox().text, "Unable to save file '" + noFolder + "'!");
    EXPECT_EQ(OnlyBox().caption, "Error");
    // A device that takes no data fails every write, in either form.
    if (access("/dev/full", W_OK) == 0) {
        ASSERT_EQ(symlink("/dev/full", Path("full.klr").c_str()), 0);
        for (const char* name : {"/dev/full", "full.klr"}) {
            fake::messageBoxes.clear();
            std::string path = name[0] == '/' ? name : Path(name);
            EXPECT_FALSE(SaveRecordingToFile(path.c_str())) << name;
            EXPECT_EQ(OnlyBox().text, "Unable to save file '" + path + "'!");
        }
    }
}

TEST_F(RecordingFileTest, ListFieldsAndFileNameChoice) {
    char out[8];
    GetListField(kSaveAsFilters, '\0', 3, out, sizeof out);
    EXPECT_STREQ(out, "*.klx");
    GetListField(kSaveAsFilters, '\0', 5, out, sizeof out);
    EXPECT_STREQ(out, "*.*");
    GetListField(kSaveAsFilters, '\0', 6, out, sizeof out);
    EXPECT_STREQ(out, "") << "past the double NUL";
    GetListField(kOpenFilters, '\0', 0, out, sizeof out);
    EXPECT_STREQ(out, "Kelmor ") << "cut to the buffer";
    GetListField("Open|Save As||Play", '|', 3, out, sizeof out);
    EXPECT_STREQ(out, "Play");
    GetListField("Open|Save As", '|', 1, out, 5);
    EXPECT_STREQ(out, "Save");
    GetListField("Open|Save As", '|', 2, out, sizeof out);
    EXPECT_STREQ(out, "");

    char name[MAX_PATH] = "Task1";
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 0) << "cancelled";
    EXPECT_EQ(fake::fileDialogs.back().filters,
              "Kelmor Recording (*.klr)|*.klr|Kelmor Editable Text Files (*.klx)|*.klx|All Files (*.*)|*.*|");
    fake::fileDialogAnswers = {{true, "/tmp/rec", 3}, {true, "/tmp/rec", 2}, {true, "/tmp/a.KLR", 2},
                               {true, "/tmp/a.klx", 2}, {true, "/tmp/b.txt", 1}, {true, "/tmp/open", 2},
                               {true, "/home/j.doe/rec", 3}};
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 1);
    EXPECT_STREQ(name, "/tmp/rec.klr");
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 1);
    EXPECT_STREQ(name, "/tmp/rec.klx");
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 2);
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 1);
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 1);
    EXPECT_STREQ(name, "/tmp/b.txt") << "no Kelmor extension: no conflict";
    EXPECT_EQ(ChooseFileName(name, kOpenFilters, false, 1), 1);
    EXPECT_STREQ(name, "/tmp/open");
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 3), 1);
    EXPECT_STREQ(name, "/home/j.doe/rec.klr") << "a dot in a folder name is no extension";

    fake::fileDialogAnswers = {{true, std::string(MAX_PATH - 1, 'n'), 1}};
    EXPECT_EQ(ChooseFileName(name, kExeFilters, true, 1), 1);
    EXPECT_EQ(std::string(name), std::string(MAX_PATH - 5, 'n') + ".exe");
}
