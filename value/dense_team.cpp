#include "value/dense_team.h"

#include <x86intrin.h>

#include <system_error>

namespace dense {
namespace {

// Waits until value differs from seen: a spin of some 20 microseconds first
// (the time stamp counter runs at a few GHz), since the next step of an
// elimination usually follows within that, then a sleep.
template <class T>
T awaitChange(const std::atomic<T>& value, T seen) {
    const unsigned long long until = __rdtsc() + 50000;
    do {
        T now = value.load(std::memory_order_acquire);
        if (now != seen) return now;
        _mm_pause();
    } while (__rdtsc() < until);
    for (;;) {
        value.wait(seen, std::memory_order_acquire);
        T now = value.load(std::memory_order_acquire);
        if (now != seen) return now;
    }
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
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    for (std::thread& t : workers_) t.join();
}

void Team::runErased(void* job, void (*call)(void*, int)) {
    if (workers_.empty()) {
        call(job, 0);
        return;
    }
    job_ = job;
    call_ = call;
    unfinished_.store(static_cast<int>(workers_.size()), std::memory_order_relaxed);
    generation_.fetch_add(1, std::memory_order_release);
    generation_.notify_all();
    call(job, 0);
    for (int left = unfinished_.load(std::memory_order_acquire); left != 0;
         left = unfinished_.load(std::memory_order_acquire))
        awaitChange(unfinished_, left);
}

void Team::serve(int member) {
    std::uint32_t seen = 0;
    for (;;) {
        seen = awaitChange(generation_, seen);
        if (closing_.load(std::memory_order_relaxed)) return;
        call_(job_, member);
        if (unfinished_.fetch_sub(1, std::memory_order_acq_rel) == 1) unfinished_.notify_one();
    }
}

void shareRows(std::int64_t count, int members, int member, std::int64_t multiple, std::int64_t& first,
               std::int64_t& last) {
    std::int64_t blocks = (count + multiple - 1) / multiple;
    std::int64_t each = blocks / members, extra = blocks % members;
    std::int64_t firstBlock = member * each + (member < extra ? member : extra);
    std::int64_t myBlocks = each + (member < extra ? 1 : 0);
    first = firstBlock * multiple;
    last = (firstBlock + myBlocks) * multiple;
    if (first > count) first = count;
    if (last > count) last = count;
}

}  // namespace dense
