#include "value/dense_team.h"

#include <x86intrin.h>

#include <system_error>

namespace dense {
namespace {

// Some 20 microseconds of the time stamp counter, which runs at a few GHz:
// how long a member spins before it sleeps, since the next round of an
// elimination usually follows within that.
constexpr unsigned long long kSpinTicks = 50000;

// Waits until value differs from old and returns what it became: spinning
// while the time stamp counter is below until, sleeping after that.
template <class T>
T awaitChange(const std::atomic<T>& value, T old, unsigned long long until) {
    T now = value.load(std::memory_order_acquire);
    while (now == old) {
        if (__rdtsc() < until)
            _mm_pause();
        else
            value.wait(old, std::memory_order_acquire);
        now = value.load(std::memory_order_acquire);
    }
    return now;
}

}  // namespace

Team::Team(int size) {
    for (int member = 1; member < size; ++member) {
        try {
            workers_.emplace_back([this, member] { serve(member); });
        } catch (const std::system_error&) {
            break;  // run with the members there are
        }
    }
}

Team::~Team() {
    closing_.store(true, std::memory_order_relaxed);
    round_.fetch_add(1, std::memory_order_release);
    round_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void Team::roundErased(std::int64_t count, void* task, Call call) {
    if (workers_.empty() || count <= 1) {
        for (std::int64_t i = 0; i < count; ++i) call(task, 0, i);
        return;
    }
    task_ = task;
    call_ = call;
    finished_.store(0, std::memory_order_relaxed);
    // The tasks not yet taken: [front, back).
    ticket_.store(static_cast<std::uint64_t>(count), std::memory_order_release);
    round_.fetch_add(1, std::memory_order_release);
    round_.notify_all();
    takeTasks(0);
    // Only tasks that others took remain; wait for those.
    const unsigned long long until = __rdtsc() + kSpinTicks;
    for (std::int64_t done = finished_.load(std::memory_order_acquire); done != count;)
        done = awaitChange(finished_, done, until);
}

void Team::takeTasks(int member) {
    // The caller takes tasks from the front and the others from the back, so
    // that with two members each keeps to the same rows round after round
    // (and in its own cache) unless the other falls behind.
    const bool front = member == 0;
    std::uint64_t ticket = ticket_.load(std::memory_order_acquire);
    for (;;) {
        const std::uint64_t first = ticket >> 32, last = ticket & 0xffffffffu;
        if (first >= last) return;
        const std::uint64_t taken = front ? ticket + (std::uint64_t{1} << 32) : ticket - 1;
        // The task, and the round's task and call read after it, belong to
        // the round whose ticket the exchange took.
        if (ticket_.compare_exchange_weak(ticket, taken, std::memory_order_acq_rel, std::memory_order_acquire)) {
            call_(task_, member, static_cast<std::int64_t>(front ? first : last - 1));
            finished_.fetch_add(1, std::memory_order_release);
            finished_.notify_one();
            ticket = ticket_.load(std::memory_order_acquire);
        }
    }
}

void Team::serve(int member) {
    std::uint32_t seen = 0;
    for (;;) {
        seen = awaitChange(round_, seen, __rdtsc() + kSpinTicks);
        if (closing_.load(std::memory_order_relaxed)) return;
        takeTasks(member);
    }
}

}  // namespace dense
