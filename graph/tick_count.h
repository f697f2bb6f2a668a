#pragma once
// Milliseconds since an arbitrary start, wrapping at 2^32 (the system tick count).
#include <cstdint>

uint32_t TickCount();
