#include "platform/clock.h"

#include "platform/interrupt.h"

#include <algorithm>
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
    // Slept in short slices so that an interrupt request ends a long sleep.
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= end || interruptPending()) return;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(end - now, std::chrono::milliseconds(20)));
    }
}
