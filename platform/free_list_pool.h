// Storage for objects of one class that are made and freed at a high rate
// (numbers, symbols): freed blocks are kept on a free list, up to Limit of
// them, and handed out again. Under AddressSanitizer the list is bypassed so
// that the sanitizer sees every allocation and every stale use.
#pragma once

#include <cstddef>
#include <new>

#include "platform/sanitizer.h"

template <class T, std::size_t Limit>
class FreeListPool {
public:
    static void* allocate(std::size_t size) {
        if (kUsePool && size == sizeof(T) && freeList_) {
            FreeBlock* b = freeList_;
            freeList_ = b->next;
            --freeCount_;
            return b;
        }
        return ::operator new(size);
    }
    static void release(void* p, std::size_t size) {
        if (!p) return;
        if (kUsePool && size == sizeof(T) && freeCount_ < Limit) {
            FreeBlock* b = static_cast<FreeBlock*>(p);
            b->next = freeList_;
            freeList_ = b;
            ++freeCount_;
            return;
        }
        ::operator delete(p);
    }

private:
    static constexpr bool kUsePool = !kAddressSanitizer;
    struct FreeBlock {
        FreeBlock* next;
    };
    static inline FreeBlock* freeList_ = nullptr;
    static inline std::size_t freeCount_ = 0;
};
