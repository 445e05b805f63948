// A connection of the test's own, as another program's, and on it a focused window that
// notes the keys and buttons it receives while the program's main loop runs.
#pragma once
#include <gtest/gtest.h>  // first: Xlib's None and Bool macros break its headers

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <glib.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/x11/display.h"
#include "tests/platform/x11/x_layout.h"
#include "text/utf8.h"

using Keys = std::vector<std::string>;

// How many key events XClientTest::Type makes of its keys.
inline size_t KeyEventsIn(const std::string& keys) {
    std::istringstream steps(keys);
    size_t events = 0;
    for (std::string step; steps >> step;) {
        events += step[0] == '>' || step[0] == '<' ? 1 : 2 * (1 + std::count(step.begin(), step.end(), '+'));
    }
    return events;
}

class XConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(X11Display(), nullptr) << "the tests run under their own Xvfb";
        client_ = XOpenDisplay(nullptr);
        ASSERT_NE(client_, nullptr);
    }
    void TearDown() override {
        if (client_ != nullptr) XCloseDisplay(client_);
    }
    // Whether the server holds the key down, once what the program sent is through.
    bool Down(KeySym symbol) {
        XSync(X11Display(), False);
        char keys[32];
        XQueryKeymap(client_, keys);
        const KeyCode code = XKeysymToKeycode(client_, symbol);
        return (keys[code / 8] & (1 << (code % 8))) != 0;
    }
    // The pointer's place on the screen, once what the program sent is through.
    std::pair<int, int> Pointer() {
        XSync(X11Display(), False);
        Window root, child;
        int x = -1, y = -1, winX, winY;
        unsigned mask = 0;
        XQueryPointer(client_, DefaultRootWindow(client_), &root, &child, &x, &y, &winX, &winY, &mask);
        return {x, y};
    }
    Display* client_ = nullptr;
};

class XClientTest : public XConnectionTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(XConnectionTest::SetUp());
        window_ = XCreateSimpleWindow(client_, DefaultRootWindow(client_), 0, 0, 600, 400, 0, 0, 0);
        XSelectInput(client_, window_, KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask);
        XMapWindow(client_, window_);
        XEvent e;
        do XNextEvent(client_, &e);
        while (e.type != MapNotify);
        XSetInputFocus(client_, window_, RevertToParent, CurrentTime);
        XSync(client_, False);
    }

    // Runs the program's loop and reads the window's events until done() or the time is
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
                    if (e.type == KeyPress) NoteText(&e.xkey);
                } else if (e.type == ButtonPress || e.type == ButtonRelease) {
                    got_.push_back(sign + ("b" + std::to_string(e.xbutton.button)) + "@" +
                                   std::to_string(e.xbutton.x_root) + "," + std::to_string(e.xbutton.y_root));
                } else {
                    continue;
                }
                times_.push_back(e.xkey.time);  // where key and button events keep it alike
            }
            if (!busy) g_usleep(200);
        }
        return done();
    }

    // Real key input, as the user's keyboard would make it.
    void Key(KeySym symbol, bool press) {
        XTestFakeKeyEvent(client_, XKeysymToKeycode(client_, symbol), press, CurrentTime);
    }
    // Keys as a person types them, by the keysyms the active layout puts on them: "a"
    // taps a key, "Shift_L+a" holds the first ones down for the last, ">Shift_L" and
    // "<Shift_L" only press or release.
    void Type(const std::string& keys) {
        std::istringstream steps(keys);
        for (std::string step; steps >> step;) {
            if (step[0] == '>' || step[0] == '<') {
                Key(XStringToKeysym(step.c_str() + 1), step[0] == '>');
                continue;
            }
            std::vector<KeySym> chord;
            std::istringstream parts(step);
            for (std::string part; std::getline(parts, part, '+');) {
                chord.push_back(XStringToKeysym(part.c_str()));
                EXPECT_NE(XKeysymToKeycode(client_, chord.back()), 0) << part << " in " << step;
            }
            for (KeySym s : chord) Key(s, true);
            for (auto s = chord.rbegin(); s != chord.rend(); ++s) Key(*s, false);
        }
        XSync(client_, False);
    }

    // Makes the server's keyboard layout the named one, as the person's desktop does, and
    // waits until the program has read the change. Xvfb keeps it while any client is
    // connected; the test gives the US layout back.
    void UseLayout(const std::string& layout) {
        if (layout == layout_) return;
        layout_ = layout;
        ASSERT_TRUE(SetLayout(client_, layout)) << layout;
        Pump([] { return g_main_context_pending(nullptr) == FALSE; });
    }
    void TearDown() override {
        if (client_ != nullptr && layout_ != "us") {
            EXPECT_TRUE(SetLayout(client_, "us"));
        }
        XConnectionTest::TearDown();
    }
    // Pressed in order, released in reverse.
    void Chord(std::initializer_list<KeySym> symbols) {
        for (KeySym s : symbols) Key(s, true);
        for (auto s = symbols.end(); s != symbols.begin();) Key(*--s, false);
    }

    // The text a key press makes for a program that reads it as programs do (the symbol
    // XLookupString gives with the event's modifiers): its character, or the symbol's name
    // in brackets for a dead key; modifiers make none.
    void NoteText(XKeyEvent* event) {
        char bytes[16];
        KeySym keysym = NoSymbol;
        XLookupString(event, bytes, sizeof bytes, &keysym, nullptr);
        if (IsModifierKey(keysym) || keysym == NoSymbol) return;
        char utf8[4];
        const int length = EncodeUtf8(xkb_keysym_to_utf32(static_cast<xkb_keysym_t>(keysym)), utf8);
        const char* name = XKeysymToString(keysym);
        text_ += length > 0 && utf8[0] != '\0' ? std::string(utf8, length) : "<" + std::string(name ? name : "?") + ">";
    }

    Window window_ = None;
    std::string layout_ = "us";  // the server's, as the tests leave it
    std::string text_;  // what the window's key presses typed
    std::vector<std::string> got_;
    std::vector<Time> times_;  // the server's stamps of got_
};
