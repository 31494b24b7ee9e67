// The graphics entries in table order, as the module hands them to the
// program.
#include "graphics/graphics_table.h"

#include "exec/exec.h"
#include "graphics/graphics_builtins.h"
#include "graphics/gwindow.h"

namespace {
#define QUARN_GRAPHICS_ENTRY(key, entry) entry,
const BuiltinEntry kEntries[] = {QUARN_GRAPHICS_TABLE(QUARN_GRAPHICS_ENTRY)};
#undef QUARN_GRAPHICS_ENTRY
}  // namespace

extern "C" const GraphicsModuleTable* quarnGraphicsModuleTable() {
    // The window object exists from the module's first use on.
    GWindow::instance();
    static const GraphicsModuleTable table = {static_cast<int>(sizeof kEntries / sizeof kEntries[0]), kEntries};
    return &table;
}
