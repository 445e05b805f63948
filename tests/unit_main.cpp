// Unit tests share one recording store and a private settings store file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "recording/recording.h"
#include "tests/test_support.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const std::string dir = MakeTemporaryFolder("kelmor-unit-");
#ifndef _WIN32
    // The Linux homes of the settings store and the log (Windows has no such variables).
    std::string store = dir + "/registry.ini";
    setenv("KELMOR_REGISTRY", store.c_str(), 1);
    setenv("XDG_STATE_HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
#endif
    if (!AllocateRecordingStore()) return 1;
    int rc = RUN_ALL_TESTS();
    FreeRecordingStore();
    std::error_code error;
    std::filesystem::remove_all(dir, error);
    if (error) rc = rc ? rc : 1;
    return rc;
}
