// The clipboard given up as the program ends, watched by another program that asked for
// the text just before: it must get an answer, the text or a refusal, never silence.
#include <gtest/gtest.h>  // first: Xlib's None and Bool macros break its headers

#include <X11/Xlib.h>
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/clipboard.h"

namespace {

// Another program's connection, with a request for the clipboard's text on its way to
// the owner before the owner's loop has seen it.
class Asker {
public:
    Asker() : display_(XOpenDisplay(nullptr)) {
        window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 1, 1, 0, 0, 0);
    }
    ~Asker() { XCloseDisplay(display_); }

    void Ask() {
        XConvertSelection(display_, Intern("CLIPBOARD"), Intern("UTF8_STRING"), Intern("KELMOR_TEST"), window_, CurrentTime);
        XSync(display_, False);
    }

    // The text the owner answered with; "(refused)" or "(no answer)" otherwise.
    std::string Answer() {
        for (int tries = 0; tries < 200; ++tries) {
            XEvent event;
            if (XCheckTypedWindowEvent(display_, window_, SelectionNotify, &event)) {
                if (event.xselection.property == 0) return "(refused)";
                Atom type;
                int format;
                unsigned long items, after;
                unsigned char* data = nullptr;
                XGetWindowProperty(display_, window_, event.xselection.property, 0, 1024, True, AnyPropertyType, &type,
                                   &format, &items, &after, &data);
                std::string text(data != nullptr ? reinterpret_cast<char*>(data) : "", items);
                XFree(data);
                return text;
            }
            g_usleep(10 * 1000);
            XSync(display_, False);
        }
        return "(no answer)";
    }

private:
    ::Atom Intern(const char* name) { return XInternAtom(display_, name, False); }

    Display* display_;
    Window window_;
};

TEST(GtkClipboardTest, RequestsQueuedAsTheProgramLetsGoAreAnswered) {
    ASSERT_TRUE(gtk_init_check(nullptr, nullptr)) << "the tests run under their own Xvfb";
    Asker asker;
    // Asked while the text is still here: the asker gets it.
    ASSERT_TRUE(GtkSetClipboardText("GOTO Probe\r\nCLICK 3, 4\r\n"));
    asker.Ask();
    GtkLetGoOfClipboard();
    EXPECT_EQ(asker.Answer(), "GOTO Probe\r\nCLICK 3, 4\r\n");

    // Asked of a program that had already given the clipboard up when it read the request.
    ASSERT_TRUE(GtkSetClipboardText("later"));
    asker.Ask();
    gtk_clipboard_clear(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD));
    GtkLetGoOfClipboard();
    EXPECT_EQ(asker.Answer(), "(refused)");
}

}  // namespace
