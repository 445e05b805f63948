// Numbers read from text (a script's WAIT, a CLICK's coordinates) brought into the
// ranges the rest of the program keeps them in.
#pragma once
#include <cstdint>

// A 64-bit wait or coordinate saturated to 32 bits.
int32_t ClampToInt32(int64_t value);
