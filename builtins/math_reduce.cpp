// The variadic reductions max, min, lcm and gcd: a fold of a pair kernel over
// the arguments, or over the elements of a single row or column.
#include "builtins/math.h"
#include "builtins/math_reduce.h"
#include "value/convert.h"
#include "value/ops.h"
#include "value/raise.h"

// Ties return the second operand.
Complex k_max(int line, Complex a, Complex b) {
    double x = elementToReal(line, a);
    double y = elementToReal(line, b);
    return {(x < y || x == y) ? y : x, 0.0};
}

Complex k_min(int line, Complex a, Complex b) {
    double x = elementToReal(line, a);
    double y = elementToReal(line, b);
    return {x < y ? x : y, 0.0};
}

namespace {

// The message names the failure; the caller passes it as the literal text.
void reduce(int line, ArgList& args, NRefPtr& result, Kernel2 f, const char* message) {
    if (args.empty()) raiseError(line, "%s", message);
    if (args.size() == 1) {
        NNum* m = asNum(args[0]);
        if (!m || (m->rows != 1 && m->cols != 1) || m->count() == 0) raiseError(line, "%s", message);
        if (m->count() == 1) {
            result = args[0];
            return;
        }
        Complex acc = m->data[0];
        for (std::size_t i = 1; i < m->count(); ++i) acc = f(line, acc, m->data[i]);
        result = makeNum(acc);
        return;
    }
    NRefPtr acc = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) acc = op2(line, acc, args[i], f);
    result = acc;
}

}  // namespace

QUARN_BUILTIN(bi_max) { reduce(line, args, result, k_max, "Bad argument in max()"); }
QUARN_BUILTIN(bi_min) { reduce(line, args, result, k_min, "Bad argument in min()"); }
QUARN_BUILTIN(bi_lcm) { reduce(line, args, result, k_lcm, "Too few arguments in lcm()"); }
QUARN_BUILTIN(bi_gcd) { reduce(line, args, result, k_gcd, "Too few arguments in gcd()"); }
