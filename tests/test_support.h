// Common ground for unit tests: a clean program state and a private folder per test.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/wintypes.h"

// Makes a new empty folder PREFIXxxxxxx in the system's temporary folder; returns its path.
std::string MakeTemporaryFolder(const char* prefix);
// The binary file form of these events: five little-endian 32-bit fields each.
std::string Records(std::initializer_list<EVENTMSG> events);
// A recording of count presses and releases of A, 100 ms apart.
void Keys(int count);
// Appends a script command pointing at event index; returns its number.
int32_t AddScriptCommand(int32_t keyword, const char* argument, int32_t index);

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside this test's private folder.
    std::string Path(const std::string& name) const;
    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& content);
    static bool FileExists(const std::string& path);
    // Loads path as the current file, as Open does.
    static int LoadFile(const std::string& path);
    // The names in this test's folder other than the log, sorted.
    std::vector<std::string> Entries() const;
    // The one message box shown since the last check, which is then forgotten.
    static void ExpectBox(const std::string& text, const std::string& caption = "Error",
                          uint32_t style = MB_TASKMODAL | MB_ICONEXCLAMATION);
    // The log holds this whole line.
    static bool Logged(const std::string& line);

    std::string dir_;
};

// The window's program: the interactive run mode, the keyboard service left alone (it
// has tests of its own) and a clock past 0, which would mean "no delay start".
class WindowTest : public CoreTest {
protected:
    void SetUp() override;
};
