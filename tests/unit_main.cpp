// Unit tests share one recording store and a private settings store file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <glib.h>

#include "recording/recording.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    gchar* dir = g_dir_make_tmp("kelmor-unit-XXXXXX", nullptr);
    std::string store = std::string(dir) + "/registry.ini";
    setenv("KELMOR_REGISTRY", store.c_str(), 1);
    setenv("XDG_STATE_HOME", dir, 1);
    setenv("XDG_CONFIG_HOME", dir, 1);
    if (!AllocateRecordingStore()) return 1;
    int rc = RUN_ALL_TESTS();
    FreeRecordingStore();
    std::string cleanup = std::string("rm -rf '") + dir + "'";
    if (system(cleanup.c_str()) != 0) rc = rc ? rc : 1;
    g_free(dir);
    return rc;
}
