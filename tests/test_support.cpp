#include "tests/test_support.h"

#include <glib.h>
#include <glib/gstdio.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/exit_step.h"
#include "host/mappings.h"
#include "player/playback_control.h"
#include "player/player.h"
#include "player/recorder.h"
#include "player/script_commands.h"
#include "recording/playback_state.h"
#include "recording/recording.h"
#include "recording/recording_file.h"
#include "script/type_expansion.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "ui/run_mode.h"

void CoreTest::SetUp() {
    fake::Reset();
    ResetSettings();
    // A test that ran the exit step freed the shared store.
    if (gEvents == nullptr) AllocateRecordingStore();
    ClearRecording();
    ResetScriptState();
    ResetScriptCommands();
    gszFile[0] = '\0';
    gbModified = false;
    gbFileChosen = false;
    ghJournalHook = 0;
    gbPlayingNow = false;
    gbSavedSpeed = 0;
    nCompletedPasses = 0;
    gnRunMode = RUN_INTERACTIVE;
    ResetExitState();
    ResetPlayerState();
    gdwLastButtonUpTick = 0;
    ClearMappings();
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
