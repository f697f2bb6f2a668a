#pragma once
// Milliseconds since an arbitrary start, wrapping at 2^32 (the system tick
// count). It seeds the random generator, afresh on every plot and About frame.
#include <cstdint>

uint32_t TickCount();
