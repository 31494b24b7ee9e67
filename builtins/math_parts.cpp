// Complex parts: modulus, conjugate, argument, real and imaginary parts.
#include <cmath>

#include "builtins/math.h"
#include "value/ops.h"

namespace {

// The modulus without overflow of the squares.
Complex k_abs(int, Complex a) {
    double x = std::fabs(a.re), y = std::fabs(a.im);
    // An infinite part makes the modulus infinite even beside a NaN or a
    // second infinity, where the ratio below would be NaN.
    if (std::isinf(x) || std::isinf(y)) return {INFINITY, 0.0};
    if (x == 0.0) return {y, 0.0};
    if (y == 0.0) return {x, 0.0};
    double m = x > y ? x : y;
    double n = x > y ? y : x;
    double q = n / m;
    return {m * std::sqrt(1.0 + q * q), 0.0};
}
Complex k_conj(int, Complex a) { return {a.re, -a.im}; }
// A zero imaginary part counts as +0, so every negative real has argument +pi.
Complex k_arg(int, Complex a) { return {std::atan2(a.im == 0.0 ? 0.0 : a.im, a.re), 0.0}; }
Complex k_real(int, Complex a) { return {a.re, 0.0}; }
Complex k_imag(int, Complex a) { return {a.im, 0.0}; }

}  // namespace

QUARN_BUILTIN(bi_abs) { result = op1(line, args[0], k_abs); }
QUARN_BUILTIN(bi_conj) { result = op1(line, args[0], k_conj); }
QUARN_BUILTIN(bi_arg) { result = op1(line, args[0], k_arg); }
QUARN_BUILTIN(bi_real) { result = op1(line, args[0], k_real); }
QUARN_BUILTIN(bi_imag) { result = op1(line, args[0], k_imag); }
