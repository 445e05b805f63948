// An X client of the test's own, on a second connection: a focused window that notes
// every key, button and motion event it receives, while the program's main loop runs.
#pragma once
// GoogleTest first: Xlib's None and Bool macros break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>

#include <functional>
#include <vector>

#include "platform/x11/display.h"

struct Received {
    int type;
    KeySym keysym;  // as the client's mapping read it on arrival
    unsigned keycode, button;
    int x, y;  // root coordinates
    Time time;
};

class XClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(X11Display(), nullptr) << "the tests run under their own Xvfb";
        client_ = XOpenDisplay(nullptr);
        ASSERT_NE(client_, nullptr);
        window_ = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 600, 400, 0, 0, 0);
        XSelectInput(client_, window_, KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                                           PointerMotionMask | StructureNotifyMask);
        XMapWindow(client_, window_);
        for (XEvent e;;) {
            XNextEvent(client_, &e);
            if (e.type == MapNotify) break;
        }
        XSetInputFocus(client_, window_, RevertToParent, CurrentTime);
        XSync(client_, False);
    }
    void TearDown() override {
        if (client_ != nullptr) XCloseDisplay(client_);
    }

    // Runs the program's loop and reads the client's events until done() or the time is up.
    bool Pump(const std::function<bool()>& done, int timeoutMs = 5000) {
        const gint64 end = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
        while (!done()) {
            if (g_get_monotonic_time() > end) return false;
            bool busy = g_main_context_iteration(nullptr, FALSE);
            while (XPending(client_) > 0) {
                busy = true;
                XEvent e;
                XNextEvent(client_, &e);
                if (e.type == MappingNotify) XRefreshKeyboardMapping(&e.xmapping);
                if (e.type == KeyPress || e.type == KeyRelease) {
                    received_.push_back({e.type, XLookupKeysym(&e.xkey, 0), e.xkey.keycode, 0, e.xkey.x_root,
                                         e.xkey.y_root, e.xkey.time});
                } else if (e.type == ButtonPress || e.type == ButtonRelease) {
                    received_.push_back(
                        {e.type, NoSymbol, 0, e.xbutton.button, e.xbutton.x_root, e.xbutton.y_root, e.xbutton.time});
                } else if (e.type == MotionNotify) {
                    received_.push_back({e.type, NoSymbol, 0, 0, e.xmotion.x_root, e.xmotion.y_root, e.xmotion.time});
                }
            }
            if (!busy) g_usleep(200);
        }
        return true;
    }

    // The received events other than pointer motion.
    std::vector<Received> KeysAndButtons() const {
        std::vector<Received> out;
        for (const Received& r : received_) {
            if (r.type != MotionNotify) out.push_back(r);
        }
        return out;
    }

    Display* client_ = nullptr;
    Window window_ = 0;
    std::vector<Received> received_;
};
