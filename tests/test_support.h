// Common ground for unit tests: a clean program state and a private folder per test.
#pragma once
#include <gtest/gtest.h>

#include <string>

class CoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A path inside this test's private folder.
    std::string Path(const std::string& name) const;
    static std::string ReadFile(const std::string& path);
    static void WriteFile(const std::string& path, const std::string& content);
    static bool FileExists(const std::string& path);

    std::string dir_;
};
