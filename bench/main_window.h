// Telling a program's main window from its other top-levels, for the benchmarks that time
// a window coming up.
#pragma once
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace bench {

// Whether `window` is the program's main window: a managed top-level (not a menu or a
// tooltip) of the given class, so that a message box before the window does not count.
inline bool IsMainWindow(Display* d, Window window, bool overrideRedirect, const std::string& windowClass) {
    if (overrideRedirect) return false;
    XClassHint hint{};
    if (!XGetClassHint(d, window, &hint)) return false;
    bool same = hint.res_class != nullptr && windowClass == hint.res_class;
    if (hint.res_name != nullptr) XFree(hint.res_name);
    if (hint.res_class != nullptr) XFree(hint.res_class);
    return same;
}

}  // namespace bench
