// The command table: one row per command id the main window carries out. Later
// capabilities add their rows here.
#include "app/command_table.h"

#include "app/about_box.h"
#include "app/advanced_options.h"
#include "app/backup_commands.h"
#include "app/exit_step.h"
#include "app/help_commands.h"
#include "app/legal_agreement.h"
#include "app/pane_procedure.h"
#include "app/service_commands.h"
#include "app/tray.h"
#include "app/tool_commands.h"
#include "app/window_options.h"
#include "player/playback_control.h"
#include "player/recorder.h"
#include "recording/executable_recording.h"
#include "recording/file_commands.h"
#include "recording/recent_file_commands.h"
#include "ui/command_ids.h"
#include "ui/commands.h"

namespace {

const CommandRow kCommands[] = {
    {ID_EXIT, ID_EXIT, OnExit},
    {ID_OPEN, ID_OPEN, OnOpen},
    {ID_SAVE_AS, ID_SAVE_AS, OnSaveAs},
    {ID_DISPLAY_ACTIONS, ID_DISPLAY_ACTIONS, OnDisplayNumberOfActions},
    {ID_NEW, ID_NEW, OnNew},
    {ID_CLOSE, ID_CLOSE, OnClose},
    {ID_RESET_RECENT_FILES, ID_RESET_RECENT_FILES, OnResetRecentFiles},
    {ID_RELOAD_FILE, ID_RELOAD_FILE, OnReloadCurrentFile},
    {ID_EDIT_SCRIPT, ID_EDIT_SCRIPT, OnEditScriptFile},
    {ID_CREATE_EXE, ID_CREATE_EXE, CreateExecutableRecording},
    {ID_RECENT_FILE_1, ID_RECENT_FILE_8, OnOpenRecentFile},
    {ID_PLAY, ID_PLAY, OnPlayback},
    {ID_SERVICE_PLAYBACK, ID_SERVICE_PLAYFILE, OnPlayback},
    {ID_TRAY_PLAY, ID_TRAY_PLAY, OnTrayPlay},
    {ID_NORMAL_PLAY_SETTINGS, ID_NORMAL_PLAY_SETTINGS, OnLoadNormalPlaySettings},
    {ID_FAST_SPEED, ID_FAST_SPEED, OnFastSpeed},
    {ID_START_RECORDING, ID_START_RECORDING, OnStartRecording},
    {ID_STOP_RECORDING, ID_STOP_RECORDING, OnStopRecording},
    {ID_TRAY_START_RECORDING, ID_TRAY_START_RECORDING, OnTrayStartRecording},
    {ID_TRAY_STOP_RECORDING, ID_TRAY_STOP_RECORDING, OnTrayStopRecording},
    {ID_TRAY_STOP_SERVICE, ID_TRAY_START_SERVICE, OnTrayServiceCommand},
    {ID_LEGAL, ID_LEGAL, OnLegalAgreement},
    {ID_ABOUT, ID_ABOUT, OnAbout},
    {ID_HELP_CONTENTS, ID_HELP_CONTENTS, OnHelpContents},
    {ID_HELP_SCREEN, ID_HELP_SCREEN, OnHelpForThisScreen},
    {ID_SCRIPT_REFERENCE, ID_SCRIPT_REFERENCE, OnHelpPage},
    {ID_REVISIONS, ID_FAQ, OnHelpPage},
    {ID_SUPPORT_MAIL, ID_SUPPORT_MAIL, OnSupportMail},
    {ID_WEB, ID_WEB, OnWebPage},
    {ID_RUN_FROM_TRAY, ID_RUN_FROM_TRAY, OnRunFromTray},
    {ID_TRAY_SHOW, ID_TRAY_SHOW, OnTrayShow},
    {ID_TRAY_EXIT, ID_TRAY_EXIT, OnTrayExit},
    {ID_ALWAYS_ON_TOP, ID_ALWAYS_ON_TOP, OnAlwaysOnTop},
    {ID_TOGGLE_TOPMOST, ID_TOGGLE_TOPMOST, OnToggleTopmostChoice},
    {ID_SHOW_TABS, ID_SHOW_TABS, OnShowTabs},
    {ID_SHOW_PANES, ID_SHOW_PANES, OnShowPanes},
    {ID_AUTO_START, ID_AUTO_START, OnAutoStart},
    {ID_VIEW_LOG, ID_VIEW_LOG, OnViewLogFile},
    {ID_USER_COMMAND, ID_USER_COMMAND, OnUserCommand},
    {ID_ADVANCED_OPTIONS, ID_ADVANCED_OPTIONS, OnAdvancedOptions},
    {ID_BACKUP_ALL, ID_BACKUP_SHORTTYPES, OnBackupSettings},
    {ID_BACKUP_BASIC, ID_BACKUP_BASIC, OnBackupSettings},
};

}  // namespace

void RegisterCommandTable() { SetCommandTable(kCommands, static_cast<int>(sizeof kCommands / sizeof kCommands[0])); }
