#include "tests/test_support.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#include "app/program_state.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "service/service_data.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "ui/run_mode.h"

std::string MakeTemporaryFolder(const char* prefix) {
    // Where the system keeps temporary files, in its own spelling of paths; the tests add
    // names with '/', which every system here takes as a separator too.
    std::error_code error;
    std::string base = std::filesystem::temp_directory_path(error).string();
    if (error) base = ".";
    while (base.size() > 1 && (base.back() == '/' || base.back() == '\\')) base.pop_back();
    std::mt19937 random(static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = base + "/" + prefix;
        for (int i = 0; i < 6; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
        if (std::filesystem::create_directory(name, error)) return name;
    }
    ADD_FAILURE() << "no temporary folder in " << base;
    return base;
}

void CoreTest::SetUp() {
    fake::Reset();
    ResetProgramState();
    ResetServiceState();  // the module's own, linked into the tests
    // A test that ran the exit step freed the shared store.
    if (gRecordingStore.gEvents == nullptr) AllocateRecordingStore();
    dir_ = MakeTemporaryFolder("kelmor-test-");
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s/Kelmor.log", dir_.c_str());
}

void CoreTest::TearDown() {
    std::error_code error;
    std::filesystem::remove_all(dir_, error);
    if (error) ADD_FAILURE() << "could not remove " << dir_ << ": " << error.message();
}

std::string CoreTest::Path(const std::string& name) const { return dir_ + "/" + name; }

std::string CoreTest::ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void CoreTest::WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool CoreTest::FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

int CoreTest::LoadFile(const std::string& path) {
    snprintf(gRecording.gszFile, sizeof gRecording.gszFile, "%s", path.c_str());
    return LoadRecording(gRecording.gszFile);
}

std::vector<std::string> CoreTest::Entries() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir_, error)) {
        const std::string name = entry.path().filename().string();
        if (name != "Kelmor.log") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void CoreTest::ExpectBox(const std::string& text, const std::string& caption, uint32_t style) {
    ASSERT_EQ(fake::messageBoxes.size(), 1u) << text;
    EXPECT_EQ(fake::messageBoxes[0].text, text);
    EXPECT_EQ(fake::messageBoxes[0].caption, caption);
    EXPECT_EQ(fake::messageBoxes[0].style, style) << text;
    fake::messageBoxes.clear();
}

bool CoreTest::Logged(const std::string& line) {
    const std::string log = ReadFile(gLog.gszLogFile);
    return log.rfind(line + "\r\n", 0) == 0 || log.find("\r\n" + line + "\r\n") != std::string::npos;
}

std::string Records(std::initializer_list<EVENTMSG> events) {
    std::string out;
    for (const EVENTMSG& e : events) {
        for (uint32_t v : {e.message, e.paramL, e.paramH, e.time, e.hwnd}) {
            for (int k = 0; k < 4; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
        }
    }
    return out;
}

void Keys(int count) {
    for (int i = 0; i < count; ++i) {
        gRecordingStore.gEvents[i] = EVENTMSG{WM_KEYDOWN + i % 2u, 'A', 1, 5000u + 100u * i, 0};
    }
    gRecording.nEventCount = count;
}

int32_t AddScriptCommand(int32_t keyword, const char* argument, int32_t index) {
    gRecordingStore.nKeyword[gRecording.nScriptCommands] = keyword;
    snprintf(gRecordingStore.szArgument[gRecording.nScriptCommands], SCRIPT_ARG_SIZE, "%s", argument);
    gRecordingStore.nEventIndex[gRecording.nScriptCommands] = index;
    return gRecording.nScriptCommands++;
}

void WindowTest::SetUp() {
    CoreTest::SetUp();
    gSettings.gbKeyboardService = 0;
    gRun.gnRunMode = RUN_INTERACTIVE;
    fake::tickCount = 100000;
}
