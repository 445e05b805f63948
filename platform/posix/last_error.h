// The last error of the calling thread, kept apart from errno so that later library
// calls cannot change it before the core asks.
#pragma once
#include <cstdint>

void PosixSetLastErrorFromErrno();
