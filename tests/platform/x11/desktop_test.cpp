// Window search and activation against another client's windows: first on a bare
// server, then with openbox managing them.
#include "tests/platform/x11/x_test_client.h"

#include <X11/Xatom.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "platform/desktop.h"

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
    const std::vector<HWND32> list = Listed();
    const auto at = std::find(list.begin(), list.end(), window);
    return at == list.end() ? -1 : static_cast<int>(at - list.begin());
}

std::string Title(HWND32 window, int size = 127) {
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '#');
    const int n = SysGetWindowText(window, buffer.data(), size);
    EXPECT_EQ(buffer[static_cast<size_t>(size)], '#') << "written past the buffer";
    EXPECT_EQ(static_cast<size_t>(n), strlen(buffer.data()));
    return std::string(buffer.data());
}

std::vector<int32_t> Edges(const RECT32& r) { return {r.left, r.top, r.right, r.bottom}; }

class Desktop : public XConnectionTest {
protected:
    void TearDown() override {
        if (wm_ != 0) kill(wm_, SIGTERM), waitpid(wm_, nullptr, 0);
        XConnectionTest::TearDown();
    }

    Window Make(const char* title, int x, int y, int border = 0, bool popup = false, bool map = true) {
        XSetWindowAttributes attributes;
        attributes.override_redirect = popup;
        Window w = XCreateWindow(client_, DefaultRootWindow(client_), x, y, 200, 150, border, CopyFromParent,
                                 InputOutput, CopyFromParent, CWOverrideRedirect, &attributes);
        XChangeProperty(client_, w, XInternAtom(client_, "_NET_WM_NAME", False),
                        XInternAtom(client_, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title), strlen(title));
        XSizeHints size;
        size.flags = USPosition;
        size.x = x, size.y = y;
        XSetWMNormalHints(client_, w, &size);
        if (map) XMapWindow(client_, w);
        XSync(client_, False);
        return w;
    }
    void SetPid(Window w, long pid) {
        XChangeProperty(client_, w, XInternAtom(client_, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(&pid), 1);
        XSync(client_, False);
    }
    int MapState(Window w) {
        XWindowAttributes a;
        return XGetWindowAttributes(client_, w, &a) ? a.map_state : -1;
    }
    bool IsManaged(Window w) {  // the manager has marked it and shown it
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(client_, w, XInternAtom(client_, "WM_STATE", False), 0, 1, False, AnyPropertyType, &type,
                           &format, &count, &after, &data);
        if (data != nullptr) XFree(data);
        return count > 0 && MapState(w) == IsViewable;
    }

    // openbox drops map requests made while it starts: a probe is mapped until managed.
    void StartWindowManager() {
        const char* argv[] = {"openbox", "--sm-disable", nullptr};
        ASSERT_TRUE(g_spawn_async(nullptr, const_cast<char**>(argv), nullptr,
                                  GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD |
                                              G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL),
                                  nullptr, nullptr, &wm_, nullptr));
        Window probe = Make("probe", 0, 0, 0, false, false);
        ASSERT_TRUE(WaitUntil([&] {
            XMapWindow(client_, probe);
            XSync(client_, False);
            return IsManaged(probe);
        }));
        XDestroyWindow(client_, probe);
    }
    Window MakeManaged(const char* title, int x, int y) {
        Window w = Make(title, x, y);
        EXPECT_TRUE(WaitUntil([&] { return IsManaged(w); }));
        return w;
    }

    // A child of parent at (x, y), mapped, titled when title is given.
    Window MakeChild(Window parent, const char* title, int x, int y, int width, int height) {
        Window w = XCreateSimpleWindow(client_, parent, x, y, width, height, 0, 0, 0);
        if (title != nullptr) XStoreName(client_, w, title);
        XMapWindow(client_, w);
        XSync(client_, False);
        return w;
    }

    GPid wm_ = 0;
};

// The window SysWindowAtPoint finds, as "title@left,top,right,bottom", or "none".
std::string AtPoint(int32_t x, int32_t y, bool topLevel, int titleSize = 256) {
    std::vector<char> title(static_cast<size_t>(titleSize) + 1, '#');
    RECT32 r{};
    if (!SysWindowAtPoint(x, y, topLevel, title.data(), titleSize, &r)) return "none";
    EXPECT_EQ(title[static_cast<size_t>(titleSize)], '#') << "written past the title";
    return std::string(title.data()) + "@" + std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right) + "," + std::to_string(r.bottom);
}

TEST_F(Desktop, ListsShownAndMinimisedWindowsTopFirstWithTheirTitlesCutWhole) {
    Window alpha = Make("Alpha editor", 10, 10);
    Window beta = Make(u8"Beta — ünïcode ✓", 30, 30);
    Window hidden = Make("Gamma never shown", 50, 50, 0, false, false);
    Window popup = Make("Delta menu", 70, 70, 0, true);
    Window latin = Make("", 90, 90);
    XDeleteProperty(client_, latin, XInternAtom(client_, "_NET_WM_NAME", False));
    XStoreName(client_, latin, "Caf\xe9 Latin");
    XRaiseWindow(client_, beta);
    XSync(client_, False);

    EXPECT_EQ(Position(beta), 0) << "the top of the stack comes first";
    EXPECT_EQ(Position(hidden), -1);
    EXPECT_EQ(Position(popup), -1);
    EXPECT_EQ(Title(beta), u8"Beta — ünïcode ✓");
    EXPECT_EQ(Title(latin), u8"Café Latin");
    // "Beta " and a three-byte dash: never half a character, always ended.
    EXPECT_EQ(Title(beta, 9), u8"Beta —");
    EXPECT_EQ(Title(beta, 8), "Beta ");
    EXPECT_EQ(Title(beta, 1), "");
    char untouched = '#';
    EXPECT_EQ(SysGetWindowText(beta, &untouched, 0), 0);
    EXPECT_EQ(untouched, '#');

    EXPECT_TRUE(SysShowWindow(alpha, SW_MINIMIZE));
    EXPECT_TRUE(SysIsWindowMinimized(alpha));
    EXPECT_EQ(MapState(alpha), IsUnmapped);
    EXPECT_NE(Position(alpha), -1) << "a minimised window can still be gone to";
    HWND32 found[512];
    const std::vector<HWND32> hiddenOnes(found, found + SysEnumHiddenTopLevelWindows(found, 512));
    const auto listed = [&](Window w) { return std::count(hiddenOnes.begin(), hiddenOnes.end(), w) == 1; };
    EXPECT_TRUE(listed(hidden));
    EXPECT_FALSE(listed(alpha) || listed(beta) || listed(popup)) << "minimised, shown and pop-up windows are not hidden";
    EXPECT_TRUE(SysShowWindow(alpha, SW_RESTORE));
    EXPECT_FALSE(SysIsWindowMinimized(alpha));
    EXPECT_EQ(MapState(alpha), IsViewable);
    EXPECT_EQ(Position(alpha), 0) << "restored on top";

    EXPECT_TRUE(SysShowWindow(hidden, SW_SHOWNA));
    EXPECT_EQ(MapState(hidden), IsViewable);
    EXPECT_TRUE(SysShowWindow(hidden, SW_HIDE));
    EXPECT_EQ(MapState(hidden), IsUnmapped);
}

TEST_F(Desktop, ActivationGivesTheFocusAndTheRectangleIsTheOuterEdge) {
    Window a = Make("First", 100, 50, 3);
    Window b = Make("Second", 400, 300);
    Window inner = XCreateSimpleWindow(client_, b, 5, 5, 20, 20, 0, 0, 0);
    XMapWindow(client_, inner);

    EXPECT_TRUE(SysActivateWindow(a));
    EXPECT_EQ(SysGetForegroundWindow(), a) << "read from the focus itself";
    XSetInputFocus(client_, inner, RevertToParent, CurrentTime);
    XSync(client_, False);
    EXPECT_EQ(SysGetForegroundWindow(), b) << "the focus window's top-level window";
    XUnmapWindow(client_, a);
    XSync(client_, False);
    EXPECT_FALSE(SysActivateWindow(a)) << "an unmapped window cannot take the focus";

    RECT32 rect{};
    ASSERT_TRUE(SysGetWindowRect(a, &rect));
    EXPECT_EQ(Edges(rect), (std::vector<int32_t>{100, 50, 306, 206})) << "border included";
}

TEST_F(Desktop, OwnWindowsAreThoseOfThisProcessAndVanishedOnesAreAnsweredQuietly) {
    Display* mine = X11Display();
    Window made = XCreateSimpleWindow(mine, DefaultRootWindow(mine), 0, 0, 50, 50, 0, 0, 0);
    XSync(mine, False);
    Window inside = XCreateSimpleWindow(client_, made, 0, 0, 5, 5, 0, 0, 0);
    Window stamped = Make("Own by pid", 0, 0);
    SetPid(stamped, getpid());
    Window foreign = Make("Someone else", 0, 0);
    SetPid(foreign, getpid() + 1);
    EXPECT_TRUE(SysIsOwnWindow(made));
    EXPECT_TRUE(SysIsOwnWindow(inside)) << "walked up to the window of ours";
    EXPECT_TRUE(SysIsOwnWindow(stamped));
    EXPECT_FALSE(SysIsOwnWindow(foreign));
    EXPECT_FALSE(SysIsOwnWindow(DefaultRootWindow(client_)));

    XDestroyWindow(client_, stamped);
    XSync(client_, False);
    testing::internal::CaptureStderr();
    RECT32 rect = {1, 2, 3, 4};
    EXPECT_EQ(Title(stamped), "");
    EXPECT_FALSE(SysIsOwnWindow(stamped));
    EXPECT_FALSE(SysShowWindow(stamped, SW_RESTORE));
    EXPECT_FALSE(SysActivateWindow(stamped));
    EXPECT_FALSE(SysGetWindowRect(stamped, &rect));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Desktop, UnderAManagerClientsAreListedMeasuredByTheirFramesAndGoneTo) {
    ASSERT_NO_FATAL_FAILURE(StartWindowManager());
    Window a = MakeManaged("Managed one", 100, 80);
    Window b = MakeManaged("Managed two", 300, 200);
    EXPECT_EQ(Listed(), (std::vector<HWND32>{static_cast<HWND32>(b), static_cast<HWND32>(a)}))
        << "clients only, never the frames";

    // The outer corner is where the window asked to be; the manager may settle late.
    RECT32 rect{};
    EXPECT_TRUE(WaitUntil([&] { return SysGetWindowRect(a, &rect) && rect.left == 100 && rect.top == 80; }));
    Window root = 0, frame = 0, *children = nullptr;
    unsigned n = 0;
    XQueryTree(client_, a, &root, &frame, &children, &n);
    if (children != nullptr) XFree(children);
    ASSERT_NE(frame, root) << "openbox reparents";
    XWindowAttributes o;
    ASSERT_TRUE(XGetWindowAttributes(client_, frame, &o));
    EXPECT_EQ(Edges(rect), (std::vector<int32_t>{o.x, o.y, o.x + o.width + 2 * o.border_width,
                                                 o.y + o.height + 2 * o.border_width}))
        << "the frame, title bar included";
    EXPECT_FALSE(SysIsOwnWindow(frame));
    SetPid(a, getpid());
    EXPECT_TRUE(SysIsOwnWindow(frame)) << "a click on the title bar names the frame";

    EXPECT_TRUE(SysShowWindow(a, SW_MINIMIZE));
    EXPECT_TRUE(WaitUntil([&] { return SysIsWindowMinimized(a); }));
    EXPECT_TRUE(SysShowWindow(a, SW_RESTORE));
    EXPECT_TRUE(WaitUntil([&] { return !SysIsWindowMinimized(a) && MapState(a) == IsViewable; }));
    EXPECT_TRUE(SysActivateWindow(a));
    EXPECT_EQ(SysGetForegroundWindow(), a);
    EXPECT_TRUE(WaitUntil([&] { return Position(a) == 0; }));
}

TEST_F(Desktop, TheWindowUnderAPointIsTheTitledOneOrItsTopLevelWindow) {
    Window outer = Make("Outer", 100, 80);
    MakeChild(outer, "Inner", 20, 30, 50, 40);
    Window plain = MakeChild(outer, nullptr, 100, 30, 60, 60);
    MakeChild(plain, nullptr, 5, 5, 20, 20);
    EXPECT_EQ(AtPoint(130, 120, false), "Inner@120,110,170,150");
    EXPECT_EQ(AtPoint(130, 120, true), "Outer@100,80,300,230");
    EXPECT_EQ(AtPoint(210, 120, false), "Outer@100,80,300,230") << "untitled windows climb to a titled one";
    EXPECT_EQ(AtPoint(150, 200, false, 4), "Out@100,80,300,230");
    EXPECT_EQ(AtPoint(10, 10, false), "none") << "only the root there";
    EXPECT_EQ(AtPoint(10, 10, true), "none");
    int32_t x = -1, y = -1;
    XWarpPointer(client_, None, DefaultRootWindow(client_), 0, 0, 0, 0, 33, 44);
    XSync(client_, False);
    EXPECT_TRUE(SysGetCursorPos(&x, &y));
    EXPECT_EQ(std::make_pair(x, y), std::make_pair(33, 44));
}

TEST_F(Desktop, UnderAManagerThePointCountsFromTheFrameThatClickCountsFrom) {
    ASSERT_NO_FATAL_FAILURE(StartWindowManager());
    Window managed = MakeManaged("Managed", 100, 80);
    MakeChild(managed, nullptr, 10, 10, 50, 50);
    RECT32 frame{};
    ASSERT_TRUE(WaitUntil([&] { return SysGetWindowRect(managed, &frame) && frame.left == 100 && frame.top == 80; }));
    const std::string expected = "Managed@100,80," + std::to_string(frame.right) + "," + std::to_string(frame.bottom);
    XWindowAttributes a;
    int x = 0, y = 0;
    Window child = 0;
    ASSERT_TRUE(XGetWindowAttributes(client_, managed, &a));
    ASSERT_TRUE(XTranslateCoordinates(client_, managed, DefaultRootWindow(client_), 0, 0, &x, &y, &child));
    ASSERT_GT(y, 82) << "openbox puts a title bar above the window";
    for (bool topLevel : {false, true}) {
        EXPECT_EQ(AtPoint(x + 20, y + 20, topLevel), expected) << "inside the untitled child";
        EXPECT_EQ(AtPoint(x + 100, 82, topLevel), expected) << "on the title bar";
    }
}

}  // namespace
