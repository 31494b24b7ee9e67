// Rounding and element tests. Where both parts are rounded, the real and the
// imaginary part go through the same rule separately.
#include <cmath>

#include "builtins/math.h"
#include "value/convert.h"
#include "value/ops.h"
#include "value/raise.h"

namespace {

// Halves away from zero.
double roundHalfAway(double v) {
    double a = std::fabs(v);
    double fl = std::floor(a);
    double r = (a - fl >= 0.5) ? std::ceil(a) : fl;
    return v < 0.0 ? -r : r;
}

// Halves to even.
double roundHalfEven(double v) {
    double a = std::fabs(v);
    double fl = std::floor(a);
    double f = a - fl;
    double r;
    if (f == 0.5)
        r = std::fmod(fl, 2.0) == 1.0 ? std::ceil(a) : fl;
    else if (f > 0.5)
        r = std::ceil(a);
    else
        r = fl;
    return v < 0.0 ? -r : r;
}

// 10^|n|: exact as an integer up to |n| = 9, the nearest double beyond.
double powerOfTen(std::int32_t n) {
    std::int64_t m = n < 0 ? -static_cast<std::int64_t>(n) : n;
    if (m <= 9) {
        std::int32_t p = 1;
        for (std::int64_t i = 0; i < m; ++i) p *= 10;
        return p;
    }
    return std::pow(10.0, static_cast<double>(m));
}

double roundToDigits(double v, std::int32_t n, double (*rule)(double)) {
    if (!std::isfinite(v)) return v;
    double p = powerOfTen(n);
    if (n >= 0) {
        double scaled = v * p;
        // Scaled past the double range, v has no digits left to round away;
        // dividing the infinity back would give infinity or NaN.
        if (!std::isfinite(scaled)) return v;
        return rule(scaled) / p;
    }
    // 10^|n| beyond the double range: every finite v rounds to 0 (the
    // product 0 * infinity would be NaN).
    if (std::isinf(p)) return std::copysign(0.0, v);
    return rule(v / p) * p;
}

Complex k_floor(int, Complex a) { return {std::floor(a.re), std::floor(a.im)}; }
Complex k_ceil(int, Complex a) { return {std::ceil(a.re), std::ceil(a.im)}; }
Complex k_round(int, Complex a) { return {roundHalfAway(a.re), roundHalfAway(a.im)}; }
Complex k_bround(int, Complex a) { return {roundHalfEven(a.re), roundHalfEven(a.im)}; }
Complex k_roundDigits(int line, Complex a, Complex n) {
    std::int32_t digits = elementToInteger(line, n);
    return {roundToDigits(a.re, digits, roundHalfAway), roundToDigits(a.im, digits, roundHalfAway)};
}
Complex k_broundDigits(int line, Complex a, Complex n) {
    std::int32_t digits = elementToInteger(line, n);
    return {roundToDigits(a.re, digits, roundHalfEven), roundToDigits(a.im, digits, roundHalfEven)};
}

Complex k_int(int line, Complex a) {
    if (!inInt32Range(a.re)) raiseError(line, "value range error in int()");
    return {std::trunc(a.re), 0.0};
}

// NaN is neither negative nor positive and stays NaN.
double signOf(double v) {
    if (toleranceEqual(v, 0.0)) return 0.0;
    if (v < 0.0) return -1.0;
    if (v > 0.0) return 1.0;
    return v;
}
Complex k_sign(int, Complex a) { return {signOf(a.re), signOf(a.im)}; }

Complex k_finite(int, Complex a) {
    return {std::isfinite(a.re) && std::isfinite(a.im) ? 1.0 : 0.0, 0.0};
}

}  // namespace

QUARN_BUILTIN(bi_floor) { result = op1(line, args[0], k_floor); }
QUARN_BUILTIN(bi_ceil) { result = op1(line, args[0], k_ceil); }
QUARN_BUILTIN(bi_round) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_roundDigits);
    else
        result = op1(line, args[0], k_round);
}
QUARN_BUILTIN(bi_bround) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_broundDigits);
    else
        result = op1(line, args[0], k_bround);
}
QUARN_BUILTIN(bi_int) { result = op1(line, args[0], k_int); }
QUARN_BUILTIN(bi_sign) { result = op1(line, args[0], k_sign); }
QUARN_BUILTIN(bi_finite) { result = op1(line, args[0], k_finite); }
