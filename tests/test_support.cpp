#include "tests/test_support.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/program_state.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "service/service_data.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "ui/run_mode.h"

void CoreTest::SetUp() {
    fake::Reset();
    ResetProgramState();
    ResetServiceState();  // the module's own, linked into the tests
    // A test that ran the exit step freed the shared store.
    if (gEvents == nullptr) AllocateRecordingStore();
    gchar* dir = g_dir_make_tmp("kelmor-test-XXXXXX", nullptr);
    dir_ = dir;
    g_free(dir);
    snprintf(gszLogFile, sizeof gszLogFile, "%s/Kelmor.log", dir_.c_str());
}

void CoreTest::TearDown() {
    std::string cmd = "rm -rf '" + dir_ + "'";
    if (system(cmd.c_str()) != 0) ADD_FAILURE() << "could not remove " << dir_;
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

bool CoreTest::FileExists(const std::string& path) { return g_file_test(path.c_str(), G_FILE_TEST_EXISTS); }

int CoreTest::LoadFile(const std::string& path) {
    snprintf(gszFile, sizeof gszFile, "%s", path.c_str());
    return LoadRecording();
}

std::vector<std::string> CoreTest::Entries() const {
    std::vector<std::string> names;
    if (GDir* d = g_dir_open(dir_.c_str(), 0, nullptr)) {
        while (const char* name = g_dir_read_name(d)) {
            if (std::string(name) != "Kelmor.log") names.push_back(name);
        }
        g_dir_close(d);
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
    const std::string log = ReadFile(gszLogFile);
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
    for (int i = 0; i < count; ++i) gEvents[i] = EVENTMSG{WM_KEYDOWN + i % 2u, 'A', 1, 5000u + 100u * i, 0};
    nEventCount = count;
}

int32_t AddScriptCommand(int32_t keyword, const char* argument, int32_t index) {
    nKeyword[nScriptCommands] = keyword;
    snprintf(szArgument[nScriptCommands], SCRIPT_ARG_SIZE, "%s", argument);
    nEventIndex[nScriptCommands] = index;
    return nScriptCommands++;
}

void WindowTest::SetUp() {
    CoreTest::SetUp();
    gbKeyboardService = 0;
    gnRunMode = RUN_INTERACTIVE;
    fake::tickCount = 100000;
}
