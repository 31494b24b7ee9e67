// Allocations past a cap fail the way they fail on a machine that is out of
// memory: the throwing forms of new throw std::bad_alloc and the nothrow
// forms return null. The sanitizer's own allocator reports a failed throwing
// new as a fatal error instead of throwing, which would hide whether the
// interpreter turns the failure into a run-time error; these replacements
// keep that path under test while every block still comes from the
// sanitizer's malloc (so overflows and leaks are still caught).
#include <cstdlib>
#include <new>

namespace {
// The largest single allocation a fuzz input may make.
constexpr std::size_t kAllocationCapBytes = std::size_t{64} << 20;

void* capped(std::size_t size) noexcept {
    if (size > kAllocationCapBytes) return nullptr;
    return std::malloc(size ? size : 1);
}
void* cappedOrThrow(std::size_t size) {
    void* block = capped(size);
    if (!block) throw std::bad_alloc();
    return block;
}
}  // namespace

void* operator new(std::size_t size) { return cappedOrThrow(size); }
void* operator new[](std::size_t size) { return cappedOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return capped(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return capped(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
