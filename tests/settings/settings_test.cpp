#include <cstdio>
#include <string>
#include <tuple>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/file.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

const char* const kKey = "SOFTWARE\\Kelmor";

std::string PathOf(const char* name) { return std::string(kKey) + "\\" + name; }
void PutDword(const char* name, uint32_t value) {
    SetRegistryValue(HKEY_CURRENT_USER, PathOf(name).c_str(), REG_DWORD, nullptr, value);
}
void PutString(const char* name, const std::string& value) {
    SetRegistryValue(HKEY_CURRENT_USER, PathOf(name).c_str(), REG_SZ, value.c_str(), 0);
}
// Loads from a store that holds only these numbers.
void LoadWith(std::initializer_list<std::pair<const char*, uint32_t>> values) {
    fake::store.clear();
    for (const auto& v : values) PutDword(v.first, v.second);
    LoadSettings();
}
std::tuple<int, int, int> Playback() { return {gSettings.gbSpeed, gSettings.gbContinuous, gSettings.gnRepeats}; }
const fake::StoredValue& Stored(const char* foldedName) { return fake::store.at("software\\kelmor").at(foldedName); }
bool IsDefaultLog() { return std::string(gLog.gszLogFile).find("/kelmor/Kelmor.log") != std::string::npos; }

}  // namespace

class SettingsTest : public CoreTest {};

TEST_F(SettingsTest, LoadingChecksRangesAndWidthsAndWritesNothing) {
    gSettings.gbSpeed = 4;
    LoadSettings();
    EXPECT_EQ(Playback(), std::make_tuple(2, 0, 1));
    EXPECT_EQ(gSettings.gdwMsgBoxStyle, static_cast<uint32_t>(MB_TASKMODAL));
    EXPECT_TRUE(IsDefaultLog());
    EXPECT_TRUE(fake::store.empty()) << "a fresh profile stays empty";

    const struct { uint32_t speed, repeats; int wantSpeed, wantRepeats; } cases[] = {
        {0, 0, 2, 1}, {7, static_cast<uint32_t>(-5), 2, 1}, {4, 2000000001, 4, 1}, {1, 2000000000, 1, 2000000000},
        {0x103, 3, 3, 3}};
    for (const auto& c : cases) {
        LoadWith({{"Speed", c.speed}, {"Repeats", c.repeats}});
        EXPECT_EQ(Playback(), std::make_tuple(c.wantSpeed, 0, c.wantRepeats)) << c.speed << " " << c.repeats;
    }
    // Only the low 8 bits of a switch count; the tray's idle icon code is kept whole.
    LoadWith({{"ShowTrayIcon", 256}, {"PromptForSave", 0x100}, {"RememberPlaybackSettings", 0}, {"Speed", 4}});
    EXPECT_EQ(std::make_tuple(gSettings.gdwShowTrayIcon, int{gSettings.gbPromptForSave}), std::make_tuple(0u, 0));
    EXPECT_EQ(Playback(), std::make_tuple(2, 0, 1)) << "not remembered";
    LoadWith({{"ShowTrayIcon", 1000}, {"Speed", 4}, {"Continuous", 1}, {"Repeats", 9}, {"Topmost", 1}});
    EXPECT_EQ(gSettings.gdwShowTrayIcon, 1000u);
    EXPECT_EQ(Playback(), std::make_tuple(4, 1, 9));
    EXPECT_EQ(gSettings.gdwMsgBoxStyle, static_cast<uint32_t>(MB_TASKMODAL | MB_TOPMOST));
}

TEST_F(SettingsTest, ALogSessionErasesOnlyALogItMadeThatNoOtherSessionHolds) {
    const std::string log = Path("my.log");
    const std::string level = "Log level set to LOW\r\n";
    WriteFile(log, level + "old run\r\n");
    PutString("Logfile", log);
    LoadSettings();
    StartLogSession();
    EXPECT_TRUE(gLog.gszLogFile == log && ReadFile(log) == level + "old run\r\n") << "logging is off";
    PutDword("Log", 1);
    PutDword("RestartLog", 0);
    LoadSettings();
    StartLogSession();
    EXPECT_EQ(ReadFile(log), level + "old run\r\n");
    PutDword("RestartLog", 1);
    LoadSettings();
    EXPECT_EQ(ReadFile(log), level + "old run\r\n") << "loading the settings erases nothing";
    StartLogSession();
    EXPECT_EQ(ReadFile(log), level) << "a restarted log begins with its level, which marks it as the program's";
    WriteFile(log, "");
    EndLogSession();
    StartLogSession();
    EXPECT_EQ(ReadFile(log), level) << "an empty file";

    // A file that the program did not begin as its log is appended to, never erased.
    const std::string kept = "This file was not begun as a Kelmor log: it is appended to, never erased\r\n";
    for (const std::string& text : {std::string("a user's notes\n"), std::string("REGEDIT4\r\n"),
                                    std::string("Playback Complete!\r\n\r\n")}) {
        WriteFile(log, text);
        EndLogSession();
        StartLogSession();
        EXPECT_EQ(ReadFile(log), text + kept);
    }
    // The default log, in the program's own folder, is the program's whatever it begins with.
    PutString("Logfile", "");
    LoadSettings();
    ASSERT_TRUE(IsDefaultLog());
    WriteFile(gLog.gszLogFile, "an older log\r\n");
    StartLogSession();
    EXPECT_EQ(ReadFile(gLog.gszLogFile), level);
    PutString("Logfile", log);
    LoadSettings();

    // The log of a session still running in another process stays.
    WriteFile(log, level + "other run\r\n");
    EndLogSession();
    SysFile other = SysHoldFile(log.c_str());
    ASSERT_NE(other, SYS_NO_FILE);
    StartLogSession();
    EXPECT_EQ(ReadFile(log), level + "other run\r\n");
    SysClose(other);
    EndLogSession();

    // Never a link (nor what it points to), a pipe or a folder.
    WriteFile(Path("target"), level);
    ASSERT_EQ(symlink(Path("target").c_str(), Path("link").c_str()), 0);
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(Path("folder").c_str(), 0700), 0);
    for (const char* name : {"link", "pipe", "folder"}) {
        PutString("Logfile", Path(name));
        LoadSettings();
        StartLogSession();
        EXPECT_TRUE(FileExists(Path(name))) << name;
    }
    EXPECT_EQ(ReadFile(Path("target")), level);
    EndLogSession();

    // A default path that does not fit names no file, rather than a cut one.
    char shortBuffer[12] = "unchanged";
    EXPECT_FALSE(SysDefaultLogPath(shortBuffer, sizeof shortBuffer));
    EXPECT_STREQ(shortBuffer, "");

    PutDword("Logfile", 12);
    PutString("Speed", "4");
    LoadSettings();
    EXPECT_TRUE(IsDefaultLog());
    EXPECT_EQ(gSettings.gbSpeed, 2);
    EXPECT_EQ(GetRegistryValue(HKEY_CURRENT_USER, "NoBackslash", REG_DWORD, nullptr, 42), 42u);
}

TEST_F(SettingsTest, ALogThatIsNoFileTakesNoLineWithoutWaitingAndIsSaidOnce) {
    const std::string pipe = Path("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    PutString("Logfile", pipe);
    PutDword("Log", 3);
    LoadSettings();
    testing::internal::CaptureStderr();
    StartLogSession();
    // With a reader the line would go into the pipe; without one, opening it would wait
    // for ever.
    const int reader = open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    LogAt(LOG_LOW, "lost");
    char got[16];
    const ssize_t read = ::read(reader, got, sizeof got);
    close(reader);
    ASSERT_LE(read, 0) << "the line went into the pipe";
    LogAt(LOG_LOW, "lost too");
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", dir_.c_str());
    LogAt(LOG_LOW, "a folder");
    EndLogSession();
    const std::string said = testing::internal::GetCapturedStderr();
    const std::string line = ": the log '" + pipe + "' is not a regular file: its lines are dropped\n";
    EXPECT_TRUE(said.size() > line.size() && said.compare(said.size() - line.size(), line.size(), line) == 0 &&
                said.find('\n') == said.size() - 1)
        << said;
}

TEST_F(SettingsTest, StringsKeepTheirKindAndFitTheReadBuffer) {
    char text[256];
    auto get = [&](const char* name) { return GetRegistryValue(0, PathOf(name).c_str(), REG_SZ, text, 7); };
    PutString("Editor", "%HOME%/bin/edit");
    EXPECT_EQ(Stored("editor").kind, uint32_t{REG_EXPAND_SZ});
    EXPECT_EQ(get("Editor"), 0u);
    EXPECT_STREQ(text, "%HOME%/bin/edit") << "read back unexpanded";
    PutString("Long", std::string(255, 'a'));
    EXPECT_EQ(get("Long"), 0u);
    EXPECT_EQ(std::string(text), std::string(255, 'a'));
    PutString("Long", std::string(256, 'a'));
    EXPECT_EQ(get("Long"), 7u);
    EXPECT_STREQ(text, "");
    // Nor cut when the stored text has no terminating zero.
    const std::string unterminated(256, 'b');
    StoreSetValue(kKey, "Unterminated", REG_SZ, unterminated.data(), static_cast<uint32_t>(unterminated.size()));
    EXPECT_EQ(get("Unterminated"), 7u);
    EXPECT_STREQ(text, "");
}

TEST_F(SettingsTest, DeleteRemovesAValueOrTheWholeKey) {
    SetRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Mappings\\3\\Action", REG_DWORD, nullptr, 4);
    PutDword("Visited", 1);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Visited");
    EXPECT_EQ(fake::store.at("software\\kelmor").count("visited"), 0u);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Kelmor\\Mappings\\3");
    EXPECT_EQ(fake::store.count("software\\kelmor\\mappings\\3"), 0u);
    EXPECT_EQ(fake::store.count("software\\kelmor\\mappings"), 1u);
    DeleteRegistryValue(HKEY_CURRENT_USER, "SOFTWARE\\Nowhere\\Value");  // harmless
}

TEST_F(SettingsTest, SaveWritesWhatLoadReads) {
    gSettings.gbSpeed = 3, gSettings.gnRepeats = 12, gSettings.gbContinuous = 1, gSettings.gnLoopTypeBase = -5,
    gSettings.gdwShowTrayIcon = 1006, gSettings.gnWindowLeft = -99;
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", Path("saved.log").c_str());
    SaveSettings();
    EXPECT_EQ(Stored("left").data, std::string("\x9d\xff\xff\xff", 4));
    ResetSettings();
    LoadSettings();
    EXPECT_EQ(std::make_tuple(gSettings.gbSpeed, gSettings.gbContinuous, gSettings.gnRepeats, gSettings.gnLoopTypeBase,
                              gSettings.gdwShowTrayIcon, std::string(gLog.gszLogFile)),
              std::make_tuple(3, 1, 12, -5, 1006u, Path("saved.log")));
}
