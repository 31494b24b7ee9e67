// Bounds the nesting of evaluation (deep recursion, deeply nested
// expressions) so that it ends in a run-time error instead of a stack overflow.
#pragma once

#include <cstddef>

#include "exec/interrupt.h"
#include "platform/interrupt.h"

// Evaluation levels allowed at most, whatever the stack: a plain recursive
// function takes 3 to 5 levels per call (a call counts kCallLevels of its
// own). A call takes well under a kilobyte of stack in an optimised build, so
// 100,000 levels (20,000 to 33,000 calls) fit easily in the 512 MiB
// interpreter stack. Under the address sanitizer a call takes about 3 KiB,
// and the sanitizer cannot clean up after an exception that unwinds more than
// 64 MiB of stack (it then reports false errors), so its builds stop at
// 60,000 levels. Smaller stacks than the interpreter's are protected by the
// stack check.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kMaxEvalDepth = 60000;
#else
constexpr int kMaxEvalDepth = 100000;
#endif
constexpr int kCallLevels = 2;

class DepthGuard {
public:
    __attribute__((always_inline)) explicit DepthGuard(int line) {
        // The stack is looked at every few levels: a level takes a few
        // hundred bytes, far less than the room kept below the limit.
        if (++depth_ > kMaxEvalDepth || ((depth_ & 7) == 0 && stackNearlyFull())) tooDeep(line);
        if (--untilPoll_ == 0 && interruptSeen()) interrupted(line);
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

    static int depth() { return depth_; }

    // A user function's call: its frame and body count kCallLevels levels,
    // and the stack is always looked at.
    class Call {
    public:
        explicit Call(int line) {
            depth_ += kCallLevels;
            if (depth_ > kMaxEvalDepth || stackNearlyFull()) {
                depth_ -= kCallLevels;
                tooDeepAt(line);
            }
        }
        ~Call() { depth_ -= kCallLevels; }
        Call(const Call&) = delete;
        Call& operator=(const Call&) = delete;
    };

    // A call of a user function, its site's own level included: taken at
    // once before the arguments, with the stack looked at and the
    // interruption request polled as the plain guard does.
    class UserCall {
    public:
        __attribute__((always_inline)) explicit UserCall(int line) {
            depth_ += kCallLevels + 1;
            if (depth_ > kMaxEvalDepth || stackNearlyFull()) {
                depth_ -= kCallLevels + 1;
                tooDeepAt(line);
            }
            if (--untilPoll_ == 0 && interruptSeen()) {
                depth_ -= kCallLevels + 1;
                raiseInterrupted(line);
            }
        }
        ~UserCall() { depth_ -= kCallLevels + 1; }
        UserCall(const UserCall&) = delete;
        UserCall& operator=(const UserCall&) = delete;
    };

    // Looks at the interruption request every so many steps: a step is far
    // cheaper than the look, and a few hundred steps take microseconds.
    __attribute__((always_inline)) static void pollInterrupt(int line) {
        if (--untilPoll_ == 0 && interruptSeen()) raiseInterrupted(line);
    }
    // The next step looks at once: after a built-in returns (it may have
    // slept or waited for a key when the request came).
    static void pollSoon() { untilPoll_ = 1; }

private:
    static bool stackNearlyFull() {
        // Where the stack is now. (The frame address would make every
        // guarded function keep a frame pointer.)
#if defined(__x86_64__)
        const char* here;
        asm("mov %%rsp, %0" : "=r"(here));
#else
        const char* here = static_cast<const char*>(__builtin_frame_address(0));
#endif
        const char* limit = limit_;
        if (__builtin_expect(limit == nullptr, 0)) limit = computeLimit();
        return here < limit;
    }
    // The lowest frame address still considered safe on this thread, found
    // on the thread's first evaluation.
    static const char* computeLimit();
    static inline thread_local const char* limit_ = nullptr;
    [[noreturn]] static void tooDeep(int line);
    [[noreturn]] static void tooDeepAt(int line);  // with the level already left
    [[noreturn]] static void interrupted(int line);
    // Restarts the count and tells whether an interruption is requested.
    static bool interruptSeen();

    // Only the interpreter thread evaluates, so one counter serves.
    static int depth_;
    static inline int untilPoll_ = 1;
};
