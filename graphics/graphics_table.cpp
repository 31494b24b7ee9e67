// The graphics built-in table, registered in this order.
#include <vector>

#include "exec/exec.h"
#include "graphics/graphics.h"
#include "graphics/graphics_builtins.h"
#include "graphics/gwindow.h"

namespace {
struct GraphicsRow {
    const char* key;
    BuiltinEntry entry;
};

const std::vector<GraphicsRow>& graphicsTable() {
    static const std::vector<GraphicsRow> table = {
        // [graphics-1]
        {"screen$2", gbScreen},
        {"screen$3", gbScreen},
        {"screen$0", gbScreenOpen},
        {"window$4", gbWindow},
        {"zclip$2", gbZclip},
        {"cls$0", gbCls},
        {"color$1", gbColor},
        {"color$3", gbColor},
        {"bgcolor$1", gbBgcolor},
        {"bgcolor$3", gbBgcolor},
        {"line", gbLine},
        {"point", gbPoint},
        {"arrow$3", gbArrow},
        {"label$2", gbLabel},
        {"grid$1", gbGrid},
        {"grid$2", gbGrid},
        {"update$0", gbUpdate},
        {"update$1", gbUpdate},
        {"transform$0", gbTransform},
        {"transform$1", gbTransform},
        {"poly", gbPoly},
        {"pline", gbPline},
    };
    return table;
}
}  // namespace

void registerGraphicsBuiltins() {
    // The window object exists from start-up on, before any script runs.
    GWindow::instance();
    for (const GraphicsRow& row : graphicsTable()) registerNative(row.key, row.entry);
}
