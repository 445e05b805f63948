#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "recording/recording.h"
#include "recording/executable_recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "tests/fakes/fakes.h"
#include "tests/recording/script_lines_model.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"

namespace {

using Row = std::array<uint32_t, 5>;  // message, paramL, paramH, time, hwnd
using Rows = std::vector<Row>;
Rows Loaded() {
    Rows rows;
    for (const EVENTMSG* e = gRecordingStore.gEvents; e < gRecordingStore.gEvents + gRecording.nEventCount; ++e) {
        rows.push_back({e->message, e->paramL, e->paramH, e->time, e->hwnd});
    }
    return rows;
}

using Commands = std::vector<std::tuple<int32_t, int32_t, std::string>>;  // keyword, event index, argument
// The script commands loaded; the event each one points at must be its empty one.
Commands LoadedCommands() {
    Commands out;
    for (int32_t k = 0; k < gRecording.nScriptCommands; ++k) {
        EXPECT_EQ(gRecordingStore.gEvents[gRecordingStore.nEventIndex[k]].message, 0u) << k;
        out.emplace_back(gRecordingStore.nKeyword[k], gRecordingStore.nEventIndex[k], gRecordingStore.szArgument[k]);
    }
    return out;
}

}  // namespace

class RecordingFileTest : public CoreTest {
protected:
    int LoadText(const std::string& text) {
        WriteFile(Path("t.klx"), text);
        return LoadFile(Path("t.klx"));
    }
};

TEST_F(RecordingFileTest, LoadFailuresAreShownAndLogged) {
    gLog.gbLogLevel = LOG_LOW;
    EXPECT_EQ(LoadFile(""), -1);
    ExpectBox("Internal error while loading Kelmor file!\n\n(This should never occur)", "Internal Error",
              MB_TASKMODAL | MB_ICONSTOP);
    EXPECT_EQ(ReadFile(gLog.gszLogFile), "Unable to open file ''! (-3)\r\n");
    WriteFile(Path("empty.klx"), "");
    WriteFile(Path("locked.klr"), Records({{WM_KEYDOWN, 1, 2, 3, 4}}));
    chmod(Path("locked.klr").c_str(), 0);
    WriteFile(Path("cut.KLR"), Records({{WM_KEYDOWN, 1, 2, 3, 4}}) + "xyz");
    // The system's reason replaces the guess where it gives one.
    const struct { const char* name; int code; const char* advice; } cases[] = {
        {"empty.klx", -2, "Please verify that the file exists."}, {"locked.klr", -3, "Permission denied."},
        {"cut.KLR", -4, "Please verify that the file has not changed."}};
    for (const auto& c : cases) {
        gRecordingStore.gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0}, gRecording.nEventCount = 1;
        const std::string line = "Unable to open file '" + Path(c.name) + "'! (" + std::to_string(c.code) + ")";
        // Root opens anything: the locked file is opened as nobody, who may write the log.
        const bool asNobody = c.code == -3 && geteuid() == 0;
        if (asNobody) {
            ASSERT_EQ(chmod(dir_.c_str(), 0755) | chmod(gLog.gszLogFile, 0666) | seteuid(65534), 0);
        }
        EXPECT_EQ(LoadFile(Path(c.name)), c.code);
        if (asNobody) {
            ASSERT_EQ(seteuid(0), 0);
        }
        ExpectBox(line + "\n\n" + c.advice);
        EXPECT_TRUE(Logged(line)) << c.name;
        // A file that cannot be opened leaves the recording alone; one that fails halfway
        // leaves nothing, not even the records read before the failure.
        EXPECT_EQ(gRecording.nEventCount, c.code == -4 ? 0 : 1) << c.name;
        EXPECT_EQ(gRecordingStore.gEvents[0].message, c.code == -4 ? 0u : uint32_t{WM_KEYDOWN}) << c.name;
    }
}

TEST_F(RecordingFileTest, BothFormsLoadUpToTheEventLimitAndSayWhatWasLeftOut) {
    std::string records = Records({{WM_MOUSEMOVE, 420, 288, 0xFFFFFFFF, 77}}), text;
    for (uint32_t n = 1; n < EVENT_LOAD_LIMIT; ++n) {
        records += Records({{WM_KEYDOWN, n, 0, n, 0}});
        text += "message=WM_KEYUP paramH=0 paramL=" + std::to_string(n) + "\n";
    }
    const std::string left = "Only the first 32766 actions of '" + Path("big.klr") + "' were loaded.";
    WriteFile(Path("big.klr"), records + Records({{WM_KEYUP, 1, 0, 0, 0}}));
    fake::commandEnabled[ID_EDIT_SCRIPT] = true;
    gLog.gbLogLevel = LOG_LOW;
    EXPECT_EQ(LoadFile(Path("big.klr")), 0);
    EXPECT_TRUE(gRecording.gbRecordingCut);
    ExpectBox(left + "\n\nThe rest of the file was left out.");
    EXPECT_EQ(ReadFile(gLog.gszLogFile), left + "\r\n");
    EXPECT_FALSE(fake::commandEnabled[ID_EDIT_SCRIPT]) << "records hold no script to edit";
    EXPECT_EQ(gRecording.nEventCount, EVENT_LOAD_LIMIT);
    EXPECT_EQ(Loaded()[0], (Row{WM_MOUSEMOVE, 420, 288, 0xFFFFFFFF, 77}));
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_LOAD_LIMIT - 1].paramL, static_cast<uint32_t>(EVENT_LOAD_LIMIT - 1));
    EXPECT_EQ(gRecordingStore.gEvents[EVENT_LOAD_LIMIT].message, 0u);
    // Exactly full is not cut, whatever comments follow.
    WriteFile(Path("full.klr"), records);
    EXPECT_EQ(LoadFile(Path("full.klr")), 0);
    EXPECT_FALSE(gRecording.gbRecordingCut);
    text = "message=WM_KEYUP paramH=0 paramL=0\n" + text;
    EXPECT_EQ(LoadText(text + "; the end\n/*\nTYPE hidden\n*/\n"), 0);
    EXPECT_FALSE(gRecording.gbRecordingCut);
    EXPECT_TRUE(fake::messageBoxes.empty());
    // One more action in either kind of line, even behind a closed block comment.
    for (const char* more : {"message=WM_KEYUP paramH=0 paramL=1\n", "/*\n*/\n  TYPE x\n"}) {
        EXPECT_EQ(LoadText(text + more), 0) << more;
        EXPECT_EQ(gRecording.nEventCount, EVENT_LOAD_LIMIT);
        EXPECT_TRUE(gRecording.gbRecordingCut) << more;
        ExpectBox("Only the first 32766 actions of '" + Path("t.klx") + "' were loaded.\n\nThe rest of the file was "
                  "left out.");
    }
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
    // Keys are searched from behind the previous field; numbers beyond 32 bits stop at the limit.
    EXPECT_EQ(Loaded(), (Rows{{WM_KEYDOWN, 65, 1, 10, 0}, {WM_KEYUP, 65, 1, 0, 0}, {0, 3, 2, 4, 0},
                              {15, 0x80000000u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0}, {WM_SYSKEYDOWN, 18, 0, 9, 0},
                              {WM_NCLBUTTONDBLCLK, 7, 8, 0xFFFFFFFFu, 0},
                              {WM_MOUSEWHEEL, 5, static_cast<uint32_t>(-120), 0x80000000u, 0}}));
    EXPECT_TRUE(fake::commandEnabled[ID_EDIT_SCRIPT]);
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(RecordingFileTest, BadLinesDropEverythingReadAndQuoteTheLine) {
    gRecordingStore.gEvents[0] = EVENTMSG{WM_KEYDOWN, 65, 0, 0, 0}, gRecording.nEventCount = 1;
    EXPECT_EQ(LoadText("TYPE x\r\nmessage=WM_KEYDOWN paramh=1 paramL=2\r\n"), -1);
    ExpectBox("Improperly formatted EVENT command (missing paramH)", "message=WM_KEYDOWN paramh=1 paramL=2");
    EXPECT_EQ(gRecording.nEventCount + gRecording.nScriptCommands, 0);
    EXPECT_EQ(LoadText("  TYPE send message=now paramH=1\n"), -1);
    ExpectBox("Improperly formatted EVENT command (missing paramL)", "  TYPE send message=now paramH=1");

    gLog.gbLogLevel = LOG_LOW;
    const std::string bad = "PRESS " + std::string(300, 'x');
    EXPECT_EQ(LoadText("TYPE a\r\nmessage=WM_KEYUP paramH=0 paramL=1\r\n" + bad + "\r\nTYPE b\r\n"), -1);
    ExpectBox("Unknown or incorrectly formatted command #2:\n\n\"" + bad.substr(0, 224) + "\"", "Script Error");
    EXPECT_EQ(gRecording.nEventCount, 0);
    EXPECT_EQ(gRecordingStore.gEvents[1].message, 0u) << "what was read before is dropped";
    const std::string logged = "ERROR: Unknown or incorrectly formatted command in '" + Path("t.klx") + "': \"" + bad;
    EXPECT_EQ(ReadFile(gLog.gszLogFile), logged.substr(0, LOG_LINE_MAX) + "\r\n");
}

TEST_F(RecordingFileTest, ScriptCommandsTheirArgumentsAndBounds) {
    // A keyword holding a command's name is that command.
    EXPECT_EQ(LoadText("restart   \txterm -e cat\r\nTypewriter Hi {enter}\r\nwait 2 SECONDS\r\n"
                       "message=WM_KEYDOWN paramH=0 paramL=65\r\nGOTO Untitled - Notepad\r\nclick 10 20\r\n"),
              5);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_START, 0, "xterm -e cat"}, {KW_TYPE, 1, "Hi {enter}"}, {KW_WAIT, 2, "2 "},
                                          {KW_GOTO, 4, "Untitled - Notepad"}, {KW_CLICK, 5, "10 20"}}));
    EXPECT_EQ(gRecording.nEventCount, 6);
    EXPECT_EQ(gRecordingStore.gEvents[3].message, WM_KEYDOWN);
    // Arguments are kept as UTF-8: a line that is not (an older program's Windows-1252)
    // is read as that, and a long one is never cut inside a character.
    std::string acutes;
    for (int i = 0; i < 511; ++i) acutes += "\xC3\xA9";
    EXPECT_EQ(LoadText("TYPE Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\nTYPE Gr\xFC\xDF" "e \x80\nGOTO " +
                       std::string(1018, '\xE9') + "\n"),
              3);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
                                          {KW_TYPE, 1, "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC"},
                                          {KW_GOTO, 2, acutes}}));

    // A NUL ends a line; only 32 characters make a keyword, and the argument follows them.
    std::string text = "TYPE " + std::string(1018, 'a') + "\r\nWAIT 1" + std::string(1, '\0') + "GOTO win\nTYPE" +
                       std::string(40, 'k') + " arg\n";
    EXPECT_EQ(LoadText(text), 4);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, std::string(1018, 'a')}, {KW_WAIT, 1, "1"}, {KW_GOTO, 2, "win"},
                                          {KW_TYPE, 3, std::string(12, 'k') + " arg"}}));
    EXPECT_FALSE(gRecording.gbRecordingCut);

    text = "message=WM_KEYDOWN paramH=0 paramL=1\n";
    for (int k = 0; k < SCRIPT_LOAD_LIMIT; ++k) text += "TYPE " + std::to_string(k) + "\n";
    EXPECT_EQ(LoadText(text + "WAIT 9\nmessage=WM_KEYUP paramH=0 paramL=1\n"), SCRIPT_LOAD_LIMIT);
    EXPECT_EQ(gRecording.nScriptCommands, SCRIPT_LOAD_LIMIT);
    EXPECT_EQ(gRecording.nEventCount, SCRIPT_LOAD_LIMIT + 1);
    ExpectBox("Too many script commands!\n\nThe maximum number of script commands is 2047", "WAIT 9");
    EXPECT_TRUE(gRecording.gbRecordingCut);
    EXPECT_STREQ(gRecordingStore.szArgument[SCRIPT_LOAD_LIMIT - 1], "2046");
}

TEST_F(RecordingFileTest, TheRestOfALongLineBelongsToIt) {
    const std::string longRun(1004, 'x');
    // A comment stays a comment, however long.
    EXPECT_EQ(LoadText(";" + longRun + "START touch FILE\r\nTYPE a\r\n;" + std::string(70000, ' ') + "TYPE b\n"), 1);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, "a"}}));
    // A block comment mark beyond the line buffer counts, also split across its end.
    EXPECT_EQ(LoadText(";" + std::string(1021, 'x') + "/*\nSTART hidden\n*/\nTYPE a\n"), 1);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, "a"}}));
    EXPECT_EQ(LoadText("/*\n" + std::string(1500, '-') + "*/\nTYPE b\n"), 1);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, "b"}}));
    EXPECT_TRUE(fake::messageBoxes.empty());

    // A command or event line is refused whole: half of it could do what nobody wrote.
    gLog.gbLogLevel = LOG_LOW;
    for (const std::string& line : {"TYPE " + longRun + "START touch FILE",
                                    "message=WM_KEYUP paramH=1 paramL=2" + std::string(1000, ' ') + "time=3"}) {
        EXPECT_EQ(LoadText("TYPE first\n" + line + "\nTYPE last\n"), -1) << line.substr(0, 8);
        EXPECT_EQ(gRecording.nEventCount + gRecording.nScriptCommands, 0);
        ExpectBox("Line longer than 1023 characters:\n\n\"" + line.substr(0, 224) + "...\"", "Script Error");
    }
    EXPECT_EQ(ReadFile(gLog.gszLogFile)
                  .rfind("ERROR: Line longer than 1023 characters in '" + Path("t.klx") + "': \"TYPE", 0),
              0u);
}

// Property: whatever a file's comments hold (keywords, block comment marks, runs longer
// than the line buffer), the commands loaded are exactly the file's command lines.
TEST_F(RecordingFileTest, NoTextFromACommentEverBecomesACommand) {
    std::mt19937 random(8);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    const std::vector<std::string> pieces = {"START touch FILE", "TYPE x", " GOTO w", "WAIT 1", "click 1 2", "/*", "*/",
                                             "message=WM_KEYUP paramH=0 paramL=1", "\t", " ", ";", "x"};
    const std::vector<std::string> ends = {"\r\n", "\n", "\r", "\n\r"};
    auto noise = [&] {
        std::string text;
        for (int n = random() % 6; n > 0; --n) {
            text += random() % 3 == 0 ? std::string(random() % 2100, "xy /*"[random() % 5]) : pick(pieces);
        }
        return text;
    };
    int longLines = 0, loaded = 0;
    for (int round = 0; round < 300; ++round) {
        std::string file = random() % 8 == 0 ? "\xEF\xBB\xBF" : "";
        for (int n = 1 + random() % 12; n > 0; --n) {
            switch (random() % 5) {
                case 0: file += pick({";", "  ;", "#", "1", "\t-"}) + noise(); break;
                case 1: file += "/*" + noise() + pick(ends) + noise() + pick(ends) + noise() + "*/" + noise(); break;
                case 2:
                    file += pick({"message=WM_KEYDOWN paramH=1 paramL=65", "\tMESSAGE=7 paramH=0 paramL=0 time=1"});
                    break;
                default:
                    file += pick({"", " ", "\t"}) + pick({"START", "TYPE", "Goto", "wait", "CLICK", "typewait"}) +
                            pick({" ", "\t ", "  "}) + std::to_string(random() % 100) + pick({"", " seconds", " a b"});
                    if (random() % 10 == 0) file += std::string(1100, 'z');
            }
            file += pick(ends);
        }
        const script_model::Script expected = script_model::ReadScript(file);
        const int result = LoadText(file);
        // A block comment closed early leaves its noise as lines of unknown commands.
        const bool unknown = std::any_of(expected.commands.begin(), expected.commands.end(),
                                         [](const script_model::Command& c) { return c.keyword == 0; });
        if (expected.longLine || unknown) {
            longLines += expected.longLine;
            EXPECT_EQ(result, -1) << "round " << round;
            ASSERT_EQ(fake::messageBoxes.size(), 1u);
            EXPECT_EQ(fake::messageBoxes[0].caption, "Script Error");
            fake::messageBoxes.clear();
            continue;
        }
        ASSERT_EQ(result, static_cast<int>(expected.commands.size())) << "round " << round << ": " << file;
        for (int32_t k = 0; k < gRecording.nScriptCommands; ++k) {
            EXPECT_EQ((script_model::Command{gRecordingStore.nKeyword[k], gRecordingStore.szArgument[k]}),
                      expected.commands[k])
                << "round " << round;
        }
        EXPECT_TRUE(fake::messageBoxes.empty()) << "round " << round;
        loaded += result > 0;
    }
    // The rounds must try both sides.
    EXPECT_GT(longLines, 20);
    EXPECT_GT(loaded, 100);
}

TEST_F(RecordingFileTest, AByteOrderMarkIsSkipped) {
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(LoadText(mark + "TYPE hi\r\nmessage=WM_KEYUP paramH=0 paramL=1\r\n"), 1);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_TYPE, 0, "hi"}}));
    EXPECT_EQ(gRecording.nEventCount, 2);
    // Only at the start, and behind a program too.
    EXPECT_EQ(LoadText("TYPE a\n" + mark + "TYPE b\n"), 1);
    WriteFile(Path("rec.exe"), std::string(EMBEDDED_RECORDING_OFFSET, 'M') + mark + "START xterm\n");
    EXPECT_EQ(LoadFile(Path("rec.exe")), 1);
    EXPECT_EQ(LoadedCommands(), (Commands{{KW_START, 0, "xterm"}}));
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(RecordingFileTest, TextWriterNamesOrNumbersMessagesAndReadsBack) {
    // The names a recording made by the recorder holds are checked against a reference file.
    const struct { uint32_t message; const char* name; } messages[] = {
        {WM_MOUSEWHEEL, "WM_MOUSEWHEEL"}, {WM_COMMAND, "WM_COMMAND"}, {WM_NCLBUTTONDBLCLK, "WM_NCLBUTTONDBLCLK"},
        {WM_CHAR, "WM_CHAR"}, {WM_SYSKEYUP, "WM_SYSKEYUP"}, {0, "0"}, {0x80000001u, "-2147483647"}};
    std::string lines;
    Rows expected;  // hwnd is not part of the text form
    for (const auto& m : messages) {
        gRecordingStore.gEvents[gRecording.nEventCount++] =
            EVENTMSG{m.message, 0x80000000u, 0xFFFFFFFFu, 2147483647u, 5};
        lines += std::string("message=") + m.name + " paramH=-1 paramL=-2147483648 time=2147483647\r\n";
        expected.push_back({m.message, 0x80000000u, 0xFFFFFFFFu, 2147483647u, 0});
    }
    ASSERT_TRUE(SaveRecordingToFile(Path("out.klx").c_str()));
    const std::string text = ReadFile(Path("out.klx"));
    EXPECT_EQ(text.substr(text.size() - lines.size()), lines) << "behind the header";
    EXPECT_EQ(LoadFile(Path("out.klx")), 0);
    EXPECT_EQ(Loaded(), expected);
}

TEST_F(RecordingFileTest, FailedSavesKeepTheOldFileAndSayWhy) {
    const std::string good = Records({{WM_KEYDOWN, 65, 0, 0, 0}, {WM_KEYUP, 65, 0, 0, 0}});
    WriteFile(Path("s.klr"), good);
    ASSERT_EQ(LoadText("message=WM_KEYDOWN paramH=0 paramL=65\nTYPE hello\nmessage=WM_KEYUP paramH=0 paramL=65\n"), 1);
    EXPECT_FALSE(SaveRecordingToFile(Path("s.klr").c_str()));
    ExpectBox("This file cannot be saved in the \"KLR\" binary format since it appears to contain script commands or "
              "empty messages.\n\nTry re-saving it in the \"KLX\" text format.");
    EXPECT_EQ(ReadFile(Path("s.klr")), good) << "refused before anything was written";
    EXPECT_FALSE(SaveRecordingToFile(Path("new.klr").c_str()));
    EXPECT_FALSE(FileExists(Path("new.klr"))) << "a refusal creates nothing";
    fake::messageBoxes.clear();
    EXPECT_EQ(gRecording.nEventCount, 3) << "saving never changes the recording";

    // The system's reason follows the message.
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
    const struct { std::string path, reason; } failures[] = {
        {Path("folder"), "Is a directory"}, {Path("no/such.klx"), "No such file or directory"}};
    for (const auto& f : failures) {
        EXPECT_FALSE(SaveRecordingToFile(f.path.c_str())) << f.path;
        ExpectBox("Unable to save file '" + f.path + "'!\n\n" + f.reason + ".");
    }

    // /dev/full takes no data: every write fails, in either form, and a link to it is
    // followed to the device, which is written directly.
    if (access("/dev/full", W_OK) != 0) return;
    gRecording.nEventCount = 1;
    ASSERT_EQ(symlink("/dev/full", Path("full.klr").c_str()), 0);
    for (const std::string& path : {std::string("/dev/full"), Path("full.klr")}) {
        EXPECT_FALSE(SaveRecordingToFile(path.c_str())) << path;
        ExpectBox("Unable to save file '" + path + "'!\n\nNo space left on device.");
    }
    EXPECT_EQ(Entries(), (std::vector<std::string>{"folder", "full.klr", "s.klr", "t.klx"}))
        << "no temporary file stays behind";
}

TEST_F(RecordingFileTest, TextSaveKeepsTheScript) {
    // Commands first, between events, next to an empty event of their own, and last.
    ASSERT_EQ(LoadText("START xterm -e cat\r\nmessage=WM_KEYDOWN paramH=0 paramL=65\r\nwait 2 seconds\r\n"
                       "message=0 paramH=0 paramL=0\r\nTypewriter Hi {enter}\r\n  GOTO\tUntitled - Notepad\r\n"
                       "message=WM_KEYUP paramH=0 paramL=65 time=5\r\nCLICK 10 20\r\nTYPE\r\n"),
              6);
    const Rows events = Loaded();
    const Commands commands = LoadedCommands();
    ASSERT_TRUE(SaveRecordingToFile(Path("round.klx").c_str()));
    const std::string saved = ReadFile(Path("round.klx"));
    EXPECT_NE(saved.find("\r\nSTART xterm -e cat\r\nmessage=WM_KEYDOWN paramH=0 paramL=65 time=0\r\nWAIT 2 \r\n"
                         "message=0 paramH=0 paramL=0 time=0\r\nTYPE Hi {enter}\r\nGOTO Untitled - Notepad\r\n"),
              std::string::npos)
        << saved;
    EXPECT_EQ(LoadFile(Path("round.klx")), 6);
    EXPECT_EQ(Loaded(), events);
    EXPECT_EQ(LoadedCommands(), commands);
    ASSERT_TRUE(SaveRecordingToFile(Path("again.klx").c_str()));
    EXPECT_EQ(ReadFile(Path("again.klx")), saved);
    EXPECT_TRUE(fake::messageBoxes.empty());
}

TEST_F(RecordingFileTest, ListFieldsAndFileNameChoice) {
    // Past the double NUL, cut to the buffer; the file name choices below read the other fields.
    const struct { const char* list; char delimiter; int n, size; const char* expected;
    } fields[] = {{kSaveAsFilters, '\0', 6, 8, ""},
                  {kOpenFilters, '\0', 0, 8, "Kelmor "},
                  {"Open|Save As||Play", '|', 3, 8, "Play"},
                  {"Open|Save As", '|', 1, 5, "Save"},
                  {"Open|Save As", '|', 2, 8, ""}};
    for (const auto& f : fields) {
        char out[8];
        GetListField(f.list, f.delimiter, f.n, out, f.size);
        EXPECT_STREQ(out, f.expected) << f.n;
    }

    char name[MAX_PATH] = "Task1";
    EXPECT_EQ(ChooseFileName(name, kSaveAsFilters, true, 1), 0) << "cancelled";
    // No Kelmor extension is no conflict; opening adds nothing; a dot in a folder name is no extension.
    const std::string longName(MAX_PATH - 1, 'n');
    const struct {
        std::string answer;
        int filter;
        const char* filters;
        int result;
        std::string expected;
    } choices[] = {{"/tmp/rec", 2, kSaveAsFilters, 1, "/tmp/rec.klx"},
                   {"/tmp/a.KLR", 2, kSaveAsFilters, 2, "/tmp/a.KLR"},
                   {"/tmp/b.txt", 1, kSaveAsFilters, 1, "/tmp/b.txt"},
                   {"/tmp/open", 2, kOpenFilters, 1, "/tmp/open"},
                   {"/home/j.doe/rec", 3, kSaveAsFilters, 1, "/home/j.doe/rec.klr"},
                   {longName, 1, kExeFilters, 1, longName.substr(4) + ".exe"}};
    for (const auto& c : choices) {
        fake::fileDialogAnswers = {{true, c.answer, c.filter}};
        EXPECT_EQ(ChooseFileName(name, c.filters, c.filters != kOpenFilters, 1), c.result) << c.answer;
        EXPECT_EQ(std::string(name), c.expected);
    }
}

TEST_F(RecordingFileTest, SaveNamesGetTheirExtensionOnlyAsPlainFiles) {
    ASSERT_EQ(mkdir(Path("dir").c_str(), 0700), 0);
    WriteFile(Path("exists"), "x");
    const struct { std::string name, expected; } names[] = {
        {Path("rec"), Path("rec.klr")}, {Path("exists"), Path("exists.klr")}, {Path("a.b"), Path("a.b")},
        {"/dev/null", "/dev/null"}, {Path("dir"), Path("dir")}};
    for (const auto& n : names) {
        char out[MAX_PATH];
        ASSERT_TRUE(MakeSaveName(n.name.c_str(), out, sizeof out)) << n.name;
        EXPECT_EQ(std::string(out), n.expected);
    }
    char small[8];
    EXPECT_FALSE(MakeSaveName("abcd", small, sizeof small)) << "a name cut to fit would be another file";
}

TEST_F(RecordingFileTest, OnlyTheFileNamePartDecidesTheForm) {
    const std::string text = "message=WM_KEYDOWN paramH=1 paramL=65 time=0\r\nTYPE a\r\n";
    for (const char* folder : {"my.exercises", "backup.klr.d", "old.EXE.klr"}) {
        ASSERT_EQ(mkdir(Path(folder).c_str(), 0700), 0);
        const std::string name = Path(std::string(folder) + "/a.klx");
        WriteFile(name, text);
        EXPECT_EQ(LoadFile(name), 1) << folder;
        EXPECT_EQ(gRecording.nEventCount, 2) << folder;
        // Saving into the same folder writes the text form again, not records.
        ASSERT_TRUE(SaveRecordingToFile(name.c_str())) << folder;
        EXPECT_EQ(ReadFile(name).rfind("; This file was created by Kelmor", 0), 0u) << folder;
    }
    EXPECT_TRUE(fake::messageBoxes.empty());
    char exe[MAX_PATH];
    ASSERT_TRUE(MakeExecutableName("/tmp/my.exercises/rec", exe, sizeof exe));
    EXPECT_STREQ(exe, "/tmp/my.exercises/rec.exe");
}
