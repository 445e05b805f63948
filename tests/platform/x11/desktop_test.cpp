// Window search and activation against real X clients: first on a bare server, then
// with openbox managing the windows. The windows belong to a second connection, as
// another program's would.
// GoogleTest first: Xlib defines None and Bool as macros.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/x11/display.h"

namespace {

template <typename Condition>
bool WaitUntil(Condition condition) {
    for (int waited = 0; waited < 3000 && !condition(); waited += 20) g_usleep(20 * 1000);
    return condition();
}

std::vector<HWND32> Listed() {
    HWND32 windows[512];
    return std::vector<HWND32>(windows, windows + SysEnumTopLevelWindows(windows, 512));
}

int Position(Window window) {
    std::vector<HWND32> list = Listed();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i] == window) return static_cast<int>(i);
    }
    return -1;
}

std::string Title(HWND32 window, int size = 127) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '#');
    int n = SysGetWindowText(window, buffer.data(), size);
    EXPECT_EQ(buffer[static_cast<size_t>(size)], '#') << "written past the buffer";
    EXPECT_EQ(static_cast<size_t>(n), strlen(buffer.data()));
    return std::string(buffer.data());
}

class Desktop : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(X11Display(), nullptr);
        other = XOpenDisplay(nullptr);
        ASSERT_NE(other, nullptr);
    }
    void TearDown() override { XCloseDisplay(other); }

    Window Make(const char* title, int x, int y, int border = 0, bool popup = false, bool map = true) {
        XSetWindowAttributes attributes;
        attributes.override_redirect = popup;
        Window w = XCreateWindow(other, DefaultRootWindow(other), x, y, 200, 150, border, CopyFromParent,
                                 InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XChangeProperty(other, w, XInternAtom(other, "_NET_WM_NAME", False), XInternAtom(other, "UTF8_STRING", False),
                        8, PropModeReplace, reinterpret_cast<const unsigned char*>(title), strlen(title));
        XSizeHints size;
        size.flags = USPosition;
        size.x = x, size.y = y;
        XSetWMNormalHints(other, w, &size);
        if (map) XMapWindow(other, w);
        XSync(other, False);
        return w;
    }
    void SetCardinal(Window w, const char* name, long value) {
        XChangeProperty(other, w, XInternAtom(other, name, False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&value), 1);
        XSync(other, False);
    }
    long Items(Window w, const char* name) {
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(other, w, XInternAtom(other, name, False), 0, 1, False, AnyPropertyType, &type, &format,
                           &count, &after, &data);
        if (data != nullptr) XFree(data);
        return static_cast<long>(count);
    }
    Window Focus() {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(other, &focus, &revert);
        return focus;
    }
    int MapState(Window w) {
        XWindowAttributes a;
        return XGetWindowAttributes(other, w, &a) ? a.map_state : -1;
    }

    Display* other = nullptr;
};

TEST_F(Desktop, ListsShownAndMinimisedWindowsTopFirstWithTheirTitles) {
    Window alpha = Make("Alpha editor", 10, 10);
    Window beta = Make(u8"Beta — ünïcode ✓", 30, 30);
    Window hidden = Make("Gamma never shown", 50, 50, 0, false, false);
    Window popup = Make("Delta menu", 70, 70, 0, true);
    Window latin = Make("", 90, 90);
    XDeleteProperty(other, latin, XInternAtom(other, "_NET_WM_NAME", False));
    XStoreName(other, latin, "Caf\xe9 Latin");
    XRaiseWindow(other, beta);
    XSync(other, False);

    EXPECT_EQ(Position(beta), 0) << "the top of the stack comes first";
    EXPECT_GT(Position(alpha), Position(latin));
    EXPECT_EQ(Position(hidden), -1);
    EXPECT_EQ(Position(popup), -1);
    EXPECT_EQ(Title(beta), u8"Beta — ünïcode ✓");
    EXPECT_EQ(Title(latin), u8"Café Latin");

    EXPECT_TRUE(SysShowWindow(alpha, SW_MINIMIZE));
    EXPECT_TRUE(SysIsWindowMinimized(alpha));
    EXPECT_EQ(MapState(alpha), IsUnmapped);
    EXPECT_NE(Position(alpha), -1) << "a minimised window can still be gone to";
    EXPECT_TRUE(SysShowWindow(alpha, SW_RESTORE));
    EXPECT_FALSE(SysIsWindowMinimized(alpha));
    EXPECT_EQ(MapState(alpha), IsViewable);
    EXPECT_EQ(Position(alpha), 0) << "restored on top";

    EXPECT_TRUE(SysShowWindow(hidden, SW_SHOWNA));
    EXPECT_EQ(MapState(hidden), IsViewable);
    EXPECT_TRUE(SysShowWindow(hidden, SW_HIDE));
    EXPECT_EQ(MapState(hidden), IsUnmapped);
}

TEST_F(Desktop, TitlesAreCutOnCharacterBoundariesAndAlwaysEnded) {
    Window w = Make(u8"Ab✓cd", 0, 0);
    EXPECT_EQ(Title(w, 6), u8"Ab✓");
    EXPECT_EQ(Title(w, 5), "Ab") << "never half a character";
    EXPECT_EQ(Title(w, 1), "");
    char untouched = '#';
    EXPECT_EQ(SysGetWindowText(w, &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');
    EXPECT_EQ(Title(Make(std::string(300, 'x').c_str(), 0, 0)), std::string(126, 'x'));
}

TEST_F(Desktop, ActivationGivesTheFocusAndTheRectangleIsTheOuterEdge) {
    Window a = Make("First", 100, 50, 3);
    Window b = Make("Second", 400, 300);
    Window inner = XCreateSimpleWindow(other, b, 5, 5, 20, 20, 0, 0, 0);
    XMapWindow(other, inner);

    EXPECT_TRUE(SysActivateWindow(a));
    EXPECT_EQ(Focus(), a);
    EXPECT_EQ(SysGetForegroundWindow(), a);
    XSetInputFocus(other, inner, RevertToParent, CurrentTime);
    XSync(other, False);
    EXPECT_EQ(SysGetForegroundWindow(), b) << "the focus window's top-level window";
    XUnmapWindow(other, a);
    XSync(other, False);
    EXPECT_FALSE(SysActivateWindow(a)) << "an unmapped window cannot take the focus";

    RECT32 rect{};
    ASSERT_TRUE(SysGetWindowRect(a, &rect));
    EXPECT_EQ(rect.left, 100);
    EXPECT_EQ(rect.top, 50);
    EXPECT_EQ(rect.right, 306) << "border included";
    EXPECT_EQ(rect.bottom, 206);
}

TEST_F(Desktop, OwnWindowsAreThoseOfThisProcess) {
    Display* mine = X11Display();
    Window made = XCreateSimpleWindow(mine, DefaultRootWindow(mine), 0, 0, 50, 50, 0, 0, 0);
    XSync(mine, False);
    Window inside = XCreateSimpleWindow(other, made, 0, 0, 5, 5, 0, 0, 0);
    Window stamped = Make("Own by pid", 0, 0);
    SetCardinal(stamped, "_NET_WM_PID", getpid());
    Window foreign = Make("Someone else", 0, 0);
    SetCardinal(foreign, "_NET_WM_PID", getpid() + 1);

    EXPECT_TRUE(SysIsOwnWindow(made));
    EXPECT_TRUE(SysIsOwnWindow(inside)) << "walked up to the window of ours";
    EXPECT_TRUE(SysIsOwnWindow(stamped));
    EXPECT_FALSE(SysIsOwnWindow(foreign));
    EXPECT_FALSE(SysIsOwnWindow(DefaultRootWindow(other)));
}

TEST_F(Desktop, VanishedWindowsAreAnsweredQuietly) {
    Window gone = Make("Gone", 0, 0);
    XDestroyWindow(other, gone);
    XSync(other, False);
    testing::internal::CaptureStderr();
    RECT32 rect = {1, 2, 3, 4};
    EXPECT_EQ(Title(gone), "");
    EXPECT_FALSE(SysShowWindow(gone, SW_RESTORE));
    EXPECT_FALSE(SysActivateWindow(gone));
    EXPECT_FALSE(SysGetWindowRect(gone, &rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The same calls with a reparenting window manager in charge.
class ManagedDesktop : public Desktop {
protected:
    void SetUp() override {
        Desktop::SetUp();
        const char* argv[] = {"openbox", "--sm-disable", nullptr};
        ASSERT_TRUE(g_spawn_async(nullptr, const_cast<char**>(argv), nullptr,
                                  GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                              G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                                  nullptr, nullptr, &wm, nullptr));
        ASSERT_TRUE(WaitUntil([&] { return Items(DefaultRootWindow(other), "_NET_SUPPORTING_WM_CHECK") == 1; }));
        // openbox names itself before it serves map requests, and drops those made in
        // between: a probe is mapped until it is managed.
        Window probe = Make("probe", 0, 0, 0, false, false);
        ASSERT_TRUE(WaitUntil([&] {
            XMapWindow(other, probe);
            XSync(other, False);
            return IsManaged(probe);
        }));
        XDestroyWindow(other, probe);
    }
    void TearDown() override {
        kill(wm, SIGTERM);
        waitpid(wm, nullptr, 0);
        Desktop::TearDown();
    }
    bool IsManaged(Window w) { return Items(w, "WM_STATE") > 0 && MapState(w) == IsViewable; }
    Window MakeManaged(const char* title, int x, int y) {
        Window w = Make(title, x, y);
        EXPECT_TRUE(WaitUntil([&] { return IsManaged(w); }));
        return w;
    }

    GPid wm = 0;
};

TEST_F(ManagedDesktop, ClientsAreListedTopmostFirstAndGoneToThroughTheManager) {
    Window a = MakeManaged("Managed one", 100, 80);
    Window b = MakeManaged("Managed two", 300, 200);
    EXPECT_EQ(Listed(), (std::vector<HWND32>{static_cast<HWND32>(b), static_cast<HWND32>(a)}))
        << "clients only, never the frames";

    EXPECT_TRUE(SysShowWindow(a, SW_MINIMIZE));
    EXPECT_TRUE(WaitUntil([&] { return SysIsWindowMinimized(a); }));
    EXPECT_TRUE(SysShowWindow(a, SW_RESTORE));
    EXPECT_TRUE(WaitUntil([&] { return !SysIsWindowMinimized(a) && MapState(a) == IsViewable; }));
    EXPECT_TRUE(SysActivateWindow(a));
    EXPECT_EQ(SysGetForegroundWindow(), a);
    EXPECT_EQ(Focus(), a);
    EXPECT_TRUE(WaitUntil([&] { return Position(a) == 0; }));
}

TEST_F(ManagedDesktop, RectangleIsTheFramesAndOwnClientsAreFoundFromTheirFrame) {
    Window a = MakeManaged("Framed", 100, 80);
    // The outer corner is where the window asked to be; the manager may settle late.
    RECT32 rect{};
    EXPECT_TRUE(WaitUntil([&] { return SysGetWindowRect(a, &rect) && rect.left == 100 && rect.top == 80; }));
    Window root = 0, frame = 0, *children = nullptr;
    unsigned n = 0;
    XQueryTree(other, a, &root, &frame, &children, &n);
    if (children != nullptr) XFree(children);
    ASSERT_NE(frame, root) << "openbox reparents";
    XWindowAttributes outer;
    ASSERT_TRUE(XGetWindowAttributes(other, frame, &outer));
    EXPECT_EQ(rect.left, outer.x);
    EXPECT_EQ(rect.top, outer.y);
    EXPECT_EQ(rect.right - rect.left, outer.width + 2 * outer.border_width);
    EXPECT_EQ(rect.bottom - rect.top, outer.height + 2 * outer.border_width);
    EXPECT_GT(rect.bottom - rect.top, 150) << "title bar included";

    EXPECT_FALSE(SysIsOwnWindow(frame));
    SetCardinal(a, "_NET_WM_PID", getpid());
    EXPECT_TRUE(SysIsOwnWindow(frame)) << "a click on the title bar names the frame";
}

}  // namespace
