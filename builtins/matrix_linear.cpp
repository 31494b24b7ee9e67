// inv, det, rank and trace: shape checks, then a kernel on a private copy.
#include "builtins/matrix.h"
#include "exec/interrupt.h"
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
    KernelOutcome end = invertInPlace(static_cast<NNum*>(copy.get())->data, a->rows);
    if (end == KernelOutcome::Interrupted) raiseInterrupted(line);
    if (end == KernelOutcome::Singular) raiseError(line, "Pivot error in inv()");
    result = copy;
}

QUARN_BUILTIN(bi_det) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in det()");
    if (a->rows != a->cols) raiseError(line, "Matrix size not match in det()");
    NRefPtr copy(cloneNum(*a));
    Complex d;
    if (determinantInPlace(static_cast<NNum*>(copy.get())->data, a->rows, d) == KernelOutcome::Interrupted)
        raiseInterrupted(line);
    result = makeNum(d);
}

QUARN_BUILTIN(bi_rank) {
    NNum* a = asNum(args[0]);
    if (!a) raiseError(line, "Bad argument in rank()");
    NRefPtr copy(cloneNum(*a));
    std::int32_t rank;
    if (rankInPlace(static_cast<NNum*>(copy.get())->data, a->rows, a->cols, rank) == KernelOutcome::Interrupted)
        raiseInterrupted(line);
    result = makeNum(static_cast<int>(rank));
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
