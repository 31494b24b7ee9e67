// Element-wise operators with broadcasting, expansion, the matrix product,
// transpose, string joining, all/any and the condition test.
#include "value/ops.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "value/dense.h"
#include "value/elementwise.h"
#include "value/kernels.h"
#include "value/raise.h"

// ---------------------------------------------------------------- complex helpers

Complex cdiv(Complex a, Complex b) { return kern::scaledDiv(a, b); }

Complex cexp(Complex z) {
    double e = std::exp(z.re);
    if (z.im == 0.0) return {e, 0.0};
    return {e * std::cos(z.im), e * std::sin(z.im)};
}

// The principal value: the argument lies in (-pi, pi], so a negative real
// whose imaginary part is -0 (as negation leaves it) has the argument +pi.
Complex clog(Complex z) { return {std::log(std::hypot(z.re, z.im)), std::atan2(z.im + 0.0, z.re)}; }

Complex kern::pow(Complex a, Complex b) {
    if (a.im == 0.0 && b.im == 0.0 && !(a.re < 0.0 && std::fmod(b.re, 1.0) != 0.0))
        return {std::pow(a.re, b.re), 0.0};
    return cexp(cmul(b, clog(a)));
}

// ---------------------------------------------------------------- kernels behind pointers

bool toleranceEqual(double x, double y) { return kern::teq(x, y); }
bool truthValue(Complex z) { return kern::truth(z); }

Complex k_neg(int, Complex a) { return kern::neg(a); }
Complex k_truth(int, Complex a) { return kern::truthOf(a); }
Complex k_not(int, Complex a) { return kern::lnot(a); }
Complex k_add(int, Complex a, Complex b) { return kern::add(a, b); }
Complex k_sub(int, Complex a, Complex b) { return kern::sub(a, b); }
Complex k_mul(int, Complex a, Complex b) { return kern::mul(a, b); }
Complex k_div(int, Complex a, Complex b) { return kern::div(a, b); }
Complex k_pow(int, Complex a, Complex b) { return kern::pow(a, b); }
Complex k_mod(int line, Complex a, Complex b) { return kern::mod(line, a, b); }
Complex k_ldiv(int line, Complex a, Complex b) { return kern::ldiv(line, a, b); }
Complex k_and(int, Complex a, Complex b) { return kern::land(a, b); }
Complex k_or(int, Complex a, Complex b) { return kern::lor(a, b); }
Complex k_select(int, Complex a, Complex b) { return kern::select(a, b); }
Complex k_eq(int, Complex a, Complex b) { return kern::eq(a, b); }
Complex k_ne(int, Complex a, Complex b) { return kern::ne(a, b); }
Complex k_gt(int line, Complex a, Complex b) { return kern::gt(line, a, b); }
Complex k_ge(int line, Complex a, Complex b) { return kern::ge(line, a, b); }
Complex k_lt(int line, Complex a, Complex b) { return kern::lt(line, a, b); }
Complex k_le(int line, Complex a, Complex b) { return kern::le(line, a, b); }

// ---------------------------------------------------------------- op1 / op2

namespace {

// Adapters that give the inline kernels the (line, ...) shape of the loops.
#define QUARN_PURE2(name, fn) \
    struct name {             \
        Complex operator()(int, Complex a, Complex b) const { return fn(a, b); } \
    };
#define QUARN_LINE2(name, fn) \
    struct name {             \
        Complex operator()(int line, Complex a, Complex b) const { return fn(line, a, b); } \
    };
QUARN_PURE2(AddK, kern::add)
QUARN_PURE2(SubK, kern::sub)
QUARN_PURE2(MulK, kern::mul)
QUARN_PURE2(DivK, kern::div)
QUARN_PURE2(EqK, kern::eq)
QUARN_PURE2(NeK, kern::ne)
QUARN_PURE2(AndK, kern::land)
QUARN_PURE2(OrK, kern::lor)
QUARN_PURE2(SelectK, kern::select)
QUARN_LINE2(ModK, kern::mod)
QUARN_LINE2(LdivK, kern::ldiv)
QUARN_LINE2(GtK, kern::gt)
QUARN_LINE2(GeK, kern::ge)
QUARN_LINE2(LtK, kern::lt)
QUARN_LINE2(LeK, kern::le)
#undef QUARN_PURE2
#undef QUARN_LINE2

struct NegK {
    Complex operator()(int, Complex a) const { return kern::neg(a); }
};
struct NotK {
    Complex operator()(int, Complex a) const { return kern::lnot(a); }
};
struct TruthK {
    Complex operator()(int, Complex a) const { return kern::truthOf(a); }
};

}  // namespace

NRefPtr op1(int line, const NRefPtr& a, Kernel1 f) {
    const NNum* x = asNum(a);
    if (!x) raiseError(line, "Bad type operation in op1");
    if (f == k_neg) return elementwise::map1(line, *x, NegK{});
    if (f == k_not) return elementwise::map1(line, *x, NotK{});
    if (f == k_truth) return elementwise::map1(line, *x, TruthK{});
    return elementwise::map1(line, *x, f);
}

namespace {
// Calls run(kernel object) with the inlined form of a common kernel f, or
// with f itself for any other.
template <class Run>
decltype(auto) withKernel(Kernel2 f, Run&& run) {
    if (f == k_add) return run(AddK{});
    if (f == k_sub) return run(SubK{});
    if (f == k_mul) return run(MulK{});
    if (f == k_div) return run(DivK{});
    if (f == k_eq) return run(EqK{});
    if (f == k_ne) return run(NeK{});
    if (f == k_gt) return run(GtK{});
    if (f == k_ge) return run(GeK{});
    if (f == k_lt) return run(LtK{});
    if (f == k_le) return run(LeK{});
    if (f == k_and) return run(AndK{});
    if (f == k_or) return run(OrK{});
    if (f == k_select) return run(SelectK{});
    if (f == k_mod) return run(ModK{});
    if (f == k_ldiv) return run(LdivK{});
    return run(f);
}

// Only the caller's one reference holds it, and no variable: free to overwrite.
bool handedOver(const NNum* n) { return n->refCount == 1 && n->bindCount == 0 && n->count() > 1; }
}  // namespace

NRefPtr op2(int line, const NRefPtr& a, const NRefPtr& b, Kernel2 f) {
    const NNum* x = asNum(a);
    const NNum* y = asNum(b);
    if (!x || !y) raiseError(line, "Bad type operation in op2");
    // The common kernels run inlined in the loop; any other goes through its pointer.
    return withKernel(f, [&](auto kernel) { return elementwise::map2(line, *x, *y, kernel); });
}

NRefPtr op2Reusing(int line, NRefPtr a, NRefPtr b, Kernel2 f) {
    NNum* x = asNum(a);
    NNum* y = asNum(b);
    if (x && y && x != y) {
        NNum* target = handedOver(x) ? x : handedOver(y) ? y : nullptr;
        if (target && withKernel(f, [&](auto kernel) { return elementwise::map2InPlace(line, *target, *x, *y, kernel); }))
            return target == x ? std::move(a) : std::move(b);
    }
    return op2(line, a, b, f);
}

// ---------------------------------------------------------------- expansion and op3

NRefPtr op_expand(int line, const NRefPtr& a, const NRefPtr& b) {
    const NNum* x = asNum(a);
    const NNum* y = asNum(b);
    if (!x || !y) raiseError(line, "Bad type operation in op_expand");
    const std::int32_t ra = x->rows, ca = x->cols, rb = y->rows, cb = y->cols;
    auto filled = [](std::int32_t cols, std::int32_t rows, auto element) {
        NNum* r = new NNum(cols, rows, NNum::Uninit{});
        NRefPtr hold(r);
        for (std::int32_t i = 0; i < rows; ++i)
            for (std::int32_t j = 0; j < cols; ++j) r->data[static_cast<std::size_t>(i) * cols + j] = element(i, j);
        return hold;
    };
    if (scalarLike(*x)) {
        // An empty a has no element to spread: it stays as it is.
        if (scalarLike(*y) || x->count() == 0) return a;
        const Complex s = x->data[0];
        return filled(cb, rb, [s](std::int32_t, std::int32_t) { return s; });
    }
    if (scalarLike(*y) || (ra == rb && ca == cb)) return a;
    if (ca == cb && ra == 1) return filled(cb, rb, [x](std::int32_t, std::int32_t j) { return x->data[j]; });
    if (ca == cb && rb == 1) return a;
    if (ra == rb && ca == 1) return filled(cb, rb, [x](std::int32_t i, std::int32_t) { return x->data[i]; });
    if (ra == rb && cb == 1) return a;
    if (ca == 1 && rb == 1) return filled(cb, ra, [x](std::int32_t i, std::int32_t) { return x->data[i]; });
    if (ra == 1 && cb == 1) return filled(ca, rb, [x](std::int32_t, std::int32_t j) { return x->data[j]; });
    raiseError(line, "Matrix size not match in op_expand");
}

NRefPtr op3(int line, const NRefPtr& a, const NRefPtr& b, const NRefPtr& c, Kernel3 f) {
    NRefPtr a2 = op_expand(line, op_expand(line, a, b), c);
    NRefPtr b2 = op_expand(line, op_expand(line, b, a), c);
    NRefPtr c2 = op_expand(line, op_expand(line, c, a), b);
    const NNum* x = asNum(a2);
    const NNum* y = asNum(b2);
    const NNum* z = asNum(c2);
    // An operand with no elements leaves nothing to combine.
    if (x->count() == 0 || y->count() == 0 || z->count() == 0) return NRefPtr(new NNum(0, 0));
    // Expansion can leave the three shapes unequal (e.g. a row, a column and a
    // matrix of a third shape); pairing them would read past an operand.
    if (x->rows != y->rows || x->cols != y->cols || x->rows != z->rows || x->cols != z->cols)
        raiseError(line, "Matrix size not match in op_expand");
    NNum* r = new NNum(x->cols, x->rows, NNum::Uninit{});
    NRefPtr hold(r);
    const std::size_t n = x->count();
    for (std::size_t i = 0; i < n; ++i) r->data[i] = f(line, x->data[i], y->data[i], z->data[i]);
    return hold;
}

// ---------------------------------------------------------------- other operators

NRefPtr addValues(int line, const NRefPtr& a, const NRefPtr& b) {
    const NString* s = asString(a);
    const NString* t = asString(b);
    if (s && t) return makeString(s->text, t->text);
    return op2(line, a, b, k_add);
}

NRefPtr matrixProduct(int line, const NRefPtr& a, const NRefPtr& b) {
    const NNum* x = asNum(a);
    const NNum* y = asNum(b);
    if (!x || !y) raiseError(line, "Bad type operation in op2");
    if (scalarLike(*x) || scalarLike(*y)) {
        // Scaling; an empty operand gives an empty result of its own shape.
        return elementwise::map2(line, *x, *y, [](int, Complex p, Complex q) { return cmul(p, q); });
    }
    if (x->cols != y->rows) raiseError(line, "Matrix size not match in operator .");
    NNum* r = new NNum(y->cols, x->rows);  // zero-filled: every sum starts from 0
    NRefPtr hold(r);
    if (!dense::product(x->data, y->data, r->data, x->rows, x->cols, y->cols)) raiseInterruption(line);
    return hold;
}

NRefPtr transpose(int line, const NRefPtr& a) {
    const NNum* x = asNum(a);
    if (!x) raiseError(line, "Bad type operation in op1");
    NNum* r = new NNum(x->rows, x->cols, NNum::Uninit{});
    NRefPtr hold(r);
    const std::int32_t rows = x->rows, cols = x->cols;
    for (std::int32_t i = 0; i < rows; ++i)
        for (std::int32_t j = 0; j < cols; ++j)
            r->data[static_cast<std::size_t>(j) * rows + i] = x->data[static_cast<std::size_t>(i) * cols + j];
    return hold;
}

NRefPtr allOf(int line, const NRefPtr& a) {
    const NNum* x = asNum(a);
    if (!x) raiseError(line, "Bad type operation in operator all");
    const std::size_t n = x->count();
    for (std::size_t i = 0; i < n; ++i)
        if (!kern::truth(x->data[i])) return makeNum(0);
    return makeNum(1);
}

NRefPtr anyOf(int line, const NRefPtr& a) {
    const NNum* x = asNum(a);
    if (!x) raiseError(line, "Bad type operation in operator any");
    const std::size_t n = x->count();
    for (std::size_t i = 0; i < n; ++i)
        if (kern::truth(x->data[i])) return makeNum(1);
    return makeNum(0);
}

bool conditionTest(int line, const NRefPtr& v) {
    if (const NNum* x = asNum(v)) {
        if (x->cols != 1 || x->rows != 1) raiseError(line, "Conditional context must be scalar");
        return kern::truth(x->data[0]);
    }
    if (const NString* s = asString(v)) return !s->text.empty();
    raiseError(line, "Conditional context must be scalar");
}
