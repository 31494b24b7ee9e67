// The front door of the file subsystem: the ten file slots, the readers used
// by the input statements, and the file built-ins (open, close, eof, rewind)
// of the core table.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "exec/exec.h"

constexpr int kFileSlotCount = 10;

// One file slot. Rows read ahead by the block reader wait in pendingRows.
class NFile {
public:
    std::vector<std::vector<Complex>> pendingRows;
    int lineCount = 0;
    std::FILE* stream = nullptr;

    NFile() = default;
    NFile(const NFile&) = delete;
    NFile& operator=(const NFile&) = delete;
    virtual ~NFile();

    // Closes any open file first. Returns true when the file was opened.
    bool open(const std::string& name, const std::string& mode);
    // The close result (0 on success), or -1 when no file was open.
    int close();
    // True when a file is open and could be sought to its start.
    bool rewind();
    bool isOpen() const { return stream != nullptr; }
};

// The slot with that number, or null outside 0..9.
NFile* fileSlot(int fileNo);
// The open stream of a slot, or null when the slot is invalid or closed.
std::FILE* openFileStream(int fileNo);
// Closes every slot (at program end; also useful between tests).
void closeAllFiles();

// Readers. Both give null when the slot has no file or the file is at its end.
// A line longer than 64 MiB raises a run-time error at `line`.
// read-row: the next data line as a 1-row matrix.
NRefPtr readRow(NFile& file, int line = 0);
// read-block: the next run of data lines with equal element counts.
NRefPtr readBlock(NFile& file, int line = 0);

// Points the executor's input statements at the readers above.
void installFileInputHooks();

// The file built-ins.
void bi_open(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_close(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_eof(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_rewind(NContext& ctx, int line, ArgList& args, NRefPtr& result);
