// Shape queries and flips.
#include "builtins/matrix.h"
#include "value/raise.h"

QUARN_BUILTIN(bi_rows) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in rows()");
    result = makeNum(static_cast<int>(a->rows));
}

QUARN_BUILTIN(bi_cols) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in cols()");
    result = makeNum(static_cast<int>(a->cols));
}

QUARN_BUILTIN(bi_size) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in size()");
    result = makeNum(static_cast<double>(a->count()));
}

QUARN_BUILTIN(bi_flipv) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in flipv()");
    NRefPtr out(new NNum(a->cols, a->rows, NNum::Uninit{}));
    NNum* m = static_cast<NNum*>(out.get());
    for (std::int32_t r = 0; r < a->rows; ++r)
        for (std::int32_t c = 0; c < a->cols; ++c) m->at(a->rows - 1 - r, c) = a->at(r, c);
    result = out;
}

QUARN_BUILTIN(bi_fliph) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in fliph()");
    NRefPtr out(new NNum(a->cols, a->rows, NNum::Uninit{}));
    NNum* m = static_cast<NNum*>(out.get());
    for (std::int32_t r = 0; r < a->rows; ++r)
        for (std::int32_t c = 0; c < a->cols; ++c) m->at(r, a->cols - 1 - c) = a->at(r, c);
    result = out;
}
