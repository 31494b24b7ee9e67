// The graphics built-in entries. They never draw: they record commands in
// the display list and change the view under the window lock, then ask the
// window thread to repaint when auto-update is on.
#pragma once

#include "exec/exec.h"

void gbScreen(NContext& ctx, int line, ArgList& args, NRefPtr& result);      // screen$2, screen$3
void gbScreenOpen(NContext& ctx, int line, ArgList& args, NRefPtr& result);  // screen$0
void gbWindow(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbZclip(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbCls(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbColor(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbBgcolor(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbLine(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbPoint(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbArrow(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbLabel(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbGrid(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbUpdate(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbTransform(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbPoly(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void gbPline(NContext& ctx, int line, ArgList& args, NRefPtr& result);
