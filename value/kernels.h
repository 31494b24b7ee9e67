// Element kernels as inline functions, so the element-wise loops can be
// instantiated for them without an indirect call per element. The k_*
// functions of value/ops.h are these same kernels behind a function pointer.
#pragma once

#include <cmath>
#include <cstdint>

#include "value/ops.h"
#include "value/raise.h"
#include "value/settings.h"

namespace kern {

inline Complex add(Complex a, Complex b) { return {a.re + b.re, a.im + b.im}; }
inline Complex sub(Complex a, Complex b) { return {a.re - b.re, a.im - b.im}; }
inline Complex mul(Complex a, Complex b) { return cmul(a, b); }
inline Complex neg(Complex a) { return {-a.re, -a.im}; }

// The scaled complex division: the larger part of the divisor is divided
// out first so that no intermediate overflows needlessly.
inline Complex scaledDiv(Complex a, Complex b) {
    const Complex nan = {NAN, NAN};
    if (std::isnan(b.re) || std::isnan(b.im)) return nan;
    if (std::fabs(b.im) < std::fabs(b.re)) {
        double w = b.im / b.re;
        double d = b.re + w * b.im;
        if (std::isnan(d) || d == 0.0) return nan;
        double s = 1.0 / d;
        return {(a.re + a.im * w) * s, (a.im - a.re * w) * s};
    }
    if (b.im == 0.0) return nan;
    double w = b.re / b.im;
    double d = b.im + w * b.re;
    if (std::isnan(d) || d == 0.0) return nan;
    double s = 1.0 / d;
    return {(a.re * w + a.im) * s, (a.im * w - a.re) * s};
}

inline Complex div(Complex a, Complex b) {
    if (a.im == 0.0 && b.im == 0.0) return {a.re / b.re, 0.0};
    return scaledDiv(a, b);
}

// Truncation toward zero in floating point, for every magnitude: NaN stays
// NaN and an infinity stays infinite. A zero result is +0, as an integer
// conversion would give.
inline double truncQuotient(double x) {
    // Below 2^52 an integer conversion truncates exactly (and gives +0);
    // from there on every double is integral already.
    if (std::fabs(x) < 4503599627370496.0) return static_cast<double>(static_cast<std::int64_t>(x));
    return x + 0.0;
}

// The truncated quotient by the scaled division: the rule for every pair.
__attribute__((noinline)) inline Complex ldivGeneral(Complex a, Complex b) {
    Complex q = scaledDiv(a, b);
    return {truncQuotient(q.re), truncQuotient(q.im)};
}

// Both imaginary parts zero and a divisor that is neither zero nor NaN: the
// scaled division then has w = +-0 and d = b.re, so its quotient reduces to
// a.re / b.re taken as a.re * (1 / b.re), with a zero imaginary part unless
// a.re or 1 / b.re is infinite or NaN. Bit for bit the same as ldivGeneral().
inline bool realQuotient(Complex a, Complex b) {
    return a.im == 0.0 && b.im == 0.0 && b.re != 0.0 && !std::isnan(b.re);
}
inline Complex ldivReal(Complex a, Complex b) {
    double s = 1.0 / b.re;
    double re = truncQuotient(a.re * s);
    if (std::isfinite(a.re) && std::isfinite(s)) return {re, 0.0};
    double w = b.im / b.re;
    return {re, truncQuotient((a.im - a.re * w) * s)};
}

__attribute__((always_inline)) inline Complex ldiv(int line, Complex a, Complex b) {
    if (b.re == 0.0 && b.im == 0.0) raiseError(line, "Division by 0");
    return realQuotient(a, b) ? ldivReal(a, b) : ldivGeneral(a, b);
}

// a - t * b for the truncated quotient t.
inline Complex remainderOf(Complex a, Complex b, Complex t) {
    Complex tb = cmul(t, b);
    return {a.re - tb.re, a.im - tb.im};
}

__attribute__((always_inline)) inline Complex mod(int line, Complex a, Complex b) { return remainderOf(a, b, ldiv(line, a, b)); }

// Equality under the comparison tolerance: equal values always match; an
// infinity matches only an infinity of the same sign; otherwise the allowed
// difference is the tolerance scaled by the larger magnitude (at least 1).
__attribute__((always_inline)) inline bool teq(double x, double y) {
    if (x == y) return true;
    double eps = compareTolerance();
    if (eps == 0.0 || std::isinf(x) || std::isinf(y)) return false;
    double m = std::fmax(std::fmax(std::fabs(x), std::fabs(y)), 1.0);
    return std::fabs(x - y) <= eps * m;
}

__attribute__((always_inline)) inline bool truth(Complex z) {
    if (std::isnan(z.re) || std::isnan(z.im)) return false;
    return !(teq(z.re, 0.0) && teq(z.im, 0.0));
}

inline Complex boolean(bool t) { return {t ? 1.0 : 0.0, 0.0}; }

inline bool anyNaN(Complex a, Complex b) {
    return std::isnan(a.re) || std::isnan(a.im) || std::isnan(b.re) || std::isnan(b.im);
}

__attribute__((always_inline)) inline Complex eq(Complex a, Complex b) {
    if (anyNaN(a, b)) return boolean(false);
    return boolean(teq(a.re, b.re) && teq(a.im, b.im));
}
__attribute__((always_inline)) inline Complex ne(Complex a, Complex b) {
    if (anyNaN(a, b)) return boolean(true);
    return boolean(!(teq(a.re, b.re) && teq(a.im, b.im)));
}

// The ordered comparisons need real operands.
__attribute__((always_inline)) inline void requireReal(int line, Complex a, Complex b, const char* message) {
    if (!(teq(a.im, 0.0) && teq(b.im, 0.0))) raiseError(line, "%s", message);
}
__attribute__((always_inline)) inline Complex gt(int line, Complex a, Complex b) {
    requireReal(line, a, b, "Complex cannot compare in operator >");
    if (std::isnan(a.re) || std::isnan(b.re)) return boolean(false);
    return boolean(!teq(a.re, b.re) && a.re > b.re);
}
__attribute__((always_inline)) inline Complex lt(int line, Complex a, Complex b) {
    requireReal(line, a, b, "Complex cannot compare in operator <");
    if (std::isnan(a.re) || std::isnan(b.re)) return boolean(false);
    return boolean(!teq(a.re, b.re) && a.re < b.re);
}
__attribute__((always_inline)) inline Complex ge(int line, Complex a, Complex b) {
    requireReal(line, a, b, "Complex cannot compare in operator >=");
    if (std::isnan(a.re) || std::isnan(b.re)) return boolean(false);
    return boolean(teq(a.re, b.re) || a.re > b.re);
}
__attribute__((always_inline)) inline Complex le(int line, Complex a, Complex b) {
    requireReal(line, a, b, "Complex cannot compare in operator <=");
    if (std::isnan(a.re) || std::isnan(b.re)) return boolean(false);
    return boolean(teq(a.re, b.re) || a.re < b.re);
}

inline Complex truthOf(Complex a) { return boolean(truth(a)); }
inline Complex lnot(Complex a) { return boolean(!truth(a)); }
inline Complex land(Complex a, Complex b) { return boolean(truth(a) && truth(b)); }
inline Complex lor(Complex a, Complex b) { return boolean(truth(a) || truth(b)); }
inline Complex select(Complex a, Complex b) { return truth(a) ? b : Complex{0.0, 0.0}; }

Complex pow(Complex a, Complex b);

}  // namespace kern
