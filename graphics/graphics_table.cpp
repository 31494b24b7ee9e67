// The graphics built-in table, registered in this order.
#include <vector>

#include "exec/exec.h"
#include "graphics/graphics.h"

namespace {
struct GraphicsRow {
    const char* key;
    BuiltinEntry entry;
};

const std::vector<GraphicsRow>& graphicsTable() {
    static const std::vector<GraphicsRow> table = {
        // [graphics-1]
    };
    return table;
}
}  // namespace

void registerGraphicsBuiltins() {
    for (const GraphicsRow& row : graphicsTable()) registerNative(row.key, row.entry);
}
