// Elementary functions on complex elements. Real arguments take the real
// library function where the complex formula reduces to it, so results stay
// exactly real.
#include <cmath>

#include "builtins/math.h"
#include "builtins/math_complex.h"
#include "value/ops.h"
#include "value/raise.h"

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kPi = 3.141592653589793;
constexpr double kLog10E = 0.4342944819032518;
constexpr double kLn2 = 0.6931471805599453;
// Past this magnitude x * x overflows in the real inverse hyperbolic
// formulas; there sqrt(x * x + 1) equals |x| to double precision, so the
// logarithm of 2|x| is the same value without the overflow.
constexpr double kHugeArgument = 1e150;
const StdComplex kI{0.0, 1.0};

// Principal logarithm; log 0 is -infinity with imaginary part 0.
StdComplex plog(StdComplex z) {
    if (z.imag() == 0.0) {
        double x = z.real();
        if (x > 0.0) return {std::log(x), 0.0};
        if (x == 0.0) return {-INFINITY, 0.0};
        if (x < 0.0) return {std::log(-x), kPi};
    }
    return std::log(z);
}

// Principal square root with the branch cut of a +0 imaginary part.
StdComplex psqrt(StdComplex z) {
    if (z.imag() == 0.0) {
        double x = z.real();
        if (x >= 0.0) return {std::sqrt(x), 0.0};
        if (x < 0.0) return {0.0, std::sqrt(-x)};
    }
    return std::sqrt(z);
}

Complex k_sin(int, Complex a) {
    if (a.im == 0.0) return realResult(std::sin(a.re));
    return fromStd(std::sin(toStd(a)));
}
Complex k_cos(int, Complex a) {
    if (a.im == 0.0) return realResult(std::cos(a.re));
    return fromStd(std::cos(toStd(a)));
}
Complex k_tan(int, Complex a) {
    if (a.im == 0.0) return realResult(std::tan(a.re));
    return fromStd(-kI * std::tanh(kI * toStd(a)));
}
Complex k_sinh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::sinh(a.re));
    return fromStd(std::sinh(toStd(a)));
}
Complex k_cosh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::cosh(a.re));
    return fromStd(std::cosh(toStd(a)));
}
Complex k_tanh(int, Complex a) {
    if (a.im == 0.0) return realResult(std::tanh(a.re));
    return fromStd(std::tanh(toStd(a)));
}
Complex k_exp(int, Complex a) {
    if (a.im == 0.0) return realResult(std::exp(a.re));
    return fromStd(std::exp(toStd(a)));
}
Complex k_sqrt(int, Complex a) { return fromStd(psqrt(toStd(a))); }
Complex k_log(int, Complex a) { return fromStd(plog(toStd(a))); }
Complex k_log10(int, Complex a) {
    StdComplex l = plog(toStd(a));
    return {l.real() * kLog10E, l.imag() * kLog10E};
}

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
Complex k_cbrt(int, Complex a) {
    if (a.im == 0.0) {
        double r = std::pow(std::fabs(a.re), 1.0 / 3.0);
        return realResult(a.re < 0.0 ? -r : r);
    }
    return fromStd(std::exp(plog(toStd(a)) / 3.0));
}

Complex k_logBase(int, Complex a, Complex b) {
    if (a.im == 0.0 && b.im == 0.0) return realResult(std::log(a.re) / std::log(b.re));
    StdComplex la = plog(toStd(a)), lb = plog(toStd(b));
    return fromStd(la / lb);
}

}  // namespace

QUARN_BUILTIN(bi_sin) { result = op1(line, args[0], k_sin); }
QUARN_BUILTIN(bi_cos) { result = op1(line, args[0], k_cos); }
QUARN_BUILTIN(bi_tan) { result = op1(line, args[0], k_tan); }
QUARN_BUILTIN(bi_asin) { result = op1(line, args[0], k_asin); }
QUARN_BUILTIN(bi_acos) { result = op1(line, args[0], k_acos); }
QUARN_BUILTIN(bi_atan) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_atan2);
    else
        result = op1(line, args[0], k_atan);
}
QUARN_BUILTIN(bi_sinh) { result = op1(line, args[0], k_sinh); }
QUARN_BUILTIN(bi_cosh) { result = op1(line, args[0], k_cosh); }
QUARN_BUILTIN(bi_tanh) { result = op1(line, args[0], k_tanh); }
QUARN_BUILTIN(bi_asinh) { result = op1(line, args[0], k_asinh); }
QUARN_BUILTIN(bi_acosh) { result = op1(line, args[0], k_acosh); }
QUARN_BUILTIN(bi_atanh) { result = op1(line, args[0], k_atanh); }
QUARN_BUILTIN(bi_exp) { result = op1(line, args[0], k_exp); }
QUARN_BUILTIN(bi_sqrt) { result = op1(line, args[0], k_sqrt); }
QUARN_BUILTIN(bi_cbrt) { result = op1(line, args[0], k_cbrt); }
QUARN_BUILTIN(bi_log) {
    if (args.size() >= 2)
        result = op2(line, args[0], args[1], k_logBase);
    else
        result = op1(line, args[0], k_log);
}
QUARN_BUILTIN(bi_log10) { result = op1(line, args[0], k_log10); }
