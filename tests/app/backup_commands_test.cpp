#include "app/backup_commands.h"

#include <glib.h>

#include <string>

#include "settings/settings.h"
#include "tests/fakes/fakes.h"
#include "tests/test_support.h"
#include "ui/command_ids.h"
#include "ui/commands.h"

namespace {

const char kFilters[] = "Registry Files (*.reg)|*.reg|Text Files (*.txt)|*.txt|All Files (*.*)|*.*|";

std::string Done(const std::string& path) {
    return "The settings were saved in \"" + path +
           "\"\n\nYou can reload these settings by running \"kelmorctl restore\" with this file when Kelmor is not "
           "running.";
}

}  // namespace

class BackupCommandsTest : public WindowTest {};

TEST_F(BackupCommandsTest, EachCommandProposesItsFileAndWritesItsBlocks) {
    const std::string home = g_get_home_dir();
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\Mappings\\65\\Action", REG_DWORD, nullptr, 4);
    SetRegistryValue(HKEY_CURRENT_USER, KELMOR_KEY "\\ShortType\\brb\\Text", REG_SZ, "be right back", 0);
    const struct {
        int id;
        const char* proposed;
        bool basic, mappings, shortTypes;
    } commands[] = {
        {ID_BACKUP_ALL, "KelmorBackup.reg", true, true, true},
        {ID_BACKUP_BASIC, "KelmorSettings.reg", true, false, false},
        {ID_BACKUP_MAPPINGS, "KelmorMappings.reg", false, true, false},
        {ID_BACKUP_SHORTTYPES, "KelmorShortTypes.reg", false, false, true},
    };
    for (const auto& c : commands) {
        fake::fileDialogs.clear();
        // A name without extension takes that of the filter; .reg is the first.
        fake::fileDialogAnswers.push_back({true, Path(c.proposed).substr(0, Path(c.proposed).size() - 4), 1});
        SendCommand(c.id);
        ASSERT_EQ(fake::fileDialogs.size(), 1u) << c.id;
        EXPECT_TRUE(fake::fileDialogs[0].save);
        EXPECT_EQ(fake::fileDialogs[0].initialName, home + "/" + c.proposed);
        EXPECT_EQ(fake::fileDialogs[0].filters, kFilters);
        EXPECT_EQ(fake::fileDialogs[0].filterIndex, 1);
        const std::string text = ReadFile(Path(c.proposed));
        EXPECT_EQ(text.compare(0, 10, "REGEDIT4\r\n"), 0) << c.id;
        EXPECT_EQ(text.find("\"Left\"=dword:") != std::string::npos, c.basic) << c.id;
        EXPECT_EQ(text.find("\\Mappings\\65]") != std::string::npos, c.mappings) << c.id;
        EXPECT_EQ(text.find("\\ShortType\\brb]") != std::string::npos, c.shortTypes) << c.id;
        ExpectBox(Done(Path(c.proposed)), "Export Complete", MB_TASKMODAL | MB_OK | MB_ICONINFORMATION);
    }
    // The window's place as it is now, not as it was at start.
    fake::mainWindowLeft = -4;
    fake::mainWindowTop = 100;
    fake::fileDialogAnswers.push_back({true, Path("place.txt"), 2});
    // The User Command button sends a backup command as the menu does.
    gSettings.gnUserCommand = ID_BACKUP_BASIC;
    SendCommand(ID_USER_COMMAND);
    EXPECT_EQ(fake::fileDialogs.back().initialName, home + "/KelmorSettings.reg");
    EXPECT_NE(ReadFile(Path("place.txt")).find("\"Left\"=dword:fffffffc\r\n\"Top\"=dword:00000064\r\n"),
              std::string::npos);
    fake::messageBoxes.clear();
    // Cancelled: nothing written, nothing said.
    SendCommand(ID_BACKUP_ALL);
    EXPECT_TRUE(fake::messageBoxes.empty());
    EXPECT_EQ(Entries(), (std::vector<std::string>{"KelmorBackup.reg", "KelmorMappings.reg", "KelmorSettings.reg",
                                                   "KelmorShortTypes.reg", "place.txt"}));
}

TEST_F(BackupCommandsTest, AnExistingFileIsReplacedOnlyWhenTheUserSaysSoAndOnlyWhole) {
    const std::string old = Path("old.reg");
    WriteFile(old, "REGEDIT4\r\nold and good\r\n");
    fake::fileDialogAnswers.push_back({true, old, 1});
    fake::messageBoxAnswers.push_back(IDNO);
    SendCommand(ID_BACKUP_MAPPINGS);
    ExpectBox(old + "\nThis file already exists.\nReplace existing file?", "Export",
              MB_TASKMODAL | MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(ReadFile(old), "REGEDIT4\r\nold and good\r\n");

    fake::fileDialogAnswers.push_back({true, old, 1});
    fake::messageBoxAnswers.push_back(IDYES);
    SendCommand(ID_BACKUP_MAPPINGS);
    ASSERT_EQ(fake::messageBoxes.size(), 2u);
    EXPECT_EQ(fake::messageBoxes[1].caption, "Export Complete");
    EXPECT_EQ(ReadFile(old), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelmor\\Mappings]\r\n");
    fake::messageBoxes.clear();

    // A file that cannot be written is reported, and nothing claims the export worked.
    fake::fileDialogAnswers.push_back({true, Path("no/such/folder/x.reg"), 1});
    SendCommand(ID_BACKUP_ALL);
    ExpectBox("Unable to save file '" + Path("no/such/folder/x.reg") + "'!\n\nNo such file or directory.");
    EXPECT_EQ(Entries(), std::vector<std::string>{"old.reg"}) << "no temporary file stays behind";
}
