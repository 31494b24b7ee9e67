#include "frontend/memman.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

MemMan::~MemMan() { reportLeaks(); }

void* MemMan::allocate(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        std::printf("Not enough memory.\n");
        std::fflush(stdout);
        std::exit(1);
    }
    if (recording_) {
        where_.emplace(block, this->size());
        push_back(block);
    }
    return block;
}

void MemMan::release(void* block) {
    if (block == nullptr) return;
    auto it = where_.find(block);
    if (it != where_.end()) {
        (*this)[it->second] = nullptr;
        where_.erase(it);
        if (where_.empty()) clear();
    }
    std::free(block);
}

void MemMan::forgetAll() {
    where_.clear();
    clear();
}

void MemMan::releaseAll() {
    for (void* block : *this)
        if (block != nullptr) std::free(block);
    where_.clear();
    clear();
}

void MemMan::reportLeaks() {
    for (void* block : *this)
        if (block != nullptr)
            std::printf("MemMan: leak detected: %08x\n",
                        static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(block)));
    forgetAll();
}

namespace {

// Constructed before, and destroyed after, every ordinary static object, so
// that its report is the last output of the process.
struct LeakReporter {
    ~LeakReporter() {
        memMan().reportLeaks();
        std::fflush(stdout);
    }
};
__attribute__((init_priority(101))) LeakReporter leakReporter;

}  // namespace

MemMan& memMan() {
    static MemMan* instance = new MemMan;
    return *instance;
}
