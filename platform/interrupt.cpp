#include "platform/interrupt.h"

#include <atomic>

namespace {
// Lock-free, so setting it is safe inside a signal handler.
std::atomic<bool> g_pending{false};
static_assert(std::atomic<bool>::is_always_lock_free);
}  // namespace

void requestInterrupt() noexcept { g_pending.store(true, std::memory_order_relaxed); }
bool interruptPending() noexcept { return g_pending.load(std::memory_order_relaxed); }
void clearInterrupt() noexcept { g_pending.store(false, std::memory_order_relaxed); }
