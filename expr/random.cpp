#include "expr/random.h"

#include <cstdint>

namespace {

// A linear congruential generator of 32 bits; a draw is bits 16 to 30.
uint32_t randomState = 1;

} // namespace

void SeedRandom(unsigned seed) {
    randomState = seed;
}

unsigned CurrentRandomState() {
    return randomState;
}

int DrawRandom() {
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFF);
}
