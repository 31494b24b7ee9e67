// Inverse trigonometric and hyperbolic functions on complex elements. Real
// arguments inside the real domain take the real library function, so results
// stay exactly real.
#include <cmath>

#include "builtins/math.h"
#include "builtins/math_complex.h"
#include "value/ops.h"
#include "value/raise.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kLn2 = 0.6931471805599453;
// Past this magnitude x * x overflows in the real inverse hyperbolic
// formulas; there sqrt(x * x + 1) equals |x| to double precision, so the
// logarithm of 2|x| is the same value without the overflow.
constexpr double kHugeArgument = 1e150;
const StdComplex kI{0.0, 1.0};

StdComplex complexAsin(StdComplex z) { return -kI * plog(kI * z + psqrt(1.0 - z * z)); }

Complex k_asin(int, Complex a) {
    if (a.im == 0.0 && a.re >= -1.0 && a.re <= 1.0) return realResult(std::asin(a.re));
    return fromStd(complexAsin(toStd(a)));
}
Complex k_acos(int, Complex a) {
    if (a.im == 0.0 && a.re >= -1.0 && a.re <= 1.0) return realResult(std::acos(a.re));
    StdComplex s = complexAsin(toStd(a));
    return {kHalfPi - s.real(), -s.imag()};
}
Complex k_atan(int, Complex a) {
    if (a.im == 0.0) return realResult(std::atan(a.re));
    StdComplex z = toStd(a);
    return fromStd(StdComplex(0.0, -0.5) * plog((1.0 + kI * z) / (1.0 - kI * z)));
}
Complex k_atan2(int line, Complex a, Complex b) {
    if (a.im != 0.0 || b.im != 0.0) raiseError(line, "Argument for axis must be real number in atan()");
    return realResult(std::atan2(a.re, b.re));
}

Complex k_asinh(int, Complex a) {
    if (a.im == 0.0) {
        double x = a.re;
        if (std::fabs(x) > kHugeArgument) return realResult(std::copysign(std::log(std::fabs(x)) + kLn2, x));
        if (x > 0.001) return realResult(std::log(std::sqrt(x * x + 1.0) + x));
        if (x < -0.001) return realResult(-std::log(std::sqrt(x * x + 1.0) - x));
        // Near 0 the logarithm loses digits; the series does not.
        return realResult((1.0 - x * x / 6.0) * x);
    }
    StdComplex z = toStd(a);
    return fromStd(plog(z + psqrt(z * z + 1.0)));
}
Complex k_acosh(int, Complex a) {
    if (a.im == 0.0 && a.re >= 1.0) {
        if (a.re > kHugeArgument) return realResult(std::log(a.re) + kLn2);
        return realResult(std::log(a.re + std::sqrt(a.re * a.re - 1.0)));
    }
    StdComplex z = toStd(a);
    return fromStd(plog(z + psqrt(z * z - 1.0)));
}
Complex k_atanh(int, Complex a) {
    if (a.im == 0.0 && a.re > -1.0 && a.re < 1.0) {
        double x = a.re;
        if (std::fabs(x) > 0.001) return realResult(0.5 * std::log((1.0 + x) / (1.0 - x)));
        return realResult((x * x / 3.0 + 1.0) * x);
    }
    StdComplex z = toStd(a);
    StdComplex l = plog((1.0 + z) / (1.0 - z));
    return {0.5 * l.real(), 0.5 * l.imag()};
}

}  // namespace

QUARN_BUILTIN(bi_asin) { result = op1(line, args[0], k_asin); }
QUARN_BUILTIN(bi_acos) { result = op1(line, args[0], k_acos); }
QUARN_BUILTIN(bi_atan) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_atan2);
    else
        result = op1(line, args[0], k_atan);
}
QUARN_BUILTIN(bi_asinh) { result = op1(line, args[0], k_asinh); }
QUARN_BUILTIN(bi_acosh) { result = op1(line, args[0], k_acosh); }
QUARN_BUILTIN(bi_atanh) { result = op1(line, args[0], k_atanh); }
