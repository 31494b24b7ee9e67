#include "exec/depth_guard.h"

#include <pthread.h>

#include "exec/interrupt.h"
#include "value/raise.h"

int DepthGuard::depth_ = 0;

namespace {
// Room kept free below the limit for raising and unwinding the error.
constexpr std::size_t kReserve = 512 * 1024;
constexpr int kPollEvery = 256;

const char* stackLimitOfThisThread() {
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0) return nullptr;
    void* addr = nullptr;
    std::size_t size = 0;
    int rc = pthread_attr_getstack(&attr, &addr, &size);
    pthread_attr_destroy(&attr);
    if (rc != 0 || !addr || size == 0) return nullptr;
    std::size_t reserve = kReserve < size / 4 ? kReserve : size / 4;
    return static_cast<const char*>(addr) + reserve;
}
}  // namespace

const char* DepthGuard::computeLimit() {
    const char* limit = stackLimitOfThisThread();
    // Without a known stack the depth limit alone applies.
    limit_ = limit ? limit : reinterpret_cast<const char*>(1);
    return limit_;
}

void DepthGuard::tooDeep(int line) {
    --depth_;
    tooDeepAt(line);
}

void DepthGuard::tooDeepAt(int line) { raiseError(line, "Recursion too deep"); }

bool DepthGuard::interruptSeen() {
    untilPoll_ = kPollEvery;
    return interruptPending();
}

void DepthGuard::interrupted(int line) {
    --depth_;  // this guard's level is not entered
    raiseInterrupted(line);
}
