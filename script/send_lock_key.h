// One key press and release sent straight to the system, bypassing the event list: the
// lock keys and the Windows keys, which a journal playback cannot toggle, and the keys
// that the keyboard service types.
#pragma once

// Returns the number of keyboard events sent: 2, or 4 when Shift was wrapped around the
// key.
int SendLockKey(int keyCode, int shift);
