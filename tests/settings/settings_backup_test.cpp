#include "settings/settings_backup.h"

#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file.h"
#include "platform/system.h"
#include "settings/log.h"
#include "settings/settings.h"
#include "settings/settings_restore.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

void Set(const std::string& path, const char* text) {
    SetRegistryValue(HKEY_CURRENT_USER, (KELMOR_KEY "\\" + path).c_str(), REG_SZ, text, 0);
}
void Set(const std::string& path, uint32_t number) {
    SetRegistryValue(HKEY_CURRENT_USER, (KELMOR_KEY "\\" + path).c_str(), REG_DWORD, nullptr, number);
}

// Lines as written in the tests, each ended by CR LF as in the file.
std::string Crlf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace

class SettingsBackupTest : public CoreTest {
protected:
    // The backup of blocks as a file holds it; "<failed>" when writing failed.
    std::string Backup(int blocks) {
        const std::string path = Path("backup.reg");
        SysFile file = SysBeginReplacement(path.c_str(), nullptr);
        if (file == SYS_NO_FILE) return "<no file>";
        if (!WriteSettingsBackup(file, blocks)) {
            SysDiscardReplacement(file);
            return "<failed>";
        }
        return SysCommitReplacement(file) ? ReadFile(path) : "<failed>";
    }
};

TEST_F(SettingsBackupTest, AllBlocksAsTheRegistryEditorImportsThem) {
    // Memory: what the running program holds, negative and large numbers among them.
    gSettings.gnWindowLeft = -4;
    gSettings.gnWindowTop = 100;
    gSettings.gbSpeed = 3;
    gSettings.gnRepeats = MAX_REPEATS;
    gSettings.gnLastTab = 2;
    gSettings.gdwShowTrayIcon = 1006;
    gSettings.gnUserCommand = 1142;
    gLog.gbLogLevel = LOG_HIGH;
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", "C:\\Logs\\Kelmor.log");
    // Read from the store at export time; values the program keeps elsewhere stay out.
    Set("Speed", 1u);
    Set("Editor", "C:\\Program Files\\ed \"x\".exe");
    Set("File1", "/home/u/a \"b\".klx");
    Set("File2", "C:\\Rec\\x.klr");
    Set("RestartLog", 0u);
    Set("RememberPlaybackSettings", 0u);
    Set("FastMapPlay", 1u);
    Set("IsWindowsXP", 1u);
    Set("GOTOWait", 7u);
    Set("ServiceFileLoad", "/tmp/x.klr");
    // Mappings by slot; one with Action 0 is none, however full its key.
    Set("Mappings\\65\\Action", 5u);
    Set("Mappings\\65\\Control", 1u);
    Set("Mappings\\65\\Shift", 0u);
    Set("Mappings\\65\\Alt", 1u);
    Set("Mappings\\65\\Text", "%HOME%\\x\\abcdefghijkl");  // 21 bytes, stored expandable
    Set("Mappings\\66\\Action", 0u);
    Set("Mappings\\66\\Control", 1u);
    Set("Mappings\\66\\Text", "ignored");
    Set("Mappings\\112\\Action", 3u);
    Set("Mappings\\49\\Action", 7u);
    Set("Mappings\\49\\Text", "\xe9" "0123456789012345678901234567890123456789ab");
    Set("ShortType\\sig\\Text", "Kind regards, Ann B.");  // 20 bytes: fits with its zero
    Set("ShortType\\brb\\Text", "be right back");

    EXPECT_EQ(Backup(BACKUP_ALL), Crlf(R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Kelmor]
"Left"=dword:fffffffc
"Top"=dword:00000064
"ExcludeKelmorAction"=dword:00000001
"PlayImmediately"=dword:00000000
"QuitWhenDone"=dword:00000000
"Reload"=dword:00000000
"Topmost"=dword:00000000
"PromptForSave"=dword:00000001
"Visited"=dword:00000000
"ShowTabs"=dword:00000001
"Speed"=dword:00000003
"Repeats"=dword:77359400
"Continuous"=dword:00000000
"Minimize"=dword:00000000
"FactorFast"=dword:0000000f
"FactorSlow"=dword:00000004
"LastTab"=dword:00000002
"RandomMin"=dword:000003e8
"RandomMax"=dword:0000270f
"LoopTypeBase"=dword:00000000
"Log"=dword:00000003
"InterruptWarning"=dword:00000001
"Logfile"="C:\\Logs\\Kelmor.log"
"Editor"="C:\\Program Files\\ed "x".exe"
"LastFileType"=dword:00000001
"UserCommand"=dword:00000476
"KeyboardService"=dword:00000001
"ShowTrayIcon"=dword:000003ee
"RecentListSize"=dword:00000008
"LastOptionsTab"=dword:00000001
"RestartLog"=dword:00000000
"HaltScriptOnError"=dword:00000001
"RememberPlaybackSettings"=dword:00000000
"PlayUpdate"=dword:00000001
"FastMapPlay"=dword:00000001
"File1"="/home/u/a "b".klx"
"File2"="C:\\Rec\\x.klr"
"File3"=""
"File4"=""
"File5"=""
"File6"=""
"File7"=""
"File8"=""

[HKEY_CURRENT_USER\Software\Kelmor\Mappings]

[HKEY_CURRENT_USER\Software\Kelmor\Mappings\49]
"Action"=dword:00000007
"Control"=dword:00000000
"Shift"=dword:00000000
"Alt"=dword:00000000
"Text"=hex(2):e9,30,31,32,33,34,35,36,37,38,39,30,31,32,33,34,35,36,37,38,39,\
  30,31,32,33,34,35,36,37,38,39,30,31,32,33,34,35,36,37,38,39,61,\
  62,00

[HKEY_CURRENT_USER\Software\Kelmor\Mappings\65]
"Action"=dword:00000005
"Control"=dword:00000001
"Shift"=dword:00000000
"Alt"=dword:00000001
"Text"=hex(2):25,48,4f,4d,45,25,5c,78,5c,61,62,63,64,65,66,67,68,69,6a,6b,6c,\
  00

[HKEY_CURRENT_USER\Software\Kelmor\Mappings\112]
"Action"=dword:00000003
"Control"=dword:00000000
"Shift"=dword:00000000
"Alt"=dword:00000000
"Text"=hex(2):00

[HKEY_CURRENT_USER\Software\Kelmor\ShortType]

[HKEY_CURRENT_USER\Software\Kelmor\ShortType\brb]
"Text"=hex(2):62,65,20,72,69,67,68,74,20,62,61,63,6b,00

[HKEY_CURRENT_USER\Software\Kelmor\ShortType\sig]
"Text"=hex(2):4b,69,6e,64,20,72,65,67,61,72,64,73,2c,20,41,6e,6e,20,42,2e,00
)"));
}

TEST_F(SettingsBackupTest, EachBlockAloneAndItsLimits) {
    // No Mapping: the header alone. No ShortType key: no block at all.
    EXPECT_EQ(Backup(BACKUP_MAPPINGS), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings]\r\n");
    EXPECT_EQ(Backup(BACKUP_SHORTTYPES), "REGEDIT4\r\n");
    const std::string basic = Backup(BACKUP_BASIC);
    EXPECT_EQ(basic.find("Mappings"), std::string::npos);
    EXPECT_EQ(basic.substr(basic.size() - 12), "\"File8\"=\"\"\r\n");

    // The keyboard service keeps 64 ShortTypes: the first 64 in the store's order go.
    for (int i = 0; i < 70; ++i) Set("ShortType\\st" + std::to_string(100 + i) + "\\Text", "t");
    const std::string shortTypes = Backup(BACKUP_SHORTTYPES);
    size_t keys = 0;
    for (size_t at = shortTypes.find("\\ShortType\\"); at != std::string::npos;
         at = shortTypes.find("\\ShortType\\", at + 1)) {
        ++keys;
    }
    EXPECT_EQ(keys, 64u);
    EXPECT_NE(shortTypes.find("\\ShortType\\st163]\r\n\"Text\"=hex(2):74,00\r\n"), std::string::npos);
    EXPECT_EQ(shortTypes.find("st164"), std::string::npos);
}

TEST_F(SettingsBackupTest, AFailedWriteIsReportedWithItsReason) {
    if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
    // More than one write's worth, so that the store is read after the first write failed.
    for (int n = 1; n <= 40; ++n) {
        Set("Mappings\\" + std::to_string(n) + "\\Action", 5u);
        Set("Mappings\\" + std::to_string(n) + "\\Text", "a text long enough to fill a line or two");
    }
    SysFile file = SysBeginReplacement("/dev/full", nullptr);
    ASSERT_NE(file, SYS_NO_FILE);
    EXPECT_FALSE(WriteSettingsBackup(file, BACKUP_ALL));
    EXPECT_EQ(SysGetLastError(), static_cast<uint32_t>(ENOSPC)) << "the disk is full, not a value missing";
    SysDiscardReplacement(file);
}

TEST_F(SettingsBackupTest, TextsWithLineEndsComeBackByteForByte) {
    const std::string file = "/home/u/two\nlines.klx";
    const std::string log = "/tmp/100%\r\n.log";
    Set("File1", file.c_str());
    snprintf(gLog.gszLogFile, sizeof gLog.gszLogFile, "%s", log.c_str());
    Set("ShortType\\btw\\Text", "by the way");
    const std::string backup = Backup(BACKUP_ALL);
    // As the store keeps them: a plain text, and an expandable one for its '%'.
    EXPECT_NE(
        backup.find(Crlf("\"File1\"=hex(1):2f,68,6f,6d,65,2f,75,2f,74,77,6f,0a,6c,69,6e,65,73,2e,6b,6c,78,\\\n  00\n")),
        std::string::npos)
        << backup;
    EXPECT_NE(backup.find(Crlf("\"Logfile\"=hex(2):2f,74,6d,70,2f,31,30,30,25,0d,0a,2e,6c,6f,67,00\n")),
              std::string::npos);

    fake::store.clear();
    RestoreOutcome outcome;
    ASSERT_TRUE(RestoreSettingsText(backup.data(), static_cast<uint32_t>(backup.size()), nullptr, &outcome))
        << outcome.error;
    std::string value;
    uint32_t kind = 0;
    EXPECT_TRUE(fake::StoredString(KELMOR_KEY, "File1", &value, &kind) && value == file && kind == REG_SZ);
    EXPECT_TRUE(fake::StoredString(KELMOR_KEY, "Logfile", &value, &kind) && value == log && kind == REG_EXPAND_SZ);
    EXPECT_TRUE(fake::StoredString(KELMOR_KEY "\\ShortType\\btw", "Text", &value) && value == "by the way")
        << "the rest of the file with them";
}
