#include "programs/kelmor/face.h"

#include <cstddef>
#include <cstdio>

#include "app/pane_procedure.h"
#include "app/tool_commands.h"
#include "platform/console/print_box.h"
#include "platform/headless/headless_shell.h"
#include "platform/module.h"
#include "platform/x11/display.h"
#include "player/recorder.h"
#include "ui/commands.h"
#include "ui/menu_description.h"
#include "ui/pane_description.h"
#include "ui/platform_wording.h"
#include "ui/toolbar_description.h"

namespace {

const KelmorFace* gFace = nullptr;
bool gFaceTried = false;
const KelmorFace* gWindowFace = nullptr;

void GreyWithoutHandler(int id) {
    if (id != 0 && FindCommandHandler(id) == nullptr) gWindowFace->enableCommand(id, false);
}

}  // namespace

const KelmorFace* LoadFace() {
    if (gFaceTried) return gFace;
    gFaceTried = true;
    char why[512] = "";
    auto entry = reinterpret_cast<KelmorFaceEntryFunction>(
        ModuleLoadEntry(KELMOR_FACE_MODULE, KELMOR_FACE_ENTRY, why, sizeof why));
    const KelmorFace* face = entry != nullptr ? entry() : nullptr;
    if (FACE_HAS(face, messageBox)) {
        gFace = face;
        if (FACE_HAS(face, setWording)) face->setWording(PlatformText);
    } else if (entry == nullptr) {
        fprintf(stderr, "kelmor: cannot show dialogs: %s\n", TerminalText(why).c_str());
    } else {
        fprintf(stderr, "kelmor: cannot show dialogs: %s is of another version\n", KELMOR_FACE_MODULE);
    }
    return gFace;
}

const KelmorFace* WindowFace() { return gWindowFace; }

bool OpenMainWindow(void (*onCommand)(int id), bool (*onClose)()) {
    const KelmorFace* face = LoadFace();
    if (face == nullptr) return false;
    if (!FACE_HAS(face, moveMainWindow)) {
        fprintf(stderr, "kelmor: cannot open the window: %s has no window\n", KELMOR_FACE_MODULE);
        return false;
    }
    const KelmorWindowParts parts = {kMenuBar,     kMenuBarCount, kAccelerators, kAcceleratorCount,
                                     kToolbar,     kToolbarCount, kToolbarTips,  &kPaneDialog,
                                     PaneProcedure, onCommand,    onClose,       OnPaneTabKey,
                                     OnMainWindowFocus};
    // The window's creation already sets the panes up through the dialog calls.
    gWindowFace = face;
    if (face->createMainWindow(&parts)) {
        // Items whose command comes with later work are built enabled like the rest:
        // grey them now (the window seam keeps them grey).
        for (int i = 0; i < kMenuBarCount; ++i) {
            if (kMenuBar[i].kind == MENU_ITEM) GreyWithoutHandler(kMenuBar[i].id);
        }
        for (int i = 0; i < kToolbarCount; ++i) GreyWithoutHandler(kToolbar[i].command);
        if (FACE_HAS(face, setMenuOpenHandler)) face->setMenuOpenHandler(OnMenuOpening);
        // The end of the session takes the display away: the exit step still runs.
        if (FACE_HAS(face, setDisplayLostHandler)) {
            face->setDisplayLostHandler(HeadlessEndSession);
            X11OutliveLostDisplay();
        }
        return true;
    }
    gWindowFace = nullptr;
    fputs("kelmor: cannot open the window: no display\n", stderr);
    return false;
}
