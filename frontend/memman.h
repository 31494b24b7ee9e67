// The memory record of the parse in progress. Every block the front end
// allocates while a parse runs (nodes, names, string bytes, payload blocks)
// is recorded here, so that a failed parse can release all of it at once
// without knowing which half-built trees still hang from the parser's stacks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class MemMan : public std::vector<void*> {
public:
    MemMan() = default;
    MemMan(const MemMan&) = delete;
    MemMan& operator=(const MemMan&) = delete;
    // Prints the leak report for every block still recorded.
    virtual ~MemMan();

    // Blocks are recorded only while recording is on (a parse is running);
    // nodes made outside a parse belong to their maker from the start.
    void setRecording(bool on) { recording_ = on; }
    bool recording() const { return recording_; }

    // Uninitialised block; ends the process with "Not enough memory." when
    // the system has none left.
    void* allocate(std::size_t size);
    // Drops the block's record if it has one, then frees it.
    void release(void* block);
    // Keeps every recorded block alive and empties the record.
    void forgetAll();
    // Frees every recorded block and empties the record.
    void releaseAll();
    // Number of blocks recorded now.
    std::size_t recordedCount() const { return live_; }
    // One "MemMan: leak detected" line per recorded block, then forgets them.
    void reportLeaks();

private:
    // Released entries leave a null behind so that the order of the others
    // is kept. Each block has a small hidden header that names its place in
    // the sequence and the record generation it was made in, so finding a
    // block's record takes constant time; forgetting or releasing the whole
    // record starts a new generation.
    std::size_t live_ = 0;
    std::uint64_t generation_ = 1;
    bool recording_ = false;
};

// Prints "Not enough memory." and ends the process with status 1.
[[noreturn]] void outOfMemory();

// The process-wide instance. It is never destroyed, so blocks may still be
// released through it by objects torn down late at exit; its leak report
// runs at exit after everything else.
MemMan& memMan();
