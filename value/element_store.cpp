// Large matrices get whole pages of their own, asked for as huge pages, and a
// few freed ones are kept for the next matrix of the same size. A script that
// computes with 1000 x 1000 matrices makes a new 16 MB result in every
// operation; with small pages each of them costs four thousand page faults,
// which take longer than the arithmetic. Small matrices use the ordinary heap.
#include "value/element_store.h"

#include <sys/mman.h>

#include <cstdint>
#include <cstring>
#include <mutex>
#include <new>

#include "platform/sanitizer.h"
namespace {

// The sanitizer checks only heap blocks: keep every matrix on the heap there.
constexpr bool kUsePages = !kAddressSanitizer;

constexpr std::size_t kHugePage = std::size_t(2) << 20;
// Below this a block is left to the heap: rounding it up to huge pages would
// waste too large a part of it.
constexpr std::size_t kPagedFrom = std::size_t(4) << 20;
// What the cache of freed blocks may hold.
constexpr int kCachedBlocks = 4;
constexpr std::size_t kCachedBytes = std::size_t(64) << 20;

std::size_t pagedSize(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

struct CachedBlock {
    void* start = nullptr;
    std::size_t bytes = 0;
};

std::mutex g_cacheLock;
CachedBlock g_cache[kCachedBlocks];
std::size_t g_cachedBytes = 0;

void* takeCached(std::size_t bytes) {
    std::lock_guard<std::mutex> guard(g_cacheLock);
    for (CachedBlock& b : g_cache) {
        if (b.start && b.bytes == bytes) {
            void* start = b.start;
            b = CachedBlock {};
            g_cachedBytes -= bytes;
            return start;
        }
    }
    return nullptr;
}

bool putCached(void* start, std::size_t bytes) {
    std::lock_guard<std::mutex> guard(g_cacheLock);
    if (g_cachedBytes + bytes > kCachedBytes) return false;
    for (CachedBlock& b : g_cache) {
        if (!b.start) {
            b = CachedBlock {start, bytes};
            g_cachedBytes += bytes;
            return true;
        }
    }
    return false;
}

// Fresh pages, aligned to a huge page so that the system can back them with
// huge pages; they come zeroed.
void* mapPages(std::size_t bytes) {
    const std::size_t span = bytes + kHugePage;
    void* mapped = mmap(nullptr, span, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    const auto base = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (base + kHugePage - 1) / kHugePage * kHugePage;
    if (aligned > base) munmap(mapped, aligned - base);
    const std::uintptr_t end = aligned + bytes;
    if (base + span > end) munmap(reinterpret_cast<void*>(end), base + span - end);
    void* start = reinterpret_cast<void*>(aligned);
    madvise(start, bytes, MADV_HUGEPAGE);  // a hint: without huge pages the block still works
    return start;
}

}  // namespace

Complex* allocateElements(std::size_t count, bool zero) {
    const std::size_t bytes = count * sizeof(Complex);
    if (!kUsePages || bytes < kPagedFrom) return zero ? new (std::nothrow) Complex[count]() : new (std::nothrow) Complex[count];
    const std::size_t paged = pagedSize(bytes);
    if (void* reused = takeCached(paged)) {
        if (zero) std::memset(reused, 0, bytes);
        return static_cast<Complex*>(reused);
    }
    return static_cast<Complex*>(mapPages(paged));
}

void releaseElements(Complex* data, std::size_t count) {
    if (!data) return;
    const std::size_t bytes = count * sizeof(Complex);
    if (!kUsePages || bytes < kPagedFrom) {
        delete[] data;
        return;
    }
    const std::size_t paged = pagedSize(bytes);
    if (!putCached(data, paged)) munmap(data, paged);
}
