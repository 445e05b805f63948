#include "tests/test_support.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/program_state.h"
#include "recording/recording.h"
#include "settings/log.h"
#include "tests/fakes/fakes.h"

void CoreTest::SetUp() {
    fake::Reset();
    ResetProgramState();
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
