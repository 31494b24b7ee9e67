#include "platform/interrupt.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

// Lock-free, so setting it is safe inside a signal handler.
std::atomic<bool> g_pending{false};
static_assert(std::atomic<bool>::is_always_lock_free);

// A request also writes a byte into this pipe, so that a wait in poll()
// ends even when the signal came just before the wait began.
struct WakePipe {
    int readEnd = -1;
    int writeEnd = -1;
    WakePipe() {
        int fds[2];
        if (pipe2(fds, O_NONBLOCK | O_CLOEXEC) != 0) return;
        readEnd = fds[0];
        writeEnd = fds[1];
    }
    void drain() const {
        if (readEnd < 0) return;
        char sink[64];
        while (read(readEnd, sink, sizeof sink) > 0) {
        }
    }
};
const WakePipe g_wake;

}  // namespace

void requestInterrupt() noexcept {
    g_pending.store(true, std::memory_order_relaxed);
    if (g_wake.writeEnd >= 0) {
        const int saved = errno;  // a signal handler must leave errno alone
        const char byte = 1;
        // A full pipe already holds a wake-up: nothing is lost.
        [[maybe_unused]] ssize_t n = write(g_wake.writeEnd, &byte, 1);
        errno = saved;
    }
}

bool interruptPending() noexcept { return g_pending.load(std::memory_order_relaxed); }

void clearInterrupt() noexcept {
    g_pending.store(false, std::memory_order_relaxed);
    g_wake.drain();
}

bool waitForInput(int fd) noexcept {
    for (;;) {
        if (interruptPending()) return false;
        struct pollfd watch[2] = {{fd, POLLIN, 0}, {g_wake.readEnd, POLLIN, 0}};
        const int r = poll(watch, g_wake.readEnd >= 0 ? 2 : 1, -1);
        if (r < 0) {
            if (errno == EINTR) continue;  // the loop looks at the request again
            return true;                   // let the read report the fault
        }
        if (watch[0].revents != 0) return !interruptPending();
        // Only the wake pipe: a request, or a stale byte of a cleared one.
        if (!interruptPending()) g_wake.drain();
    }
}
