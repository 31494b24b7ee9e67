// inv, det, rank and trace: shape checks, then a kernel on a private copy.
#include "builtins/matrix.h"
#include "value/matrix_kernels.h"
#include "value/raise.h"

namespace {
NNum* cloneNum(const NNum& m) { return static_cast<NNum*>(m.clone()); }
}  // namespace

QUARN_BUILTIN(bi_inv) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in inv()");
    if (a->rows != a->cols) raiseError(line, "Matrix size not match in inv()");
    NRefPtr copy(cloneNum(*a));
    if (!invertInPlace(static_cast<NNum*>(copy.get())->data, a->rows)) raiseError(line, "Pivot error in inv()");
    result = copy;
}

QUARN_BUILTIN(bi_det) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in det()");
    if (a->rows != a->cols) raiseError(line, "Matrix size not match in det()");
    NRefPtr copy(cloneNum(*a));
    result = makeNum(determinantInPlace(static_cast<NNum*>(copy.get())->data, a->rows));
}

QUARN_BUILTIN(bi_rank) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in rank()");
    NRefPtr copy(cloneNum(*a));
    result = makeNum(static_cast<int>(rankInPlace(static_cast<NNum*>(copy.get())->data, a->rows, a->cols)));
}

QUARN_BUILTIN(bi_trace) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in trace()");
    if (a->rows != a->cols) raiseError(line, "Matrix size not match in trace()");
    Complex sum{0.0, 0.0};
    for (std::int32_t i = 0; i < a->rows; ++i) {
        sum.re += a->at(i, i).re;
        sum.im += a->at(i, i).im;
    }
    result = makeNum(sum);
}
