// Bounds the nesting of evaluation (deep recursion, deeply nested
// expressions) so that it ends in a run-time error instead of a stack overflow.
#pragma once

#include <cstddef>

// Evaluation levels allowed at most, whatever the stack.
constexpr int kMaxEvalDepth = 1000000;

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
