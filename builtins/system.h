// System built-ins: shell commands, evaluating text, ending a run, and time.
#pragma once

#include <cstdint>

#include "exec/exec.h"

void bi_system(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_eval(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_exit(NContext& ctx, int line, ArgList& args, NRefPtr& result);

void bi_sleep(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_tick(NContext& ctx, int line, ArgList& args, NRefPtr& result);
void bi_beep(NContext& ctx, int line, ArgList& args, NRefPtr& result);

// The whole milliseconds that sleep(ms) waits: truncated toward zero, with
// negative values and NaN waiting not at all and huge values capped.
std::uint32_t sleepDuration(double ms);
