// Text built-ins: output (print, printf, sprintf), the settings format and
// strict, the script-raised error, and single console keys.
#pragma once

#include "exec/exec.h"

void bi_print(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_printf(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_sprintf(NContext& ctx, int line, ArgList& args, NRefPtr& result);

void bi_format(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_strict(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_error(NContext& ctx, int line, ArgList& args, NRefPtr& result);

void bi_kbhit(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_getch(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_getche(NContext& ctx, int line, ArgList& args, NRefPtr& result);
