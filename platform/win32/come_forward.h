// The message a second start posts to the running copy's main window: come forward.
// Windows hands the foreground to the program the person started last, and a window
// manager under Wine may refuse it to another process's window; the running copy takes it
// itself, allowed to by the starting one.
#pragma once

inline const char kComeForwardMessage[] = "Kelmor.ComeForward";
