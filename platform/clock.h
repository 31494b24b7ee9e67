// Millisecond clock and sleeping for the system built-ins.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary fixed point (boot on Linux), as an unsigned
// 32-bit count: it wraps after about 49.7 days, like the classic tick counter.
std::uint32_t millisecondTick();

// Suspends the calling thread for ms milliseconds (0 returns at once).
void sleepMilliseconds(std::uint32_t ms);
