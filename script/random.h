// The program's random numbers: a 32-bit linear congruential generator, seeded once at
// start-up with the tick count, so that {random} differs from run to run.
#pragma once
#include <cstdint>

void SeedRandom(uint32_t seed);
// The next draw, 0 ... 32767.
int NextRandom();
// minimum + a share of (maximum - minimum + 1) given by one draw: with minimum <= maximum
// the result lies in minimum ... maximum.
int32_t RandomInRange(int32_t minimum, int32_t maximum);
