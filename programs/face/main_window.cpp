// The main window built on whichever face the program has (the GTK module on Linux, the
// Windows face linked into Kelmor.exe): the same descriptions, handlers and greying.
#include "app/exit_step.h"
#include "app/pane_procedure.h"
#include "app/program_state.h"
#include "app/startup.h"
#include "app/tool_commands.h"
#include "platform/clipboard.h"
#include "platform/headless/headless_shell.h"
#include "player/recorder.h"
#include "programs/face/face.h"
#include "ui/commands.h"
#include "ui/menu_description.h"
#include "ui/pane_description.h"
#include "ui/run_mode.h"
#include "ui/toolbar_description.h"

namespace {

const KelmorFace* gWindowFace = nullptr;

void GreyWithoutHandler(int id) {
    if (id != 0 && FindCommandHandler(id) == nullptr) gWindowFace->enableCommand(id, false);
}

}  // namespace

const KelmorFace* WindowFace() { return gWindowFace; }

bool OpenMainWindowOn(const KelmorFace* face, void (*onCommand)(int id), bool (*onClose)()) {
    const KelmorWindowParts parts = {kMenuBar,     kMenuBarCount, kAccelerators, kAcceleratorCount,
                                     kToolbar,     kToolbarCount, kToolbarTips,  &kPaneDialog,
                                     PaneProcedure, onCommand,    onClose,       OnPaneTabKey,
                                     OnMainWindowFocus};
    // The window's creation already sets the panes up through the dialog calls.
    gWindowFace = face;
    ShowPanesInMainWindow();
    if (!face->createMainWindow(&parts)) {
        gWindowFace = nullptr;
        return false;
    }
    // Items whose command comes with later work are built enabled like the rest: grey
    // them now (the window seam keeps them grey).
    for (int i = 0; i < kMenuBarCount; ++i) {
        if (kMenuBar[i].kind == MENU_ITEM) GreyWithoutHandler(kMenuBar[i].id);
    }
    for (int i = 0; i < kToolbarCount; ++i) GreyWithoutHandler(kToolbar[i].command);
    if (FACE_HAS(face, setMenuOpenHandler)) face->setMenuOpenHandler(OnMenuOpening);
    // The end of the session takes the display away: the exit step still runs.
    if (FACE_HAS(face, setDisplayLostHandler)) face->setDisplayLostHandler(HeadlessEndSession);
    return true;
}

int RunMainWindow() {
    if (BringRunningCopyForward()) return 0;
    if (!PrepareProgram()) return 0;
    if (!OpenMainWindow(SendCommand, CloseMainWindow)) return EXIT_CODE_FAILED;
    HeadlessShellSetDispatcher(SendCommand);
    ShowInteractiveWindow();
    const int status = HeadlessRunMessageLoop();
    SysLetGoOfClipboard();
    return status;
}
