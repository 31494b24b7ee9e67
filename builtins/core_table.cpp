// The core built-in table, registered in this order. Each family file
// declares its entries in its own header; one entry may serve several keys.
#include <vector>

#include "builtins/builtins.h"

namespace {
struct CoreRow {
    const char* key;
    BuiltinEntry entry;
};

const std::vector<CoreRow>& coreTable() {
    static const std::vector<CoreRow> table = {
        // --- scalar mathematics (sin ... im) ---
        // [math-1]
        // --- matrices (inv, det, rank, trace, diag, Im, Zm, eps) ---
        // [matrix-1]
        // --- text settings (strict, format, error) ---
        // [text-1]
        // --- system (exit, system, eval) ---
        // [system-1]
        // --- console and output (kbhit, getch, getche, print, printf, sprintf) ---
        // [text-2]
        // --- files (open, close, eof, rewind) ---
        // [files-1]
        // --- matrix sizes (cols, rows, size) ---
        // [matrix-2]
        // --- system (sleep, tick, beep) ---
        // [system-2]
        // --- matrix ordering (sortv, sorth, flipv, fliph) ---
        // [matrix-3]
        // --- scalar mathematics (legendre) ---
        // [math-2]
    };
    return table;
}
}  // namespace

void registerCoreBuiltins() {
    for (const CoreRow& row : coreTable()) registerNative(row.key, row.entry);
}
