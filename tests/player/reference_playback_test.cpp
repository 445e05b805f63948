// Whole playbacks checked against traces worked out by hand: the log line by line, what
// the system was handed and when, and the recording afterwards.
#include <sstream>
#include <string>
#include <vector>

#include "host/mappings.h"
#include "platform/system.h"
#include "player/player.h"
#include "recording/message_names.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"

namespace {

std::string DataPath(const std::string& name) {
    std::string here = __FILE__;
    return here.substr(0, here.rfind('/')) + "/data/" + name;
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
        parts.push_back(text.substr(from, at - from));
        from = at + separator.size();
    }
    if (from < text.size()) parts.push_back(text.substr(from));
    return parts;
}

void Substitute(std::string* text, const std::string& token, const std::string& value) {
    for (size_t at = text->find(token); at != std::string::npos; at = text->find(token, at + value.size())) {
        text->replace(at, token.size(), value);
    }
}

}  // namespace

class ReferencePlaybackTest : public CoreTest {};

TEST_F(ReferencePlaybackTest, TwoPassesOfAScriptedRecording) {
    gLog.gbLogLevel = LOG_HIGH;
    gSettings.gbKeyboardService = 0;  // the scenario has no keyboard service to take up again
    gSettings.gnRepeats = 2;
    fake::tickCount = 50000;
    fake::windows = {{0x1234, "Untitled - Notepad", {100, 50, 700, 500}, false, false}};
    // The system comes back 12 ms late for 100, 18 ms early for 188 and 5 ms late for 50.
    fake::actualWait = [](int32_t requested) {
        return requested == 100 ? 112 : requested == 188 ? 170 : requested == 50 ? 55 : requested;
    };
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\120\\Action", REG_DWORD, nullptr, ACTION_REPLACE_LOOP);
    ReadMappings();
    const std::string file = DataPath("reference.klx");
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "%s", file.c_str());
    ASSERT_EQ(LoadRecording(gRecording.gszFile), 6);
    const std::vector<EVENTMSG> loaded(gRecordingStore.gEvents, gRecordingStore.gEvents + gRecording.nEventCount);
    const std::vector<int32_t> indices(gRecordingStore.nEventIndex,
                                       gRecordingStore.nEventIndex + gRecording.nScriptCommands);

    SendCommand(ID_PLAY);
    fake::RunPlayback();

    std::string expected = ReadFile(DataPath("reference.log"));
    uint32_t version[4] = {};
    SysGetVersion(&version[0], &version[1], &version[2], &version[3]);
    Substitute(&expected, "${FILE}", file);
    const char* const tokens[] = {"${PLATFORM}", "${MAJOR}", "${MINOR}", "${BUILD}"};
    for (int i = 0; i < 4; ++i) Substitute(&expected, tokens[i], std::to_string(version[i]));
    const std::vector<std::string> want = Split(expected, "\r\n");
    const std::vector<std::string> got = Split(ReadFile(gLog.gszLogFile), "\r\n");
    for (size_t i = 0; i < want.size() && i < got.size(); ++i) ASSERT_EQ(got[i], want[i]) << "log line " << i + 1;
    EXPECT_EQ(got.size(), want.size());

    std::vector<std::string> sent;
    for (size_t i = 0; i < fake::delivered.size(); ++i) {
        const EVENTMSG& e = fake::delivered[i];
        std::ostringstream line;
        line << LogMessageName(e.message) << ' ' << e.paramL << ' ' << e.paramH << ' ' << e.time << ' ' << e.hwnd;
        sent.push_back(line.str());
        EXPECT_EQ(e.time, fake::deliveredAt[i]) << "stamped when handed over";
    }
    EXPECT_EQ(sent, Split(ReadFile(DataPath("reference.events")), "\n"));

    EXPECT_EQ(gRecording.nEventCount, static_cast<int32_t>(loaded.size()));
    EXPECT_EQ(memcmp(gRecordingStore.gEvents, loaded.data(), loaded.size() * sizeof(EVENTMSG)), 0);
    EXPECT_EQ(
        std::vector<int32_t>(gRecordingStore.nEventIndex, gRecordingStore.nEventIndex + gRecording.nScriptCommands),
        indices);
    EXPECT_EQ(fake::windowTitle, "Kelmor - reference.klx");
}

TEST_F(ReferencePlaybackTest, RecordingThroughTheRecordHookSavesAsText) {
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\123\\Action", REG_DWORD, nullptr,
                     ACTION_STOP_RECORDING);
    ReadMappings();
    const HWND32 app = 0x2000, own = 0x3000;
    fake::windows = {{own, "Kelmor", {0, 0, 300, 200}, false, true}};
    auto key = [&](uint32_t message, uint32_t vk, uint32_t scan, uint32_t time) {
        return EVENTMSG{message, vk | scan << 8, 1, time, app};
    };
    auto mouse = [](uint32_t message, uint32_t x, uint32_t y, uint32_t time, HWND32 window) {
        return EVENTMSG{message, x, y, time, window};
    };
    const EVENTMSG input[] = {
        mouse(WM_MOUSEMOVE, 200, 150, 10000, app), mouse(WM_MOUSEMOVE, 220, 160, 10040, app),
        // A double click, then a click on the program's own window, which is left out.
        mouse(WM_LBUTTONDOWN, 220, 160, 10100, app), mouse(WM_LBUTTONUP, 220, 160, 10180, app),
        mouse(WM_LBUTTONDOWN, 220, 160, 10300, app), mouse(WM_LBUTTONUP, 220, 160, 10380, app),
        mouse(WM_LBUTTONDOWN, 20, 30, 10600, own), mouse(WM_LBUTTONUP, 20, 30, 10650, own),
        // Alt+F, then a plain A; F12 is the stop key and its release comes too late.
        key(WM_SYSKEYDOWN, VK_MENU, 56, 11000), key(WM_SYSKEYDOWN, 'F', 33, 11100), key(WM_SYSKEYUP, 'F', 33, 11180),
        key(WM_SYSKEYUP, VK_MENU, 56, 11250), key(WM_KEYDOWN, 'A', 30, 11400), key(WM_KEYUP, 'A', 30, 11450),
        key(WM_KEYDOWN, 123, 88, 12000), key(WM_KEYUP, 123, 88, 12050)};
    SendCommand(ID_START_RECORDING);
    for (const EVENTMSG& event : input) fake::FeedRecord(event);
    EXPECT_EQ(fake::journalHook, 0) << "the stop key ended the recording";
    EXPECT_EQ(gRecording.nEventCount, 14);
    ASSERT_TRUE(SaveRecordingToFile(Path("recorded.klx").c_str()));
    EXPECT_EQ(ReadFile(Path("recorded.klx")), ReadFile(DataPath("recorded.klx")));
}
