#include "script/random.h"

namespace {

uint32_t gRandomState = 1;  // the generator's state before any seeding

}  // namespace

void SeedRandom(uint32_t seed) { gRandomState = seed; }

int NextRandom() {
    gRandomState = gRandomState * 214013u + 2531011u;
    return static_cast<int>((gRandomState >> 16) & 0x7FFF);
}

int32_t RandomInRange(int32_t minimum, int32_t maximum) {
    // The fraction is kept at single precision, as the numbers were always drawn; the
    // span is taken in 64 bits so that extreme settings cannot overflow it.
    const float f = static_cast<float>(NextRandom() * 3.0516646 / 100000);
    const int64_t span = static_cast<int64_t>(maximum) - minimum + 1;
    const int64_t share = static_cast<int64_t>(static_cast<double>(span) * static_cast<double>(f));
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(minimum) + share));
}
