#include "settings/settings_restore.h"

#include <initializer_list>
#include <string>
#include <vector>

#include "host/mappings.h"
#include "host/short_types.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/wintypes.h"
#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"

namespace {

std::vector<std::string> gNotes;
void KeepNote(const char* note) { gNotes.push_back(note); }

std::string Lines(std::initializer_list<const char*> lines, const char* end = "\r\n") {
    std::string text;
    for (const char* line : lines) text += std::string(line) + end;
    return text;
}

const std::initializer_list<const char*> kBackup = {
    "REGEDIT4",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor]",
    "\"Left\"=dword:fffffffc",
    "\"Speed\"=dword:00000003",
    "\"FactorFast\"=dword:0000001e",
    "\"Logfile\"=\"C:\\\\dir\\\\Kelmor.log\"",
    "\"Editor\"=\"say \"hi\"\"",
    "\"File1\"=\"/home/u/a.klx\"",
    "\"File2\"=\"\"",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings]",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\65]",
    "\"Action\"=dword:00000005",
    "\"Control\"=dword:00000001",
    "\"Shift\"=dword:00000000",
    "\"Alt\"=dword:00000000",
    "\"Text\"=hex(2):61,62,63,64,65,66,67,68,69,6a,6b,6c,6d,6e,6f,70,71,72,73,74,75,\\",
    "  00",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\112]",
    "\"Action\"=dword:00000003",
    "\"Control\"=dword:00000000",
    "\"Shift\"=dword:00000001",
    "\"Alt\"=dword:00000000",
    "\"Text\"=hex(2):00",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType]",
    "",
    "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\ab 1]",
    "\"Text\"=hex(2):63,61,66,e9,20,25,41,25,00",
};

uint32_t Dword(const char* key, const char* name) {
    uint32_t value = 0xDEAD;
    EXPECT_TRUE(fake::StoredDword(key, name, &value)) << key << "\\" << name;
    return value;
}

// The text as UTF-16 with its byte-order mark, each byte a character of its own value.
std::string Utf16(const std::string& text, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : text) out += bigEndian ? std::string(1, '\0') + c : std::string(1, c) + '\0';
    return out;
}

std::string Text(const char* key, const char* name, uint32_t expectedKind) {
    std::string value;
    uint32_t kind = 0;
    EXPECT_TRUE(fake::StoredString(key, name, &value, &kind)) << key << "\\" << name;
    EXPECT_EQ(kind, expectedKind) << key << "\\" << name;
    return value;
}

}  // namespace

class SettingsRestoreTest : public CoreTest {
protected:
    bool Restore(const std::string& text) {
        gNotes.clear();
        return RestoreSettingsText(text.data(), static_cast<uint32_t>(text.size()), KeepNote, &outcome_);
    }
    // The file is refused at line, naming why, and the store is as it was.
    void ExpectRefused(const std::string& text, int line, const std::string& why) {
        fake::store.clear();
        SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Speed", REG_DWORD, nullptr, 4);
        const auto before = fake::store.size();
        EXPECT_FALSE(Restore(text)) << why;
        EXPECT_EQ(outcome_.errorLine, line) << why;
        EXPECT_EQ(std::string(outcome_.error), "line " + std::to_string(line) + ": " + why);
        EXPECT_EQ(outcome_.written, 0);
        EXPECT_EQ(fake::store.size(), before) << why;
        EXPECT_EQ(Dword("SOFTWARE\\Kelmor", "Speed"), 4u) << why;
        EXPECT_EQ(fake::store.at("software\\kelmor").size(), 1u) << why;
    }
    RestoreOutcome outcome_{};
};

TEST_F(SettingsRestoreTest, ABackupRestoresEveryKindOfValue) {
    // As written, with LF line ends, and saved again by an editor that marks the byte order.
    for (const std::string& file : {Lines(kBackup), Lines(kBackup, "\n"), "\xEF\xBB\xBF" + Lines(kBackup)}) {
        fake::store.clear();
        ASSERT_TRUE(Restore(file)) << outcome_.error;
        EXPECT_TRUE(gNotes.empty());
        EXPECT_EQ(outcome_.written, 18);
        const char* basic = "SOFTWARE\\Kelmor";
        EXPECT_EQ(Dword(basic, "Left"), 0xfffffffcu);
        EXPECT_EQ(Dword(basic, "FactorFast"), 30u);
        EXPECT_EQ(Text(basic, "Logfile", REG_SZ), "C:\\dir\\Kelmor.log");
        EXPECT_EQ(Text(basic, "Editor", REG_SZ), "say \"hi\"") << "quotes are written as they are";
        EXPECT_EQ(Text(basic, "File2", REG_SZ), "");
        EXPECT_EQ(Text("SOFTWARE\\Kelmor\\Mappings\\65", "Text", REG_EXPAND_SZ), "abcdefghijklmnopqrstu");
        EXPECT_EQ(Text("SOFTWARE\\Kelmor\\Mappings\\112", "Text", REG_EXPAND_SZ), "");
        EXPECT_EQ(Text("SOFTWARE\\Kelmor\\ShortType\\ab 1", "Text", REG_EXPAND_SZ), "caf\xe9 %A%");
        EXPECT_EQ(fake::store.count("software\\kelmor\\mappings"), 1u);
    }
    // What the program reads from it.
    LoadSettings();
    ReadMappings();
    EXPECT_EQ(gSettings.gbSpeed, 3);
    EXPECT_EQ(gMappings.gbMapAction[65], ACTION_TYPE_TEXT);
    EXPECT_EQ(gMappings.gbMapCtrl[65], 1);
    EXPECT_EQ(gMappings.gbMapAction[112], ACTION_PLAYBACK);
    EXPECT_EQ(gMappings.gbMapShift[112], 1);
    char list[SHORTTYPE_LIST_SLOTS * SHORTTYPE_LIST_SLOT_SIZE];
    ReadShortTypes(list);
    EXPECT_STREQ(list, "ab 1");
}

TEST_F(SettingsRestoreTest, ARestoreIsWrittenWholeOrNotAtAll) {
    fake::store.clear();
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Speed", REG_DWORD, nullptr, 4);
    const auto before = fake::store;
    // The first write failing, one among the Mappings, the last (the ShortType's text).
    for (int failing : {0, 12, 22}) {
        fake::storeWritesBeforeFailure = failing;
        EXPECT_FALSE(Restore(Lines(kBackup))) << failing;
        EXPECT_EQ(outcome_.written, 0) << failing;
        EXPECT_EQ(std::string(outcome_.error).substr(0, 13), "cannot write ") << outcome_.error;
        EXPECT_TRUE(fake::StoreEquals(before)) << "a write failing after " << failing << " others";
    }
    // The store taking the set of changes fails: nothing of it, and the system's reason.
    fake::storeWritesBeforeFailure = -1;
    fake::storeEndFails = true;
    EXPECT_FALSE(Restore(Lines(kBackup)));
    char reason[128];
    ASSERT_TRUE(SysFormatError(fake::kStoreEndError, reason, sizeof reason));
    EXPECT_EQ(std::string(outcome_.error), std::string("cannot write the settings store: ") + reason);
    EXPECT_TRUE(fake::StoreEquals(before) && fake::storeSetsWritten == 0);
    fake::storeEndFails = false;
    ASSERT_TRUE(Restore(Lines(kBackup))) << outcome_.error;
    EXPECT_EQ(outcome_.written, 18);
    EXPECT_EQ(fake::storeSetsWritten, 1) << "the whole file is one set of changes";
}

TEST_F(SettingsRestoreTest, AUtf16ExportOfTheRegistryEditorRestores) {
    // The backup itself saved in UTF-16, either byte order.
    for (bool bigEndian : {false, true}) {
        fake::store.clear();
        ASSERT_TRUE(Restore(Utf16(Lines(kBackup), bigEndian))) << outcome_.error;
        EXPECT_EQ(outcome_.written, 18);
        EXPECT_EQ(Text("SOFTWARE\\Kelmor", "Editor", REG_SZ), "say \"hi\"");
        EXPECT_EQ(Text("SOFTWARE\\Kelmor\\ShortType\\ab 1", "Text", REG_EXPAND_SZ), "caf\xe9 %A%");
    }
    // What the registry editor exports: its fifth version, whose texts in hexadecimal form
    // are UTF-16 themselves.
    const std::string exported = Lines({
        "Windows Registry Editor Version 5.00",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kelmor]",
        "\"Speed\"=dword:00000003",
        "\"Logfile\"=\"C:\\\\dir\\\\Kelmor.log\"",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\sig]",
        "\"Text\"=hex(2):63,00,61,00,66,00,e9,00,20,00,25,00,41,00,25,00,00,00",
    });
    fake::store.clear();
    ASSERT_TRUE(Restore(Utf16(exported))) << outcome_.error;
    EXPECT_EQ(outcome_.written, 3);
    EXPECT_EQ(Dword("SOFTWARE\\Kelmor", "Speed"), 3u);
    EXPECT_EQ(Text("SOFTWARE\\Kelmor", "Logfile", REG_SZ), "C:\\dir\\Kelmor.log");
    const uint16_t accent = 0xe9;
    char narrow[8];
    ASSERT_GT(SysTextFromUtf16(&accent, 1, narrow, sizeof narrow), 0);
    EXPECT_EQ(Text("SOFTWARE\\Kelmor\\ShortType\\sig", "Text", REG_EXPAND_SZ), "caf" + std::string(narrow) + " %A%")
        << "in the system's own text";

    const std::string head = "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n";
    ExpectRefused(Utf16(head + "\"Logfile\"=hex(2):61,00,62\r\n"), 3, "a UTF-16 text of an odd number of bytes");
    ExpectRefused(Utf16(head) + "x", 3, "a UTF-16 file of an odd number of bytes");
    ExpectRefused(Utf16(head) + std::string("\x00\xD8\r\0", 4), 3, "a character this system's texts cannot hold");
}

TEST_F(SettingsRestoreTest, AWindows1252BackupRestoresAsTheCharactersItMeant) {
    // What an older program wrote: its texts in the Windows code page, not UTF-8.
    ASSERT_TRUE(Restore("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\mfg]\r\n"
                        "\"Text\"=\"Gr\xFC\xDF" "e \x80\"\r\n"))
        << outcome_.error;
    EXPECT_EQ(Text("SOFTWARE\\Kelmor\\ShortType\\mfg", "Text", REG_SZ), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
}

TEST_F(SettingsRestoreTest, AFileExportedFromTheSameKeysOnWindowsRestores) {
    const std::string text = Lines({
        "REGEDIT4",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kelmor]",
        "\"IsWindowsXP\"=dword:00000001",
        "\"ServiceFileLoad\"=\"C:\\\\a.klr\"",
        "\"Logfile\"=hex(2):25,54,45,4d,50,25,5c,4b,65,6c,6d,6f,72,2e,6c,6f,67,00",
        "\"gotowait\"=dword:5",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\65]",
        "\"Action\"=dword:00000006",
        "\"Text\"=\"notepad.exe\"",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\sig]",
        "\"Text\"=hex(2):61,62,63,64,65,66,67,68,69,6a,6b,6c,6d,6e,6f,70,71,72,73,74,75,76,\\",
        "  77,78,00",
    });
    ASSERT_TRUE(Restore(text)) << outcome_.error;
    EXPECT_EQ(gNotes, std::vector<std::string>{"line 5: unknown value \"ServiceFileLoad\" skipped"});
    EXPECT_EQ(Dword("SOFTWARE\\Kelmor", "GOTOWait"), 5u);
    EXPECT_EQ(fake::store.at("software\\kelmor").at("gotowait").name, "GOTOWait") << "stored under its own name";
    EXPECT_EQ(Text("SOFTWARE\\Kelmor", "Logfile", REG_EXPAND_SZ), "%TEMP%\\Kelmor.log");
    EXPECT_EQ(Text("SOFTWARE\\Kelmor\\Mappings\\65", "Text", REG_SZ), "notepad.exe");
    EXPECT_EQ(Text("SOFTWARE\\Kelmor\\ShortType\\sig", "Text", REG_EXPAND_SZ), "abcdefghijklmnopqrstuvwx");
}

TEST_F(SettingsRestoreTest, AMalformedLineRefusesTheWholeFile) {
    const std::string head = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n\"Left\"=dword:00000001\r\n";
    const std::string longText(256, 'x');
    const struct {
        std::string text;
        int line;
        const char* why;
    } cases[] = {
        {"REGEDIT5\r\n", 1, "not a REGEDIT4 file"},
        {"", 1, "not a REGEDIT4 file"},
        {"REGEDIT4\n\"Left\"=dword:1\n", 2, "a value before the first key line"},
        {head + "\"Top\"dword:1\r\n", 4, "a value line without '=' after its name"},
        {head + "\"Top\"=dword:12x\r\n", 4, "a number that is not hexadecimal"},
        {head + "\"Top\"=dword:100000000\r\n", 4, "a number larger than 32 bits"},
        {head + "\"Logfile\"=\"C:\\dir\"\r\n", 4, "a backslash that is not doubled"},
        {head + "\"Logfile\"=\"abc\r\n", 4, "a text without its closing quote"},
        {head + "\"Logfile\"=\"" + longText + "\"\r\n", 4, "a text longer than 255 characters"},
        {head + "\"Logfile\"=hex(2):61,6g,00\r\n", 4, "hexadecimal data is not pairs of digits parted by commas"},
        {head + "\"Logfile\"=hex(2):61,\\\r\n\r\n", 4, "hexadecimal data ends with a comma"},
        {head + "\"Logfile\"=hex(2):61,00,62,00\r\n", 4, "a text holds a zero byte"},
        {head + "\"Logfile\"=hex(x):00\r\n", 4, "an unreadable value type"},
        {head + "\"Logfile\"=sz:abc\r\n", 4, "an unreadable value"},
        {head + "Left=1\r\n", 4, "neither a key nor a value"},
        {head + "[HKEY_CURRENT_USER\\Software\\Kelmor\r\n", 4, "a key line does not end with ']'"},
        {head + "\"Top\"=dword:1\r\n\"Editor\"=\"a" + std::string(1, '\0') + "b\"\r\n", 5, "a NUL byte"},
    };
    for (const auto& c : cases) ExpectRefused(c.text, c.line, c.why);

    // A text of 256 bytes in hexadecimal form, over continuation lines.
    std::string hex = head + "\"Logfile\"=hex(2):";
    for (int i = 0; i < 256; ++i) hex += "41," + std::string(i % 21 == 20 ? "\\\r\n  " : "");
    ExpectRefused(hex + "00\r\n", 4, "a text longer than 255 characters");
}

TEST_F(SettingsRestoreTest, HostileFilesAreBoundedAndWhatIsUnknownIsSkipped) {
    const std::string head = "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n";
    // Lines and hexadecimal runs past any the program writes.
    ExpectRefused(head + "\"X\"=\"" + std::string(RESTORE_MAX_LINE, 'a') + "\"\r\n", 3, "a line too long");
    std::string run = head + "\"X\"=hex:";
    for (int i = 0; i < RESTORE_MAX_LINE / 3; ++i) run += "ff,\\\n  ";
    ExpectRefused(run + "ff\n", 3, "a line too long");

    std::string text = head +
                       "\"Speed\"=\"3\"\r\n"
                       "\"Logfile\"=dword:00000001\r\n"
                       "\"Top\"=hex:01,00,00,00\r\n"
                       "@=\"default\"\r\n"
                       "\"Repeats\"=-\r\n"
                       "\"Mystery\"=dword:00000001\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Kelmor]\r\n"
                       "\"Speed\"=dword:00000004\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\255]\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\065]\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\AB]\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\a]\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\65\\x]\r\n"
                       "[-HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings]\r\n"
                       "\"Action\"=dword:00000001\r\n"
                       "; a comment\r\n"
                       "[HKEY_CURRENT_USER\\Software\\Kelmor]\r\n"
                       "\"RandomMax\"=dword:FFFFFFFF\r\n"
                       // Texts that could not be stored, in values that are not restored anyway.
                       "\"Huge\"=\"" + std::string(300, 'x') + "\"\r\n"
                       "\"Odd\"=hex(2):61,00,62,00\r\n";
    fake::store.clear();
    ASSERT_TRUE(Restore(text)) << outcome_.error;
    const std::vector<std::string> notes = {
        "line 3: \"Speed\" is not a number: skipped",
        "line 4: \"Logfile\" is not a text: skipped",
        "line 5: \"Top\" is not a number: skipped",
        "line 6: the key's default value is not used: skipped",
        "line 7: deleting \"Repeats\" is not done: skipped",
        "line 8: unknown value \"Mystery\" skipped",
        "line 9: unknown key [HKEY_LOCAL_MACHINE\\Software\\Kelmor] skipped with its values",
        "line 11: unknown key [HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\255] skipped with its values",
        "line 12: unknown key [HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\065] skipped with its values",
        "line 13: unknown key [HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\AB] skipped with its values",
        "line 14: unknown key [HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\a] skipped with its values",
        "line 15: unknown key [HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings\\65\\x] skipped with its values",
        "line 16: deleting [HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings] is not done: skipped",
        "line 21: unknown value \"Huge\" skipped",
        "line 22: unknown value \"Odd\" skipped",
    };
    EXPECT_EQ(gNotes, notes);
    EXPECT_EQ(outcome_.skipped, static_cast<int>(notes.size()));
    EXPECT_EQ(outcome_.written, 1);
    EXPECT_EQ(fake::store.size(), 2u) << "SOFTWARE and SOFTWARE\\Kelmor only";
    EXPECT_EQ(Dword("SOFTWARE\\Kelmor", "RandomMax"), 0xffffffffu);

    // The keyboard service holds 64 ShortTypes: those stored count, the rest are skipped.
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\ShortType\\zz\\Text", REG_SZ, "kept", 0);
    std::string many = "REGEDIT4\n";
    for (int i = 0; i < 70; ++i) {
        many += "[HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\s" + std::to_string(i) + "]\n";
    }
    ASSERT_TRUE(Restore(many));
    ASSERT_EQ(gNotes.size(), 7u);
    EXPECT_EQ(gNotes[0],
              "line 65: more than 64 ShortTypes: [HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\s63] skipped");
    EXPECT_EQ(gNotes[6],
              "line 71: more than 64 ShortTypes: [HKEY_CURRENT_USER\\Software\\Kelmor\\ShortType\\s69] skipped");
    char name[64];
    uint32_t count = 0;
    while (StoreEnumKey(KELMOR_KEY "\\ShortType", count, name, sizeof name)) ++count;
    EXPECT_EQ(count, 64u);
}

TEST_F(SettingsRestoreTest, OnlyARegularFileOfBoundedSizeIsRead) {
    RestoreOutcome outcome;
    EXPECT_FALSE(RestoreSettingsFile(Path("missing.reg").c_str(), KeepNote, &outcome));
    EXPECT_STREQ(outcome.error, "no such file");
    EXPECT_FALSE(RestoreSettingsFile(dir_.c_str(), KeepNote, &outcome));
    EXPECT_STREQ(outcome.error, "not a file");
    WriteFile(Path("big.reg"), "REGEDIT4\n" + std::string(RESTORE_MAX_FILE_SIZE, '\n'));
    EXPECT_FALSE(RestoreSettingsFile(Path("big.reg").c_str(), KeepNote, &outcome));
    EXPECT_STREQ(outcome.error, "the file is larger than 1048576 bytes");
    fake::store.clear();
    WriteFile(Path("good.reg"), Lines(kBackup));
    EXPECT_TRUE(RestoreSettingsFile(Path("good.reg").c_str(), KeepNote, &outcome)) << outcome.error;
    EXPECT_EQ(outcome.written, 18);
}
