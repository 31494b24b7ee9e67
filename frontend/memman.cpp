#include "frontend/memman.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

struct alignas(16) BlockHeader {
    std::uint64_t generation;  // 0: never recorded
    std::uint64_t index;
};

BlockHeader* headerOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

}  // namespace

void outOfMemory() {
    std::printf("Not enough memory.\n");
    std::fflush(stdout);
    std::exit(1);
}

MemMan::~MemMan() { reportLeaks(); }

void* MemMan::allocate(std::size_t size) {
    void* raw = size <= SIZE_MAX - sizeof(BlockHeader) ? std::malloc(sizeof(BlockHeader) + size) : nullptr;
    if (raw == nullptr) outOfMemory();
    auto* header = static_cast<BlockHeader*>(raw);
    void* block = header + 1;
    if (recording_) {
        header->generation = generation_;
        header->index = this->size();
        push_back(block);
        ++live_;
    } else {
        header->generation = 0;
        header->index = 0;
    }
    return block;
}

void MemMan::release(void* block) {
    if (block == nullptr) return;
    BlockHeader* header = headerOf(block);
    if (header->generation == generation_ && header->index < size() && (*this)[header->index] == block) {
        (*this)[header->index] = nullptr;
        if (--live_ == 0) clear();
    }
    std::free(header);
}

void MemMan::forgetAll() {
    clear();
    live_ = 0;
    ++generation_;
}

void MemMan::releaseAll() {
    for (void* block : *this)
        if (block != nullptr) std::free(headerOf(block));
    forgetAll();
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
