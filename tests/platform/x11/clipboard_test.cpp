// The clipboard's text, asked of an owner on another connection (a thread of the test
// standing for another program).
#include "tests/platform/x11/x_test_client.h"

#include <X11/Xatom.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "platform/clipboard.h"

namespace {

enum class Answers { Utf8, StringOnly, Never };

class ClipboardOwner {
public:
    ClipboardOwner(const std::string& text, Answers answers) : thread_([=] { Serve(text, answers); }) {
        while (!ready_) std::this_thread::yield();
    }
    ~ClipboardOwner() {
        stop_ = true;
        thread_.join();
    }

private:
    void Serve(const std::string& text, Answers answers) {
        Display* display = XOpenDisplay(nullptr);
        const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
        const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
        XSetSelectionOwner(display, clipboard, window, CurrentTime);
        XSync(display, False);
        ready_ = true;
        while (!stop_) {
            XEvent event;
            if (XPending(display) == 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            XNextEvent(display, &event);
            if (event.type != SelectionRequest || answers == Answers::Never) continue;
            const XSelectionRequestEvent& request = event.xselectionrequest;
            XEvent reply = {};
            reply.xselection.type = SelectionNotify;
            reply.xselection.requestor = request.requestor;
            reply.xselection.selection = request.selection;
            reply.xselection.target = request.target;
            reply.xselection.time = request.time;
            reply.xselection.property = None;
            if (request.target == XA_STRING || (request.target == utf8 && answers == Answers::Utf8)) {
                XChangeProperty(display, request.requestor, request.property, request.target, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
                reply.xselection.property = request.property;
            }
            XSendEvent(display, request.requestor, False, 0, &reply);
            XFlush(display);
        }
        XCloseDisplay(display);
    }

    std::atomic<bool> ready_{false}, stop_{false};
    std::thread thread_;
};

using ClipboardTest = XConnectionTest;

TEST_F(ClipboardTest, TextComesFromTheOwnerCutToTheBufferAndNothingWithoutAnAnswer) {
    char out[16];
    memset(out, '#', sizeof out);
    XSetSelectionOwner(client_, XInternAtom(client_, "CLIPBOARD", False), None, CurrentTime);
    XSync(client_, False);
    EXPECT_FALSE(SysGetClipboardText(out, 8));
    EXPECT_EQ(out[0], '#') << "untouched";
    {
        ClipboardOwner owner("by the way", Answers::Utf8);
        ASSERT_TRUE(SysGetClipboardText(out, sizeof out));
        EXPECT_STREQ(out, "by the way");
        memset(out, '#', sizeof out);
        ASSERT_TRUE(SysGetClipboardText(out, 7));
        EXPECT_STREQ(out, "by the");
        EXPECT_EQ(out[7], '#') << "nothing past the buffer";
    }
    {
        ClipboardOwner owner("plain", Answers::StringOnly);
        ASSERT_TRUE(SysGetClipboardText(out, sizeof out));
        EXPECT_STREQ(out, "plain");
    }
    {
        // An owner that never answers (the program itself, busy waiting) costs a short wait.
        ClipboardOwner owner("never", Answers::Never);
        const gint64 start = g_get_monotonic_time();
        memset(out, '#', sizeof out);
        EXPECT_FALSE(SysGetClipboardText(out, sizeof out));
        EXPECT_LT(g_get_monotonic_time() - start, 1000 * 1000);
        EXPECT_EQ(out[0], '#');
    }
}

}  // namespace
