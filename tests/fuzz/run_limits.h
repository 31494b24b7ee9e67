// What keeps one fuzz input's run bounded: the thread it runs on, with the
// interpreter's large stack, and a time cap that interrupts a run that goes
// on too long.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// The sanitizer cannot clean up after an exception that unwinds more than
// 64 MiB of stack (it then warns of false reports to come), and instrumented
// evaluation levels are large, so the stack is kept below that: the
// interpreter's stack check then ends deep recursion before its level count.
constexpr std::size_t kInterpreterStack = std::size_t{48} << 20;
constexpr int kTimeCapMs = 2000;

// One long-lived thread with a large stack; run() hands it a job and waits
// for it, so deep recursion meets the interpreter's own depth limit as it
// does in the real program instead of the small stack of the fuzzer's thread.
class InterpreterThread {
public:
    explicit InterpreterThread(std::size_t stackBytes);
    InterpreterThread(const InterpreterThread&) = delete;
    InterpreterThread& operator=(const InterpreterThread&) = delete;
    // The thread lives as long as the process: the fuzzer never returns.
    void run(const std::function<void()>& job);

private:
    static void* loop(void* self);
    std::mutex mutex_;
    std::condition_variable wake_;
    const std::function<void()>* job_ = nullptr;
    bool done_ = false;
};

// A watchdog thread that calls `interrupt` once a run has been armed for
// longer than its cap. Arming and disarming are cheap: the thread waits on a
// condition variable, so a run that ends early never sees the interrupt.
class TimeCap {
public:
    explicit TimeCap(void (*interrupt)());
    TimeCap(const TimeCap&) = delete;
    TimeCap& operator=(const TimeCap&) = delete;
    void arm(int milliseconds);
    // True when the interrupt was sent during the run just ended.
    bool disarm();

private:
    void watch();
    void (*interrupt_)();
    std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t run_ = 0;  // bumped by every arm, so a stale wait never fires
    bool armed_ = false;
    bool fired_ = false;
    std::chrono::steady_clock::time_point deadline_;
    std::thread thread_;
};
