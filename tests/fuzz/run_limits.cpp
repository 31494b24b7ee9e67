#include "run_limits.h"

#include <pthread.h>

#include <cstdio>
#include <cstdlib>

InterpreterThread::InterpreterThread(std::size_t stackBytes) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, stackBytes);
    pthread_t thread;
    if (pthread_create(&thread, &attr, loop, this) != 0) {
        std::fprintf(stderr, "fuzz: cannot start the interpreter thread\n");
        std::abort();
    }
    pthread_attr_destroy(&attr);
    pthread_detach(thread);
}

void InterpreterThread::run(const std::function<void()>& job) {
    std::unique_lock<std::mutex> lock(mutex_);
    job_ = &job;
    done_ = false;
    wake_.notify_all();
    wake_.wait(lock, [this] { return done_; });
}

void* InterpreterThread::loop(void* arg) {
    InterpreterThread* self = static_cast<InterpreterThread*>(arg);
    std::unique_lock<std::mutex> lock(self->mutex_);
    for (;;) {
        self->wake_.wait(lock, [self] { return self->job_ != nullptr; });
        const std::function<void()>* job = self->job_;
        lock.unlock();
        (*job)();
        lock.lock();
        self->job_ = nullptr;
        self->done_ = true;
        self->wake_.notify_all();
    }
    return nullptr;
}

TimeCap::TimeCap(void (*interrupt)()) : interrupt_(interrupt), thread_([this] { watch(); }) { thread_.detach(); }

void TimeCap::arm(int milliseconds) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++run_;
    armed_ = true;
    fired_ = false;
    deadline_ = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    changed_.notify_all();
}

bool TimeCap::disarm() {
    std::lock_guard<std::mutex> lock(mutex_);
    armed_ = false;
    changed_.notify_all();
    return fired_;
}

void TimeCap::watch() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return armed_; });
        const std::uint64_t run = run_;
        const auto deadline = deadline_;
        bool changed = changed_.wait_until(lock, deadline, [this, run] { return !armed_ || run_ != run; });
        // Sent with the lock held, so the run cannot end and a new one start
        // between the check and the interrupt.
        if (!changed && armed_ && run_ == run) {
            interrupt_();
            fired_ = true;
            armed_ = false;
        }
    }
}
