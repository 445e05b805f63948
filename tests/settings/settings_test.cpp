#include <cstring>
#include <string>

#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

const char* const kKey = "SOFTWARE\\Kelmor";

void PutDword(const char* name, uint32_t value) {
    std::string path = std::string(kKey) + "\\" + name;
    SetRegistryValue(HKEY_CURRENT_USER, path.c_str(), REG_DWORD, nullptr, value);
}

void PutString(const char* name, const std::string& value) {
    std::string path = std::string(kKey) + "\\" + name;
    SetRegistryValue(HKEY_CURRENT_USER, path.c_str(), REG_SZ, value.c_str(), 0);
}

}  // namespace

class SettingsTest : public CoreTest {};

TEST_F(SettingsTest, FreshProfileLoadsDefaultsAndWritesNothing) {
    gbSpeed = 4;
    gnRandomMax = 5;
    gbGOTOWait = 9;
    LoadSettings();
    EXPECT_EQ(gbSpeed, 2);
    EXPECT_EQ(gnRandomMax, 9999);
    EXPECT_EQ(gbGOTOWait, 2);
    EXPECT_EQ(gdwMsgBoxStyle, static_cast<uint32_t>(MB_TASKMODAL));
    EXPECT_EQ(gbIsWindowsXP, IsWindowsXPOrLater());
    EXPECT_NE(std::string(gszLogFile).find("/kelmor/Kelmor.log"), std::string::npos);
    EXPECT_TRUE(fake::store.empty());
}

TEST_F(SettingsTest, RangeChecksAndEightBitRules) {
    struct Case {
        uint32_t speed, repeats;
        uint8_t wantSpeed;
        int32_t wantRepeats;
    } cases[] = {{0, 0, 2, 1}, {7, static_cast<uint32_t>(-5), 2, 1}, {4, 2000000001, 4, 1},
                 {1, 2000000000, 1, 2000000000}, {0x103, 3, 3, 3}};
    for (const Case& c : cases) {
        PutDword("Speed", c.speed);
        PutDword("Repeats", c.repeats);
        LoadSettings();
        EXPECT_EQ(gbSpeed, c.wantSpeed) << c.speed;
        EXPECT_EQ(gnRepeats, c.wantRepeats) << c.repeats;
    }
    PutDword("ShowTrayIcon", 1000);
    PutDword("Log", 5);
    PutDword("PromptForSave", 0x100);
    PutDword("GOTOWait", 0x1FF);
    LoadSettings();
    EXPECT_EQ(gdwShowTrayIcon, 1000u);
    EXPECT_EQ(gbLogLevel, 5) << "not range-checked; acts as HIGH";
    EXPECT_TRUE(LogEnabled(LOG_HIGH));
    EXPECT_EQ(gbPromptForSave, 0) << "only the low 8 bits count";
    EXPECT_EQ(gbGOTOWait, 0xFF);
    PutDword("ShowTrayIcon", 256);
    LoadSettings();
    EXPECT_EQ(gdwShowTrayIcon, 0u);
}

TEST_F(SettingsTest, PlaybackSettingsOnlyWhenRememberedAndTopmostStyle) {
    PutDword("Speed", 4);
    PutDword("Continuous", 1);
    PutDword("Repeats", 9);
    PutDword("RememberPlaybackSettings", 0);
    LoadSettings();
    EXPECT_EQ(gbSpeed, 2);
    EXPECT_EQ(gbContinuous, 0);
    EXPECT_EQ(gnRepeats, 1);
    PutDword("RememberPlaybackSettings", 1);
    LoadSettings();
    EXPECT_EQ(gbSpeed, 4);
    EXPECT_EQ(gbContinuous, 1);
    EXPECT_EQ(gnRepeats, 9);
    PutDword("Topmost", 1);
    LoadSettings();
    EXPECT_EQ(gdwMsgBoxStyle, static_cast<uint32_t>(MB_TASKMODAL | MB_TOPMOST));
}

TEST_F(SettingsTest, LogFileDefaultAndRestart) {
    std::string log = Path("my.log");
    PutString("Logfile", log);
    WriteFile(log, "old run\r\n");
    PutDword("RestartLog", 0);
    LoadSettings();
    EXPECT_EQ(std::string(gszLogFile), log);
    EXPECT_TRUE(FileExists(log));
    PutDword("RestartLog", 1);
    LoadSettings();
    EXPECT_FALSE(FileExists(log)) << "a restarted log begins empty";
    PutString("Logfile", "");
    LoadSettings();
    EXPECT_NE(std::string(gszLogFile).find("/kelmor/Kelmor.log"), std::string::npos);
}

TEST_F(SettingsTest, StringKindsAndTheReadLimit) {
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Editor", REG_SZ, "%HOME%/bin/edit", 0);
    std::string stored;
    uint32_t kind = 0;
    ASSERT_TRUE(fake::StoredString(kKey, "Editor", &stored, &kind));
    EXPECT_EQ(kind, static_cast<uint32_t>(REG_EXPAND_SZ));
    char text[256];
    EXPECT_EQ(GetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Editor", REG_SZ, text, 7), 0u);
    EXPECT_STREQ(text, "%HOME%/bin/edit") << "read back unexpanded";

    PutString("Long", std::string(255, 'a'));
    EXPECT_EQ(GetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Long", REG_SZ, text, 7), 0u);
    EXPECT_EQ(strlen(text), 255u);
    PutString("Long", std::string(256, 'a'));
    EXPECT_EQ(GetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Long", REG_SZ, text, 7), 7u);
    EXPECT_STREQ(text, "");
}

TEST_F(SettingsTest, WrongKindReadsAsDefault) {
    PutString("Speed", "4");
    PutDword("Logfile", 12);
    LoadSettings();
    EXPECT_EQ(gbSpeed, 2);
    EXPECT_NE(std::string(gszLogFile).find("Kelmor.log"), std::string::npos);
    EXPECT_EQ(GetRegistryValue(HKEY_CURRENT_USER, "NoBackslash", REG_DWORD, nullptr, 42), 42u);
}

TEST_F(SettingsTest, DeleteRemovesAValueOrTheWholeKey) {
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Mappings\\3\\Action", REG_DWORD, nullptr, 4);
    PutDword("Visited", 1);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Visited");
    uint32_t value = 0;
    EXPECT_FALSE(fake::StoredDword(kKey, "Visited", &value));
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Mappings\\3");
    EXPECT_EQ(fake::store.count("software\\kelmor\\mappings\\3"), 0u);
    EXPECT_EQ(fake::store.count("software\\kelmor\\mappings"), 1u);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Nowhere\\Value");  // harmless
}

TEST_F(SettingsTest, SaveWritesWhatLoadReads) {
    gbSpeed = 3;
    gnRepeats = 12;
    gbContinuous = 1;
    gnFactorFast = 20;
    gnLoopTypeBase = -5;
    gbLogLevel = 2;
    gdwShowTrayIcon = 1006;
    gnWindowLeft = -99;
    snprintf(gszLogFile, sizeof gszLogFile, "%s", Path("saved.log").c_str());
    SaveSettings();
    uint32_t left = 0;
    ASSERT_TRUE(fake::StoredDword(kKey, "Left", &left));
    EXPECT_EQ(static_cast<int32_t>(left), -99);
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(gbSpeed, 3);
    EXPECT_EQ(gnRepeats, 12);
    EXPECT_EQ(gbContinuous, 1);
    EXPECT_EQ(gnFactorFast, 20);
    EXPECT_EQ(gnLoopTypeBase, -5);
    EXPECT_EQ(gbLogLevel, 2);
    EXPECT_EQ(gdwShowTrayIcon, 1006u);
    EXPECT_EQ(std::string(gszLogFile), Path("saved.log"));
}
