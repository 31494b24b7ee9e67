#include "platform/clock.h"

#include <chrono>
#include <thread>

std::uint32_t millisecondTick() {
    // steady_clock is CLOCK_MONOTONIC on Linux: it never jumps when the wall
    // clock is set, so differences between two ticks are real elapsed time.
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void sleepMilliseconds(std::uint32_t ms) {
    if (ms == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
