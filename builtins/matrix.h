// Matrix built-ins: inverse, determinant, rank, trace, constructors, shape
// queries, sorting, flipping and the comparison tolerance. Arguments are
// never changed; every result is a new value.
#pragma once

#include "exec/exec.h"

#ifndef QUARN_BUILTIN
#define QUARN_BUILTIN(name)                                                                      \
    void name([[maybe_unused]] NContext& ctx, [[maybe_unused]] int line, [[maybe_unused]] ArgList& args, \
              [[maybe_unused]] NRefPtr& result)
#endif

QUARN_BUILTIN(bi_inv);
QUARN_BUILTIN(bi_det);
QUARN_BUILTIN(bi_rank);
QUARN_BUILTIN(bi_trace);
QUARN_BUILTIN(bi_diag);  // variadic
QUARN_BUILTIN(bi_Im);
QUARN_BUILTIN(bi_Zm);  // Zm$1, Zm$2
QUARN_BUILTIN(bi_eps);
QUARN_BUILTIN(bi_rows);
QUARN_BUILTIN(bi_cols);
QUARN_BUILTIN(bi_size);
QUARN_BUILTIN(bi_sortv);  // sortv$1, sortv$2
QUARN_BUILTIN(bi_sorth);  // sorth$1, sorth$2
QUARN_BUILTIN(bi_flipv);
QUARN_BUILTIN(bi_fliph);
