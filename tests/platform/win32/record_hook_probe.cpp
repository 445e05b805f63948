// The journal record hook at work on a desktop: the hook is installed through the journal
// seam, a window of this program takes the focus, and what the record procedure receives
// while someone types and clicks is written to standard output, one event a line:
//   <message> <paramL> <paramH> <hwnd is this window: 1/0>
// It runs until the user's Ctrl+Esc cancels the hook (or for 60 s) and then says
// "cancelled" and whether its own unhook still found the hook ("unhooked": it should not).
// tests/e2e/wine_record.sh drives it and judges the lines.
#include "platform/win32/windows_api.h"

#include <cstdio>
#include <vector>

#include "platform/journal.h"

namespace {

std::vector<EVENTMSG> gEvents;
bool gDone = false;

intptr_t Collect(int code, uintptr_t, intptr_t lParam) {
    if (code == HC_ACTION) {
        const EVENTMSG& event = *reinterpret_cast<const EVENTMSG*>(lParam);
        gEvents.push_back(event);
    }
    return 0;
}

void Cancelled() { gDone = true; }

}  // namespace

int main() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "KelmorRecordProbe";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("KelmorRecordProbe", "Kelmor record probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                                100, 400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    SysSetJournalCancelHandler(Cancelled);
    const intptr_t hook = SysSetJournalHook(WH_JOURNALRECORD, Collect);
    if (hook == 0) {
        std::printf("refused %lu\n", GetLastError());
        return 1;
    }
    std::printf("hooked\n");
    std::fflush(stdout);
    const DWORD start = GetTickCount();
    while (!gDone && GetTickCount() - start < 60000) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
    const bool unhooked = SysUnhookJournal(hook);
    const uint32_t own = static_cast<HWND32>(reinterpret_cast<uintptr_t>(window));
    for (const EVENTMSG& event : gEvents) {
        std::printf("%u %u %u %d\n", event.message, event.paramL, event.paramH, event.hwnd == own ? 1 : 0);
    }
    if (gDone) std::printf("cancelled\n");
    std::printf(unhooked ? "unhooked\n" : "unhook refused\n");
    return 0;
}
