// Bounds the nesting of evaluation (deep recursion, deeply nested
// expressions) so that it ends in a run-time error instead of a stack overflow.
#pragma once

#include <cstddef>

// Evaluation levels allowed at most, whatever the stack.
// About 50,000 calls of a plain recursive function; a level takes about
// 0.5 KiB of stack in an optimised build and a few times that under the
// address sanitizer, so the 512 MiB interpreter stack holds it either way.
// Smaller stacks are protected by the stack check.
constexpr int kMaxEvalDepth = 200000;

class DepthGuard {
public:
    explicit DepthGuard(int line) {
        if (++depth_ > kMaxEvalDepth || stackNearlyFull()) tooDeep(line);
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

    static thread_local int depth_;
};
