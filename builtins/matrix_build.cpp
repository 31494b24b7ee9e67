// Constructors (diag, Im, Zm) and the comparison tolerance eps.
#include <cstdint>

#include "builtins/matrix.h"
#include "value/convert.h"
#include "value/raise.h"
#include "value/settings.h"

namespace {

void copyBlock(const NNum& from, NNum& to, std::int32_t row0, std::int32_t col0) {
    for (std::int32_t r = 0; r < from.rows; ++r)
        for (std::int32_t c = 0; c < from.cols; ++c) to.at(row0 + r, col0 + c) = from.at(r, c);
}

}  // namespace

QUARN_BUILTIN(bi_diag) {
    if (args.empty()) raiseError(line, "Too few argument in diag()");
    if (args.size() == 1) {
        NNum* v = asNum(args[0]);
        if (!v || (v->rows != 1 && v->cols != 1)) raiseError(line, "Bad argument in diag()");
        std::int32_t n = static_cast<std::int32_t>(v->count());
        NRefPtr out(new NNum(n, n));
        NNum* m = static_cast<NNum*>(out.get());
        for (std::int32_t i = 0; i < n; ++i) m->at(i, i) = v->data[i];
        result = out;
        return;
    }
    std::int64_t rows = 0, cols = 0;
    for (const NRefPtr& a : args) {
        NNum* m = asNum(a);
        if (!m) raiseError(line, "Bad argument in diag()");
        rows += m->rows;
        cols += m->cols;
    }
    if (rows == 0 || cols == 0) raiseError(line, "Bad argument in diag()");
    if (rows > INT32_MAX || cols > INT32_MAX) raiseError(line, "Bad argument in diag()");
    NRefPtr out(new NNum(static_cast<std::int32_t>(cols), static_cast<std::int32_t>(rows)));
    NNum* m = static_cast<NNum*>(out.get());
    std::int32_t r0 = 0, c0 = 0;
    for (const NRefPtr& a : args) {
        NNum* block = asNum(a);
        copyBlock(*block, *m, r0, c0);
        r0 += block->rows;
        c0 += block->cols;
    }
    result = out;
}

QUARN_BUILTIN(bi_Im) {
    std::int32_t n = toInteger(line, args[0]);
    if (n < 1) raiseError(line, "Bad argument in Im()");
    NRefPtr out(new NNum(n, n));
    NNum* m = static_cast<NNum*>(out.get());
    for (std::int32_t i = 0; i < n; ++i) m->at(i, i) = {1.0, 0.0};
    result = out;
}

QUARN_BUILTIN(bi_Zm) {
    std::int32_t rows = toInteger(line, args[0]);
    std::int32_t cols = args.size() >= 2 ? toInteger(line, args[1]) : rows;
    if (rows < 1 || cols < 1) raiseError(line, "Bad argument in Zm()");
    result = NRefPtr(new NNum(cols, rows));
}

QUARN_BUILTIN(bi_eps) {
    NNum* x = asNum(args[0]);
    if (!x || x->rows != 1 || x->cols != 1 || x->data[0].im != 0.0) raiseError(line, "Bad argument in eps()");
    double previous = compareTolerance();
    setCompareTolerance(x->data[0].re);
    result = makeNum(previous);
}
