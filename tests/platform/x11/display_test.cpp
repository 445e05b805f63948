#include <gtest/gtest.h>

#include "platform/x11/display.h"

namespace {

int gForeignErrors = 0;
int ForeignHandler(Display*, XErrorEvent*) {
    ++gForeignErrors;
    return 0;
}

// A toolkit started later (GTK) puts its own process-wide error handler in place; the
// back end's traps must still see their own errors and leave the toolkit's handler be.
TEST(X11Display, TrapsSeeTheirErrorsWhateverHandlerAnotherLibraryInstalled) {
    Display* display = X11Display();
    ASSERT_NE(display, nullptr);
    const Window missing = 0x1FFFFFF;  // not a window of any client
    XSetErrorHandler(ForeignHandler);
    X11TrapErrors();
    XMapWindow(display, missing);
    EXPECT_EQ(X11UntrapErrors(), BadWindow);
    EXPECT_EQ(gForeignErrors, 0) << "the trapped error reached the other handler";

    XMapWindow(display, missing);
    XSync(display, False);
    EXPECT_EQ(gForeignErrors, 1) << "outside a trap the other library's handler is in charge";
    X11TrapErrors();
    EXPECT_EQ(X11UntrapErrors(), 0) << "an earlier error is not the trap's";
}

}  // namespace
