// An X client of the test's own, on a second connection: a focused window that notes
// the keys and buttons it receives while the program's main loop runs.
#pragma once
// GoogleTest first: Xlib's None and Bool macros break its headers.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <glib.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/x11/display.h"

class XClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(X11Display(), nullptr) << "the tests run under their own Xvfb";
        client_ = XOpenDisplay(nullptr);
        ASSERT_NE(client_, nullptr);
        Window window = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 600, 400, 0, 0, 0);
        XSelectInput(client_, window, KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
        XMapWindow(client_, window);
        XEvent e;
        do XNextEvent(client_, &e);
        while (e.type != MapNotify);
        XSetInputFocus(client_, window, RevertToParent, CurrentTime);
        XSync(client_, False);
    }
    void TearDown() override {
        if (client_ != nullptr) XCloseDisplay(client_);
    }

    // Runs the program's loop and reads the client's events until done() or the time is
    // up. Keys are noted as "+a" / "-a" (press, release; the symbol as the client's
    // mapping reads it on arrival), buttons as "+b3@120,90" with the root point.
    bool Pump(const std::function<bool()>& done, int timeoutMs = 5000) {
        const gint64 end = g_get_monotonic_time() + static_cast<gint64>(timeoutMs) * 1000;
        while (!done() && g_get_monotonic_time() < end) {
            bool busy = g_main_context_iteration(nullptr, FALSE);
            for (XEvent e; XPending(client_) > 0; busy = true) {
                XNextEvent(client_, &e);
                const char* sign = e.type == KeyPress || e.type == ButtonPress ? "+" : "-";
                if (e.type == MappingNotify) XRefreshKeyboardMapping(&e.xmapping);
                if (e.type == KeyPress || e.type == KeyRelease) {
                    const char* name = XKeysymToString(XLookupKeysym(&e.xkey, 0));
                    got_.push_back(sign + std::string(name != nullptr ? name : "?"));
                    times_.push_back(e.xkey.time);
                } else if (e.type == ButtonPress || e.type == ButtonRelease) {
                    got_.push_back(sign + ("b" + std::to_string(e.xbutton.button)) + "@" +
                                   std::to_string(e.xbutton.x_root) + "," + std::to_string(e.xbutton.y_root));
                    times_.push_back(e.xbutton.time);
                }
            }
            if (!busy) g_usleep(200);
        }
        return done();
    }

    Display* client_ = nullptr;
    std::vector<std::string> got_;
    std::vector<Time> times_;  // the server's stamps of got_
};
