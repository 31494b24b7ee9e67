// Bounds the nesting of evaluation (deep recursion, deeply nested
// expressions) so that it ends in a run-time error instead of a stack overflow.
#pragma once

#include <cstddef>

#include "platform/interrupt.h"

// Evaluation levels allowed at most, whatever the stack: a plain recursive
// function takes 4 to 6 levels per call. A level takes about 200 bytes of
// stack in an optimised build, so 100,000 levels (15,000 to 25,000 calls) fit
// easily in the 512 MiB interpreter stack. Under the address sanitizer a
// level takes about 600 bytes, and the sanitizer cannot clean up after an
// exception that unwinds more than 64 MiB of stack (it then reports false
// errors), so its builds stop at 60,000 levels. Smaller stacks than the
// interpreter's are protected by the stack check.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kMaxEvalDepth = 60000;
#else
constexpr int kMaxEvalDepth = 100000;
#endif

class DepthGuard {
public:
    explicit DepthGuard(int line) {
        if (++depth_ > kMaxEvalDepth || stackNearlyFull()) tooDeep(line);
        if (interruptPending()) interrupted(line);
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

    static int depth() { return depth_; }

private:
    static bool stackNearlyFull() {
        const char* here = static_cast<const char*>(__builtin_frame_address(0));
        return here < stackLimit();
    }
    // The lowest frame address still considered safe on this thread.
    static const char* stackLimit();
    [[noreturn]] static void tooDeep(int line);
    [[noreturn]] static void interrupted(int line);

    // Only the interpreter thread evaluates, so one counter serves.
    static int depth_;
};
