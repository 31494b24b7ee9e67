// The graphics built-ins by key, in the order they are registered. The list
// is shared by the graphics module, which supplies the entries, and by the
// program, which registers a stand-in for each key before the module is
// loaded: X(key, entry) once per row.
#pragma once

#include "exec/exec.h"

#define QUARN_GRAPHICS_TABLE(X)   \
    X("screen$2", gbScreen)       \
    X("screen$3", gbScreen)       \
    X("screen$0", gbScreenOpen)   \
    X("window$4", gbWindow)       \
    X("zclip$2", gbZclip)         \
    X("cls$0", gbCls)             \
    X("color$1", gbColor)         \
    X("color$3", gbColor)         \
    X("bgcolor$1", gbBgcolor)     \
    X("bgcolor$3", gbBgcolor)     \
    X("line", gbLine)             \
    X("point", gbPoint)           \
    X("arrow$3", gbArrow)         \
    X("label$2", gbLabel)         \
    X("grid$1", gbGrid)           \
    X("grid$2", gbGrid)           \
    X("update$0", gbUpdate)       \
    X("update$1", gbUpdate)       \
    X("transform$0", gbTransform) \
    X("transform$1", gbTransform) \
    X("poly", gbPoly)             \
    X("pline", gbPline)

// The one symbol the graphics module exports for the program to look up: it
// prepares the window machinery and returns the entries in table order.
struct GraphicsModuleTable {
    int count;
    const BuiltinEntry* entries;
};
extern "C" const GraphicsModuleTable* quarnGraphicsModuleTable();
